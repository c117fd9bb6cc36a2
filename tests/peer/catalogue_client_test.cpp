// The catalogue server through the client library's exports, over the loopback.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "client/ruv_sql_lib_mem.h"
#include "platform/socket.h"
#include "tests/peer/catalogue.h"
#include "tests/peer/test_peer.h"

namespace {

using namespace peer;

struct result_ptr {
  datas* d;
  explicit result_ptr(datas* p) : d(p) {}
  ~result_ptr() { del_datas(d); }
  result_ptr(const result_ptr&) = delete;
  result_ptr& operator=(const result_ptr&) = delete;
};

datas* run(const std::string& s) { return exec(s.data(), static_cast<int32_t>(s.size())); }

std::string str_at(const datas* d, uint64_t row, uint64_t col) {
  char* p = nullptr;
  uint64_t n = 0;
  as_str(&p, &n, at(row, col, d));
  std::string s(p ? p : "", n);
  std::free(p);
  return s;
}

class catalogue_client : public testing::Test {
 protected:
  void SetUp() override {
    db_.install(peer_);
    ASSERT_TRUE(connect_to_server("127.0.0.1", peer_.port(), "u", "p"));
  }
  void TearDown() override { exit_to_server(); }
  catalogue db_;  // outlives the peer
  test_peer peer_;
};

TEST_F(catalogue_client, a_session_of_schema_edits_and_queries) {
  const char* setup[] = {
      "create table [my table] ( n i32( true ), s string(  ), d date( false ) );",
      "insert into [my table] ( n, s, d ) values ( 1, \"one\", \"2024-02-29\" ), ( 2, \"t\\xc3\\xa9\", \"1999-12-31\" ), ( 3, \"x\", \"2000-01-01\" );",
  };
  for (const char* s : setup) {
    result_ptr r(run(s));
    ASSERT_NE(r.d, nullptr) << s;
    EXPECT_EQ(cols_of(r.d), 0u);  // no result table
  }
  {
    result_ptr r(run("show tables;"));
    ASSERT_NE(r.d, nullptr);
    ASSERT_EQ(rows_of(r.d), 1u);
    EXPECT_EQ(str_at(r.d, 0, 0), "my table");
  }
  {
    result_ptr r(run("fields_of [my table];"));
    ASSERT_NE(r.d, nullptr);
    ASSERT_EQ(rows_of(r.d), 3u);
    EXPECT_EQ(str_at(r.d, 2, 0), "d");
    EXPECT_EQ(str_at(r.d, 2, 1), "date");
    EXPECT_EQ(str_at(r.d, 0, 2), "Yes");
  }
  uint64_t second_id = 0;
  {
    result_ptr r(run("select n, s, d from [my table] where first 1000 && n >= 2;"));
    ASSERT_NE(r.d, nullptr);
    ASSERT_EQ(rows_of(r.d), 2u);
    ASSERT_EQ(cols_of(r.d), 3u);
    uint32_t len = 0;
    const char* name = col_name(&len, r.d, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name, len), "s");
    EXPECT_EQ(val_type(at(0, 0, r.d)), 0);
    EXPECT_EQ(val_size(at(0, 0, r.d)), 4u);
    EXPECT_EQ(as_int32(at(0, 0, r.d)), 2);
    EXPECT_EQ(str_at(r.d, 0, 1), "t\xC3\xA9");
    uint32_t y = 0, m = 0, dd = 0;
    as_date(&y, &m, &dd, at(0, 2, r.d));
    EXPECT_EQ(y * 10000 + m * 100 + dd, 19991231u);
    second_id = sid_of(r.d, 0);
    EXPECT_EQ(db_.table("my table")->rows[1].id, second_id);
  }
  // The table model's write-back batch, addressed by row id.
  std::string batch = "atom_exec  update [my table] set s = \"two\" where __id == " + std::to_string(second_id) +
                      "; insert into [my table] ( n, s, d ) values ( 0, \"abc\", \"2019-04-23\" );delete from [my table] where __id == " +
                      std::to_string(second_id + 1) + "; commit;";
  {
    result_ptr r(run(batch));
    ASSERT_NE(r.d, nullptr);
  }
  auto t = db_.table("my table");
  ASSERT_EQ(t->rows.size(), 3u);
  EXPECT_EQ(t->rows[1].values[1], value::text("two"));
  EXPECT_EQ(t->rows[2].values[1], value::text("abc"));
  // A statement the server refuses: null, and the connection goes on.
  EXPECT_EQ(run("select * from [my table] where nope == 1;"), nullptr);
  EXPECT_EQ(run("drop table missing;"), nullptr);
  {
    result_ptr r(run("select * from [my table] where n == 0;"));
    ASSERT_NE(r.d, nullptr);
    EXPECT_EQ(rows_of(r.d), 1u);
  }
  // Every frame was recorded, login first.
  auto frames = peer_.frames();
  ASSERT_GE(frames.size(), 10u);
  EXPECT_EQ(frames.back().substr(4), "select * from [my table] where n == 0;");
}

