// Result sets into variant rows, through the library and the scripted server's encoder.
#include <QDateTime>

#include "query/calendar_value.h"
#include "query/db_ctx.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;

namespace {

struct converted {
  bool ok = false;
  text_list names, types;
  variant_rows rows;
  kk::adt::vector<kk::u64> ids;
};

converted convert(const peer::result& r, bool with_ids = true) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(r)));
  datas* d = ruv::wire_exec("select * from t;", 16);
  EXPECT_NE(d, nullptr);
  converted c;
  c.ok = result_to_variants(d, c.names, c.rows, c.types, with_ids ? &c.ids : nullptr);
  del_datas(d);
  return c;
}

std::vector<std::string> texts(const text_list& l) {
  std::vector<std::string> out;
  for (auto* n = l.head; n; n = n->next) out.push_back(std_of(n->value));
  return out;
}

// A calendar value as the value library holds it.
QVariant exact(calendar_kind kind, uint16_t y, uint8_t mo, uint8_t d, uint8_t h = 0, uint8_t mi = 0, uint8_t sec = 0,
               uint32_t ns = 0) {
  calendar_value v;
  v.kind = kind;
  v.fields = {y, mo, d, h, mi, sec, ns};
  return QVariant::fromValue(v);
}

struct cell_case {
  peer::desc d;
  peer::cell cell;
  const char* type;
  QVariant expected;
};

TEST(result_to_variants, each_column_type_by_its_table) {
  const cell_case cases[] = {
      {peer::d_u08, peer::u08(200), "u08", QVariant(int(200))},
      {peer::d_i08, peer::i08(int8_t(0xC8)), "i08", QVariant(int(-56))},
      {peer::d_u16, peer::u16(65535), "u16", QVariant(int(65535))},
      {peer::d_i16, peer::i16(-32768), "i16", QVariant(int(-32768))},
      {peer::d_u32, peer::u32(4294967295u), "u32", QVariant(uint(4294967295u))},
      {peer::d_i32, peer::i32(-7), "i32", QVariant(int(-7))},
      {peer::d_u64, peer::u64(18446744073709551615ull), "u64", QVariant(qulonglong(18446744073709551615ull))},
      {peer::d_i64, peer::i64(-9223372036854775807ll - 1), "i64", QVariant(qlonglong(-9223372036854775807ll - 1))},
      {peer::d_float, peer::f32(1.5f), "float", QVariant(1.5f)},
      {peer::d_double, peer::f64(-0.1), "double", QVariant(-0.1)},
      {peer::d_string, peer::text(""), "string", QVariant(QString(""))},
      {peer::d_string, peer::text("h\xC3\xA9"), "string", QVariant(QString::fromUtf8("h\xC3\xA9"))},
      {peer::d_date, peer::date(2024, 2, 29), "date", QVariant(QDate(2024, 2, 29))},
      {peer::d_time, peer::time(12, 34, 56, 789000000), "time", QVariant(QTime(12, 34, 56, 789))},
      // What Qt's types cannot hold comes as it is: finer than a millisecond, the zero
      // date, the year 0.
      {peer::d_time, peer::time(12, 34, 56, 789999999), "time", exact(calendar_kind::time, 0, 0, 0, 12, 34, 56, 789999999)},
      {peer::d_time, peer::time(23, 59, 59, 999999999), "time", exact(calendar_kind::time, 0, 0, 0, 23, 59, 59, 999999999)},
      {peer::d_date, peer::date(0, 0, 0), "date", exact(calendar_kind::date, 0, 0, 0)},
      {peer::d_date, peer::date(0, 2, 29), "date", exact(calendar_kind::date, 0, 2, 29)},
      {peer::d_datetime, peer::datetime(0, 0, 0, 0, 0, 0, 0), "datetime", exact(calendar_kind::datetime, 0, 0, 0)},
      {peer::d_datetime, peer::datetime(2019, 4, 23, 10, 11, 12, 500), "datetime",
       exact(calendar_kind::datetime, 2019, 4, 23, 10, 11, 12, 500)},
      {peer::d_datetime, peer::datetime(1999, 12, 31, 23, 59, 58, 1000000), "datetime",
       QVariant(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 1), Qt::LocalTime))},
  };
  for (const auto& k : cases) {
    converted c = convert({{{"v", k.d}}, {{9, {k.cell}}}});
    ASSERT_TRUE(c.ok) << k.type;
    EXPECT_EQ(texts(c.types), std::vector<std::string>{k.type});
    ASSERT_EQ(c.rows.count(), 1u);
    const QVariant& v = c.rows.at(0, 0);
    EXPECT_EQ(v.userType(), k.expected.userType()) << k.type << " " << k.expected.toString().toStdString();
    EXPECT_TRUE(same_cell_value(v, k.expected)) << k.type << " " << v.toString().toStdString();
  }
}

