#pragma once
// The field editor page: a table name and one row per field (name, type, repeat). Apply
// turns the rows into schema statements through the execution context; the main window
// closes the page on accepted() (after a successful apply) or rejected() (cancel).
#include <QWidget>

#include "adt/list.h"
#include "adt/string.h"
#include "adt/types.h"

class db_ctx;

namespace Ui {
class col_info;
}

enum class col_info_mode : kk::u32 {
  add_fields = 0,    // new rows become fields of an existing table
  modify_field = 1,  // the type and repeat of field_name change
  rename_field = 2,  // field_name gets a new name
  create_table = 4,  // a new table from all rows
  view_fields = 5,   // nothing changes
};

class col_info : public QWidget {
  Q_OBJECT

 public:
  using text_list = kk::adt::list<kk::adt::string::string>;

  explicit col_info(db_ctx* ctx, QWidget* parent = nullptr);
  ~col_info() override;

  // Fills the page. names, types and repeats hold one text per field as the table's field
  // list gives them (the repeat read as "Yes" or any other text).
  void set_table(const kk::adt::string::string& table, const kk::adt::string::string& field, const text_list& names,
                 const text_list& types, const text_list& repeats, col_info_mode mode);

  col_info_mode current_mode() const { return mode; }
  kk::u64 existing_row_count() const { return existing_rows; }

 signals:
  void accepted();
  void rejected();

 public slots:
  void add(bool);
  void del(bool);
  void apply(bool);
  void cancel(bool);
  void currentIndexChanged(int i);
  void cellDoubleClicked(int r, int c);
  void currentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn);

 private:
  void fill_rows(const text_list& names, const text_list& types, const text_list& repeats);
  void set_row(int row, const QString& name, const QString& type, const QString& repeat, bool name_editable);
  QString cell(int row, int column) const;
  bool row_open(int row) const;  // a row whose type and repeat may be chosen
  // The first of rows [first, last) whose name is empty or repeats another row's name, or -1.
  int refused_name(int first, int last) const;
  void apply_create();
  void apply_add();
  void apply_modify();
  void apply_rename();

  Ui::col_info* ui;
  kk::adt::string::string field_name;
  kk::u64 existing_rows = 0;
  col_info_mode mode = col_info_mode::view_fields;
  db_ctx* ctx;
};
