// Before the first wire_connect of a process, statements run on the calling thread through
// its own library connection: benchmarks and fuzz targets log in through the library and
// then use the execution context.
#include "query/db_ctx.h"
#include "query/wire.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;

TEST(wire_direct, statements_use_the_calling_threads_connection_until_a_wire_login) {
  peer::test_peer srv;
  srv.push_reply(peer::send(peer::ok_reply({})));
  srv.push_reply(peer::send(peer::fail_reply()));
  ASSERT_TRUE(connect_to_server("127.0.0.1", srv.port(), "u", "p"));
  db_ctx ctx(str("ruv_mdb"), nullptr);
  kk::adt::string::string entry;
  datas* d = exec_logged(&ctx, str("show tables;"), entry, true);
  ASSERT_NE(d, nullptr);
  del_datas(d);
  EXPECT_EQ(ruv::wire_last().result, ruv::wire_result::ok);
  EXPECT_EQ(exec_logged(&ctx, str("drop table t;"), entry, true), nullptr);
  EXPECT_EQ(ruv::wire_last().result, ruv::wire_result::refused);
  // A refusal adds no words of the connection to the entry.
  EXPECT_EQ(std_of(entry).substr(std_of(entry).size() - 12), "</b> us.<br>");
  EXPECT_FALSE(ruv::wire_connected());
  exit_to_server();
  ASSERT_TRUE(srv.wait_frames(4));
  EXPECT_EQ(srv.frames()[1], peer::statement_frame("show tables;"));
  EXPECT_EQ(srv.frames()[2], peer::statement_frame("drop table t;"));
}
