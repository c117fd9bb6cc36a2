// A result read into typed columns: every cell as the variant rows read it, and the table
// model over those columns: text order, and rows that keep their values, marks and ids
// while the grid's rows are sorted, inserted and removed.
#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "query/calendar_value.h"
#include "query/db_ctx.h"
#include "query/result_columns.h"
#include "query/tab_data_model.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"

using namespace query_test;

namespace {

// Every column type with its extreme and awkward values, one column each, at least as many
// rows as the longest list (lists repeat from their start).
peer::result every_type(std::size_t at_least = 0) {
  const double dmin = std::numeric_limits<double>::denorm_min();
  const float fmin = std::numeric_limits<float>::denorm_min();
  const std::vector<std::pair<peer::column, std::vector<peer::cell>>> cols = {
      {{"i08", peer::d_i08}, {peer::i08(-128), peer::i08(127), peer::i08(0)}},
      {{"u08", peer::d_u08}, {peer::u08(255), peer::u08(0)}},
      {{"i16", peer::d_i16}, {peer::i16(-32768), peer::i16(32767)}},
      {{"u16", peer::d_u16}, {peer::u16(65535), peer::u16(1)}},
      {{"i32", peer::d_i32}, {peer::i32(std::numeric_limits<int32_t>::min()), peer::i32(-1)}},
      {{"u32", peer::d_u32}, {peer::u32(4294967295u), peer::u32(0)}},
      {{"i64", peer::d_i64}, {peer::i64(std::numeric_limits<int64_t>::min()), peer::i64(std::numeric_limits<int64_t>::max())}},
      {{"u64", peer::d_u64}, {peer::u64(~uint64_t(0)), peer::u64(0)}},
      {{"float", peer::d_float},
       {peer::f32(-0.0f), peer::f32(fmin), peer::f32(std::numeric_limits<float>::max()), peer::f32(0.1f),
        peer::f32(std::numeric_limits<float>::quiet_NaN()), peer::f32(-std::numeric_limits<float>::infinity())}},
      {{"double", peer::d_double},
       {peer::f64(-0.0), peer::f64(dmin), peer::f64(std::numeric_limits<double>::lowest()), peer::f64(0.1),
        peer::f64(std::numeric_limits<double>::quiet_NaN()), peer::f64(std::numeric_limits<double>::infinity())}},
      {{"string", peer::d_string},
       {peer::text(""), peer::text("h\xC3\xA9"), peer::text(std::string("a\0b", 3)), peer::text("\xff\xfe"),
        peer::text("\xF0\x9F\x98\x80"), peer::text(std::string(at_least ? 300 : 65535, 'x'))}},
      {{"date", peer::d_date}, {peer::date(0, 0, 0), peer::date(0, 2, 29), peer::date(2024, 2, 29), peer::date(65535, 12, 31)}},
      {{"time", peer::d_time},
       {peer::time(23, 59, 59, 999999999), peer::time(0, 0, 0, 0), peer::time(12, 34, 56, 789000000)}},
      {{"datetime", peer::d_datetime},
       {peer::datetime(0, 0, 0, 0, 0, 0, 0), peer::datetime(2019, 4, 23, 10, 11, 12, 500),
        peer::datetime(1999, 12, 31, 23, 59, 58, 1000000)}},
  };
  peer::result r;
  std::size_t rows = at_least;
  for (const auto& c : cols) {
    r.cols.push_back(c.first);
    rows = std::max(rows, c.second.size());
  }
  for (std::size_t k = 0; k < rows; ++k) {
    peer::row row{100 + k, {}};
    for (const auto& c : cols) row.cells.push_back(c.second[k % c.second.size()]);
    r.rows.push_back(std::move(row));
  }
  return r;
}

bool same_value(const QVariant& a, const QVariant& b) {
  if (a.userType() != b.userType()) return false;
  if (a.userType() == QMetaType::Double || a.userType() == QMetaType::Float) {
    const double x = a.toDouble(), y = b.toDouble();
    return std::memcmp(&x, &y, sizeof x) == 0;  // bit for bit: -0.0, NaN
  }
  return same_cell_value(a, b);
}

std::vector<std::string> texts(const text_list& l) {
  std::vector<std::string> out;
  for (auto* n = l.head; n; n = n->next) out.push_back(std_of(n->value));
  return out;
}

TEST(read_result, every_cell_reads_as_the_variant_rows_read_it) {
  // A small result is read by one thread, a large one by several.
  for (std::size_t rows : {std::size_t(0), std::size_t(30000)}) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply(every_type(rows))));
  datas* d = ruv::wire_exec("select * from t;", 16);
  ASSERT_NE(d, nullptr);
  text_list names, types;
  variant_rows rows;
  kk::adt::vector<kk::u64> ids;
  ASSERT_TRUE(result_to_variants(d, names, rows, types, &ids));
  result_table table;
  ASSERT_TRUE(read_result(d, table));
  del_datas(d);

  std::vector<std::string> table_names, table_types;
  for (const auto& n : table.names) table_names.push_back(std_of(n));
  for (const auto& t : table.types) table_types.push_back(std_of(t));
  EXPECT_EQ(table_names, texts(names));
  EXPECT_EQ(table_types, texts(types));
  ASSERT_EQ(table.rows(), rows.count());
  ASSERT_EQ(table.row_ids.size, ids.size);
  EXPECT_TRUE(table.odd_cells.empty());
  for (kk::u64 r = 0; r < rows.count(); ++r) {
    EXPECT_EQ(table.row_ids[r], ids[r]);
    for (kk::u64 c = 0; c < rows.columns; ++c)
      EXPECT_TRUE(same_value(table.columns[c].value(r), rows.at(r, c)))
          << table_types[c] << " row " << r << ": " << table.columns[c].value(r).toString().toStdString() << " against "
          << rows.at(r, c).toString().toStdString();
  }
  }
}

