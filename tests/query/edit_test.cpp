// Edit tracking and write-back: marks, the pending signal, the exact batch and immediate
// statements, and every statement parsed whole by the program's grammar.
#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>
#include <QSignalSpy>

#include <cmath>
#include <functional>
#include <limits>

#include "cells/item_dlgt.h"
#include "query/calendar_value.h"
#include "query/db_ctx.h"
#include "query/tab_data_model.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;

namespace {

// A model over t (string columns a and b) with the rows 5 (p, q) and 7 (r, s); every later
// statement is answered OK.
struct edit_fixture : ::testing::Test {
  server srv;
  db_ctx ctx{str("db"), nullptr};
  tab_data_model m{str("t"), &ctx};
  QAbstractItemModelTester tester{&m, QAbstractItemModelTester::FailureReportingMode::Fatal};
  void SetUp() override {
    srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_string}, {"b", peer::d_string}},
                                                   {{5, {peer::text("p"), peer::text("q")}}, {7, {peer::text("r"), peer::text("s")}}}})));
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  }
  // Statements after the load.
  std::vector<std::string> sent() const {
    auto s = srv.statements();
    s.erase(s.begin());
    return s;
  }
  bool set(int r, int c, const QVariant& v) { return m.setData(m.index(r, c), v, Qt::EditRole); }
};

TEST_F(edit_fixture, the_example_batch_reads_exactly) {
  QSignalSpy changed(&m, &tab_data_model::changed);
  EXPECT_TRUE(set(0, 1, QString("x")));
  EXPECT_TRUE(m.insertRows(1, 1));
  EXPECT_TRUE(m.removeRows(2, 1));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent(), std::vector<std::string>{
                        "atom_exec  update t set b = \"x\" where __id == 5; insert into t ( a, b ) values ( \"abc\", \"abc\" );"
                        "delete from t where __id == 7; commit;"});
  EXPECT_TRUE(parses_whole(sent()[0]));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_TRUE(changed[0][0].toBool());
  // Applying leaves the edits as they are: the caller reloads.
  EXPECT_EQ(m.rowCount(), 2);
}

TEST_F(edit_fixture, marks_follow_the_edit_and_typing_the_value_back_undoes_it) {
  QSignalSpy changed(&m, &tab_data_model::changed);
  const QModelIndex i = m.index(0, 0);
  EXPECT_FALSE(m.data(i, Qt::FontRole).isValid());
  EXPECT_TRUE(set(0, 0, QString("new")));
  EXPECT_TRUE(m.data(i, Qt::FontRole).value<QFont>().italic());
  EXPECT_EQ(m.data(i, Qt::BackgroundRole).value<QColor>(), QColor(Qt::darkGreen));
  EXPECT_TRUE(set(1, 1, QString("other")));
  EXPECT_EQ(changed.count(), 1) << "a second edit emits nothing more";
  EXPECT_TRUE(set(1, 1, QString("s")));
  EXPECT_TRUE(set(0, 0, QString("p")));
  EXPECT_FALSE(m.data(i, Qt::FontRole).value<QFont>().italic());
  EXPECT_EQ(m.data(i, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
  ASSERT_EQ(changed.count(), 2);
  EXPECT_FALSE(changed[1][0].toBool());
  EXPECT_TRUE(m.apply_edits()) << "nothing to send";
  EXPECT_TRUE(sent().empty());

  m.cell_at(0, 1)->found = 1;
  EXPECT_TRUE(set(0, 1, QString("hit")));
  EXPECT_EQ(m.data(m.index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow)) << "the search hit wins";
}

TEST_F(edit_fixture, an_empty_text_is_a_value_and_no_value_is_refused) {
  EXPECT_TRUE(set(0, 0, QString()));
  EXPECT_FALSE(set(0, 1, QVariant()));
  EXPECT_FALSE(m.setData(m.index(2, 0), QString("x")));
  EXPECT_FALSE(m.setData(QModelIndex(), QString("x")));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent(), std::vector<std::string>{"atom_exec  update t set a = \"\" where __id == 5; commit;"});
}

TEST_F(edit_fixture, a_pending_deletion_keeps_apply_enabled) {
  QSignalSpy changed(&m, &tab_data_model::changed);
  EXPECT_TRUE(m.removeRows(1, 1));
  EXPECT_TRUE(set(0, 0, QString("e")));
  EXPECT_TRUE(set(0, 0, QString("p")));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_TRUE(changed[0][0].toBool());
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent(), std::vector<std::string>{"atom_exec delete from t where __id == 7; commit;"});
}

