// The table model: loading (statements sent, shape, headers, delegates), display modes and
// sorting, over the scripted server.
#include <QAbstractItemModelTester>
#include <QFont>
#include <QPersistentModelIndex>
#include <QSignalSpy>

#include <cmath>
#include <limits>

#include "cells/item_dlgt.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;

namespace {

peer::result fields(std::vector<std::array<const char*, 3>> rows) {
  peer::result r{{{"name", peer::d_string}, {"type", peer::d_string}, {"attr", peer::d_string}}, {}};
  uint64_t id = 1;
  for (auto& f : rows) r.rows.push_back({id++, {peer::text(f[0]), peer::text(f[1]), peer::text(f[2])}});
  return r;
}

peer::result three_rows() {
  return {{{"a", peer::d_i32}, {"[b c]", peer::d_string}, {"d", peer::d_date}},
          {{11, {peer::i32(3), peer::text("x"), peer::date(2024, 1, 2)}},
           {12, {peer::i32(1), peer::text("y"), peer::date(2023, 5, 6)}},
           {13, {peer::i32(2), peer::text("z"), peer::date(1, 1, 1)}}}};
}

TEST(tab_data_model, load_shows_the_result_with_headers_and_row_ids) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(three_rows())));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
  bool editable = false;
  kk::adt::string::string entry;
  EXPECT_TRUE(m.load(str("select * from t;"), true, &editable, &entry));
  EXPECT_TRUE(editable);
  EXPECT_NE(std_of(entry).find("successful"), std::string::npos);
  EXPECT_EQ(srv.statements(), std::vector<std::string>{"select * from t;"});
  ASSERT_EQ(m.rowCount(), 3);
  ASSERT_EQ(m.columnCount(), 3);
  EXPECT_EQ(m.rowCount(m.index(0, 0)), 0);
  EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "b c");
  EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::EditRole).toString(), "[b c]");
  EXPECT_EQ(m.headerData(2, Qt::Vertical, Qt::DisplayRole).toString(), "3");
  EXPECT_FALSE(m.headerData(3, Qt::Vertical, Qt::DisplayRole).isValid());
  EXPECT_EQ(m.data(m.index(0, 2)).toString(), "2024-01-02");
  EXPECT_EQ(m.data(m.index(1, 0), Qt::EditRole), QVariant(1));
  EXPECT_EQ(m.data(m.index(1, 0), Qt::TextAlignmentRole), QVariant(int(Qt::AlignCenter)));
  EXPECT_EQ(m.itemData(m.index(2, 1)), (QMap<int, QVariant>{{Qt::EditRole, QVariant(QString("z"))}}));
  EXPECT_EQ(m.flags(m.index(0, 0)), Qt::ItemFlags(35));
  EXPECT_EQ(m.flags(QModelIndex()), Qt::NoItemFlags);
  EXPECT_EQ(m.row_id(2), 13u);
  EXPECT_EQ(std_of(m.column_at(0)), "i32");
  EXPECT_EQ(std_of(m.cell_text(m.index(1, 1))), "y");
  EXPECT_EQ(m.cell_at(3, 0), nullptr);
  EXPECT_NE(m.cell_at(2, 2), nullptr);
  EXPECT_FALSE(m.is_column_flag(3));
  EXPECT_FALSE(m.is_column_flag(0));
  EXPECT_EQ(m.column_delegate(0), m.delegate_for_type({"i32", 3}));
  EXPECT_EQ(m.value_from_text({"42", 2}, 0), QVariant(42));
}

TEST(tab_data_model, a_statement_the_grammar_does_not_take_whole_is_not_sent) {
  server srv;
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  bool editable = true;
  EXPECT_FALSE(m.load(str("select * from t; select 1;"), false, &editable, nullptr));
  EXPECT_FALSE(m.load(str("selec * from t;"), false, &editable, nullptr));
  EXPECT_FALSE(m.load(str(""), false, &editable, nullptr));
  EXPECT_FALSE(editable);
  EXPECT_TRUE(srv.statements().empty());
  EXPECT_EQ(m.columnCount(), 0);
}