TEST_F(catalogue_client, client_mode_transfer_bytes_cross_unchanged) {
  ASSERT_TRUE(db_.create_table("t", {{"s", ftype::str, ""}}));
  // An upload of every byte value.
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  static const char digits[] = "0123456789abcdef";
  std::string hexed;
  for (unsigned char c : bytes) hexed += std::string("\\x") + digits[c >> 4] + digits[c & 15];
  {
    result_ptr r(run("load t from bin from raw \"" + hexed + "\";"));
    ASSERT_NE(r.d, nullptr);
  }
  ASSERT_EQ(db_.uploads().size(), 1u);
  EXPECT_EQ(db_.uploads()[0].bytes, bytes);
  // The download answers the same bytes as hexadecimal rows of at most 100 bytes.
  db_.set_download_row_bytes(100);
  result_ptr r(run("save t as bin as raw;"));
  ASSERT_NE(r.d, nullptr);
  ASSERT_EQ(rows_of(r.d), 3u);
  std::string back;
  for (uint64_t i = 0; i < rows_of(r.d); ++i) {
    std::string h = str_at(r.d, i, 0);
    for (size_t k = 0; k + 1 < h.size(); k += 2) back.push_back(static_cast<char>(std::stoi(h.substr(k, 2), nullptr, 16)));
  }
  EXPECT_EQ(back, bytes);
}

TEST_F(catalogue_client, the_state_outlives_a_reconnect_and_the_demo_decodes) {
  fill_demo(db_);
  {
    result_ptr r(run("select * from all_types where first 2;"));
    ASSERT_NE(r.d, nullptr);
    ASSERT_EQ(rows_of(r.d), 2u);
    ASSERT_EQ(cols_of(r.d), 14u);
    // Column c: type, width, sign as the exports read them.
    struct {
      int32_t type;
      uint32_t size;
      bool sign;
    } shape[] = {{0, 1, 1}, {0, 1, 0}, {0, 2, 1}, {0, 2, 0}, {0, 4, 1}, {0, 4, 0}, {0, 8, 1},
                 {0, 8, 0}, {1, 4, 1}, {1, 8, 1}, {2, 8, 1}, {3, 8, 1}, {4, 8, 1}, {5, 8, 1}};
    for (int c = 0; c < 14; ++c) {
      const val* v = at(1, c, r.d);
      ASSERT_NE(v, nullptr);
      EXPECT_EQ(val_type(v), shape[c].type) << c;
      if (shape[c].type <= 1) {
        EXPECT_EQ(val_size(v), shape[c].size) << c;
        EXPECT_EQ(val_sign(v), shape[c].sign) << c;
      }
    }
    EXPECT_EQ(as_uint64(at(1, 6, r.d)), UINT64_MAX);
    EXPECT_EQ(as_int64(at(0, 7, r.d)), INT64_MIN);
  }
  exit_to_server();
  ASSERT_TRUE(connect_to_server("127.0.0.1", peer_.port(), "u", "p"));
  EXPECT_EQ(peer_.connections(), 2u);
  result_ptr r(run("select id, label from big where last 2;"));
  ASSERT_NE(r.d, nullptr);
  ASSERT_EQ(rows_of(r.d), 2u);
  EXPECT_EQ(as_uint64(at(1, 0, r.d)), 100000u);
  EXPECT_EQ(str_at(r.d, 1, 1), "item-100000");
}

// The benchmarks' wide table as the library decodes it, its select sent from one shared
// buffer for every request (the way a benchmark keeps the server's copy out of a load).
TEST_F(catalogue_client, the_wide_table_decodes_and_a_shared_reply_serves_each_request) {
  ASSERT_TRUE(fill_wide(db_, "wide", 3000));
  EXPECT_FALSE(fill_wide(db_, "wide", 1));  // the name is taken
  const catalogue::outcome o = db_.run("select * from wide;");
  ASSERT_TRUE(o.ok);
  auto reply = std::make_shared<const std::string>(ok_reply(o.r));
  // About 196 bytes a row: 8 + 8 + 6 * 8 + 5 * 8 + 6 * (2 + 12 on average) + 2 * 4.
  EXPECT_GT(reply->size(), 3000u * 190);
  EXPECT_LT(reply->size(), 3000u * 202);
  peer_.push_reply(send_shared(reply));
  peer_.push_reply(send_shared(reply));
  for (int round = 0; round < 2; ++round) {
    result_ptr r(run("select * from wide;"));
    ASSERT_NE(r.d, nullptr) << round;
    ASSERT_EQ(rows_of(r.d), 3000u);
    ASSERT_EQ(cols_of(r.d), 20u);
    std::string names;
    for (int32_t c = 0; c < 20; ++c) {
      uint32_t n = 0;
      const char* p = col_name(&n, r.d, c);
      names += std::string(p ? p : "", n) + " ";
    }
    EXPECT_EQ(names, "id i1 i2 i3 i4 i5 i6 r1 r2 r3 r4 r5 s1 s2 s3 s4 s5 s6 d1 d2 ");
    for (uint64_t row : {uint64_t(0), uint64_t(2999)}) {
      EXPECT_EQ(as_uint64(at(row, 0, r.d)), row + 1);
      for (uint64_t c = 12; c < 18; ++c) {
        const std::string s = str_at(r.d, row, c);
        EXPECT_GE(s.size(), 4u);
        EXPECT_LE(s.size(), 20u);
      }
      EXPECT_EQ(val_type(at(row, 18, r.d)), 3);
    }
  }
  EXPECT_EQ(db_.log().size(), 1u);  // both selects were answered from the shared buffer
}

