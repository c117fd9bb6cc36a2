// Transfer statement builders: exact texts in both modes, the client-mode upload and
// download byte for byte, and every failure leaving an existing local file intact.
#include <QDir>
#include <QTemporaryDir>
#include <QTextEdit>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>

#include "query/db_ctx.h"
#include "query/local_file.h"
#include "query/transfer_sql.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;
using kk::adt::string::string;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
void spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

struct text_case {
  const char* what;
  std::function<bool(db_ctx*)> call;
  std::string expected;
};

// Runs the test in a folder of its own: a client-mode export writes its file where it runs.
struct in_scratch_folder {
  QTemporaryDir dir;
  QString was = QDir::currentPath();
  in_scratch_folder() { QDir::setCurrent(dir.path()); }
  ~in_scratch_folder() { QDir::setCurrent(was); }
};

TEST(transfer_builders, server_mode_texts) {
  const in_scratch_folder scratch;
  const text_case cases[] = {
      {"export table, replace",
       [](db_ctx* c) { return sql_export_table(c, str("t"), str("/srv/t.csv"), true, str(","), true, false); },
       "select * from t export as csv split by \",\" path+=\"/srv/t.csv\";"},
      {"export query, csvs",
       [](db_ctx* c) { return sql_export(c, str("select a from [my t] where a > 1"), str("x.csv"), false, str(";"), false, false); },
       "select a from [my t] where a > 1 export as csvs split by \";\" path=\"x.csv\";"},
      {"export query ending in a line comment",
       [](db_ctx* c) { return sql_export(c, str("select a from t where a == 1 # first"), str("x.csv"), true, str(","), false, false); },
       "select a from t where a == 1 # first\n export as csv split by \",\" path=\"x.csv\";"},
      {"export query ending in a // comment, client",
       [](db_ctx* c) { return sql_export(c, str("select a from t order by a desc // newest"), str("x.csv"), true, str(","), false, true); },
       "select a from t order by a desc // newest\n export as csv split by \",\" as raw;"},
      {"export query ending after its comment's line",
       [](db_ctx* c) { return sql_export(c, str("select a from t # all\n"), str("x.csv"), true, str(","), false, false); },
       "select a from t # all\n export as csv split by \",\" path=\"x.csv\";"},
      {"export query with a # in a string",
       [](db_ctx* c) { return sql_export(c, str("select a from t where s == \"# x\""), str("x.csv"), true, str(","), false, false); },
       "select a from t where s == \"# x\" export as csv split by \",\" path=\"x.csv\";"},
      {"save sql", [](db_ctx* c) { return sql_save_table(c, str("t"), str("/p"), false, false, false); },
       "save t as sql path=\"/p\";"},
      {"save bin, replace", [](db_ctx* c) { return sql_save_table(c, str("t"), str("/p"), true, true, false); },
       "save t as bin path+=\"/p\";"},
      {"backup", [](db_ctx* c) { return sql_backup(c, str("/b"), true, false, false); }, "backup as bin path=\"/b\";"},
      {"backup sql, replace", [](db_ctx* c) { return sql_backup(c, str("/b"), false, true, false); },
       "backup as sql path+=\"/b\";"},
      {"import", [](db_ctx* c) { return sql_import(c, str("t 2"), str("/i.csv"), false, str(" "), false); },
       "import [t 2] from csvs split by \" \" path=\"/i.csv\";"},
      {"load", [](db_ctx* c) { return sql_load_table(c, str("t"), str("/l"), true, false); }, "load t from bin path=\"/l\";"},
      {"restore", [](db_ctx* c) { return sql_restore(c, str("/r"), false, false); }, "restore from sql path=\"/r\";"},
      {"path with a quote",
       [](db_ctx* c) { return sql_save_table(c, str("t"), str("a\"; drop table t; \""), false, false, false); },
       "save t as sql path=\"\\x61\\x22\\x3b\\x20\\x64\\x72\\x6f\\x70\\x20\\x74\\x61\\x62\\x6c\\x65\\x20\\x74\\x3b\\x20\\x22\";"},
      {"path with a backslash", [](db_ctx* c) { return sql_restore(c, str("C:\\x"), true, false); },
       "restore from bin path=\"\\x43\\x3a\\x5c\\x78\";"},
      {"client save", [](db_ctx* c) { return sql_save_table(c, str("t"), str(""), true, false, true); }, "save t as bin as raw;"},
      {"client backup", [](db_ctx* c) { return sql_backup(c, str(""), false, false, true); }, "backup as sql as raw;"},
      {"client export",
       [](db_ctx* c) { return sql_export_table(c, str("t"), str(""), true, str("\t"), false, true); },
       "select * from t export as csv split by \"\t\" as raw;"},
  };
  for (const auto& k : cases) {
    server srv;
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    db_ctx ctx(str("db"), nullptr);
    k.call(&ctx);
    const auto sent = srv.statements();
    ASSERT_EQ(sent.size(), 1u) << k.what;
    EXPECT_EQ(sent[0], k.expected) << k.what;
    EXPECT_TRUE(parses_whole(sent[0])) << k.what << ": " << sent[0];
    if (sent[0].find(" export as ") != std::string::npos) {
      EXPECT_TRUE(parses_with(sent[0], kk::grammar::sql::id_export)) << k.what << ": the export clause is no clause";
    }
  }
}