TEST(tab_data_model, without_rows_the_types_come_from_the_fields_by_name) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"b", peer::d_i32}, {"a", peer::d_i32}}, {}})));
  srv.peer.push_reply(peer::send(peer::ok_reply(fields({{"a", "u64", ""}, {"b", "string", "true"}, {"c", "date", ""}}))));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  EXPECT_TRUE(m.load(str("select b, a from t;"), false, nullptr, nullptr));
  EXPECT_EQ(srv.statements(), (std::vector<std::string>{"select b, a from t;", "fields_of t;"}));
  ASSERT_EQ(m.columnCount(), 2);
  EXPECT_EQ(m.rowCount(), 0);
  EXPECT_EQ(std_of(m.column_at(0)), "string");
  EXPECT_EQ(std_of(m.column_at(1)), "u64");
}

TEST(tab_data_model, early_returns) {
  struct early_case {
    const char* what;
    const char* table;
    std::vector<peer::reply_plan> replies;
    bool result;
    std::vector<std::string> sent;
  };
  const early_case cases[] = {
      {"script result without rows: no fields_of for the empty name", "",
       {peer::send(peer::ok_reply({{{"a", peer::d_i32}}, {}}))}, true, {"select * from t;"}},
      {"failed statement: the field list is still asked for", "t",
       {peer::send(peer::fail_reply()), peer::send(peer::ok_reply(fields({{"a", "i32", ""}})))}, false,
       {"select * from t;", "fields_of t;"}},
      {"a cell without type: failure, no field list", "t",
       {peer::send(peer::ok_reply({{{"n", peer::d_null}}, {{1, {peer::none()}}}}))}, false, {"select * from t;"}},
      {"a field list of the wrong shape is not read", "t",
       {peer::send(peer::ok_reply({{{"a", peer::d_i32}}, {}})),
        peer::send(peer::ok_reply({{{"name", peer::d_string}, {"type", peer::d_string}}, {{1, {peer::text("a"), peer::text("i32")}}}}))},
       true, {"select * from t;", "fields_of t;"}},
      {"a statement without columns", "t",
       {peer::send(peer::ok_reply({})), peer::send(peer::ok_reply(fields({{"a", "i32", ""}})))}, true,
       {"select * from t;", "fields_of t;"}},
      {"a column the field list does not name", "t",
       {peer::send(peer::ok_reply({{{"x", peer::d_i32}}, {}})), peer::send(peer::ok_reply(fields({{"a", "i32", ""}})))}, true,
       {"select * from t;", "fields_of t;"}},
  };
  for (const auto& k : cases) {
    server srv;
    for (const auto& r : k.replies) srv.peer.push_reply(r);
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str(k.table), &ctx);
    bool editable = true;
    EXPECT_EQ(m.load(str("select * from t;"), true, &editable, nullptr), k.result) << k.what;
    EXPECT_FALSE(editable) << k.what;
    EXPECT_EQ(m.columnCount(), 0) << k.what;
    EXPECT_EQ(m.rowCount(), 0) << k.what;
    EXPECT_EQ(srv.statements(), k.sent) << k.what;
  }
}

TEST(tab_data_model, editable_only_without_post_operations_and_read_only_delegates_follow) {
  const std::pair<const char*, bool> cases[] = {
      {"select * from t;", true},
      {"select * from t where a > 1 order by a asc;", true},
      {"select * from t group count(a) by a;", false},
      {"select * from t project a;", false},
      {"select * from t rename a b;", false},
      {"select * from t first 3;", false},
  };
  for (const auto& [sql, expected] : cases) {
    server srv;
    srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_i32}}, {{1, {peer::i32(1)}}}})));
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str("t"), &ctx);
    bool editable = !expected;
    EXPECT_TRUE(m.load(str(sql), true, &editable, nullptr)) << sql;
    EXPECT_EQ(editable, expected) << sql;
    EXPECT_EQ(m.is_column_flag(0), !expected) << sql;
    m.set_read_only(true);
    EXPECT_TRUE(m.is_column_flag(0));
  }
}

TEST(tab_data_model, an_unknown_type_is_shown_as_text_and_never_edited) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_i32}, {"w", peer::d_i32}}, {}})));
  srv.peer.push_reply(peer::send(peer::ok_reply(fields({{"a", "i32", ""}, {"w", "wide", ""}}))));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  EXPECT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  ASSERT_EQ(m.columnCount(), 2);
  EXPECT_FALSE(m.is_column_flag(0));
  EXPECT_TRUE(m.is_column_flag(1));
  m.set_read_only(false);
  EXPECT_TRUE(m.is_column_flag(1));
  EXPECT_TRUE(type_icon(QString("wide")).isNull());
}

