// Round trips through the catalogue server: builders, transfers and the table model against
// a stateful database whose statement reader is its own.
#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "query/db_ctx.h"
#include "query/schema_sql.h"
#include "query/tab_data_model.h"
#include "query/transfer_sql.h"
#include "tests/peer/catalogue.h"
#include "tests/query/query_support.h"

using namespace query_test;
using kk::adt::string::string;

namespace {

struct catalogue_fixture : ::testing::Test {
  peer::catalogue db;
  server srv;
  db_ctx ctx{str("ruv_mdb"), nullptr};
  void SetUp() override { db.install(srv.peer); }
  // Every statement the catalogue answered, with its outcome.
  std::vector<std::string> failed() const {
    std::vector<std::string> out;
    for (const auto& h : db.log())
      if (!h.ok) out.push_back(h.text);
    return out;
  }
};

text_list list_of(std::initializer_list<const char*> items) {
  text_list l;
  for (const char* i : items) l.push_back(kk::adt::string_from_cstr(i));
  return l;
}

std::vector<std::string> texts(const text_list& l) {
  std::vector<std::string> out;
  for (auto* n = l.head; n; n = n->next) out.push_back(std_of(n->value));
  return out;
}

TEST_F(catalogue_fixture, schema_builders_change_the_database_as_meant) {
  EXPECT_TRUE(sql_create_table(&ctx, str("my table"), list_of({"id", "1st name"}), list_of({"u64", "string"}),
                               list_of({"true", ""})));
  EXPECT_TRUE(sql_alter_add(&ctx, str("my table"), str("born"), str("date"), str("false")));
  EXPECT_TRUE(sql_alter_modify(&ctx, str("my table"), str("id"), str("i64"), str("")));
  EXPECT_TRUE(sql_alter_rename(&ctx, str("my table"), str("1st name"), str("name]x")));
  text_list names, types, attrs;
  EXPECT_TRUE(sql_fields_of(&ctx, str("my table"), names, types, attrs));
  EXPECT_EQ(texts(names), (std::vector<std::string>{"id", "name]x", "born"}));
  EXPECT_EQ(texts(types), (std::vector<std::string>{"i64", "string", "date"}));
  EXPECT_TRUE(sql_alter_drop(&ctx, str("my table"), str("born")));
  EXPECT_TRUE(sql_create_table(&ctx, str("2024"), list_of({"a"}), list_of({"i32"}), list_of({""})));
  kk::adt::vector<string> tables;
  EXPECT_TRUE(sql_show_tables(&ctx, tables));
  ASSERT_EQ(tables.size, 2u);
  EXPECT_EQ(std_of(tables[0]), "my table");
  EXPECT_EQ(std_of(tables[1]), "2024");
  db.insert("2024", {peer::value::sint(peer::ftype::i32, 1)});
  EXPECT_TRUE(sql_truncate_table(&ctx, str("2024")));
  EXPECT_TRUE(db.table("2024")->rows.empty());
  EXPECT_TRUE(sql_drop_table(&ctx, str("2024")));
  EXPECT_FALSE(sql_drop_table(&ctx, str("2024"))) << "gone";
  EXPECT_EQ(db.table_names(), std::vector<std::string>{"my table"});
  EXPECT_EQ(failed(), std::vector<std::string>{"drop table [2024];"});
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(catalogue_fixture, client_transfers_carry_the_bytes_unchanged) {
  QTemporaryDir dir;
  const std::string in = QDir(dir.path()).filePath("in.csv").toStdString();
  const std::string out = QDir(dir.path()).filePath("out.csv").toStdString();
  const std::string saved = QDir(dir.path()).filePath("t.bin").toStdString();
  ASSERT_TRUE(db.create_table("t", {{"a", peer::ftype::i32, ""}, {"s", peer::ftype::str, ""}}));
  const std::string csv = "1;h\xC3\xA9llo \xE4\xB8\xAD\n2;\xF0\x9F\x98\x80 wide\n";
  std::ofstream(in, std::ios::binary) << csv;
  EXPECT_TRUE(sql_import(&ctx, str("t"), str(in), true, str(";"), true));
  ASSERT_EQ(db.uploads().size(), 1u);
  EXPECT_EQ(db.uploads()[0].bytes, csv);
  ASSERT_EQ(db.table("t")->rows.size(), 2u);

  db.set_download_row_bytes(3);  // characters cut between rows
  EXPECT_TRUE(sql_export_table(&ctx, str("t"), str(out), true, str(";"), false, true));
  EXPECT_EQ(slurp(out), csv);

  std::string doc;
  for (int i = 0; i < 256; ++i) doc.push_back(char(i));
  std::ofstream(saved, std::ios::binary) << doc;
  EXPECT_TRUE(sql_load_table(&ctx, str("t"), str(saved), true, true));
  std::ofstream(saved, std::ios::binary) << "old";
  EXPECT_FALSE(sql_save_table(&ctx, str("t"), str(saved), true, false, true)) << "exists, no replace";
  EXPECT_EQ(slurp(saved), "old");
  EXPECT_TRUE(sql_save_table(&ctx, str("t"), str(saved), true, true, true));
  EXPECT_EQ(slurp(saved), doc);
  EXPECT_TRUE(failed().empty()) << failed()[0];
}

TEST_F(catalogue_fixture, server_transfers_name_the_path) {
  ASSERT_TRUE(db.create_table("t", {{"a", peer::ftype::i32, ""}}));
  db.insert("t", {peer::value::sint(peer::ftype::i32, 5)});
  const std::string path = "dir/a \"quoted\" name.csv";
  EXPECT_TRUE(sql_export_table(&ctx, str("t"), str(path), true, str(","), false, false));
  EXPECT_EQ(db.file(path).value_or("<none>"), "5\n");
  EXPECT_FALSE(sql_export_table(&ctx, str("t"), str(path), true, str(","), false, false)) << "exists";
  EXPECT_TRUE(sql_backup(&ctx, str("b.sql"), false, true, false));
  EXPECT_TRUE(db.file("b.sql").has_value());
}

// The table's rows as text: "id:v1,v2;" per row.
std::string table_text(const peer::catalogue& db, const char* name) {
  std::string out;
  const auto table = db.table(name);
  for (const auto& r : table->rows) {
    out += std::to_string(r.id) + ":";
    for (size_t i = 0; i < r.values.size(); ++i) out += (i ? "," : "") + r.values[i].str();
    out += ";";
  }
  return out;
}

// The model's rows as text in the same form.
std::string model_text(const tab_data_model& m) {
  std::string out;
  for (int r = 0; r < m.rowCount(); ++r) {
    out += std::to_string(m.row_id(r)) + ":";
    for (int c = 0; c < m.columnCount(); ++c) out += (c ? "," : "") + m.data(m.index(r, c)).toString().toStdString();
    out += ";";
  }
  return out;
}

TEST_F(catalogue_fixture, edits_inserts_and_deletions_reach_the_table_and_a_reload_shows_them) {
  using peer::ftype;
  ASSERT_TRUE(db.create_table("t", {{"i", ftype::i32, ""}, {"s", ftype::str, ""}, {"d", ftype::date, ""}, {"x", ftype::f64, ""},
                                    {"u", ftype::u64, ""}, {"w", ftype::datetime, ""}}));
  for (int k = 1; k <= 3; ++k)
    db.insert("t", {peer::value::sint(ftype::i32, k), peer::value::text("s" + std::to_string(k)),
                    peer::value::date(2020, 1, uint8_t(k)), peer::value::real(ftype::f64, k / 4.0),
                    peer::value::uint(ftype::u64, 18446744073709551615ull - uint64_t(k)),
                    peer::value::datetime(2020, 2, 3, 4, 5, 6, 0)});
  tab_data_model m(str("t"), &ctx);
  bool editable = false;
  ASSERT_TRUE(m.load(str("select * from t;"), false, &editable, nullptr));
  ASSERT_TRUE(editable);
  ASSERT_EQ(m.rowCount(), 3);
  m.set_display_bin();  // the display mode must not change what is written
  EXPECT_TRUE(m.setData(m.index(0, 1), QString("a \"quoted\"\nline")));
  EXPECT_TRUE(m.setData(m.index(0, 2), QDate(9999, 12, 31)));
  EXPECT_TRUE(m.setData(m.index(1, 3), 18446744073709551616.0));
  EXPECT_TRUE(m.setData(m.index(1, 4), qulonglong(9223372036854775808ull)));
  EXPECT_TRUE(m.setData(m.index(1, 5), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 250))));
  EXPECT_TRUE(m.insertRows(3, 1));
  EXPECT_TRUE(m.setData(m.index(3, 0), -7));
  EXPECT_TRUE(m.removeRows(2, 1));
  EXPECT_TRUE(m.apply_edits());
  EXPECT_TRUE(failed().empty()) << failed()[0];
  EXPECT_EQ(table_text(db, "t"),
            "1:1,a \"quoted\"\nline,9999-12-31,0.25,18446744073709551614,2020-02-03 04:05:06.000;"
            "2:2,s2,2020-01-02,18446744073709551616,9223372036854775808,1999-12-31 23:59:59.250;"
            "4:-7,abc,2019-04-23,0,0,2019-04-23 10:11:12.000;");
  m.set_display_dec();
  ASSERT_TRUE(m.load(str("select * from t;"), false, nullptr, nullptr));
  EXPECT_EQ(model_text(m), "1:1,a \"quoted\"\nline,9999-12-31,0.25000000000000000,18446744073709551614,2020-02-03 04:05:06.000;"
                           "2:2,s2,2020-01-02,18446744073709551616.00000000000000000,9223372036854775808,1999-12-31 23:59:59.250;"
                           "4:-7,abc,2019-04-23,0.00000000000000000,0,2019-04-23 10:11:12.000;");

  // Immediate mode against the same table.
  m.immediate = true;
  EXPECT_TRUE(m.setData(m.index(0, 0), 42));
  EXPECT_EQ(db.table("t")->rows[0].values[0].i, 42);
}

TEST_F(catalogue_fixture, an_empty_table_shows_its_headers_typed_by_name) {
  ASSERT_TRUE(db.create_table("e", {{"a", peer::ftype::u16, ""}, {"b", peer::ftype::time, ""}}));
  tab_data_model m(str("e"), &ctx);
  EXPECT_TRUE(m.load(str("select b from e;"), false, nullptr, nullptr));
  ASSERT_EQ(m.columnCount(), 1);
  EXPECT_EQ(std_of(m.column_at(0)), "time");
  EXPECT_TRUE(m.insertRows(0, 1));
  EXPECT_TRUE(m.apply_edits());
  ASSERT_EQ(db.table("e")->rows.size(), 1u);
  EXPECT_EQ(db.table("e")->rows[0].values[1].str(), "18:00:00.000");
}

}  // namespace
