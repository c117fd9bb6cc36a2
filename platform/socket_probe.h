// Finding and watching a TCP socket that other code of the process owns (the client
// library's, which exports no handle): by its peer address, through /proc/self/fd. Linux.
#pragma once
#include <cstdint>

namespace kk::platform {

struct socket_identity {
  int fd = -1;          // the owner's descriptor (-1: none found)
  uint64_t inode = 0;   // identifies the socket itself, whatever descriptor refers to it
};

// The process's connected IPv4 TCP socket whose peer is address_be:port (network-order
// address, host-order port); the newest (highest inode) when several are. fd -1 when none.
// A socket still connecting has no peer yet and is not found.
socket_identity find_peer_socket(uint32_t address_be, uint16_t port);
// The socket inode fd refers to; 0 when fd is closed or no socket.
uint64_t socket_inode(int fd);
// A descriptor of its own for fd's socket (close-on-exec); -1 on failure.
int duplicate_socket(int fd);
// Ends both directions of the connection: a read blocked on any descriptor of it returns.
void shutdown_socket(int fd);
// Bytes the connection has received so far (TCP_INFO); 0 when unknown.
uint64_t bytes_received(int fd);
// The socket's pending error (SO_ERROR), 0 when none.
int socket_error(int fd);
// Without blocking: true when a read would find the end of the stream (the peer closed).
bool peer_closed(int fd);
void close_descriptor(int fd);

// Whether a TCP connection to address_be:port can be made within timeout_ms (it is closed at
// once): 0 when it can, else the error (ECONNREFUSED, ETIMEDOUT, ...).
int probe_connect(uint32_t address_be, uint16_t port, int timeout_ms);

}  // namespace kk::platform