TEST_F(edit_fixture, removing_an_inserted_row_sends_nothing_for_it) {
  QSignalSpy changed(&m, &tab_data_model::changed);
  EXPECT_TRUE(m.insertRows(2, 2));
  EXPECT_EQ(m.row_id(2), tab_data_model::new_row_id);
  EXPECT_TRUE(m.removeRows(2, 2));
  EXPECT_EQ(m.rowCount(), 2);
  ASSERT_EQ(changed.count(), 2);
  EXPECT_FALSE(changed[1][0].toBool());
  EXPECT_TRUE(m.apply_edits());
  EXPECT_TRUE(sent().empty());
  EXPECT_FALSE(m.removeRows(1, 2));
  EXPECT_FALSE(m.insertRows(3, 1));
  EXPECT_FALSE(m.insertRows(-1, 1));
}

TEST_F(edit_fixture, after_sorting_edits_still_find_their_rows) {
  EXPECT_TRUE(set(0, 1, QString("x")));  // row 5
  EXPECT_TRUE(m.insertRows(0, 1));
  m.sort(0, Qt::DescendingOrder);  // r, p, abc
  EXPECT_EQ(m.row_id(2), tab_data_model::new_row_id);
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent(), std::vector<std::string>{"atom_exec  update t set b = \"x\" where __id == 5; insert into t ( a, b ) "
                                             "values ( \"abc\", \"abc\" ); commit;"});
}

TEST_F(edit_fixture, immediate_mode_writes_each_changed_cell) {
  m.immediate = true;
  QSignalSpy changed(&m, &tab_data_model::changed);
  EXPECT_TRUE(set(0, 1, QString("q"))) << "unchanged: nothing sent";
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(set(0, 1, QString("y\"z")));
  EXPECT_EQ(sent(), std::vector<std::string>{"update t set b = \"\\x79\\x22\\x7a\" where __id == 5"});
  EXPECT_TRUE(parses_whole(sent()[0]));
  EXPECT_FALSE(m.data(m.index(0, 1), Qt::FontRole).isValid()) << "written: no mark";
  EXPECT_EQ(changed.count(), 0);

  // A failed write keeps the edit, marked and pending, for the next apply.
  srv.peer.push_reply(peer::send(peer::fail_reply()));
  EXPECT_FALSE(set(1, 0, QString("w")));
  EXPECT_EQ(m.data(m.index(1, 0), Qt::EditRole).toString(), "w");
  EXPECT_TRUE(m.data(m.index(1, 0), Qt::FontRole).value<QFont>().italic());
  ASSERT_EQ(changed.count(), 1);
  // Rows not yet on the server are never written one cell at a time.
  EXPECT_TRUE(m.insertRows(2, 1));
  EXPECT_TRUE(set(2, 0, QString("n")));
  EXPECT_EQ(sent().size(), 2u);
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent().back(), "atom_exec  update t set a = \"w\" where __id == 7; insert into t ( a, b ) values ( \"n\", \"abc\" ); commit;");
}

TEST_F(edit_fixture, a_failed_batch_keeps_every_edit) {
  EXPECT_TRUE(set(0, 0, QString("e")));
  srv.peer.push_reply(peer::send(peer::fail_reply()));
  EXPECT_FALSE(m.apply_edits());
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(sent().size(), 2u);
  EXPECT_EQ(sent()[0], sent()[1]);
}

