#pragma once
// Where the main window's editing commands go: to the widget that has the keyboard focus,
// never to a text the user is not looking at. In a script tab that is its code editor, or a
// result grid (which only selects and copies its cells), or nothing.
#include <QString>

class QAbstractItemView;
class QWidget;

namespace ruv {

class sql_script_editor;

enum class edit_target { none, editor, grid };

// The target of a focus widget on the page (a null page: none): the editor for the page
// itself (which hands its focus on), the editor and its completion popup; a grid for an item
// view among the page's result tabs (`grid` gets it); nothing for the rest (the execute
// button, the result tabs' bar).
edit_target edit_target_of(const QWidget* focus, const sql_script_editor* page, QAbstractItemView** grid = nullptr);

// The grid's selected cells as text (the current cell when none is selected; cells of hidden
// columns left out): rows top to bottom joined by line feeds, each row's cells left to right
// joined by tabs, as their display role shows them (rows between are not filled in, and a row
// holds its selected cells only). Empty when the grid has no model or no cell.
QString grid_selection_text(const QAbstractItemView& grid);

}  // namespace ruv
