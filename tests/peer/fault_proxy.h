// A fault-injecting loopback proxy for tests: listens on 127.0.0.1 (an ephemeral port unless
// one is asked for), and for every client it accepts opens a connection of its own to
// 127.0.0.1:target_port (a test_peer, the catalogue peer, any server of the protocol), then
// forwards the bytes both ways, frame by frame, doing to the server's replies what its rules
// say. Without a rule it is a transparent relay.
//
// Frames are counted per connection, from its start: the login is request frame 0, the
// statements 1, 2, ... (a logout frame gets no reply and is not counted). A rule strikes the
// reply to one request frame, chosen by that frame's number or by a predicate on the
// statement's text; the first rule that matches a request is the one applied.
//
//   peer::test_peer server;
//   peer::fault_proxy proxy(server.port());
//   proxy.add_rule(peer::at_frame(peer::fault::stall, 2));    // the 2nd statement's reply
//   proxy.add_rule(peer::on_statement(peer::fault::reset_after, "commit"));
//   ... connect the client to 127.0.0.1:proxy.port() ...
//   ASSERT_TRUE(proxy.wait([](const peer::fault_counts& c) { return c.stalled == 1; }));
//   proxy.release();  // held replies go on
//
// What each fault does with the reply it strikes:
//   stall        holds the reply back (from its first byte) with both sockets kept open, until
//                release() (the held bytes then go on and the connection carries on as before)
//                or until the client closes or the proxy is destroyed.
//   cut          forwards the first cut_at bytes of the reply frame (0: half of it, at least
//                one byte, never all of it), then closes the client's connection (an orderly
//                end: the client reads 0) and the server's.
//   long_length  forwards the reply with length_excess added to its length field, so that
//                it announces more bytes than it has; then forwards nothing more on that
//                connection (the server's later bytes are dropped) and keeps the client's
//                socket open until the client closes or the proxy is destroyed.
//   reset_after  forwards the reply whole, then aborts the client's connection (SO_LINGER 0:
//                a reset, the client's next read fails with ECONNRESET) and closes the
//                server's.
//   extra_frame  forwards the reply whole, then the bytes of `extra` (a well-formed reply
//                frame: by default an OK reply with an empty body): in the same write, or,
//                with extra_on_release, only once release() is called.
//
// counts() tells what happened; an extra frame is counted once it has been written to the
// client's socket (on the loopback it is then in the client's receive queue), a reset and a
// cut once done. Destruction closes every socket and joins every thread within about
// 20 ms of polling, wherever a connection stands (stalled included).
//
// Command-line form (tests/peer/fault_proxy_main.cpp, program ruv_fault_proxy):
//   ruv_fault_proxy LISTEN_PORT TARGET_PORT [FAULT...]
// LISTEN_PORT 0 takes an ephemeral port; the port is printed ("listening on 127.0.0.1:P ->
// 127.0.0.1:T"), then a line per fault that strikes. Each FAULT adds a rule, for every
// connection; N counts the statements of a connection, the login not included:
//   --stall-login              hold the login reply
//   --stall-after N            answer N statements, then hold the reply to statement N+1
//   --cut-after N              answer N statements, then cut the reply to statement N+1
//   --long-length-after N      answer N statements, then let the reply to statement N+1
//                              announce 1000 bytes more than it has, socket kept open
//   --reset-after N            reset the connection right after the reply to statement N
//   --extra-frame-after N      send an extra frame (OK, empty body) right after the reply
//                              to statement N (0: after the login reply)
//   --stall-on TEXT, --cut-on TEXT, --long-length-on TEXT, --reset-on TEXT,
//   --extra-frame-on TEXT      the same for every statement containing TEXT (ASCII case
//                              ignored), whatever its number
//   --reset-after-commit       = --reset-on commit
//   --once                     the rules given so far strike once each over the proxy's
//                              life instead of on every connection
// SIGUSR1 releases what is held (as release()); SIGINT or SIGTERM end the program.
// Example, the program against the demo database through the proxy:
//   ruv_test_peer --demo 56004 &  ruv_fault_proxy 56014 56004 --stall-after 3 &
//   then log in to 127.0.0.1:56014.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace peer {