TEST(edit, insert_shows_the_defaults_in_bold_and_no_columns_insert_nothing) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"i", peer::d_i32}, {"s", peer::d_string}, {"d", peer::d_date}}, {}})));
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"name", peer::d_string}, {"type", peer::d_string}, {"attr", peer::d_string}},
                                                 {{1, {peer::text("i"), peer::text("i32"), peer::text("")}},
                                                  {2, {peer::text("s"), peer::text("string"), peer::text("")}},
                                                  {3, {peer::text("d"), peer::text("date"), peer::text("")}}}})));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  QSignalSpy changed(&m, &tab_data_model::changed);
  EXPECT_TRUE(m.insertRows(0, 1)) << "no columns";
  EXPECT_EQ(m.rowCount(), 0);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  EXPECT_TRUE(m.insertRows(0, 1));
  EXPECT_EQ(m.data(m.index(0, 0)).toString(), "0");
  EXPECT_EQ(m.data(m.index(0, 1)).toString(), "abc");
  EXPECT_EQ(m.data(m.index(0, 2)).toString(), "2019-04-23");
  for (int c = 0; c < 3; ++c) EXPECT_EQ(m.data(m.index(0, c), Qt::FontRole).value<QFont>().weight(), QFont::Bold);
  EXPECT_EQ(m.itemData(m.index(0, 1)).value(Qt::DisplayRole).toString(), "abc");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_TRUE(changed[0][0].toBool());
}

TEST(edit, values_without_literal_are_refused_and_nothing_is_sent) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"d", peer::d_double}, {"f", peer::d_float}}, {{3, {peer::f64(1), peer::f32(1)}}}})));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  QSignalSpy refused(&m, &tab_data_model::refused);
  for (double v : {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    EXPECT_FALSE(m.setData(m.index(0, 0), v));
    EXPECT_FALSE(m.setData(m.index(0, 1), float(v)));
  }
  EXPECT_EQ(refused.count(), 6);
  EXPECT_FALSE(m.last_refusal().isEmpty());
  m.immediate = true;
  EXPECT_FALSE(m.setData(m.index(0, 0), std::nan("")));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(srv.statements().size(), 1u);
}

struct literal_case {
  const char* type;
  QVariant value;
  const char* literal;
};

