// The test peer as a program, for trying the client by hand and for the end-to-end tests:
//   ruv_test_peer [--demo] [--wide ROWS] [--log FILE] [--dump DIR] [port]
// Accepts every login and serves one connection after another.
// --demo (the mode scripts/run.sh starts for a new user) serves a sample database from the
// catalogue: tables of every column type, a few hundred rows and a table "big" of 100000
// rows, kept while the program runs (edits, creates and drops included).
// Without --demo: a statement starting with "fail" is answered FAIL, "empty" with an empty
// result, anything else with a small result holding every column type.
// --wide ROWS (with --demo) adds the benchmarks' table "wide" of ROWS rows x 20 fields
// (peer::fill_wide; about 196 bytes a row on the wire).
// --log FILE appends every statement whole, one a line ("ok: " or "FAIL: " first, a line feed
// or carriage return in it written as \n or \r), flushed after each.
// --dump DIR (with --demo): on SIGTERM or SIGINT every table is written to DIR/<table>.tsv ("/"
// and a leading "." of a name written as "_", so a file never lands outside DIR)
// before the program ends: a first line "#" and the fields as name:type joined by tabs, then a
// line per row, its row id and its values in their text forms, joined by tabs (a tab, line
// feed or backslash in a value written as \t, \n, \\).
// stdout shows each statement cut to 200 bytes.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/peer/catalogue.h"
#include "tests/peer/demo_result.h"
#include "tests/peer/test_peer.h"

namespace {

FILE* log_file = nullptr;

void log_line(std::string_view sql, bool ok) {
  if (!log_file) return;
  std::string line = ok ? "ok: " : "FAIL: ";
  for (char c : sql) {
    if (c == '\n')
      line += "\\n";
    else if (c == '\r')
      line += "\\r";
    else
      line += c;
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), log_file);
  std::fflush(log_file);
}

void show(std::string_view sql, bool ok) {
  // Long statements (uploads) are shown cut.
  constexpr size_t keep = 200;
  std::printf("%s: %.*s%s\n", ok ? "ok" : "FAIL", static_cast<int>(std::min(sql.size(), keep)), sql.data(),
              sql.size() > keep ? " ..." : "");
  std::fflush(stdout);
  log_line(sql, ok);
}

std::string escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

// A table name as a file name inside the dump folder: a client names the tables, so a name
// may hold "/" or be "..".
std::string file_name_of(const std::string& table) {
  std::string out = table;
  for (char& c : out)
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  if (out.empty() || out[0] == '.') out.insert(0, 1, '_');
  return out;
}

bool dump_tables(const peer::catalogue& db, const std::string& dir) {
  bool ok = true;
  for (const std::string& name : db.table_names()) {
    std::ofstream f;  // opened once the table is found
    std::vector<peer::field_def> fields;  // set before the first row
    bool head = false;
    auto write_head = [&] {
      f.open(dir + "/" + file_name_of(name) + ".tsv", std::ios::binary | std::ios::trunc);
      f << '#';
      for (size_t i = 0; i < fields.size(); ++i)
        f << (i ? "\t" : "") << escaped(fields[i].name) << ':' << peer::type_name(fields[i].type);
      f << '\n';
      head = true;
    };
    const bool found = db.each_row(name, fields, [&](const peer::row_data& r) {
      if (!head) write_head();
      f << r.id;
      for (const peer::value& v : r.values) f << '\t' << escaped(v.str());
      f << '\n';
    });
    if (!found) continue;
    if (!head) write_head();
    ok = ok && static_cast<bool>(f.flush());
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  bool demo = false;
  const char* log_path = nullptr;
  const char* dump_dir = nullptr;
  unsigned long long wide_rows = 0;
  bool wide = false;
  long port = 0;
  bool usage = false, have_port = false;
  for (int arg = 1; arg < argc && !usage; ++arg) {
    if (std::strcmp(argv[arg], "--demo") == 0) {
      demo = true;
    } else if (std::strcmp(argv[arg], "--log") == 0 && arg + 1 < argc) {
      log_path = argv[++arg];
    } else if (std::strcmp(argv[arg], "--dump") == 0 && arg + 1 < argc) {
      dump_dir = argv[++arg];
    } else if (std::strcmp(argv[arg], "--wide") == 0 && arg + 1 < argc) {
      char* end = nullptr;
      const char* text = argv[++arg];
      wide_rows = std::strtoull(text, &end, 10);
      usage = *end != '\0' || end == text || text[0] == '-';
      wide = true;
    } else if (!have_port) {
      char* end = nullptr;
      port = std::strtol(argv[arg], &end, 10);
      usage = port < 0 || port > 65535 || *end != '\0' || end == argv[arg];
      have_port = true;
    } else {
      usage = true;
    }
  }
  if (usage || (dump_dir && !demo) || (wide && !demo)) {
    std::fprintf(stderr, "usage: %s [--demo] [--wide ROWS] [--log FILE] [--dump DIR] [port]\n", argv[0]);
    return 2;
  }
  if (log_path && !(log_file = std::fopen(log_path, "ab"))) {
    std::perror(log_path);
    return 1;
  }
  // The end signals wait for the main thread; the peer's thread, made below, inherits the mask.
  sigset_t ends;
  sigemptyset(&ends);
  sigaddset(&ends, SIGTERM);
  sigaddset(&ends, SIGINT);
  pthread_sigmask(SIG_BLOCK, &ends, nullptr);

  peer::catalogue db;  // outlives the peer
  if (demo) peer::fill_demo(db);
  if (wide) peer::fill_wide(db, "wide", wide_rows);
  peer::test_peer p(static_cast<uint16_t>(port));
  if (!p.listening()) {
    std::perror("listen");
    return 1;
  }
  if (demo) {
    p.set_handler([&db](std::string_view sql) {
      bool ok = false;
      peer::reply_plan reply = db.stream(sql, &ok);
      show(sql, ok);
      return reply;
    });
  } else {
    p.set_handler([](std::string_view sql) {
      std::printf("statement: %.*s\n", static_cast<int>(sql.size()), sql.data());
      std::fflush(stdout);
      const bool fail = sql.substr(0, 4) == "fail";
      log_line(sql, !fail);
      if (fail) return peer::send(peer::fail_reply());
      if (sql.substr(0, 5) == "empty") return peer::send(peer::reply_frame(peer::status_ok, {}));
      return peer::send(peer::ok_reply(peer::demo_result()));
    });
  }
  std::printf("listening on 127.0.0.1:%u%s\n", p.port(), demo ? " (demo database)" : "");
  std::fflush(stdout);
  int sig = 0;
  while (sigwait(&ends, &sig) != 0) {
  }
  // The catalogue locks while a statement runs, so the dump sees each statement whole.
  const bool dumped = !dump_dir || dump_tables(db, dump_dir);
  if (!dumped) std::fprintf(stderr, "dump to %s failed\n", dump_dir);
  std::fflush(stdout);
  // The peer's thread may be inside a connection: end without joining it.
  std::_Exit(dumped ? 0 : 1);
}