TEST(transfer_builders, the_six_separators_go_in_unchanged) {
  for (const char* sep : {",", ";", " ", "-", ":", "\t"}) {
    server srv;
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    db_ctx ctx(str("db"), nullptr);
    EXPECT_TRUE(sql_export_table(&ctx, str("t"), str("/o"), true, str(sep), false, false));
    const std::string expected = std::string("select * from t export as csv split by \"") + sep + "\" path=\"/o\";";
    ASSERT_EQ(srv.statements(), std::vector<std::string>{expected});
    EXPECT_TRUE(parses_whole(expected)) << expected;
  }
}

struct upload_fixture : ::testing::Test {
  QTemporaryDir dir;
  std::string path(const char* name) { return QDir(dir.path()).filePath(name).toStdString(); }
};

TEST_F(upload_fixture, the_file_goes_as_escapes_byte_for_byte) {
  const std::string file = path("in.csv");
  spit(file, "ab\n");
  const std::string bin = path("t.bin");
  spit(bin, std::string("\x00\xff\xC3", 3));
  server srv;
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  db_ctx ctx(str("db"), nullptr);
  EXPECT_TRUE(sql_import(&ctx, str("t"), str(file), true, str(","), true));
  EXPECT_TRUE(sql_load_table(&ctx, str("t"), str(bin), true, true));
  EXPECT_TRUE(sql_restore(&ctx, str(bin), false, true));
  const std::vector<std::string> expected{
      "import t from csv split by \",\" from raw \"\\x61\\x62\\x0a\";",
      "load t from bin from raw \"\\x00\\xff\\xc3\";",
      "restore from sql from raw \"\\x00\\xff\\xc3\";",
  };
  EXPECT_EQ(srv.statements(), expected);
  for (const auto& s : expected) EXPECT_TRUE(parses_whole(s)) << s;
}

TEST_F(upload_fixture, nothing_is_sent_for_what_is_no_readable_file) {
  spit(path("empty"), "");
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
  server srv;
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  db_ctx ctx(str("db"), nullptr);
  for (const std::string& p : {path("empty"), path("missing"), dir.path().toStdString(), path("fifo")}) {
    EXPECT_FALSE(sql_load_table(&ctx, str("t"), str(p), true, true)) << p;
    EXPECT_EQ(read_file(p.c_str()).size, 0u) << p;
  }
  EXPECT_TRUE(srv.statements().empty());
}

TEST_F(upload_fixture, a_file_too_big_for_one_statement_is_refused_before_it_is_read) {
  // 512 MiB of file make 2 GiB of escapes: more than the 32-bit length a statement has.
  const std::string big = path("big.bin");
  { std::ofstream(big, std::ios::binary) << ""; }
  ASSERT_EQ(truncate(big.c_str(), 512ll << 20), 0);  // sparse: nothing is written
  server srv;
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  db_ctx ctx(str("db"), nullptr);
  EXPECT_FALSE(sql_restore(&ctx, str(big), true, true));
  EXPECT_TRUE(srv.statements().empty());
}

TEST_F(upload_fixture, an_uploaded_file_shows_in_the_log_cut_with_its_length) {
  // 256 KiB of file make a statement of 1 MiB: the server gets all of it, the log a few KiB.
  const std::string bin = path("db.rbk");
  spit(bin, std::string(256 << 10, 'A'));
  server srv;
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  QTextEdit pane;
  db_ctx ctx(str("db"), &pane);
  EXPECT_TRUE(sql_restore(&ctx, str(bin), true, true));
  ASSERT_EQ(srv.statements().size(), 1u);
  EXPECT_EQ(srv.statements()[0].size(), std::string("restore from bin from raw \"\";").size() + 4 * (256u << 10));
  EXPECT_LT(pane.toHtml().size(), 3 * int(log_statement_max)) << "the log holds the statement whole";
  EXPECT_TRUE(pane.toPlainText().contains("... (1.0 MiB in all)")) << pane.toPlainText().right(200).toStdString();
}

struct download_case {
  const char* what;
  std::vector<std::string> rows;
  bool hex;
  std::string file;
};

peer::result rows_of_text(const std::vector<std::string>& rows) {
  peer::result r{{{"raw", peer::d_string}}, {}};
  uint64_t id = 1;
  for (const auto& t : rows) r.rows.push_back({id++, {peer::text(t)}});
  return r;
}