TEST(sql_value_literal, one_literal_per_value_whatever_the_display) {
  const literal_case cases[] = {
      {"i08", QVariant(-128), "-128"},
      {"u08", QVariant(255), "255"},
      {"i64", QVariant(qlonglong(-9223372036854775807ll - 1)), "-9223372036854775808"},
      {"u64", QVariant(qulonglong(18446744073709551615ull)), "18446744073709551615"},
      {"u32", QVariant(uint(4294967295u)), "4294967295"},
      {"double", QVariant(0.1), "0.1"},
      {"double", QVariant(-2.5e300), "-2.5e+300"},
      {"double", QVariant(18446744073709551616.0), "1.8446744073709552e+19"},
      {"double", QVariant(1e18), "1e+18"},
      {"double", QVariant(123456789012.0), "123456789012.0"},
      {"double", QVariant(5.0), "5.0"},
      {"double", QVariant(-0.0), "-0.0"},
      {"double", QVariant(4.9e-324), "5e-324"},
      {"double", QVariant(0.00123456789), "0.00123456789"},
      {"float", QVariant(0.1f), "0.1f"},
      {"float", QVariant(-0.0f), "-0.0f"},
      {"float", QVariant(1e-10f), "1e-10f"},
      {"float", QVariant(0.00123456789f), "0.0012345678f"},
      {"float", QVariant(1.4e-45f), "1e-45f"},
      {"float", QVariant(3.4028235e38f), "3.4028235e+38f"},
      {"string", QVariant(QString("a\nb")), "\"\\x61\\x0a\\x62\""},
      {"date", QVariant(QDate(2019, 4, 23)), "\"2019-04-23\""},
      {"date", QVariant(QDate(10000, 1, 1)), "\"10000-01-01\""},
      {"date", QVariant(QDate(33, 2, 3)), "\"0033-02-03\""},
      {"time", QVariant(QTime(18, 0, 0)), "\"18:00:00\""},
      {"time", QVariant(QTime(1, 2, 3, 45)), "\"01:02:03.045\""},
      {"datetime", QVariant(QDateTime(QDate(2019, 4, 23), QTime(10, 11, 12, 500))), "\"2019-04-23 10:11:12.5\""},
      {"datetime", QVariant(QDateTime(QDate(65535, 12, 31), QTime(23, 59, 59))), "\"65535-12-31 23:59:59\""},
      {"date", calendar_variant(calendar_kind::date, {0, 0, 0}), "\"0000-00-00\""},
      {"date", calendar_variant(calendar_kind::date, {0, 2, 29}), "\"0000-02-29\""},
      {"time", calendar_variant(calendar_kind::time, {0, 0, 0, 23, 59, 59, 999999999}), "\"23:59:59.999999999\""},
      {"datetime", calendar_variant(calendar_kind::datetime, {0, 0, 0, 0, 0, 0, 0}), "\"0000-00-00 00:00:00\""},
      {"datetime", calendar_variant(calendar_kind::datetime, {2019, 4, 23, 10, 11, 12, 1}), "\"2019-04-23 10:11:12.000000001\""},
  };
  for (const auto& k : cases) {
    kk::adt::string::string out;
    ASSERT_TRUE(sql_value_literal(k.value, {k.type, std::strlen(k.type)}, out)) << k.type << " " << k.literal;
    EXPECT_EQ(std_of(out), k.literal) << k.type;
    const std::string update = "update t set c = " + std_of(out) + " where __id == 1";
    EXPECT_TRUE(parses_whole(update)) << update;
  }
  kk::adt::string::string out;
  EXPECT_FALSE(sql_value_literal(QVariant(QDate()), {"date", 4}, out));
  EXPECT_FALSE(sql_value_literal(QVariant(1), {"int", 3}, out));
}

TEST(edit, every_type_in_every_display_mode_writes_statements_the_grammar_takes) {
  const char* types[] = {"u08", "i08", "u16", "i16", "u32", "i32", "u64", "i64", "float", "double", "string", "date", "time", "datetime"};
  peer::result empty;
  peer::result field_list{{{"name", peer::d_string}, {"type", peer::d_string}, {"attr", peer::d_string}}, {}};
  uint64_t id = 1;
  for (const char* t : types) {
    const std::string name = std::string("c ") + t;  // bracketed in statements
    empty.cols.push_back({name, peer::d_i32});
    field_list.rows.push_back({id++, {peer::text(name), peer::text(t), peer::text("")}});
  }
  const std::vector<std::function<void(tab_data_model&)>> modes = {
      [](tab_data_model& m) { m.set_display_bin(); }, [](tab_data_model& m) { m.set_display_hex(); },
      [](tab_data_model& m) { m.set_display_dec(); }, [](tab_data_model& m) { m.set_display_normal(); }};
  for (const auto& mode : modes) {
    server srv;
    srv.peer.push_reply(peer::send(peer::ok_reply(empty)));
    srv.peer.push_reply(peer::send(peer::ok_reply(field_list)));
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str("the table"), &ctx);
    ASSERT_TRUE(m.load(str("select * from [the table];"), true, nullptr, nullptr));
    ASSERT_EQ(m.columnCount(), 14);
    mode(m);
    ASSERT_TRUE(m.insertRows(0, 1));
    EXPECT_TRUE(m.apply_edits());
    const auto sent = srv.statements();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_TRUE(parses_whole(sent[2])) << sent[2];
    EXPECT_NE(sent[2].find("values ( 0, 0, 0, 0, 0, 0, 0, 0, 0.0f, 0.0, \"abc\", \"2019-04-23\", \"18:00:00\", "
                           "\"2019-04-23 10:11:12\" );"),
              std::string::npos)
        << sent[2];
  }
}

