#include "dbops/col_info.h"

#include <QComboBox>
#include <QTableWidgetItem>

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "ui_base/utf8.h"
#include "query/schema_sql.h"
#include "ui_col_info.h"

namespace {

using kk::adt::string::string;

const char* const type_names[] = {"u08", "u16", "u32", "u64",   "i08",    "i16",  "i32",
                                  "i64", "float", "double", "string", "date", "time", "datetime"};

constexpr Qt::ItemFlags fixed_flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

}  // namespace

col_info::col_info(db_ctx* c, QWidget* parent) : QWidget(parent), ui(new Ui::col_info), ctx(c) {
  ui->setupUi(this);
  connect(ui->add_btn, &QPushButton::clicked, this, &col_info::add);
  connect(ui->delete_btn, &QPushButton::clicked, this, &col_info::del);
  connect(ui->apply_btn, &QPushButton::clicked, this, &col_info::apply);
  connect(ui->cancel_btn, &QPushButton::clicked, this, &col_info::cancel);
  connect(ui->tableWidget, &QTableWidget::cellDoubleClicked, this, &col_info::cellDoubleClicked);
  connect(ui->tableWidget, &QTableWidget::currentCellChanged, this, &col_info::currentCellChanged);
  ui->tableWidget->setSelectionBehavior(QAbstractItemView::SelectRows);
  ui->tableWidget->setSelectionMode(QAbstractItemView::SingleSelection);
}

col_info::~col_info() { delete ui; }

void col_info::set_table(const string& table, const string& field, const text_list& names, const text_list& types,
                         const text_list& repeats, col_info_mode m) {
  ui->table_le->setText(utf8_text(table));
  field_name = field;
  mode = m;
  switch (mode) {
    case col_info_mode::view_fields:
      ui->table_le->setReadOnly(true);
      ui->add_btn->setEnabled(false);
      ui->delete_btn->setEnabled(false);
      ui->apply_btn->setEnabled(false);
      fill_rows(names, types, repeats);
      break;
    case col_info_mode::modify_field:
    case col_info_mode::rename_field:
      ui->table_le->setReadOnly(true);
      ui->add_btn->setEnabled(false);
      ui->delete_btn->setEnabled(false);
      fill_rows(names, types, repeats);
      break;
    case col_info_mode::add_fields:
      existing_rows = names.count;
      ui->table_le->setReadOnly(true);
      fill_rows(names, types, repeats);
      break;
    case col_info_mode::create_table:
      add(false);
      break;
  }
}

void col_info::set_row(int row, const QString& name, const QString& type, const QString& repeat,
                       bool name_editable) {
  auto* n = new QTableWidgetItem(name);
  n->setFlags(name_editable ? fixed_flags | Qt::ItemIsEditable : fixed_flags);
  // Type and repeat take their values only from the choosers a double click opens.
  auto* t = new QTableWidgetItem(type);
  t->setFlags(fixed_flags);
  auto* r = new QTableWidgetItem(repeat);
  r->setFlags(fixed_flags);
  ui->tableWidget->setItem(row, 0, n);
  ui->tableWidget->setItem(row, 1, t);
  ui->tableWidget->setItem(row, 2, r);
}

void col_info::fill_rows(const text_list& names, const text_list& types, const text_list& repeats) {
  QTableWidget* grid = ui->tableWidget;
  grid->setColumnCount(3);
  grid->setRowCount(static_cast<int>(names.count));
  const text_list::node* n = names.head;
  const text_list::node* t = types.head;
  const text_list::node* r = repeats.head;
  const QString field = utf8_text(field_name);
  for (int i = 0; n; ++i, n = n->next) {
    const QString name = utf8_text(n->value);
    const QString type = t ? utf8_text(t->value) : QString();
    const bool repeat = r && utf8_text(r->value) == QLatin1String("Yes");
    set_row(i, name, type, repeat ? QStringLiteral("true") : QStringLiteral("false"),
            mode == col_info_mode::rename_field && name == field);
    if (t) t = t->next;
    if (r) r = r->next;
  }
}

QString col_info::cell(int row, int column) const {
  const QTableWidgetItem* it = ui->tableWidget->item(row, column);
  return it ? it->text() : QString();
}

bool col_info::row_open(int row) const {
  switch (mode) {
    case col_info_mode::create_table:
      return true;
    case col_info_mode::add_fields:
      return static_cast<kk::u64>(row) >= existing_rows;
    case col_info_mode::modify_field:
      return cell(row, 0) == utf8_text(field_name);
    default:
      return false;
  }
}

void col_info::add(bool) {
  slot_guard("add", [&] {
    QTableWidget* grid = ui->tableWidget;
    const int row = grid->rowCount();
    grid->insertRow(row);
    set_row(row, QStringLiteral("f") + QString::number(row + 1), QStringLiteral("u32"), QStringLiteral("true"), true);
    grid->setCurrentCell(row, 0);
  });
}

void col_info::del(bool) {
  const int row = ui->tableWidget->currentRow();
  // Rows of fields the table already has are not the page's to remove.
  if (row < 0 || static_cast<kk::u64>(row) < existing_rows) return;
  ui->tableWidget->removeRow(row);
}

void col_info::cancel(bool) { emit rejected(); }

void col_info::cellDoubleClicked(int r, int c) {
  slot_guard("cellDoubleClicked", [&] {
    if ((c != 1 && c != 2) || !row_open(r)) return;
    QTableWidget* grid = ui->tableWidget;
    if (grid->cellWidget(r, c)) return;
    auto* combo = new QComboBox;
    if (c == 1) {
      for (const char* t : type_names) combo->addItem(QString::fromLatin1(t));
    } else {
      combo->addItem(QStringLiteral("true"));
      combo->addItem(QStringLiteral("false"));
    }
    combo->setCurrentText(cell(r, c));
    grid->setCellWidget(r, c, combo);
    connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, &col_info::currentIndexChanged);
  });
}