TEST(read_result, a_cell_without_type_leaves_nothing) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_i32}, {"n", peer::d_null}}, {{1, {peer::i32(1), peer::none()}}}})));
  datas* d = ruv::wire_exec("select * from t;", 16);
  ASSERT_NE(d, nullptr);
  result_table table;
  EXPECT_FALSE(read_result(d, table));
  del_datas(d);
  EXPECT_TRUE(table.names.empty());
  EXPECT_TRUE(table.columns.empty());
  EXPECT_EQ(table.row_ids.size, 0u);
}

// Texts of one column, each the server's bytes.
peer::result text_column(const std::vector<std::string>& values) {
  peer::result r{{{"s", peer::d_string}}, {}};
  uint64_t id = 1;
  for (const auto& v : values) r.rows.push_back({id++, {peer::text(v)}});
  return r;
}

std::vector<QString> shown_column(const tab_data_model& m) {
  std::vector<QString> out;
  for (int r = 0; r < m.rowCount(); ++r) out.push_back(m.data(m.index(r, 0), Qt::EditRole).toString());
  return out;
}

// The grid's order must be QString's: UTF-16 code units, stable.
std::vector<QString> utf16_sorted(std::vector<QString> v) {
  std::stable_sort(v.begin(), v.end(), [](const QString& a, const QString& b) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(a.utf16()), std::size_t(a.size())) <
           std::u16string_view(reinterpret_cast<const char16_t*>(b.utf16()), std::size_t(b.size()));
  });
  return v;
}

