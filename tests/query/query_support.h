#pragma once
// Shared by the query tests: a QApplication on the offscreen platform and the program's
// SQL library object, both made once per test program; a scripted server with the client
// logged in to it; the statements the server received; and a parse through the grammar.
#include <QApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query/wire.h"
#include "adt/string.h"
#include "client/ruv_sql_lib_mem.h"
#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "tests/peer/test_peer.h"

namespace query_test {

class app_environment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "query_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) app_ = new QApplication(argc, argv);
    kk::library_startup();
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

inline const bool environment_added = [] {
  ::testing::AddGlobalTestEnvironment(new app_environment);
  return true;
}();

// A scripted server with this thread's client logged in.
struct server {
  peer::test_peer peer;
  server() {
    EXPECT_TRUE(peer.listening());
    EXPECT_TRUE(ruv::wire_connect("127.0.0.1", peer.port(), "u", "p"));
  }
  ~server() { ruv::wire_exit(); }
  // The statements received so far, in order (the login frame and logouts left out).
  std::vector<std::string> statements() const {
    std::vector<std::string> out;
    const auto frames = peer.frames();
    for (size_t i = 1; i < frames.size(); ++i)
      if (frames[i].size() >= 4 && frames[i].compare(0, 4, "\xff\xff\xff\xff") != 0) out.push_back(frames[i].substr(4));
    return out;
  }
};

inline kk::adt::string::string str(std::string_view s) { return kk::adt::string_from_std(s); }
inline std::string std_of(const kk::adt::string::string& s) { return std::string(s.data ? s.data : "", s.size); }

// True when the program's grammar accepts the whole text as one statement.
inline bool parses_whole(std::string_view text) {
  const kk::sql_library* lib = kk::sql_library_instance();
  kk::grammar::parse_farthest = nullptr;
  kk::u64 left = text.size();
  kk::grammar::parse_node* t = kk::grammar::grammar_match(lib->root, text.data(), &left, lib->rules);
  const bool whole = t && kk::u64(kk::grammar::node_end(t) - text.data()) == text.size();
  kk::grammar::grammar_free_tree(t);
  return whole;
}

// True when the grammar parses the whole text as one statement and its tree holds a node
// of the rule (a clause really parsed, not swallowed by a comment).
inline bool parses_with(std::string_view text, kk::u16 rule_id) {
  const kk::sql_library* lib = kk::sql_library_instance();
  kk::grammar::parse_farthest = nullptr;
  kk::u64 left = text.size();
  kk::grammar::parse_node* t = kk::grammar::grammar_match(lib->root, text.data(), &left, lib->rules);
  const bool whole = t && kk::u64(kk::grammar::node_end(t) - text.data()) == text.size();
  const bool has = whole && kk::grammar::tree_contains_id(&rule_id, t);
  kk::grammar::grammar_free_tree(t);
  return has;
}

}  // namespace query_test