TEST(result_to_variants, rows_in_order_with_ids_and_names) {
  converted c = convert({{{"a", peer::d_i32}, {"[b c]", peer::d_string}},
                         {{5, {peer::i32(1), peer::text("x")}}, {3, {peer::i32(2), peer::text("y")}}}});
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(texts(c.names), (std::vector<std::string>{"a", "[b c]"}));
  EXPECT_EQ(texts(c.types), (std::vector<std::string>{"i32", "string"}));
  ASSERT_EQ(c.rows.count(), 2u);
  EXPECT_EQ(c.rows.at(1, 0), QVariant(2));
  EXPECT_EQ(c.rows.at(1, 1), QVariant(QString("y")));
  ASSERT_EQ(c.ids.size, 2u);
  EXPECT_EQ(c.ids[0], 5u);
  EXPECT_EQ(c.ids[1], 3u);

  converted no_ids = convert({{{"a", peer::d_i32}}, {{5, {peer::i32(1)}}}}, false);
  EXPECT_TRUE(no_ids.ok);
  EXPECT_EQ(no_ids.ids.size, 0u);
}

TEST(result_to_variants, no_rows_gives_names_only) {
  converted c = convert({{{"a", peer::d_i32}, {"b", peer::d_date}}, {}});
  EXPECT_TRUE(c.ok);
  EXPECT_EQ(texts(c.names), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(texts(c.types).empty());
  EXPECT_TRUE(c.rows.empty());
}

TEST(result_to_variants, a_cell_without_type_is_a_failure_not_an_empty_grid) {
  converted c = convert({{{"a", peer::d_i32}, {"n", peer::d_null}, {"s", peer::d_string}},
                         {{1, {peer::i32(1), peer::none(), peer::text("x")}}}});
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(texts(c.names), (std::vector<std::string>{"a", "n", "s"}));
  EXPECT_EQ(texts(c.types), std::vector<std::string>{"i32"});
  EXPECT_TRUE(c.rows.empty());
  EXPECT_EQ(c.ids.size, 0u);
}

TEST(exec_query, failure_and_conversion_failure_are_both_false) {
  server srv;
  srv.peer.push_reply(peer::send(peer::fail_reply()));
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"n", peer::d_null}}, {{1, {peer::none()}}}})));
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_u08}}, {{4, {peer::u08(7)}}}})));
  db_ctx ctx(str("db"), nullptr);
  kk::adt::string::string entry;
  text_list names, types;
  variant_rows rows;
  kk::adt::vector<kk::u64> ids;
  EXPECT_FALSE(exec_query(&ctx, str("select * from t;"), names, rows, types, entry, true, &ids));
  EXPECT_EQ(names.count, 0u);
  EXPECT_EQ(exec_query_outcome(&ctx, str("select * from t;"), names, rows, types, entry, true, &ids),
            query_outcome::not_converted);
  names.clear();
  types.clear();
  EXPECT_TRUE(exec_query(&ctx, str("select * from t;"), names, rows, types, entry, true, &ids));
  EXPECT_EQ(rows.at(0, 0), QVariant(7));
  EXPECT_EQ(ids[0], 4u);
}

TEST(exec_statement, a_result_kept_nowhere_succeeds_as_exec_query_would) {
  server srv;
  srv.peer.push_reply(peer::send(peer::fail_reply()));
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_i32}, {"n", peer::d_null}},
                                                 {{1, {peer::i32(1), peer::i32(0)}}, {2, {peer::i32(2), peer::none()}}}})));
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_u08}}, {{4, {peer::u08(7)}}}})));
  srv.peer.push_reply(peer::send(peer::ok_reply({{}, {}})));
  db_ctx ctx(str("db"), nullptr);
  kk::adt::string::string entry;
  EXPECT_FALSE(exec_statement(&ctx, str("select * from t;"), entry, true));
  EXPECT_NE(std_of(entry).find("failed"), std::string::npos);
  EXPECT_FALSE(exec_statement(&ctx, str("select * from t;"), entry, true)) << "a cell without type";
  EXPECT_NE(std_of(entry).find("successful"), std::string::npos) << "the server took it";
  EXPECT_TRUE(exec_statement(&ctx, str("select * from t;"), entry, true));
  EXPECT_TRUE(exec_statement(&ctx, str("delete from t;"), entry, true));
}

}  // namespace
