#include "platform/socket_probe.h"

#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <linux/tcp.h>

#include "platform/socket.h"

namespace kk::platform {

namespace {

bool stat_socket(int fd, uint64_t& inode) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode)) return false;
  inode = uint64_t(st.st_ino);
  return true;
}

bool peer_is(int fd, uint32_t address_be, uint16_t port) {
  sockaddr_storage peer{};
  socklen_t len = sizeof peer;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &len) != 0) return false;
  if (peer.ss_family != AF_INET || len < socklen_t(sizeof(sockaddr_in))) return false;
  sockaddr_in in;
  std::memcpy(&in, &peer, sizeof in);
  return in.sin_addr.s_addr == address_be && ntohs(in.sin_port) == port;
}

}  // namespace

socket_identity find_peer_socket(uint32_t address_be, uint16_t port) {
  socket_identity found;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return found;
  const int own = dirfd(dir);
  while (const dirent* e = readdir(dir)) {
    char* end = nullptr;
    const long fd = std::strtol(e->d_name, &end, 10);
    if (end == e->d_name || *end != '\0' || fd < 0 || fd == own) continue;
    uint64_t inode = 0;
    if (!stat_socket(int(fd), inode) || !peer_is(int(fd), address_be, port)) continue;
    if (found.fd < 0 || inode > found.inode) found = {int(fd), inode};
  }
  closedir(dir);
  return found;
}

uint64_t socket_inode(int fd) {
  uint64_t inode = 0;
  return fd >= 0 && stat_socket(fd, inode) ? inode : 0;
}

int duplicate_socket(int fd) { return fd < 0 ? -1 : fcntl(fd, F_DUPFD_CLOEXEC, 0); }

void shutdown_socket(int fd) {
  if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

uint64_t bytes_received(int fd) {
  if (fd < 0) return 0;
  tcp_info info{};
  socklen_t len = sizeof info;
  if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &len) != 0) return 0;
  // An older kernel fills less of the record.
  if (len < socklen_t(offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received)) return 0;
  return info.tcpi_bytes_received;
}

int socket_error(int fd) {
  int err = 0;
  socklen_t len = sizeof err;
  if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return 0;
  return err;
}

// Readable with no byte to read and no error: the end of the stream.
bool peer_closed(int fd) { return fd >= 0 && wait_readable(fd, 0) && bytes_waiting(fd) == 0; }

void close_descriptor(int fd) {
  if (fd >= 0) close(fd);
}

int probe_connect(uint32_t address_be, uint16_t port, int timeout_ms) {
  const socket_t s = tcp_socket();
  if (s == no_socket) return errno ? errno : EMFILE;
  const bool connected = connect_ipv4(s, address_be, port, timeout_ms);
  const int err = connected ? 0 : (errno ? errno : ETIMEDOUT);
  close_socket(s);
  return err;
}

}  // namespace kk::platform
