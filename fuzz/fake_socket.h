// A scripted stand-in for the platform's TCP sockets, linked instead of platform/socket.cpp.
// Each frame the client sends releases the next reply segment into the stream; reads hand
// the stream out in pieces whose sizes come from a seed, as TCP may deliver them. Unread
// bytes stay in the stream for later reads, and an exhausted stream reads as closed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fake_socket {

void script(std::vector<std::string> replies, uint32_t piece_seed);
// A new script on the socket as it stands (open or closed): unread bytes, replies not yet
// released and the frames sent so far are dropped.
void rescript(std::vector<std::string> replies, uint32_t piece_seed);
// Frames sent since script(), each as written by the client.
const std::vector<std::string>& sent();
// Bytes released but not yet read.
size_t unread();

}  // namespace fake_socket