TEST(tab_data_model, texts_sort_in_utf16_order_however_they_are_held) {
  // U+E000 and U+FFFD sort after a surrogate pair (U+10000, U+1F600) in UTF-16, before it
  // by code point; prefixes, an empty text, a NUL byte, several code points sharing bytes.
  const std::vector<std::string> base = {
      "b", "\xEE\x80\x80", "\xF0\x90\x80\x80", "", "a", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80", "ab", std::string("a\0", 2),
      "\xC3\xA9", "\xF0\x9F\x98\x81", "\xE2\x82\xAC", "\xEE\x80\x80x", "\xC3\xA9", "\xF4\x8F\xBF\xBF", "Z",
      // A byte order mark and noncharacters, which a decoder might drop or replace.
      "\xEF\xBB\xBFx", "\xEF\xBF\xBE", "\xEF\xBF\xBF", "\xEF\xB7\x90", "\xF0\x9F\xBF\xBF"};
  struct variant {
    const char* what;
    std::vector<std::string> values;
    bool edit;
  };
  std::vector<std::string> broken = base;
  broken.push_back("\xff");  // not UTF-8: the grid sorts what it shows (U+FFFD)
  broken.push_back("\xC3");
  const variant variants[] = {{"well-formed", base, false}, {"a malformed text", broken, false}, {"an edited cell", base, true}};
  for (const auto& v : variants) {
    server srv;
    srv.peer.push_reply(peer::send(peer::ok_reply(text_column(v.values))));
    db_ctx ctx(str("db"), nullptr);
    tab_data_model m(str("t"), &ctx);
    ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr)) << v.what;
    if (v.edit) {
      ASSERT_TRUE(m.setData(m.index(3, 0), QString::fromUtf8("\xF0\x9F\x98\x82")));
    }
    const std::vector<QString> before = shown_column(m);
    m.sort_rows(0, true);
    EXPECT_EQ(shown_column(m), utf16_sorted(before)) << v.what;
    m.sort_rows(0, false);
    std::vector<QString> down = utf16_sorted(before);
    std::reverse(down.begin(), down.end());
    EXPECT_EQ(shown_column(m), down) << v.what;
  }
}

TEST(tab_data_model, rows_keep_values_marks_and_ids_through_sort_insert_and_remove) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({{{"a", peer::d_i32}, {"b", peer::d_string}},
                                                 {{21, {peer::i32(3), peer::text("c")}},
                                                  {22, {peer::i32(1), peer::text("a")}},
                                                  {23, {peer::i32(4), peer::text("d")}},
                                                  {24, {peer::i32(2), peer::text("b")}}}})));
  db_ctx ctx(str("db"), nullptr);
  tab_data_model m(str("t"), &ctx);
  ASSERT_TRUE(m.load(str("select * from t;"), true, nullptr, nullptr));
  ASSERT_TRUE(m.setData(m.index(0, 1), QString("C")));  // row 21
  m.set_found(2, 0, true);                               // row 23
  m.sort_rows(0, true);                                  // 22, 24, 21, 23
  std::vector<kk::u64> ids;
  for (int r = 0; r < m.rowCount(); ++r) ids.push_back(m.row_id(r));
  EXPECT_EQ(ids, (std::vector<kk::u64>{22, 24, 21, 23}));
  EXPECT_EQ(m.data(m.index(2, 1)).toString(), "C");
  EXPECT_EQ(m.data(m.index(2, 1), Qt::BackgroundRole), QVariant(QColor(Qt::darkGreen)));
  EXPECT_TRUE(m.found(3, 0));
  EXPECT_FALSE(m.found(2, 0));
  EXPECT_EQ(m.data(m.index(3, 0), Qt::BackgroundRole), QVariant(QColor(Qt::yellow)));

  ASSERT_TRUE(m.insertRows(1, 1));  // 22, new, 24, 21, 23
  ASSERT_TRUE(m.setData(m.index(1, 0), 9));
  ASSERT_TRUE(m.removeRows(2, 1));  // 24 goes
  ids.clear();
  for (int r = 0; r < m.rowCount(); ++r) ids.push_back(m.row_id(r));
  EXPECT_EQ(ids, (std::vector<kk::u64>{22, tab_data_model::new_row_id, 21, 23}));
  EXPECT_EQ(m.data(m.index(2, 1)).toString(), "C");
  EXPECT_TRUE(m.found(3, 0));

  m.sort_rows(0, false);  // 9 (new), 4 (23), 3 (21), 1 (22)
  EXPECT_EQ(m.row_id(0), tab_data_model::new_row_id);
  EXPECT_EQ(m.row_id(2), 21u);
  srv.peer.push_reply(peer::send(peer::ok_reply({{}, {}})));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_EQ(srv.statements().back(),
            "atom_exec  insert into t ( a, b ) values ( 9, \"abc\" ); update t set b = \"C\" where __id == 21;"
            "delete from t where __id == 24; commit;");
}

}  // namespace