TEST(tab_data_model, display_modes_are_per_model) {
  server srv;
  srv.peer.set_handler([](std::string_view) {
    return peer::send(peer::ok_reply({{{"a", peer::d_i32}, {"s", peer::d_string}}, {{1, {peer::i32(5), peer::text("5")}}}}));
  });
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx), other(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  ASSERT_TRUE(other.load(str("select * from t;"), true, nullptr, nullptr));
  const QString dec = m.data(m.index(0, 0)).toString();
  EXPECT_EQ(dec, "5");
  m.set_display_bin();
  const QString bin = m.data(m.index(0, 0)).toString();
  EXPECT_NE(bin, dec);
  EXPECT_EQ(bin, m.delegate_for_type({"i32", 3})->to_text(QVariant(5)));
  EXPECT_EQ(m.data(m.index(0, 1)).toString(), "5") << "texts keep their form";
  EXPECT_EQ(other.data(other.index(0, 0)).toString(), "5");
  m.set_display_hex();
  EXPECT_NE(m.data(m.index(0, 0)).toString(), bin);
  m.set_display_dec();
  EXPECT_EQ(m.data(m.index(0, 0)).toString(), dec);
}

// The column's values, top to bottom, as their display texts joined by '|'.
std::string column_texts(const tab_data_model& m, int column) {
  std::string out;
  for (int r = 0; r < m.rowCount(); ++r) out += (r ? "|" : "") + m.data(m.index(r, column)).toString().toStdString();
  return out;
}
std::string ids(const tab_data_model& m) {
  std::string out;
  for (int r = 0; r < m.rowCount(); ++r) out += (r ? "|" : "") + std::to_string(m.row_id(r));
  return out;
}

TEST(tab_data_model, dates_and_times_load_as_they_are) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(
      {{{"d", peer::d_date}, {"t", peer::d_time}, {"dt", peer::d_datetime}},
       {{1, {peer::date(0, 0, 0), peer::time(23, 59, 59, 999999999), peer::datetime(0, 0, 0, 0, 0, 0, 0)}},
        {2, {peer::date(0, 5, 6), peer::time(0, 0, 0, 1), peer::datetime(2019, 4, 23, 10, 11, 12, 123456789)}},
        {3, {peer::date(2024, 2, 29), peer::time(18, 0, 0, 0), peer::datetime(2019, 4, 23, 10, 11, 12, 0)}}}})));
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  struct shown {
    int row, column;
    const char* display;  // the grid's text: milliseconds, the zero date as it is
    const char* literal;  // every digit the value holds
  };
  const shown cells[] = {
      {0, 0, "0000-00-00", "\"0000-00-00\""},
      {0, 1, "23:59:59.999", "\"23:59:59.999999999\""},
      {0, 2, "0000-00-00 00:00:00.000", "\"0000-00-00 00:00:00\""},
      {1, 0, "0000-05-06", "\"0000-05-06\""},
      {1, 1, "00:00:00.000", "\"00:00:00.000000001\""},
      {1, 2, "2019-04-23 10:11:12.123", "\"2019-04-23 10:11:12.123456789\""},
      {2, 0, "2024-02-29", "\"2024-02-29\""},
      {2, 1, "18:00:00.000", "\"18:00:00\""},
      {2, 2, "2019-04-23 10:11:12.000", "\"2019-04-23 10:11:12\""},
  };
  for (const shown& c : cells) {
    const QModelIndex i = m.index(c.row, c.column);
    EXPECT_EQ(m.data(i).toString().toStdString(), c.display) << c.row << "," << c.column;
    EXPECT_EQ(std_of(m.cell_text(i)), c.display);
    kk::adt::string::string lit;
    ASSERT_TRUE(sql_value_literal(m.data(i, Qt::EditRole), m.column_at(c.column).view(), lit)) << c.display;
    EXPECT_EQ(std_of(lit), c.literal);
  }
  // An edit of another cell of the row leaves the exact values as they are: only the edited
  // cell is written.
  EXPECT_TRUE(m.setData(m.index(1, 0), QDate(2020, 1, 2)));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(srv.statements().back(), "atom_exec  update t set d = \"2020-01-02\" where __id == 2; commit;");
  // Setting a cell to the value it holds is no edit.
  EXPECT_TRUE(m.setData(m.index(0, 1), m.data(m.index(0, 1), Qt::EditRole)));
  EXPECT_FALSE(m.data(m.index(0, 1), Qt::FontRole).value<QFont>().italic());
  EXPECT_TRUE(m.setData(m.index(0, 1), QTime(23, 59, 59, 999)));
  EXPECT_TRUE(m.data(m.index(0, 1), Qt::FontRole).value<QFont>().italic()) << "a millisecond value is another value";
}

