#include "app/edit_route.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

#include "editor/auto_list.h"
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"

namespace ruv {

edit_target edit_target_of(const QWidget* focus, const sql_script_editor* page, QAbstractItemView** grid) {
  if (!focus || !page) return edit_target::none;
  // The page itself hands its focus on to the editor.
  if (focus == page || focus == page->editor_widget() || (page->popup() && focus == page->popup()))
    return edit_target::editor;
  const QTabWidget* results = page->result_tabs();
  if (!results->isAncestorOf(focus)) return edit_target::none;
  for (const QWidget* w = focus; w && w != results; w = w->parentWidget()) {
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(w));
    if (!view) continue;
    if (grid) *grid = view;
    return edit_target::grid;
  }
  return edit_target::none;
}

namespace {

// The cells as grid_selection_text gives them.
QString cells_text(const QAbstractItemModel& model, QModelIndexList cells) {
  std::sort(cells.begin(), cells.end(), [](const QModelIndex& a, const QModelIndex& b) {
    return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
  });
  QString out;
  int row = -1;
  for (const QModelIndex& i : cells) {
    if (!i.isValid() || i.model() != &model) continue;
    if (row >= 0) out += i.row() == row ? QLatin1Char('\t') : QLatin1Char('\n');
    row = i.row();
    out += model.data(i, Qt::DisplayRole).toString();
  }
  return out;
}

}  // namespace

QString grid_selection_text(const QAbstractItemView& grid) {
  const QAbstractItemModel* model = grid.model();
  if (!model) return {};
  QModelIndexList cells = grid.selectionModel() ? grid.selectionModel()->selectedIndexes() : QModelIndexList{};
  if (cells.isEmpty() && grid.currentIndex().isValid()) cells << grid.currentIndex();
  if (const auto* table = qobject_cast<const QTableView*>(&grid))
    cells.erase(std::remove_if(cells.begin(), cells.end(),
                               [table](const QModelIndex& i) { return table->isColumnHidden(i.column()); }),
                cells.end());
  return cells_text(*model, cells);
}

}  // namespace ruv
