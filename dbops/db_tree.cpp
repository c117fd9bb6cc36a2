#include "dbops/db_tree.h"

#include <QIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdlib>
#include <cstring>

#include "client/ruv_sql_lib_mem.h"
#include "ui_base/utf8.h"
#include "query/db_ctx.h"
#include "query/sql_parse.h"

using kk::adt::string::string;

namespace {

// The first column of every row of a reply, as texts.
void first_column(const datas* d, name_vector& out) {
  const kk::u64 rows = rows_of(d);
  if (cols_of(d) == 0) return;
  for (kk::u64 j = 0; j < rows; ++j) {
    char* text = nullptr;
    kk::u64 len = 0;
    as_str(&text, &len, at(j, 0, d));
    out.push_back(text ? kk::adt::string_from_bytes(text, len) : string());
    std::free(text);
  }
}

// Runs one statement quietly, its log entry added to `log`; the reply, or null.
datas* run_quiet(db_ctx* ctx, const string& sql, string& log) {
  string entry;
  datas* d = exec_logged(ctx, sql, entry, true);
  const kk::u64 at_end = log.size;
  kk::adt::string::resize(log, at_end + entry.size);
  if (entry.size) std::memcpy(log.data + at_end, entry.data, entry.size);
  return d;
}

QString text_of(const string& s) { return utf8_text(s); }

constexpr const char* table_property = "ruv_table";

}  // namespace

void db_catalogue::clear() {
  table_names.free();
  field_cache = field_cache_map();
  field_cache_count = 0;
}

bool read_catalogue(db_ctx* ctx, db_catalogue& out) {
  string log;
  datas* tables = run_quiet(ctx, kk::adt::string_from_cstr("show tables;"), log);
  if (!tables) {
    log_prepend(ctx, log);
    return false;
  }
  db_catalogue fresh;
  first_column(tables, fresh.table_names);
  del_datas(tables);
  for (const string& table : fresh.table_names) {
    string sql = kk::adt::string_from_cstr("fields_of ");
    const string quoted = quote_name(table.view());
    sql = kk::adt::string_cat(sql, quoted);
    kk::adt::string::push_back(sql, ';');
    name_vector fields;
    if (datas* d = run_quiet(ctx, sql, log)) {
      first_column(d, fields);
      del_datas(d);
    }
    if (fresh.field_cache.insert(table, std::move(fields))) ++fresh.field_cache_count;
  }
  log_prepend(ctx, log);
  out.clear();
  out.table_names = std::move(fresh.table_names);
  out.field_cache = std::move(fresh.field_cache);
  out.field_cache_count = fresh.field_cache_count;
  return true;
}

int tree_level(const QTreeWidgetItem* item) {
  if (!item) return -1;
  if (!item->parent()) return 0;
  return item->parent()->parent() ? 2 : 1;
}

void fill_db_tree(QTreeWidget* tree, const QString& root_name, const db_catalogue& cat) {
  // What was current: its level, text, parent's text and expanded state.
  int level = -1;
  QString text, parent_text;
  bool expanded = false;
  if (QTreeWidgetItem* cur = tree->currentItem()) {
    expanded = cur->isExpanded();
    text = cur->text(0);
    level = tree_level(cur);
    if (level > 0) parent_text = cur->parent()->text(0);
  }

  tree->clear();
  auto* root = new QTreeWidgetItem(QStringList{root_name});
  root->setIcon(0, QIcon(QStringLiteral(":/img/db.svg")));
  tree->addTopLevelItem(root);
  QTreeWidgetItem* target = (level == 0 && !text.isEmpty()) ? root : nullptr;

  const QIcon tab_icon(QStringLiteral(":/img/tab.svg"));
  const QIcon col_icon(QStringLiteral(":/img/col.svg"));
  QList<QTreeWidgetItem*> tables;
  tables.reserve(int(cat.table_names.size));
  for (const string& t : cat.table_names) {
    const QString name = text_of(t);
    auto* table = new QTreeWidgetItem(QStringList{name});
    table->setIcon(0, tab_icon);
    if (level == 1 && name == text && !target) target = table;
    QList<QTreeWidgetItem*> fields;
    if (auto* node = cat.field_cache.find(t)) {
      fields.reserve(int(node->value.size));
      for (const string& f : node->value) {
        auto* field = new QTreeWidgetItem(QStringList{text_of(f)});
        field->setIcon(0, col_icon);
        if (level == 2 && !target && field->text(0) == text && name == parent_text) target = field;
        fields.push_back(field);
      }
    }
    table->addChildren(fields);
    tables.push_back(table);
  }
  root->addChildren(tables);

  if (target) {
    tree->setCurrentItem(target);
    target->setExpanded(target == root ? true : expanded);
    for (QTreeWidgetItem* up = target->parent(); up; up = up->parent()) up->setExpanded(true);
  }
  root->setExpanded(true);
}

void set_page_table(QWidget* page, const QString& table) { page->setProperty(table_property, table); }

QString page_table(const QTabWidget* tabs, int index) {
  const QWidget* page = tabs->widget(index);
  if (!page) return {};
  const QVariant v = page->property(table_property);
  if (v.isValid()) return v.toString();
  const QString title = tabs->tabText(index);
  const int at = title.indexOf(QLatin1String(": "));
  return at < 0 ? QString() : title.mid(at + 2);
}

QVector<QWidget*> vanished_table_pages(const QTabWidget* tabs, const db_catalogue& cat) {
  QVector<QWidget*> out;
  for (int i = 0; i < tabs->count(); ++i) {
    QWidget* page = tabs->widget(i);
    // By the class's full name: dbops does not link the script editor.
    if (!page || page->inherits("ruv::sql_script_editor")) continue;
    const bool marked = page->property(table_property).isValid();
    const QString table = page_table(tabs, i);
    if (!marked && table.isNull()) continue;
    const QByteArray key = table.toUtf8();
    if (!cat.field_cache.find(kk::adt::text_view{key.constData(), kk::u64(key.size())})) out.push_back(page);
  }
  return out;
}

int tab_with_title(const QTabWidget* tabs, const QString& title) {
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->tabText(i) == title) return i;
  return -1;
}

int add_table_page(QTabWidget* tabs, QWidget* page, const QString& title) {
  const int i = tabs->addTab(page, title);
  tabs->setCurrentIndex(i);
  tabs->tabBar()->setTabTextColor(i, Qt::black);
  return i;
}

void close_table_page(QTabWidget* tabs, QWidget* page) {
  const int i = page ? tabs->indexOf(page) : -1;
  if (i < 0) return;
  tabs->removeTab(i);
  page->deleteLater();
}

bool refresh_db_tree(db_ctx* ctx, QTreeWidget* tree, QTabWidget* tabs, const QString& root_name, db_catalogue& cat,
                     const std::function<bool(QWidget*)>& keep) {
  if (!read_catalogue(ctx, cat)) return false;
  fill_db_tree(tree, root_name, cat);
  if (tabs) {
    for (QWidget* page : vanished_table_pages(tabs, cat))
      if (!keep || !keep(page)) close_table_page(tabs, page);
  }
  return true;
}
