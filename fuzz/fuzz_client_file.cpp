// The client-mode transfers of the transfer builders over a scripted server: the upload (a
// local file's bytes escaped into an import, load or restore statement) and the download
// (the reply's first column into a local file: as it came for an export, decoded from
// hexadecimal for a save or a backup). Besides memory safety:
// - an upload sends nothing for an empty file or an empty table name; otherwise exactly one
//   statement, which the program's grammar parses whole, whose table name and separator
//   read back as given, and whose string after "raw" holds exactly the file's bytes;
// - a download that succeeds leaves exactly the decoded bytes in the file; one that fails
//   (a refused, cut or malformed reply, a first cell that is no text or no hexadecimal, an
//   existing file without replace) leaves the old file as it was, or none; no temporary
//   file stays behind either way.
//
// Input: a flags byte, a seed byte, then segments as (u16 length, bytes), a short last one
// taking the rest: the table name, the separator, the file to upload, then the reply's
// rows (one first-column text each), or in raw mode one segment that is the whole reply.
//   flags bits 0-1: download by save, backup, export or none; bit 2 replace; bit 3 an old
//   file exists; bits 4-5: upload by import, load, restore or none; bit 6 bin / csv;
//   bit 7 raw reply.  seed bits 0-5: piece seed of the socket; bit 6 a second column;
//   bit 7 the first column an i32 instead of a text.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "client/connection.h"
#include "client/datas.h"
#include "client/unpack_datas.h"
#include "fuzz/fake_socket.h"
#include "sqllib/library_startup.h"
#include "grammar/matcher.h"
#include "sqllib/sql_library.h"
#include "grammar/sql_rules.h"
#include "query/db_ctx.h"
#include "query/sql_parse.h"
#include "query/transfer_sql.h"
#include "tests/peer/peer_wire.h"
#include "value/val.h"

namespace {

using kk::adt::string::string;

void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string up_dir, down_dir, up_path, down_path;
const std::string old_content = "the file as it was\n";

std::string slurp(const std::string& path, bool* exists) {
  std::ifstream in(path, std::ios::binary);
  *exists = bool(in);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
void spit(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) fail("the fixture file cannot be written");
}

// Names in a folder besides . and ..
std::vector<std::string> entries(const std::string& dir) {
  std::vector<std::string> out;
  DIR* d = opendir(dir.c_str());
  if (!d) fail("the work folder is gone");
  while (dirent* e = readdir(d))
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) out.push_back(e->d_name);
  closedir(d);
  return out;
}

void remove_all() {
  for (const auto* dir : {&up_dir, &down_dir}) {
    for (const auto& n : entries(*dir)) unlink((*dir + "/" + n).c_str());
    rmdir(dir->c_str());
  }
  rmdir(up_dir.substr(0, up_dir.rfind('/')).c_str());
}

string str(std::string_view s) { return kk::adt::string_from_std(s); }

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Pairs of hexadecimal digits (an odd last byte ignored); false at a byte of no digit.
bool unhex(std::string_view t, std::string& out) {
  for (size_t i = 0; i + 1 < t.size(); i += 2) {
    const int hi = hex_value(t[i]), lo = hex_value(t[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(char(hi * 16 + lo));
  }
  return true;
}

// The body between two delimiters, read as the grammar reads a quoted name or string
// whose every escape is \xNN (the only one the quoting writes): false for any other form.
bool read_quoted(std::string_view t, char open, char close, std::string& out) {
  if (t.size() < 2 || t.front() != open || t.back() != close) return false;
  t = t.substr(1, t.size() - 2);
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '\\') {
      out.push_back(t[i]);
      continue;
    }
    if (t.size() - i < 4 || t[i + 1] != 'x' || hex_value(t[i + 2]) < 0 || hex_value(t[i + 3]) < 0) return false;
    out.push_back(char(hex_value(t[i + 2]) * 16 + hex_value(t[i + 3])));
    i += 3;
  }
  return true;
}

// A name as the statement shows it, read back: bare, or bracketed.
bool read_name(std::string_view t, std::string& out) {
  if (!t.empty() && t.front() == '[') return read_quoted(t, '[', ']', out);
  out.assign(t);
  return true;
}

std::vector<const kk::grammar::parse_node*> nodes_with(const kk::grammar::parse_node* tree, kk::u16 id) {
  std::vector<const kk::grammar::parse_node*> out;
  kk::grammar::collect_nodes_if(tree, [&](kk::u16 i) { return i == id; }, out);
  return out;
}
std::string_view text_of(const kk::grammar::parse_node* n) { return {n->start, n->length}; }