TEST_F(upload_fixture, downloads_write_the_reply_byte_for_byte) {
  const download_case cases[] = {
      {"export: rows back to back, a character split across rows, bytes that are no UTF-8",
       {"a,b\n", "c,\xE4\xB8", "\xAD\n", "\xff\xfe\n"}, false, "a,b\nc,\xE4\xB8\xAD\n\xff\xfe\n"},
      {"backup: hexadecimal rows", {"4142", "43"}, true, "ABC"},
      {"save: either case, an odd last digit ignored", {"00fF", "c3a", ""}, true, std::string("\x00\xff\xc3", 3)},
      {"no rows: an empty file", {}, true, ""},
  };
  for (const auto& k : cases) {
    server srv;
    srv.peer.push_reply(peer::send(peer::ok_reply(rows_of_text(k.rows))));
    db_ctx ctx(str("db"), nullptr);
    const std::string target = path("out");
    spit(target, "old content");
    const bool ok = k.hex ? sql_save_table(&ctx, str("t"), str(target), true, true, true)
                          : sql_export_table(&ctx, str("t"), str(target), true, str(","), true, true);
    EXPECT_TRUE(ok) << k.what;
    EXPECT_EQ(slurp(target), k.file) << k.what;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out"}) << "no temporary file left";
}

TEST_F(upload_fixture, every_failed_download_leaves_the_existing_file_intact) {
  struct failure {
    const char* what;
    peer::reply_plan reply;
    bool replace;
  };
  const failure cases[] = {
      {"exists, no replace", peer::send(peer::ok_reply(rows_of_text({"4142"}))), false},
      {"bad hex digit", peer::send(peer::ok_reply(rows_of_text({"4142", "4g"}))), true},
      {"statement failed", peer::send(peer::fail_reply()), true},
      {"not a text column", peer::send(peer::ok_reply({{{"n", peer::d_i32}}, {{1, {peer::i32(0x4142)}}}})), true},
  };
  for (const auto& k : cases) {
    server srv;
    srv.peer.push_reply(k.reply);
    db_ctx ctx(str("db"), nullptr);
    const std::string target = path("keep.bin");
    spit(target, "precious");
    EXPECT_FALSE(sql_backup(&ctx, str(target), true, k.replace, true)) << k.what;
    EXPECT_EQ(slurp(target), "precious") << k.what;
    EXPECT_EQ(srv.statements(), std::vector<std::string>{"backup as bin as raw;"}) << k.what;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bin"}) << "no temporary file left";

  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(rows_of_text({"41"}))));
  db_ctx ctx(str("db"), nullptr);
  EXPECT_FALSE(sql_backup(&ctx, str(path("no/such/folder/x")), true, true, true)) << "a folder that is not there";
}

TEST_F(upload_fixture, a_link_at_the_target_counts_as_an_existing_file) {
  const std::string target = path("link.bin");
  ASSERT_EQ(symlink("nowhere", target.c_str()), 0);
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(rows_of_text({"41"}))));
  db_ctx ctx(str("db"), nullptr);
  EXPECT_FALSE(sql_backup(&ctx, str(target), true, false, true));
  char buf[16] = {};
  EXPECT_EQ(readlink(target.c_str(), buf, sizeof buf - 1), 7);
  EXPECT_STREQ(buf, "nowhere");
}

TEST_F(upload_fixture, a_new_file_gets_the_usual_mode) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(rows_of_text({"41"}))));
  db_ctx ctx(str("db"), nullptr);
  const std::string target = path("new.bin");
  const mode_t mask = umask(022);
  EXPECT_TRUE(sql_backup(&ctx, str(target), true, false, true));
  umask(mask);
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(upload_fixture, a_download_over_a_fifo_writes_in_place_and_never_replaces_it) {
  // Nobody reads the fifo: the open is refused at once instead of waiting, and the node stays.
  const std::string fifo = path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(rows_of_text({"41"}))));
  db_ctx ctx(str("db"), nullptr);
  EXPECT_FALSE(sql_backup(&ctx, str(fifo), true, true, true));
  EXPECT_EQ(last_transfer_failure().fault, transfer_fault::write_failed);
  EXPECT_EQ(last_transfer_failure().error, ENXIO);
  struct stat st {};
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden), QStringList{"fifo"});
}

TEST_F(upload_fixture, each_failure_says_what_failed) {
  spit(path("empty"), "");
  server srv;
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::fail_reply()); });
  db_ctx ctx(str("db"), nullptr);
  const struct {
    std::function<bool()> call;
    transfer_fault fault;
    int error;
  } cases[] = {
      {[&] { return sql_restore(&ctx, str(path("missing")), true, true); }, transfer_fault::read_failed, ENOENT},
      {[&] { return sql_restore(&ctx, str(dir.path().toStdString()), true, true); }, transfer_fault::read_failed, EISDIR},
      {[&] { return sql_restore(&ctx, str(path("empty")), true, true); }, transfer_fault::empty_file, 0},
      {[&] { return sql_restore(&ctx, str("/srv/x"), true, false); }, transfer_fault::refused, 0},
      {[&] { return sql_backup(&ctx, str(path("b")), true, true, true); }, transfer_fault::refused, 0},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(c.call());
    EXPECT_EQ(int(last_transfer_failure().fault), int(c.fault));
    EXPECT_EQ(last_transfer_failure().error, c.error);
  }
  EXPECT_EQ(srv.statements().size(), 2u);
}

}  // namespace
