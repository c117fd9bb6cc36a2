#include "tests/peer/fault_proxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>

#include "platform/socket.h"
#include "tests/peer/peer_wire.h"

namespace peer {

namespace plat = kk::platform;

namespace {

constexpr int poll_ms = 20;
constexpr int target_connect_ms = 2000;
constexpr int queue_wait_ms = 2000;
// Past this many bytes waiting to be written to one side, the other side is not read.
constexpr size_t backlog_limit = size_t(8) << 20;
constexpr uint32_t logout_length = 0xFFFFFFFFu;

uint32_t le32(const char* p) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

void put_le32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool contains_ignoring_case(std::string_view text, std::string_view word) {
  if (word.empty()) return true;
  if (text.size() < word.size()) return false;
  for (size_t at = 0; at + word.size() <= text.size(); ++at) {
    size_t i = 0;
    while (i < word.size() && lower(text[at + i]) == lower(word[i])) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

bool set_nonblocking(int fd) {
  int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

const char* fault_name(fault f) {
  switch (f) {
    case fault::none: return "none";
    case fault::stall: return "stall";
    case fault::cut: return "cut";
    case fault::long_length: return "long length";
    case fault::reset_after: return "reset";
    case fault::extra_frame: return "extra frame";
  }
  return "?";
}

std::string shown(std::string_view text) {
  constexpr size_t keep = 60;
  std::string out(text.substr(0, keep));
  for (char& c : out)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  if (text.size() > keep) out += " ...";
  return out;
}

// Bytes written to fd that its peer has not acknowledged yet.
int unsent_bytes(int fd) {
  int n = 0;
  return ioctl(fd, SIOCOUTQ, &n) == 0 ? n : 0;
}

// Writes what it can of buf from off without blocking; false when the socket failed.
bool write_some(int fd, std::string& buf, size_t& off) {
  while (off < buf.size()) {
    ssize_t r = ::send(fd, buf.data() + off, buf.size() - off, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (r > 0) {
      off += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    return false;
  }
  buf.clear();
  off = 0;
  return true;
}

}  // namespace

fault_rule at_frame(fault f, int frame) {
  fault_rule r;
  r.action = f;
  r.frame = frame;
  return r;
}

fault_rule on_statement(fault f, std::string word) {
  fault_rule r;
  r.action = f;
  r.match = [w = std::move(word)](std::string_view text) { return contains_ignoring_case(text, w); };
  return r;
}

struct fault_proxy::conn {
  int client = -1;
  unsigned drop_gen = 0;
  std::atomic<bool> done{false};
  std::thread thread;
};

fault_proxy::fault_proxy(uint16_t target_port, uint16_t listen_port)
    : port_(listen_port), target_port_(target_port) {
  listener_ = plat::listen_loopback(&port_, 64);
  if (listener_ >= 0) thread_ = std::thread([this] { run(); });
}

fault_proxy::~fault_proxy() {
  stop_ = true;
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
  for (auto& c : conns_)
    if (c->thread.joinable()) c->thread.join();
  conns_.clear();
  if (listener_ >= 0) plat::close_socket(listener_);
}

void fault_proxy::add_rule(fault_rule r) {
  std::lock_guard<std::mutex> g(mu_);
  rules_.push_back(std::move(r));
  hits_.push_back(0);
}

void fault_proxy::clear_rules() {
  std::lock_guard<std::mutex> g(mu_);
  rules_.clear();
  hits_.clear();
}

void fault_proxy::release() { ++release_gen_; }

void fault_proxy::drop_connections() { ++drop_gen_; }

fault_counts fault_proxy::counts() const {
  std::lock_guard<std::mutex> g(mu_);
  return counts_;
}

bool fault_proxy::wait(const std::function<bool(const fault_counts&)>& pred, int timeout_ms) const {
  std::unique_lock<std::mutex> g(mu_);
  return cv_.wait_for(g, std::chrono::milliseconds(timeout_ms), [&] { return pred(counts_); });
}

std::vector<std::string> fault_proxy::statements() const {
  std::lock_guard<std::mutex> g(mu_);
  return statements_;
}

void fault_proxy::set_event_log(std::function<void(const std::string&)> log) {
  std::lock_guard<std::mutex> g(mu_);
  log_ = std::move(log);
}

void fault_proxy::count(size_t fault_counts::*field, size_t by) {
  {
    std::lock_guard<std::mutex> g(mu_);
    counts_.*field += by;
  }
  cv_.notify_all();
}

void fault_proxy::event(const std::string& text) {
  std::function<void(const std::string&)> log;
  {
    std::lock_guard<std::mutex> g(mu_);
    log = log_;
  }
  if (log) log(text);
}

fault_rule fault_proxy::decide(int index, std::string_view text) {
  std::lock_guard<std::mutex> g(mu_);
  for (size_t i = 0; i < rules_.size(); ++i) {
    const fault_rule& r = rules_[i];
    if (r.action == fault::none || (r.times > 0 && hits_[i] >= r.times)) continue;
    const bool hit = r.match ? index >= 1 && r.match(text) : r.frame == index;
    if (!hit) continue;
    ++hits_[i];
    return r;
  }
  return fault_rule{};
}

void fault_proxy::run() {
  while (!stop_) {
    for (auto it = conns_.begin(); it != conns_.end();) {
      if ((*it)->done) {
        if ((*it)->thread.joinable()) (*it)->thread.join();
        it = conns_.erase(it);
      } else {
        ++it;
      }
    }
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, poll_ms) <= 0) continue;
    int fd = plat::accept_connection(listener_);
    if (fd < 0) continue;
    auto c = std::make_unique<conn>();
    c->client = fd;
    c->drop_gen = drop_gen_;
    {
      std::lock_guard<std::mutex> g(mu_);
      ++counts_.connections;
      ++counts_.open;
    }
    cv_.notify_all();
    conn* raw = c.get();
    conns_.push_back(std::move(c));
    raw->thread = std::thread([this, raw] {
      serve(*raw);
      {
        std::lock_guard<std::mutex> g(mu_);
        --counts_.open;
      }
      cv_.notify_all();
      raw->done = true;
    });
  }
}

void fault_proxy::serve(conn& c) {
  const int client = c.client;
  auto stopping = [&] { return stop_.load() || drop_gen_.load() != c.drop_gen; };

  // The connection to the target, made without blocking so that destruction stays prompt.
  int server = plat::tcp_socket();
  bool connected = false;
  if (server >= 0 && set_nonblocking(server)) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(target_port_);
    int r = ::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a);
    if (r == 0) {
      connected = true;
    } else if (errno == EINPROGRESS) {
      for (int waited = 0; waited < target_connect_ms && !stopping(); waited += poll_ms) {
        pollfd p{server, POLLOUT, 0};
        if (poll(&p, 1, poll_ms) > 0) {
          int err = 0;
          socklen_t len = sizeof err;
          connected = getsockopt(server, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
          break;
        }
      }
    }
  }
  if (!connected || !set_nonblocking(client)) {
    if (!connected) {
      count(&fault_counts::target_failures);
      event("target 127.0.0.1:" + std::to_string(target_port_) + " not reached: client closed");
    }
    plat::close_socket(server);
    plat::close_socket(client);
    return;
  }
  plat::set_no_delay(server);
  plat::set_no_delay(client);

  // Requests from the client.
  std::string from_client;
  int next_index = 0;
  std::deque<fault_rule> pending;  // one per request forwarded whose reply has not begun
  // Bytes waiting to be written.
  std::string to_server, to_client;
  size_t to_server_off = 0, to_client_off = 0;
  // The reply being read.
  char head[4];
  size_t head_have = 0;
  bool in_frame = false;
  uint64_t body_left = 0;
  fault_rule cur;
  size_t frame_len = 0, frame_emitted = 0, cut_at = 0;
  // What the faults left.
  bool holding = false;
  unsigned hold_gen = 0;
  std::string held;
  size_t extras_in_held = 0, extras_queued = 0;
  std::string held_extra;
  size_t extras_in_held_extra = 0;
  unsigned extra_gen = 0;
  bool muted = false;
  enum class finish { none, cut, reset } finish_after = finish::none;
  bool client_eof = false, server_eof = false;

  auto emit = [&](const char* p, size_t n, bool is_extra) {
    if (holding) {
      held.append(p, n);
      if (is_extra) ++extras_in_held;
    } else {
      to_client.append(p, n);
      if (is_extra) ++extras_queued;
    }
  };
  auto emit_frame_bytes = [&](const char* p, size_t n) {
    if (cur.action == fault::cut) {
      size_t allowed = cut_at - frame_emitted;
      if (n >= allowed) {
        emit(p, allowed, false);
        frame_emitted += allowed;
        finish_after = finish::cut;
        return;
      }
    }
    emit(p, n, false);
    frame_emitted += n;
  };
  auto frame_end = [&] {
    in_frame = false;
    count(&fault_counts::replies);
    switch (cur.action) {
      case fault::reset_after:
        finish_after = finish::reset;
        break;
      case fault::extra_frame: {
        const std::string bytes = cur.extra.empty() ? reply_frame(status_ok, {}) : cur.extra;
        if (cur.extra_on_release) {
          if (held_extra.empty()) extra_gen = release_gen_;
          held_extra += bytes;
          ++extras_in_held_extra;
          event("extra frame held until released");
        } else {
          emit(bytes.data(), bytes.size(), true);
          event("extra frame sent after the reply");
        }
        break;
      }
      case fault::long_length:
        muted = true;
        break;
      default:
        break;
    }
  };
  // The server's bytes, frame by frame.
  auto feed = [&](const char* p, size_t n) {
    while (n > 0 && !muted && finish_after == finish::none) {
      if (!in_frame) {
        size_t take = std::min(n, size_t(4) - head_have);
        std::memcpy(head + head_have, p, take);
        head_have += take;
        p += take;
        n -= take;
        if (head_have < 4) return;
        head_have = 0;
        in_frame = true;
        const uint32_t len = le32(head);
        body_left = len;
        frame_len = size_t(len) + 4;
        frame_emitted = 0;
        cur = fault_rule{};
        if (!pending.empty()) {
          cur = std::move(pending.front());
          pending.pop_front();
        }
        char out[4];
        std::memcpy(out, head, 4);
        switch (cur.action) {
          case fault::stall:
            if (!holding) {
              holding = true;
              hold_gen = release_gen_;
            }
            count(&fault_counts::stalled);
            event("reply held (stall)");
            break;
          case fault::long_length: {
            uint64_t bigger = uint64_t(len) + cur.length_excess;
            put_le32(out, bigger >= logout_length ? logout_length - 1 : static_cast<uint32_t>(bigger));
            count(&fault_counts::long_lengths);
            event("reply sent with its length field " + std::to_string(cur.length_excess) + " bytes too long");
            break;
          }
          case fault::cut:
            cut_at = cur.cut_at ? std::min(cur.cut_at, frame_len - 1) : std::max<size_t>(1, frame_len / 2);
            break;
          default:
            break;
        }
        emit_frame_bytes(out, 4);
        if (finish_after == finish::none && body_left == 0) frame_end();
        continue;
      }
      size_t take = static_cast<size_t>(std::min<uint64_t>(body_left, n));
      emit_frame_bytes(p, take);
      if (finish_after != finish::none) return;
      body_left -= take;
      p += take;
      n -= take;
      if (body_left == 0) frame_end();
    }
  };
  // Requests as they complete: the rule is decided before the request goes on.
  auto take_requests = [&] {
    size_t at = 0;
    while (from_client.size() - at >= 4) {
      const uint32_t len = le32(from_client.data() + at);
      if (len == logout_length) {
        to_server.append(from_client, at, 4);
        at += 4;
        count(&fault_counts::requests);
        continue;
      }
      if (from_client.size() - at - 4 < len) break;
      const size_t total = size_t(len) + 4;
      std::string_view text;
      if (next_index > 0) text = std::string_view(from_client).substr(at + 4, len);
      fault_rule r = decide(next_index, text);
      if (r.action != fault::none)
        event(std::string(fault_name(r.action)) + " strikes the reply to " +
              (next_index == 0 ? std::string("the login")
                               : "statement " + std::to_string(next_index) + ": " + shown(text)));
      {
        std::lock_guard<std::mutex> g(mu_);
        ++counts_.requests;
        if (next_index > 0) statements_.emplace_back(text);
      }
      cv_.notify_all();
      pending.push_back(std::move(r));
      ++next_index;
      to_server.append(from_client, at, total);
      at += total;
    }
    from_client.erase(0, at);
  };

  std::vector<char> chunk(size_t(256) << 10);
  int queue_waited = 0;
  bool end = false;
  while (!end && !stopping()) {
    // What release() lets go.
    const unsigned gen = release_gen_;
    if (holding && gen != hold_gen) {
      holding = false;
      to_client += held;
      held.clear();
      extras_queued += extras_in_held;
      extras_in_held = 0;
      count(&fault_counts::released);
      event("held reply released");
    }
    if (!held_extra.empty() && gen != extra_gen) {
      const size_t n = extras_in_held_extra;
      std::string bytes;
      bytes.swap(held_extra);
      extras_in_held_extra = 0;
      if (holding) {
        held += bytes;
        extras_in_held += n;
      } else {
        to_client += bytes;
        extras_queued += n;
      }
      count(&fault_counts::released);
      event("held extra frame released");
    }
    if (to_client_off < to_client.size() && !write_some(client, to_client, to_client_off)) break;
    // Bytes the client's kernel has not taken yet (on the loopback, taken = in its receive
    // queue). Waited for, a little at a time and for at most queue_wait_ms, before an extra
    // frame counts as sent and before a reset, which would throw them away.
    bool waiting_on_queue = false;
    auto client_queue_empty = [&] {
      if (unsent_bytes(client) == 0 || queue_waited >= queue_wait_ms) return true;
      waiting_on_queue = true;
      queue_waited += 2;
      return false;
    };
    if (to_client.empty() && extras_queued && client_queue_empty()) {
      count(&fault_counts::extra_frames, extras_queued);
      extras_queued = 0;
      queue_waited = 0;
    }
    if (to_server_off < to_server.size() && !write_some(server, to_server, to_server_off)) break;
    const bool client_flushed = to_client.empty() && !holding;
    if (finish_after != finish::none && client_flushed &&
        (finish_after != finish::reset || client_queue_empty())) {
      if (finish_after == finish::reset) {
        linger l{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        count(&fault_counts::resets);  // counted first: the close below sends the reset
        event("connection reset after the reply");
      } else {
        count(&fault_counts::cuts);  // counted first: the client may see the end at once
        event("connection cut mid-reply");
        ::shutdown(client, SHUT_WR);
      }
      break;
    }
    if (client_eof && to_server.empty()) break;
    if (server_eof && client_flushed && !muted && held_extra.empty()) {
      ::shutdown(client, SHUT_WR);
      break;
    }

    short client_events = 0, server_events = 0;
    if (!client_eof && to_server.size() < backlog_limit) client_events |= POLLIN;
    if (!client_eof && !to_client.empty()) client_events |= POLLOUT;
    if (!server_eof && finish_after == finish::none && to_client.size() < backlog_limit &&
        held.size() < backlog_limit)
      server_events |= POLLIN;
    if (!server_eof && !to_server.empty()) server_events |= POLLOUT;
    // A side with nothing to wait for is left out: its hang-up would wake every poll.
    pollfd p[2];
    nfds_t nf = 0;
    int at_client = -1, at_server = -1;
    if (client_events) {
      p[nf] = {client, client_events, 0};
      at_client = static_cast<int>(nf++);
    }
    if (server_events) {
      p[nf] = {server, server_events, 0};
      at_server = static_cast<int>(nf++);
    }
    int r = poll(nf ? p : nullptr, nf, waiting_on_queue ? 2 : poll_ms);
    if (r < 0 && errno != EINTR) break;
    if (r <= 0) continue;

    if (at_client >= 0 && (p[at_client].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t k = ::recv(client, chunk.data(), chunk.size(), MSG_DONTWAIT);
      if (k > 0) {
        from_client.append(chunk.data(), static_cast<size_t>(k));
        take_requests();
      } else if (k == 0) {
        client_eof = true;
      } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        end = true;
      }
    }
    if (at_server >= 0 && (p[at_server].revents & (POLLIN | POLLHUP | POLLERR))) {
      ssize_t k = ::recv(server, chunk.data(), chunk.size(), MSG_DONTWAIT);
      if (k > 0) {
        feed(chunk.data(), static_cast<size_t>(k));
      } else if (k == 0) {
        server_eof = true;
      } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        server_eof = true;
      }
    }
  }
  plat::close_socket(server);
  plat::close_socket(client);
}

}  // namespace peer