struct sort_case {
  const char* what;
  peer::result data;
  std::string ascending_ids;
};

TEST(tab_data_model, sorts_stably_by_a_total_order_and_descending_is_the_exact_reverse) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const sort_case cases[] = {
      {"ties keep their order",
       {{{"k", peer::d_i32}}, {{1, {peer::i32(2)}}, {2, {peer::i32(1)}}, {3, {peer::i32(2)}}, {4, {peer::i32(1)}}, {5, {peer::i32(-3)}}}},
       "5|2|4|1|3"},
      {"u64 above 2^63",
       {{{"k", peer::d_u64}}, {{1, {peer::u64(9223372036854775808ull)}}, {2, {peer::u64(1)}}, {3, {peer::u64(18446744073709551615ull)}}}},
       "2|1|3"},
      {"NaN last",
       {{{"k", peer::d_double}}, {{1, {peer::f64(nan)}}, {2, {peer::f64(2.5)}}, {3, {peer::f64(-1e300)}}, {4, {peer::f64(nan)}}, {5, {peer::f64(0)}}}},
       "3|5|2|1|4"},
      {"strings by UTF-16 units",
       {{{"k", peer::d_string}},
        {{1, {peer::text("\xEF\xBD\x9E")}}, {2, {peer::text("\xF0\x9F\x98\x80")}}, {3, {peer::text("b")}}, {4, {peer::text("B")}}, {5, {peer::text("")}}}},
       "5|4|3|2|1"},
      {"dates, year 0 and the zero date first",
       {{{"k", peer::d_date}},
        {{1, {peer::date(2024, 1, 1)}}, {2, {peer::date(0, 1, 1)}}, {3, {peer::date(1999, 12, 31)}}, {4, {peer::date(0, 0, 0)}}}},
       "4|2|3|1"},
      {"times by every digit",
       {{{"k", peer::d_time}},
        {{1, {peer::time(23, 59, 59, 999999999)}}, {2, {peer::time(23, 59, 59, 999000000)}}, {3, {peer::time(23, 59, 59, 999000001)}}}},
       "2|3|1"},
      {"datetimes by every digit",
       {{{"k", peer::d_datetime}},
        {{1, {peer::datetime(2019, 4, 23, 0, 0, 0, 1)}}, {2, {peer::datetime(2019, 4, 23, 0, 0, 0, 0)}}, {3, {peer::datetime(0, 0, 0, 0, 0, 0, 0)}}}},
       "3|2|1"},
  };
  for (const auto& k : cases) {
    server srv;
    srv.peer.set_handler([&](std::string_view) { return peer::send(peer::ok_reply(k.data)); });
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str("t"), &ctx);
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
    m.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(ids(m), k.ascending_ids) << k.what;
    const std::string ascending = ids(m);
    ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
    m.sort(0, Qt::DescendingOrder);
    std::string reversed;
    for (int r = m.rowCount() - 1; r >= 0; --r) reversed += std::to_string(m.row_id(r)) + (r ? "|" : "");
    EXPECT_EQ(reversed, ascending) << k.what;
  }
}

TEST(tab_data_model, sorting_moves_persistent_indexes_and_keeps_row_numbers) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(three_rows())));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  QPersistentModelIndex y(m.index(1, 1));
  QSignalSpy about(&m, &QAbstractItemModel::layoutAboutToBeChanged);
  QSignalSpy done(&m, &QAbstractItemModel::layoutChanged);
  m.sort(0, Qt::AscendingOrder);
  EXPECT_EQ(column_texts(m, 0), "1|2|3");
  EXPECT_EQ(column_texts(m, 1), "y|z|x");
  EXPECT_EQ(ids(m), "12|13|11");
  EXPECT_EQ(y.row(), 0);
  EXPECT_EQ(m.data(y).toString(), "y");
  EXPECT_EQ(m.headerData(0, Qt::Vertical).toString(), "1");
  EXPECT_EQ(about.count(), 1);
  EXPECT_EQ(done.count(), 1);
  m.sort(5, Qt::AscendingOrder);  // no such column: nothing
  EXPECT_EQ(done.count(), 1);
}

}  // namespace