enum class fault { none, stall, cut, long_length, reset_after, extra_frame };

struct fault_rule {
  fault action = fault::none;
  // The request frame of each connection it strikes: 0 the login, k the k-th statement.
  // Ignored when match is set.
  int frame = -1;
  // When set, the rule strikes every statement (never the login) whose text it accepts.
  std::function<bool(std::string_view statement)> match = nullptr;
  // How many times the rule strikes over the proxy's life; 0: no limit.
  int times = 0;
  // fault::cut: bytes of the reply frame forwarded before the cut; 0: half of the frame.
  size_t cut_at = 0;
  // fault::long_length: added to the reply's length field.
  uint32_t length_excess = 1000;
  // fault::extra_frame: the bytes sent after the reply (empty: an OK reply, empty body).
  std::string extra;
  // fault::extra_frame: hold the extra bytes until release() instead of sending them at once.
  bool extra_on_release = false;
};

// A rule for the request frame number `frame` of every connection (0: the login).
fault_rule at_frame(fault f, int frame);
// A rule for every statement whose text contains `word`, ASCII case ignored.
fault_rule on_statement(fault f, std::string word);

struct fault_counts {
  size_t connections = 0;       // clients accepted
  size_t target_failures = 0;   // connections to the target that could not be made
  size_t open = 0;              // connections open now
  size_t requests = 0;          // request frames forwarded (logins, statements, logouts)
  size_t replies = 0;           // reply frames read whole from the server (held ones too)
  size_t stalled = 0;           // replies held back
  size_t released = 0;          // held replies and held extra frames let go by release()
  size_t cuts = 0;              // replies cut, their connections closed
  size_t long_lengths = 0;      // replies sent with an enlarged length field
  size_t resets = 0;            // connections reset after a reply
  size_t extra_frames = 0;      // extra frames written to the client's socket
};

class fault_proxy {
 public:
  // listen_port 0: an ephemeral port.
  explicit fault_proxy(uint16_t target_port, uint16_t listen_port = 0);
  ~fault_proxy();
  fault_proxy(const fault_proxy&) = delete;
  fault_proxy& operator=(const fault_proxy&) = delete;

  uint16_t port() const { return port_; }
  bool listening() const { return listener_ >= 0; }

  // Rules apply to requests that complete after the call, on open connections too.
  void add_rule(fault_rule r);
  void clear_rules();
  // Lets go every reply held by a stall and every extra frame held for release; a rule
  // strikes again later as it would have.
  void release();
  // Closes every open connection, both sides, at once (an orderly end for the client).
  void drop_connections();

  fault_counts counts() const;
  // Waits until pred holds for the counts; false when timeout_ms passes first.
  bool wait(const std::function<bool(const fault_counts&)>& pred, int timeout_ms = 5000) const;
  // Every statement text forwarded, in order, over all connections.
  std::vector<std::string> statements() const;
  // Called on the proxy's threads with a one-line text for every fault that strikes (the
  // command-line form prints them). Set it before the first connection.
  void set_event_log(std::function<void(const std::string&)> log);

 private:
  struct conn;
  void run();
  void serve(conn& c);
  // The rule for request frame `index` of a connection (text: the statement), or none.
  fault_rule decide(int index, std::string_view text);
  void count(size_t fault_counts::*field, size_t by = 1);
  void event(const std::string& text);

  int listener_ = -1;
  uint16_t port_ = 0;
  uint16_t target_port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<unsigned> release_gen_{0};
  std::atomic<unsigned> drop_gen_{0};
  mutable std::mutex mu_;
  mutable std::condition_variable cv_;
  std::vector<fault_rule> rules_;
  std::vector<int> hits_;
  fault_counts counts_;
  std::vector<std::string> statements_;
  std::function<void(const std::string&)> log_;
  std::list<std::unique_ptr<conn>> conns_;  // touched by the accepting thread only
  std::thread thread_;
};

}  // namespace peer
