#pragma once
// The database tree's data: the table names and each table's field names as the server
// lists them, read with one "show tables;" and one "fields_of" per table; the tree widget
// built from them with the current item kept; the table pages whose table is gone.
#include <QString>
#include <QVector>
#include <functional>

#include "adt/string.h"
#include "adt/tree.h"
#include "adt/types.h"
#include "adt/vector.h"

class db_ctx;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

using name_vector = kk::adt::vector<kk::adt::string::string>;
// Table name -> its field names, in name order.
using field_cache_map = kk::adt::tree<kk::adt::string::string, name_vector>;

struct db_catalogue {
  name_vector table_names;      // in the server's order
  field_cache_map field_cache;  // one entry per distinct table name
  kk::u64 field_cache_count = 0;

  void clear();
};

// Reads the catalogue from the server. The statements are logged as one block at the end.
// False, and `out` untouched, when "show tables;" failed: a dropped connection keeps the last
// catalogue. A failed "fields_of" leaves that table without fields.
bool read_catalogue(db_ctx* ctx, db_catalogue& out);

// The tree level of an item: 0 the database, 1 a table, 2 a field; -1 for none.
int tree_level(const QTreeWidgetItem* item);

// Rebuilds the tree: the root (the database), a child per table, a grandchild per field.
// The item that was current (matched by level and names) becomes current again with its
// expanded state, its ancestors expanded; the root is expanded.
void fill_db_tree(QTreeWidget* tree, const QString& root_name, const db_catalogue& cat);

// The table a page belongs to: the "ruv_table" property the page was given, or for an older
// page the text after the first ": " of its tab title; empty for none.
QString page_table(const QTabWidget* tabs, int index);
// Marks a page as belonging to a table.
void set_page_table(QWidget* page, const QString& table);

// The pages (script editors excepted) whose table is not among the catalogue's tables.
QVector<QWidget*> vanished_table_pages(const QTabWidget* tabs, const db_catalogue& cat);

// The index of the tab titled exactly `title`, or -1.
int tab_with_title(const QTabWidget* tabs, const QString& title);
// Adds the page as the last tab with black text and makes it current; its index.
int add_table_page(QTabWidget* tabs, QWidget* page, const QString& title);
// Removes the tab of this page (whichever tab is current) and deletes the page later, never
// inside the signal of the page that asked to be closed.
void close_table_page(QTabWidget* tabs, QWidget* page);

// read_catalogue; when it succeeded, fill_db_tree and the pages of vanished tables removed
// from the tab widget and deleted later, but for those `keep` (when given) keeps open. False
// when the catalogue could not be read: then the tree and every tab stay as they were.
bool refresh_db_tree(db_ctx* ctx, QTreeWidget* tree, QTabWidget* tabs, const QString& root_name, db_catalogue& cat,
                     const std::function<bool(QWidget*)>& keep = {});