// The scripted server: one reply for the one statement of the call. The login stays from
// one input to the next (each costs the connection's receive buffer); a reply that dropped
// the connection is followed by a new login.
void script(uint8_t seed, std::string reply) {
  if (!kk::client::has_socket()) {
    fake_socket::script({peer::reply_frame(peer::status_ok, {})}, seed);
    if (!kk::client::connect_to_server("127.0.0.1", 4000, "u", "p")) fail("the scripted login failed");
  }
  fake_socket::rescript({std::move(reply)}, seed);
}
// The statements sent since the reply was scripted.
std::vector<std::string> statements() {
  std::vector<std::string> out;
  const auto& frames = fake_socket::sent();
  for (size_t i = 0; i < frames.size(); ++i) {
    const std::string& f = frames[i];
    if (f.size() < 4) fail("a frame shorter than its length");
    const uint32_t n = uint8_t(f[0]) | uint32_t(uint8_t(f[1])) << 8 | uint32_t(uint8_t(f[2])) << 16 |
                       uint32_t(uint8_t(f[3])) << 24;
    if (n == 0xFFFFFFFFu) continue;  // the logout
    if (n != f.size() - 4) fail("a statement frame whose length is not its text's");
    out.push_back(f.substr(4));
  }
  return out;
}

// Parses the statement whole with the program's grammar; the tree (the caller frees it).
kk::grammar::parse_node* parse_whole(const std::string& sql) {
  kk::grammar::parse_node* tree = nullptr;
  const kk::u64 len = sql.size();
  const kk::u64 matched = sql_parse_statement(kk::sql_library_instance(), sql.data(), &len, &tree);
  if (!tree || matched != len) {
    std::fprintf(stderr, "statement: %s\n", sql.c_str());
    fail("a statement sent does not parse whole");
  }
  return tree;
}

void check_upload(int kind, bool bin, const std::string& table, const std::string& sep, std::string_view file,
                  uint8_t seed) {
  spit(up_path, file);
  script(seed, peer::ok_reply({}));
  db_ctx ctx(str("db"), nullptr);
  bool ok = false;
  switch (kind) {
    case 0: ok = sql_import(&ctx, str(table), str(up_path), bin, str(sep), true); break;
    case 1: ok = sql_load_table(&ctx, str(table), str(up_path), bin, true); break;
    default: ok = sql_restore(&ctx, str(up_path), bin, true); break;
  }
  const std::vector<std::string> sent = statements();
  const bool refused = file.empty() || (kind != 2 && table.empty());
  if (refused) {
    if (ok || !sent.empty()) fail("an upload of nothing, or to no table, was sent");
    return;
  }
  if (sent.size() != 1) fail("an upload sent other than one statement");
  if (!ok) fail("an upload answered by an OK reply reported failure");
  const std::string& sql = sent[0];

  kk::grammar::parse_node* tree = parse_whole(sql);
  using namespace kk::grammar::sql;
  const auto strings = nodes_with(tree, id_string);
  if (strings.empty()) fail("an upload statement without a string");
  // The file: the last string, right after "raw" and blanks.
  const kk::grammar::parse_node* body = strings.back();
  std::string_view before(sql.data(), size_t(body->start - sql.data()));
  while (!before.empty() && before.back() == ' ') before.remove_suffix(1);
  if (before.size() < 3 || before.substr(before.size() - 3) != "raw") fail("the file's string does not follow raw");
  std::string carried;
  if (!read_quoted(text_of(body), '"', '"', carried) || carried != file) fail("the statement does not carry the file's bytes");
  if (kind == 0) {
    std::string s;
    if (strings.size() != 2 || !read_quoted(text_of(strings[0]), '"', '"', s) || s != sep)
      fail("the separator does not read back");
  }
  if (kind != 2) {
    const kk::grammar::parse_node* name = first_table_name_node(tree);
    std::string n;
    if (!name || !read_name(text_of(name), n) || n != table) fail("the table name does not read back");
  }
  kk::grammar::grammar_free_tree(tree);
}

// What a download must give: nullopt-like (ok false) or the file's bytes.
struct expectation {
  bool ok = false;
  std::string bytes;
};

// The reply's rows as the download reads them; false when a row has no text first cell or
// (hex) no hexadecimal text.
bool expected_bytes(const kk::datas& d, bool hex, std::string& out) {
  if (d.rows.size > 0 && d.cols.size == 0) return false;
  for (kk::u64 r = 0; r < d.rows.size; ++r) {
    if (d.rows[r].vals.size == 0) return false;
    const kk::val& v = d.rows[r].vals[0];
    if (v.type != 2) return false;
    const std::string_view t(v.len ? v.text : "", v.len);
    if (!hex) out.append(t);
    else if (!unhex(t, out)) return false;
  }
  return true;
}

// The outcome a whole reply frame decides, read from its first byte.
expectation predict_raw(const std::string& frame, bool hex) {
  expectation e;
  if (frame.size() < 5) return e;
  const uint32_t n = uint8_t(frame[0]) | uint32_t(uint8_t(frame[1])) << 8 | uint32_t(uint8_t(frame[2])) << 16 |
                     uint32_t(uint8_t(frame[3])) << 24;
  if (n == 0 || n == 0xFFFFFFFFu || frame.size() - 4 < n || frame[4] != 0) return e;
  kk::datas d;
  const char* why = nullptr;
  if (kk::unpack_datas(d, frame.data() + 5, uint64_t(n) - 1, &why)) e.ok = expected_bytes(d, hex, e.bytes);
  kk::free_datas(d);
  return e;
}