TEST(edit, columns_are_written_by_the_name_the_header_shows) {
  // One server reports a name in square brackets, another as it is: the statements are the
  // same, and name the field a b, not a field called "[a b]".
  for (const char* reported : {"[a b]", "a b"}) {
    server srv;
    srv.peer.push_reply(peer::send(peer::ok_reply({{{reported, peer::d_i32}, {"c d", peer::d_i32}}, {{9, {peer::i32(1), peer::i32(2)}}}})));
    srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str("t"), &ctx);
    ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "a b");
    EXPECT_EQ(std_of(m.column_name(0)), "a b");
    EXPECT_TRUE(m.setData(m.index(0, 0), 7));
    EXPECT_TRUE(m.setData(m.index(0, 1), 8));
    EXPECT_TRUE(m.apply_edits());
    EXPECT_EQ(srv.statements().back(), "atom_exec  update t set [a b] = 7, [c d] = 8 where __id == 9; commit;") << reported;
    m.immediate = true;
    EXPECT_TRUE(m.setData(m.index(0, 0), 6));
    EXPECT_EQ(srv.statements().back(), "update t set [a b] = 6 where __id == 9") << reported;
  }
}

TEST(edit, a_column_without_a_name_is_never_written) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"", peer::d_i32}, {"b", peer::d_i32}}, {{9, {peer::i32(1), peer::i32(2)}}}})));
  srv.peer.set_handler([](std::string_view) { return peer::send(peer::ok_reply({})); });
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  QSignalSpy refused(&m, &tab_data_model::refused);
  for (bool immediate : {false, true}) {
    m.immediate = immediate;
    EXPECT_FALSE(m.setData(m.index(0, 0), 5)) << immediate;
    EXPECT_EQ(m.data(m.index(0, 0), Qt::EditRole).toInt(), 1) << immediate;
  }
  ASSERT_EQ(refused.count(), 2);
  EXPECT_EQ(m.last_refusal(), "the field of column 1 has no name, its cells can not be written!");
  // The named column is written; a new row would need the unnamed one too.
  m.immediate = false;
  EXPECT_TRUE(m.setData(m.index(0, 1), 3));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(srv.statements().back(), "atom_exec  update t set b = 3 where __id == 9; commit;");
  EXPECT_TRUE(m.insertRows(1, 1));
  const size_t before = srv.statements().size();
  EXPECT_FALSE(m.apply_edits());
  EXPECT_EQ(refused.count(), 3);
  EXPECT_EQ(srv.statements().size(), before) << "nothing that does not parse is sent";
}

TEST_F(edit_fixture, found_cells_are_yellow_and_clearing_repaints_them) {
  // Cells (0, 0) untouched and (1, 1) edited, each marked by the search, then cleared.
  EXPECT_TRUE(set(1, 1, QString("edited")));
  struct look {
    int row, column;
    QVariant found, cleared;
  };
  const look looks[] = {
      {0, 0, QColor(Qt::yellow), QVariant()},
      {1, 1, QColor(Qt::yellow), QColor(Qt::darkGreen)},
  };
  for (const look& l : looks) {
    m.cell_at(l.row, l.column)->found = 1;
    EXPECT_EQ(m.data(m.index(l.row, l.column), Qt::BackgroundRole), l.found) << l.row;
    EXPECT_EQ(m.itemData(m.index(l.row, l.column)).value(Qt::BackgroundRole), l.found) << l.row;
    m.cell_at(l.row, l.column)->found = 0;
    EXPECT_EQ(m.data(m.index(l.row, l.column), Qt::BackgroundRole), l.cleared) << l.row;
  }
  // An edit of a found cell keeps the yellow; its green shows once the mark is cleared.
  m.cell_at(0, 1)->found = 1;
  EXPECT_TRUE(set(0, 1, QString("x")));
  EXPECT_EQ(m.data(m.index(0, 1), Qt::BackgroundRole), QVariant(QColor(Qt::yellow)));
  m.cell_at(0, 1)->found = 0;
  EXPECT_EQ(m.data(m.index(0, 1), Qt::BackgroundRole), QVariant(QColor(Qt::darkGreen)));
}

}  // namespace