void col_info::currentIndexChanged(int) {
  slot_guard("currentIndexChanged", [&] {
    QTableWidget* grid = ui->tableWidget;
    const int r = grid->currentRow();
    const int c = grid->currentColumn();
    if (c != 1 && c != 2) return;
    auto* combo = qobject_cast<QComboBox*>(grid->cellWidget(r, c));
    if (combo && grid->item(r, c)) grid->item(r, c)->setText(combo->currentText());
  });
}

void col_info::currentCellChanged(int, int, int previousRow, int previousColumn) {
  slot_guard("currentCellChanged", [&] {
    if (previousColumn != 1 && previousColumn != 2) return;
    QTableWidget* grid = ui->tableWidget;
    auto* combo = qobject_cast<QComboBox*>(grid->cellWidget(previousRow, previousColumn));
    if (!combo) return;
    if (grid->item(previousRow, previousColumn)) grid->item(previousRow, previousColumn)->setText(combo->currentText());
    grid->removeCellWidget(previousRow, previousColumn);  // deleted later, not inside its own signal
  });
}

int col_info::refused_name(int first, int last) const {
  const int rows = ui->tableWidget->rowCount();
  for (int r = first; r < last; ++r) {
    const QString name = cell(r, 0);
    if (name.isEmpty()) return r;
    for (int q = 0; q < rows; ++q) {
      if (q != r && cell(q, 0) == name) return r;
    }
  }
  return -1;
}

static QString outcome(bool ok) { return ok ? col_info::tr("successful") : col_info::tr("failed"); }

void col_info::apply(bool) {
  slot_guard("apply", [&] {
    switch (mode) {
      case col_info_mode::create_table:
        apply_create();
        break;
      case col_info_mode::add_fields:
        apply_add();
        break;
      case col_info_mode::modify_field:
        apply_modify();
        break;
      case col_info_mode::rename_field:
        apply_rename();
        break;
      case col_info_mode::view_fields:
        break;
    }
  });
}

void col_info::apply_create() {
  const QString table = ui->table_le->text();
  const int rows = ui->tableWidget->rowCount();
  bool ok = false;
  if (!table.isEmpty() && refused_name(0, rows) < 0) {
    text_list names, types, repeats;
    for (int r = 0; r < rows; ++r) {
      names.push_back(utf8_bytes(cell(r, 0)));
      types.push_back(utf8_bytes(cell(r, 1)));
      repeats.push_back(utf8_bytes(cell(r, 2)));
    }
    ok = sql_create_table(ctx, utf8_bytes(table), names, types, repeats);
  }
  ruv::information(this, tr("create table result"), tr("create table '%1' is %2!").arg(table, outcome(ok)));
  if (ok) emit accepted();
}

void col_info::apply_add() {
  QTableWidget* grid = ui->tableWidget;
  const string table = utf8_bytes(ui->table_le->text());
  const int rows = grid->rowCount();
  const int refused = refused_name(static_cast<int>(existing_rows), rows);
  if (refused >= 0) {
    ruv::information(this, tr("create field result"), tr("create field '%1' is %2!").arg(cell(refused, 0), outcome(false)));
    return;
  }
  for (int r = static_cast<int>(existing_rows); r < rows; ++r) {
    if (!sql_alter_add(ctx, table, utf8_bytes(cell(r, 0)), utf8_bytes(cell(r, 1)), utf8_bytes(cell(r, 2)))) {
      ruv::information(this, tr("create field result"), tr("create field '%1' is %2!").arg(cell(r, 0), outcome(false)));
      return;
    }
    // The field exists now: its row joins the fixed rows, so a retry sends only the rest.
    existing_rows = static_cast<kk::u64>(r) + 1;
    for (int c = 0; c < 3; ++c) {
      grid->removeCellWidget(r, c);
      if (grid->item(r, c)) grid->item(r, c)->setFlags(fixed_flags);
    }
  }
  ruv::information(this, tr("create field result"), tr("create all field is %1!").arg(outcome(true)));
  emit accepted();
}

void col_info::apply_modify() {
  const QString field = utf8_text(field_name);
  const int rows = ui->tableWidget->rowCount();
  int row = 0;
  while (row < rows && cell(row, 0) != field) ++row;
  const bool ok = sql_alter_modify(ctx, utf8_bytes(ui->table_le->text()), utf8_bytes(cell(row, 0)),
                                   utf8_bytes(cell(row, 1)), utf8_bytes(cell(row, 2)));
  ruv::information(this, tr("modify field result"), tr("modify field is %1!").arg(outcome(ok)));
  if (ok) emit accepted();
}

void col_info::apply_rename() {
  const QTableWidget* grid = ui->tableWidget;
  const int rows = grid->rowCount();
  int row = 0;
  while (row < rows && !(grid->item(row, 0) && (grid->item(row, 0)->flags() & Qt::ItemIsEditable))) ++row;
  const QString old_name = utf8_text(field_name);
  const QString new_name = cell(row, 0);
  bool ok = false;
  if (row < rows && refused_name(row, row + 1) < 0) {
    ok = sql_alter_rename(ctx, utf8_bytes(ui->table_le->text()), field_name, utf8_bytes(new_name));
  }
  ruv::information(this, tr("rename field result"),
                   tr("rename field '%1' to '%2' is %3!").arg(old_name, new_name, outcome(ok)));
  if (ok) emit accepted();
}