void check_download(int kind, bool bin, bool replace, bool old, const std::string& table,
                    const std::string& sep, const std::string& reply, expectation want, uint8_t seed) {
  unlink(down_path.c_str());
  if (old) spit(down_path, old_content);
  script(seed, reply);
  db_ctx ctx(str("db"), nullptr);
  bool ok = false;
  switch (kind) {
    case 0: ok = sql_save_table(&ctx, str(table.empty() ? "t" : table), str(down_path), bin, replace, true); break;
    case 1: ok = sql_backup(&ctx, str(down_path), bin, replace, true); break;
    default: ok = sql_export_table(&ctx, str(table.empty() ? "t" : table), str(down_path), bin, str(sep), replace, true); break;
  }
  const std::vector<std::string> sent = statements();
  if (sent.size() != 1) fail("a download sent other than one statement");
  kk::grammar::grammar_free_tree(parse_whole(sent[0]));
  if (old && !replace) want.ok = false;
  bool exists = false;
  const std::string now = slurp(down_path, &exists);
  if (ok != want.ok) fail(ok ? "a download succeeded that must fail" : "a download failed that must succeed");
  if (ok) {
    if (!exists || now != want.bytes) fail("the file written is not the bytes decoded");
  } else if (old ? (!exists || now != old_content) : exists) {
    fail("a failed download touched the file");
  }
  const auto left = entries(down_dir);
  if (left.size() > (exists ? 1u : 0u)) fail("a temporary file stayed behind");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  kk::library_startup();
  char root[] = "/dev/shm/fuzz_client_file.XXXXXX";
  char root_tmp[] = "/tmp/fuzz_client_file.XXXXXX";
  const char* made = mkdtemp(root);
  if (!made) made = mkdtemp(root_tmp);
  if (!made) fail("no work folder");
  up_dir = std::string(made) + "/up";
  down_dir = std::string(made) + "/down";
  up_path = up_dir + "/file";
  down_path = down_dir + "/file";
  if (mkdir(up_dir.c_str(), 0700) != 0 || mkdir(down_dir.c_str(), 0700) != 0) fail("no work folder");
  std::atexit(remove_all);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0], seed = data[1];
  std::vector<std::string> segs;
  for (size_t at = 2; at < size && segs.size() < 64;) {
    size_t len = size - at >= 2 ? (data[at] | (size_t(data[at + 1]) << 8)) : 0;
    at += size - at >= 2 ? 2 : size - at;
    if (len > size - at) len = size - at;
    segs.emplace_back(reinterpret_cast<const char*>(data) + at, len);
    at += len;
  }
  segs.resize(std::max<size_t>(segs.size(), 3));
  const std::string& table = segs[0];
  const std::string& sep = segs[1];
  const bool bin = flags & 0x40;

  const int up = (flags >> 4) & 3;
  if (up != 3) check_upload(up, bin, table, sep, segs[2], seed & 0x3f);

  const int down = flags & 3;
  if (down == 3) return 0;
  const bool hex = down != 2;
  std::string reply;
  expectation want;
  if (flags & 0x80) {
    reply = segs.size() > 3 ? segs[3] : std::string();
    // Bytes beyond the frame end the connection, in whichever read they come (the reply
    // reader's target checks that): the frame alone is scripted here.
    if (reply.size() >= 4) {
      const uint32_t n = uint8_t(reply[0]) | uint32_t(uint8_t(reply[1])) << 8 | uint32_t(uint8_t(reply[2])) << 16 |
                         uint32_t(uint8_t(reply[3])) << 24;
      if (n != 0 && n != 0xFFFFFFFFu && reply.size() - 4 > n) reply.resize(size_t(n) + 4);
    }
    want = predict_raw(reply, hex);
  } else {
    peer::result r;
    r.cols.push_back({"raw", (seed & 0x80) ? peer::d_i32 : peer::d_string});
    if (seed & 0x40) r.cols.push_back({"n", peer::d_i32});
    want.ok = true;
    for (size_t i = 3; i < segs.size(); ++i) {
      peer::row row{i, {}};
      row.cells.push_back((seed & 0x80) ? peer::i32(int32_t(i)) : peer::text(segs[i]));
      if (seed & 0x40) row.cells.push_back(peer::i32(-1));
      r.rows.push_back(std::move(row));
      if (seed & 0x80) want.ok = false;
      else if (!hex) want.bytes += segs[i];
      else if (!unhex(segs[i], want.bytes)) want.ok = false;
    }
    if (!want.ok) want.bytes.clear();
    reply = peer::ok_reply(r);
  }
  check_download(down, bin, flags & 4, flags & 8, table, sep, reply, want, seed & 0x3f);
  return 0;
}