// A reply above a MiB is written while it is sent, from the columns a few cells at a time:
// the bytes on the wire are those of the whole reply, and the catalogue is locked only until
// the reply has gone, also when the client leaves halfway.
TEST(catalogue_stream, a_large_reply_on_the_wire_is_the_whole_reply) {
  namespace plat = kk::platform;
  catalogue db;
  test_peer peer;
  db.install(peer);
  ASSERT_TRUE(fill_wide(db, "wide", 20000));
  ASSERT_TRUE(fill_wide(db, "long", 30));  // rows grown below to cells of 64 KiB, 6 MB in all
  const std::string big(0xFFFF, 'x');
  ASSERT_TRUE(db.run("update long set s1 = \"" + big + "\", s2 = \"" + big + "\", s6 = \"" + big + "\";").ok);
  auto connect = [&] {
    const plat::socket_t fd = plat::tcp_socket();
    EXPECT_TRUE(plat::connect_ipv4(fd, plat::ipv4_address("127.0.0.1"), peer.port(), 5000));
    const std::string login = login_frame("u", "p");
    EXPECT_TRUE(plat::send_all(fd, login.data(), login.size()));
    return fd;
  };
  auto read_exact = [](plat::socket_t fd, std::string& out, size_t n) {
    const size_t at = out.size();
    out.resize(at + n);
    for (size_t got = 0; got < n;) {
      const ptrdiff_t r = plat::recv_some(fd, out.data() + at + got, n - got);
      if (r <= 0) return false;
      got += size_t(r);
    }
    return true;
  };
  auto exchange = [&](plat::socket_t fd, const std::string& statement) {
    const std::string frame = statement_frame(statement);
    EXPECT_TRUE(plat::send_all(fd, frame.data(), frame.size()));
    std::string reply;
    if (!read_exact(fd, reply, 4)) return std::string();
    const uint32_t n = uint32_t(uint8_t(reply[0])) | uint32_t(uint8_t(reply[1])) << 8 |
                       uint32_t(uint8_t(reply[2])) << 16 | uint32_t(uint8_t(reply[3])) << 24;
    if (!read_exact(fd, reply, n)) return std::string();
    return reply;
  };
  const plat::socket_t fd = connect();
  std::string login_reply;
  ASSERT_TRUE(read_exact(fd, login_reply, 5));
  for (const char* statement : {"select * from wide;", "select s1, __id, s2, s6, s2 from long;",
                                "select * from wide where s1 < \"c\" order by r2 desc;"}) {
    const std::string got = exchange(fd, statement);
    const catalogue::outcome o = db.run(statement);
    ASSERT_TRUE(o.ok) << statement;
    const std::string want = ok_reply(o.r);
    ASSERT_EQ(got.size(), want.size()) << statement;
    EXPECT_TRUE(got == want) << statement;
  }
  EXPECT_GT(exchange(fd, "select * from wide;").size(), 3000000u);  // streamed: above a MiB
  // A client that leaves in the middle of a reply.
  const std::string frame = statement_frame("select * from wide;");
  ASSERT_TRUE(plat::send_all(fd, frame.data(), frame.size()));
  std::string part;
  ASSERT_TRUE(read_exact(fd, part, 100000));
  plat::close_socket(fd);
  EXPECT_TRUE(db.run("insert into long ( id ) values ( 2 );").ok);  // the catalogue is free again
  const plat::socket_t again = connect();
  ASSERT_TRUE(read_exact(again, login_reply, 5));
  EXPECT_EQ(exchange(again, "select id from long where last 1;"), ok_reply(db.run("select id from long where last 1;").r));
  plat::close_socket(again);
}

}  // namespace
