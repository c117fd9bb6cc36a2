#include "script_tab/sql_script_editor.h"

#include "dataview/search_tab_dlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QFile>
#include <QFileInfo>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QWheelEvent>

#include <cerrno>
#include <cstring>

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"
#include "cells/item_dlgt.h"
#include "transfer_dlg/import_csv_dlg.h"
#include "editor/auto_list.h"
#include "editor/editor.h"
#include "editor/linenumber_wt.h"
#include "script_tab/script_split.h"
#include "editor/scroll_area.h"
#include "editor/search_dlg.h"
#include "editor/sql_completion.h"
#include "query/db_ctx.h"
#include "query/local_file.h"
#include "query/tab_data_model.h"
#include "query/transfer_sql.h"
#include "ui_sql_script_editor.h"

namespace ruv {

namespace {

// Entries are put on the log at statement indexes that are multiples of this, and at the end.
constexpr kk::u64 log_batch = 8192;

kk::adt::string::string bytes_of(const QByteArray& b) { return kk::adt::string_from_bytes(b.constData(), static_cast<kk::u64>(b.size())); }
QString qstr(const kk::adt::string::string& s) { return QString::fromUtf8(s.data ? s.data : "", static_cast<int>(s.size)); }

void append(kk::adt::string::string& to, const kk::adt::string::string& from) {
  if (from.size == 0) return;
  const kk::u64 at = to.size;
  char* p = to.resize(at + from.size);
  std::memcpy(p + at, from.data, from.size);
}

// Blanks as the grammar reads them: space and 0x09 to 0x0c.
bool is_blank(char c) noexcept { return c == ' ' || (c >= 0x09 && c <= 0x0c); }

void trim_blanks(kk::adt::string::string& s) {
  kk::u64 b = 0, e = s.size;
  while (b < e && is_blank(s.data[b])) ++b;
  while (e > b && is_blank(s.data[e - 1])) --e;
  if (b > 0 || e < s.size) s = kk::adt::string_from_bytes(s.data + b, e - b);
}

// Whether the text holds only blanks and comments ("#" or "//" to the line end, nested
// "/* */"): a script that ends in them, or holds nothing else, parsed completely.
bool blank_or_comment(const char* p, kk::u64 n) {
  kk::u64 i = 0;
  while (i < n) {
    if (is_blank(p[i])) {
      ++i;
    } else if (p[i] == '#' || (p[i] == '/' && i + 1 < n && p[i + 1] == '/')) {
      while (i < n && p[i] != '\n') ++i;
    } else if (p[i] == '/' && i + 1 < n && p[i + 1] == '*') {
      int depth = 0;
      do {
        if (i + 1 < n && p[i] == '/' && p[i + 1] == '*') {
          ++depth;
          i += 2;
        } else if (i + 1 < n && p[i] == '*' && p[i + 1] == '/') {
          --depth;
          i += 2;
        } else {
          ++i;
        }
      } while (depth > 0 && i < n);
      if (depth > 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

QString elide_statement(const QString& s, int max) {
  if (s.size() <= max) return s;
  int cut = std::max(0, max - 1);
  if (cut > 0 && s.at(cut - 1).isHighSurrogate()) --cut;
  return s.left(cut) + QChar(0x2026);
}

sql_script_editor::sql_script_editor(db_ctx* ctx, kk::adt::string::string text, QWidget* parent)
    : QWidget(parent), form_(new Ui::sql_script_editor), ctx_(ctx) {
  form_->setupUi(this);
  area_ = new scrollarea(true, true, this);
  area_->setGeometry(10, 10, 500, 200);
  area_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  inner_ = new QWidget;
  editor_ = new ruv::editor(inner_);
  editor_->setObjectName(QStringLiteral("sql script editor"));
  editor_->resize(800, 600);
  gutter_ = new linenumber_wt(inner_);
  area_->set_widget(inner_);

  auto* top = new QWidget;
  auto* sg = new QGridLayout(top);
  sg->setObjectName(QStringLiteral("sg"));
  sg->setContentsMargins(0, 0, 0, 0);
  sg->addWidget(area_, 0, 0, 1, 3);
  sg->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 0);
  sg->addWidget(form_->exec_btn, 1, 1);
  sg->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 2);

  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(top);
  split->addWidget(form_->tabWidget);
  auto* outer = new QGridLayout(this);
  outer->addWidget(split, 0, 0);

  connect(form_->exec_btn, &QPushButton::clicked, this, [this] { exec_sql(); });
  connect(editor_, &editor::textChanged, this, &sql_script_editor::change_layout);
  connect(editor_, &editor::lineChanged, this, &sql_script_editor::change_layout);
  connect(editor_, &editor::completion_wanted, this, &sql_script_editor::complete);
  connect(editor_, &editor::search_wanted, this, &sql_script_editor::show_search);
  connect(editor_, &editor::grid_changed, this, &sql_script_editor::change_layout);
  setFocusPolicy(Qt::StrongFocus);

  editor_->set_text(QByteArray(text.data ? text.data : "", static_cast<int>(text.size)));
  area_->set_widget(inner_);
  area_->h_follower = gutter_;
  editor_->setFocus(Qt::OtherFocusReason);
  area_->setMinimumHeight(200);

  connect(form_->tabWidget, &QTabWidget::tabCloseRequested, this, qOverload<int>(&sql_script_editor::close_tab));
  form_->tabWidget->hide();
  copy_act_ = new QAction(tr("copy current text"), this);
  close_all_act_ = new QAction(tr("close all"), this);
  close_act_ = new QAction(tr("close current"), this);
  export_act_ = new QAction(tr("export current data"), this);
  QTabBar* bar = form_->tabWidget->tabBar();
  for (QAction* a : {copy_act_, close_all_act_, close_act_, export_act_}) bar->addAction(a);
  bar->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(copy_act_, &QAction::triggered, this, &sql_script_editor::copy_tab);
  connect(close_all_act_, &QAction::triggered, this, &sql_script_editor::close_all_tab);
  connect(close_act_, &QAction::triggered, this, qOverload<bool>(&sql_script_editor::close_tab));
  connect(export_act_, &QAction::triggered, this, &sql_script_editor::export_data);
  connect(area_, &scrollarea::change_geo, this, &sql_script_editor::update_ed_geo);

  search_ = new search_dlg(editor_, &editor_->document(), this);
  editor_->set_search_dialog(search_);
  change_layout();
}

sql_script_editor::~sql_script_editor() {
  if (popup_) delete popup_.data();
  delete form_;
}

QTabWidget* sql_script_editor::result_tabs() const { return form_->tabWidget; }
auto_list* sql_script_editor::popup() const { return popup_.data(); }

QString sql_script_editor::text() const { return QString::fromUtf8(editor_->text()); }

void sql_script_editor::set_table_names(const lang::candidate_list* names) {
  if (names) names_.set_table_names(*names);
}

void sql_script_editor::set_field_names(const lang::field_name_map* names) {
  if (names) names_.set_field_names(*names);
}

namespace {
// As many links as the system follows in one path (Linux's own bound).
constexpr int max_link_hops = 40;
}  // namespace

bool sql_script_editor::save_to(const QString& path, QString* error) {
  // A link is followed to the file it finally names, so the text lands there and every link
  // of the way stays a link; a cycle ends as the system ends one.
  QString target = path;
  for (int hops = 0; QFileInfo(target).isSymLink(); ++hops) {
    if (hops == max_link_hops) {
      if (error) *error = QString::fromLocal8Bit(std::strerror(ELOOP));
      return false;
    }
    target = QFileInfo(target).symLinkTarget();
  }
  // The document's own bytes: a QString round trip would turn invalid UTF-8 into U+FFFD.
  const QByteArray bytes = editor_->text();
  const QByteArray local = QFile::encodeName(target);
  replacing_writer out(local.constData());
  if (out.ok() && out.write(bytes.constData(), kk::u64(bytes.size())) && out.commit()) {
    editor_->saved();
    return true;
  }
  if (error) *error = QString::fromLocal8Bit(std::strerror(out.error() ? out.error() : EIO));
  return false;
}

QString sql_script_editor::statement_of(int i) const {
  QWidget* w = form_->tabWidget->widget(i);
  return w ? w->property("statement").toString() : QString();
}

// ---- layout ----------------------------------------------------------------------------------

void sql_script_editor::change_layout() {
  slot_guard("change_layout", [&] {
    gutter_->set_line_count(editor_->line_count());
    gutter_->set_current_line(static_cast<kk::u64>(std::max(0, editor_->cursor_line())));
    // The editor is sized to its text and never smaller than the view.
    const QSize fill = view_fill();
    if (editor_->fill_size() != fill) editor_->set_fill_size(fill);
    editor_->move(gutter_->width() + 2, editor_->y());
    inner_->resize(editor_->width() + gutter_->width() + 2, editor_->height());
    // A text taller than a widget may be: the area scrolls over its logical height.
    area_->set_logical_height(std::max<kk::i64>(editor_->logical_height(), inner_->height()));
    const QPoint c = editor_->cursor_pos() + QPoint(editor_->x(), 0);
    area_->update_bars(c);
    show_view();
  });
}

QSize sql_script_editor::view_fill() const {
  // One pixel short of the view each way: a text that fits needs no scroll bar (an inner
  // widget exactly as large as the view would show both bars).
  return QSize(std::max(0, area_->view_width() - gutter_->width() - 3), std::max(0, area_->view_height() - 1));
}

void sql_script_editor::show_view() {
  // The view in logical pixels (the offsets may pass what a widget's position can show).
  const QRect r = area_->view_rect();
  gutter_->set_visible(r);
  gutter_->set_y_origin(area_->y_origin());
  gutter_->update();
  // The editor's own part of the view: it sits right of the gutter in the inner widget.
  editor_->set_visible_rect(r.translated(editor_->x(), 0));
  editor_->update();
}

void sql_script_editor::update_ed_geo(const QRect&) {
  slot_guard("update_ed_geo", [&] {
    if (editor_->fill_size() != view_fill()) {
      change_layout();  // the view changed size
      return;
    }
    show_view();
  });
}

// ---- completion ------------------------------------------------------------------------------

void sql_script_editor::complete() {
  slot_guard("complete", [&] {
    if (!sys_config.completion) return;
    const text_doc& d = editor_->document();
    lang::completion_input in;
    in.text = d.text.data;
    in.size = d.text.size;
    in.cursor = static_cast<kk::u64>(std::max<kk::i32>(0, d.cursor));
    in.parse = &editor_->parse();
    in.revision = d.revision;
    in.names = &names_;
    lang::completion got = lang::complete_at(in);
    if (got.candidates.size == 0) return;
    if (popup_) delete popup_.data();
    auto* list = new auto_list(std::move(got.candidates), got.fragment_length, this);
    popup_ = list;
    // The chosen word replaces the fragment whole, so a server name keeps the server's spelling.
    connect(
        list, &auto_list::sel_word, editor_,
        [ed = editor_](const QString& word, quint64 replaced) {
          slot_guard("sel_word", [&] {
            for (quint64 i = 0; i < replaced && ed->document().cursor > 0; ++i) doc_backspace(ed->document());
            ed->auto_sel(word);
          });
        },
        Qt::DirectConnection);
    connect(list, &auto_list::not_found, editor_, &editor::auto_not_found, Qt::DirectConnection);
    connect(list, &auto_list::char_add, editor_, &editor::auto_char_add, Qt::DirectConnection);
    connect(list, &auto_list::char_del, editor_, &editor::auto_char_del, Qt::DirectConnection);
    connect(list, &auto_list::text_add, editor_, &editor::auto_text_add, Qt::DirectConnection);
    list->setFrameShape(QFrame::NoFrame);
    list->setFrameShadow(QFrame::Plain);
    // 16 pixels a byte of the longest candidate (at least 80), 20 a row; 10 right of and
    // 30 below the top left corner of the cursor's cell.
    kk::u64 longest = 0;
    for (kk::u64 i = 0; i < list->candidates().size; ++i) longest = std::max(longest, list->candidates().data[i].size);
    const int w = static_cast<int>(std::clamp<kk::u64>(16 * longest, 80, 4096));
    const QPoint cell = editor_->cursor_pos() - QPoint(0, static_cast<int>(editor_->y_origin()));
    const QPoint at = editor_->mapTo(this, cell + QPoint(10, 30));
    // A long list stops at the tab's bottom edge and scrolls, so that every row stays reachable;
    // the popup follows its rows as typing narrows them.
    list->setGeometry(QRect(at, QSize(w, auto_list::row_height)));
    list->set_height_limit(height() - at.y());  // at least a row
    list->show();
    list->raise();
    list->setFocus();
  });
}

// ---- runs ------------------------------------------------------------------------------------

void sql_script_editor::flush(kk::adt::string::string& gathered) {
  if (gathered.size == 0) return;
  if (log_sink_) log_sink_(gathered);
  else log_prepend(ctx_, gathered);
  gathered.free();
}

void sql_script_editor::exec_sql() {
  slot_guard("exec_sql", [&] {
    statement_list texts = editor_->statement_texts();  // a fresh parse when the text changed since
    for (kk::u64 i = 0; i < texts.size; ++i) trim_blanks(texts.data[i]);
    const kk::u64 size = editor_->document().text.size;
    const kk::i64 end = editor_->parse_end();
    const char* text = editor_->document().text.data;
    if (end >= 0 && static_cast<kk::u64>(end) < size && !blank_or_comment(text + end, size - static_cast<kk::u64>(end))) {
      // Never run the prefix of a script that does not parse to its end.
      information(this, tr("sql parse failed"), tr("the sql parsed failed at position: %1").arg(end));
      editor_->setFocus(Qt::OtherFocusReason);
      return;
    }
    close_all_tab(true);
    exec(texts);
    form_->tabWidget->setVisible(form_->tabWidget->count() > 0);
    editor_->setFocus(Qt::OtherFocusReason);
  });
}

void sql_script_editor::run_piece(const QByteArray& source) {
  // An empty line (its line feed) or only comments: nothing to run.
  if (blank_or_comment(source.constData(), static_cast<kk::u64>(source.size()))) return;
  statement_list texts;
  const kk::u64 used = split_printed(source.constData(), static_cast<kk::u64>(source.size()), texts);
  if (used < static_cast<kk::u64>(source.size())) {
    information(this, tr("sql parse failed"), tr("the sql parsed failed at position: %1").arg(used));
    return;
  }
  exec(texts);
  form_->tabWidget->setVisible(form_->tabWidget->count() > 0);
  editor_->setFocus(Qt::OtherFocusReason);
}

void sql_script_editor::exec_cur(bool) {
  slot_guard("exec_cur", [&] { run_piece(editor_->current_line_text()); });
}
void sql_script_editor::exec_sel(bool) {
  slot_guard("exec_sel", [&] { run_piece(editor_->selected_text()); });
}

void sql_script_editor::add_result(::tab_data_model* model, const kk::adt::string::string& statement) {
  model->set_read_only(true);
  auto* view = new QTableView;
  view->setSortingEnabled(true);
  model->setParent(view);
  for (int c = 0; c < model->columnCount(); ++c)
    view->setItemDelegateForColumn(c, model->column_delegate(c));
  auto* find = new QAction(QIcon(QStringLiteral(":/img/find.svg")), tr("find text"), view);
  find->setShortcut(QKeySequence(QStringLiteral("ctrl+shift+f")));
  // The grid's key: it acts where the focus is in the grid, not from the editor above it.
  find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  // The cell search dialog is a child of its grid, so it goes when the result tab goes.
  auto* search = new search_tab_dlg(view, view);
  connect(find, &QAction::triggered, search, qOverload<bool>(&search_tab_dlg::show));
  if (model->rowCount() > 0) view->addAction(find);
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
  view->setModel(model);
  // Sorting is offered, not done: no indicator until the user sorts (the rows stay in the
  // server's order, which an indicator on the first column would misstate).
  view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  const QString full = qstr(statement);
  view->setProperty("statement", full);
  QString title = elide_statement(full, title_max);
  title.replace(QLatin1Char('&'), QStringLiteral("&&"));
  const int at = form_->tabWidget->addTab(view, title);
  form_->tabWidget->setTabToolTip(at, elide_statement(full, 4 * title_max));
  form_->tabWidget->setCurrentIndex(at);
}

bool sql_script_editor::exec(const statement_list& statements) {
  return slot_guard<bool>("exec", false, [&]() -> bool {
    kk::adt::string::string gathered;
    for (kk::u64 i = 0; i < statements.size; ++i) {
      const kk::adt::string::string& s = statements.data[i];
      if (s.size == 0) continue;
      if (i % log_batch == 0) flush(gathered);
      auto* model = new ::tab_data_model(kk::adt::string::string(), ctx_);
      kk::adt::string::string entry;
      if (!model->load(s, true, nullptr, &entry)) {
        delete model;
        // The refused statement's entry goes with those before it: the log is the record.
        append(gathered, entry);
        flush(gathered);
        information(this, tr("execute infomation"), tr("the sql \"%1\" execute failed!").arg(elide_statement(qstr(s), title_max)));
        editor_->setFocus(Qt::OtherFocusReason);
        Q_EMIT executed(false);
        return false;
      }
      if (model->columnCount() == 0) delete model;
      else add_result(model, s);
      append(gathered, entry);
    }
    flush(gathered);
    information(this, tr("execute infomation"), tr("the sql execute sussesful total!"));
    Q_EMIT executed(true);
    return true;
  });
}

// ---- result tabs -----------------------------------------------------------------------------

void sql_script_editor::close_tab(int index) {
  QWidget* w = form_->tabWidget->widget(index);
  if (!w) return;
  form_->tabWidget->removeTab(index);
  delete w;  // the view with its model, action and dialog
  if (form_->tabWidget->count() == 0) form_->tabWidget->hide();
}

void sql_script_editor::close_tab(bool) {
  const int i = form_->tabWidget->currentIndex();
  if (i >= 0) close_tab(i);
}

void sql_script_editor::close_all_tab(bool) {
  while (form_->tabWidget->count() > 0) {
    QWidget* w = form_->tabWidget->widget(0);
    form_->tabWidget->removeTab(0);
    delete w;
  }
  form_->tabWidget->hide();
}

void sql_script_editor::copy_tab(bool) {
  slot_guard("copy_tab", [&] {
    const int i = form_->tabWidget->currentIndex();
    if (i >= 0) QApplication::clipboard()->setText(statement_of(i));
  });
}

void sql_script_editor::export_data(bool) {
  slot_guard("export_data", [&] {
    const int i = form_->tabWidget->currentIndex();
    if (i < 0) return;
    QByteArray q = statement_of(i).toUtf8();
    while (!q.isEmpty() && (q.endsWith(';') || q.endsWith(' ') || q.endsWith('\t') || q.endsWith('\n') || q.endsWith('\v') ||
                            q.endsWith('\f')))
      q.chop(1);
    import_csv_dlg dlg(this);
    dlg.set_export_mode();
    dlg.set_path(QStringLiteral("./export_data"));
    dlg.setWindowTitle(tr("export current windows execute result to csv/csvs file"));
    if (dlg.exec() != QDialog::Accepted) return;
    sql_export(ctx_, bytes_of(q), dlg.path(), dlg.is_csv(), dlg.separator(), dlg.is_replace(), dlg.is_client());
  });
}

// ---- input -----------------------------------------------------------------------------------

void sql_script_editor::forward_mouse(QMouseEvent* e) {
  const QPoint at = editor_->mapFrom(this, e->pos());
  editor_->setFocus(Qt::OtherFocusReason);
  QMouseEvent fwd(e->type(), at, e->button(), e->buttons(), e->modifiers());
  QApplication::sendEvent(editor_, &fwd);
}

void sql_script_editor::mousePressEvent(QMouseEvent* e) { forward_mouse(e); }
void sql_script_editor::mouseDoubleClickEvent(QMouseEvent* e) { forward_mouse(e); }

void sql_script_editor::wheelEvent(QWheelEvent* e) {
  if (editor_->hasFocus() && area_->v_bar()) area_->v_bar()->wheel(e);
  QWidget::wheelEvent(e);
}

void sql_script_editor::focusInEvent(QFocusEvent* e) {
  editor_->setFocus(Qt::OtherFocusReason);
  QWidget::focusInEvent(e);
}

void sql_script_editor::show_search(bool replace_mode, const QByteArray& target) {
  slot_guard("show_search", [&] {
    search_->set_replace_mode(!replace_mode);
    search_->set_target(QString::fromUtf8(target));
    search_->show_top();
    search_->show();
    search_->raise();
    search_->activateWindow();
  });
}

}  // namespace ruv
