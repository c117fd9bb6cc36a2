// The main window's script files: opening, saving and closing script tabs, the open and
// recent path lists.
//
// No edit is lost: a write is checked before its tab is marked saved, a tab whose file could
// not be written stays open (and modified) with a message, and only an answer of the user
// lets the window close over such a tab (closeEvent).
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTabBar>


#include "app/main_window.h"
#include "app/script_paths.h"
#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "ui_base/sys_config.h"
#include "dataview/data_view.h"
#include "dataview/search_tab_dlg.h"  // data_view.h holds a QPointer to it
#include "editor/editor.h"
#include "script_tab/sql_script_editor.h"
#include "editor/text_doc.h"
#include "query/local_file.h"
#include "ui_main_window.h"

namespace {

QString qstr(const kk::adt::string::string& s) {
  return QString::fromUtf8(s.data ? s.data : "", static_cast<int>(s.size));
}

kk::adt::string::string utf8(const QString& s) {
  const QByteArray b = s.toUtf8();
  return kk::adt::string_from_bytes(b.constData(), static_cast<kk::u64>(b.size()));
}

// A script tab's title: the file name, an "&" in it shown as itself rather than as a mnemonic.
QString tab_title(const QString& path) { return QFileInfo(path).fileName().replace(QLatin1Char('&'), QLatin1String("&&")); }

const char* const sql_filter = QT_TRANSLATE_NOOP("MainWindow", "sql files (*.sql);;all files (*.*)");

// A file's bytes for a new tab; false when it exists but could not be read (opening it as an
// empty script would let a save wipe it).
enum class script_read { ok, unreadable, too_large };

script_read read_script(const QString& path, kk::adt::string::string& text) {
  const QByteArray local = QFile::encodeName(path);
  const kk::i64 size = regular_file_size(local.constData());
  if (size < 0) return script_read::unreadable;
  // The editor holds at most doc_max_size bytes: a larger file would open as an empty tab
  // whose save (save all writes every script) would wipe it.
  if (kk::u64(size) > ruv::doc_max_size) return script_read::too_large;
  text = read_file(local.constData());
  return size == 0 || text.size != 0 ? script_read::ok : script_read::unreadable;
}

// Saves a script through its tab (see sql_script_editor::save_to).
bool save_script(ruv::sql_script_editor* s, const QString& path, QString* error) { return s->save_to(path, error); }

}  // namespace

ruv::sql_script_editor* MainWindow::find_open_file(const QString& path) const {
  const kk::adt::string::string key = utf8(path);
  const auto* n = open_file_map.find(key.view());
  return n ? n->value : nullptr;
}

kk::adt::string::string MainWindow::path_of(const ruv::sql_script_editor* e) const {
  for (auto* n = open_file_map.first(); n; n = kk::adt::tree_next(n))
    if (n->value == e) return n->key;
  return {};
}

ruv::sql_script_editor* MainWindow::open_script_tab(const QString& path, kk::adt::string::string text) {
  auto* s = new ruv::sql_script_editor(ctx, std::move(text), nullptr);
  connect(s, &ruv::sql_script_editor::executed, this, &MainWindow::refresh);
  if (open_file_map.insert(utf8(path), s)) ++open_count;
  s->set_table_names(&catalogue.table_names);
  s->set_field_names(&catalogue.field_cache);
  QTabWidget* tabs = ui->tabWidget;
  const int i = tabs->insertTab(tabs->count(), s, tab_title(path));
  tabs->tabBar()->setTabTextColor(i, Qt::darkCyan);
  tabs->setCurrentIndex(i);
  return s;
}

void MainWindow::hand_actions(ruv::sql_script_editor* s) {
  ruv::editor* e = s->editor_widget();
  e->set_goto_err_action(goto_err_act);
  e->set_cut_action(cut_act);
  e->set_copy_action(copy_act);
  e->set_paste_action(paste_act);
  e->set_redo_action(redo_act);
  e->set_undo_action(undo_act);
  e->set_del_sel_action(del_sel_act);
  e->set_find_action(find_act);
  e->set_replace_action(replace_act);
  e->set_exec_sel_action(exec_sel_act);
  e->set_exec_line_action(exec_cur_act);
  e->set_format_sel_action(format_sel_act);
  e->set_save_action(save_file_act);
  e->set_print_action(print_act);
}

void MainWindow::reopen_open_files() {
  // Each path once: a second entry would open a second tab on the same file.
  path_list_dedupe(sys_config.open_files);
  for (auto* n = sys_config.open_files.head; n; n = n->next) {
    const QString path = qstr(n->value);
    // A missing or unreadable file is passed over and stays in the list.
    if (path.isEmpty() || !local_file_exists(QFile::encodeName(path).constData()) || find_open_file(path)) continue;
    kk::adt::string::string text;
    if (read_script(path, text) != script_read::ok) continue;
    open_script_tab(path, std::move(text));
  }
}

QString MainWindow::script_file_name() const {
  const QString base = tr("scriptfile");
  QStringList taken;
  for (int i = 0; i < ui->tabWidget->count(); ++i)
    if (qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i))) taken << ui->tabWidget->tabText(i);
  for (kk::u64 n = 1;; ++n) {
    const QString candidate = base + QString::number(n) + QStringLiteral(".sql");
    if (!taken.contains(candidate)) return candidate;
  }
}

bool MainWindow::write_script(ruv::sql_script_editor* s, QStringList* failures) {
  const QString path = qstr(path_of(s));
  QString error;
  bool ok = false;
  if (path.isEmpty())
    error = tr("the tab has no file");
  else
    ok = save_script(s, path, &error);
  if (!ok && failures) failures->append(QStringLiteral("%1: %2").arg(path, error));
  // The editor sets the window's actions only for the current tab.
  if (ok && s == current_script()) s->editor_widget()->context_menu_actions();
  change_save_all();
  return ok;
}

QStringList MainWindow::save_modified_scripts(const QList<ruv::sql_script_editor*>& skip) {
  QStringList failures;
  for (int i = 0; i < ui->tabWidget->count(); ++i) {
    auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i));
    if (s && s->editor_widget()->is_modified() && !skip.contains(s)) write_script(s, &failures);
  }
  return failures;
}

QStringList MainWindow::unwritable_scripts(QList<ruv::sql_script_editor*>* which) const {
  QStringList out;
  for (int i = 0; i < ui->tabWidget->count(); ++i) {
    auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i));
    if (!s || !s->editor_widget()->is_modified()) continue;
    const QString path = qstr(path_of(s));
    // The file a save would write, opened and given up: its temporary file beside the
    // target is removed again and the target is never touched.
    QString error;
    if (path.isEmpty()) {
      error = tr("the tab has no file");
    } else {
      QSaveFile probe(path);
      if (probe.open(QIODevice::WriteOnly))
        probe.cancelWriting();
      else
        error = probe.errorString();
    }
    if (error.isEmpty()) continue;
    out << QStringLiteral("%1: %2").arg(path, error);
    if (which) which->append(s);
  }
  return out;
}

void MainWindow::report_save_failures(const QStringList& failures) {
  if (failures.isEmpty()) return;
  ruv::warning(this, tr("save failed"),
               tr("these script files could not be saved, their changes are kept in their tabs:\n%1")
                   .arg(failures.join(QLatin1Char('\n'))));
}

void MainWindow::close_script_at(int index) {
  auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(index));
  if (!s) return;
  const kk::adt::string::string path = path_of(s);
  ui->tabWidget->removeTab(index);
  if (auto* n = open_file_map.find(path.view())) {
    open_file_map.erase(n);
    --open_count;
  }
  delete s;
  const int count = ui->tabWidget->count();
  if (count > 0) ui->tabWidget->setCurrentIndex(index < count ? index : index - 1);
  path_list_erase_first(sys_config.open_files, path.view());
  change_save_all();
}

bool MainWindow::show_if_open(const QString& path) {
  ruv::sql_script_editor* open = find_open_file(path);
  if (open) ui->tabWidget->setCurrentWidget(open);
  return open != nullptr;
}

bool MainWindow::read_or_say(const QString& path, kk::adt::string::string& text) {
  switch (read_script(path, text)) {
    case script_read::ok:
      return true;
    case script_read::too_large:
      ruv::warning(this, tr("open failed"), tr("the file \"%1\" is larger than the editor holds (2 GiB)!").arg(path));
      return false;
    case script_read::unreadable:
      break;
  }
  ruv::warning(this, tr("open failed"), tr("the file \"%1\" cannot be read!").arg(path));
  return false;
}

void MainWindow::open_listed(const QString& path, kk::adt::string::string text) {
  const kk::adt::string::string key = utf8(path);
  recent_files_add(sys_config.recent_files, key.view());
  open_files_add(sys_config.open_files, key.view());
  open_script_tab(path, std::move(text));
}

void MainWindow::new_file(bool) {
  slot_guard("new_file", [&] {
    const QString path =
        ruv::prompts().save_file_name(this, tr("set sql file's location"), script_file_name(), tr(sql_filter));
    if (path.isEmpty() || show_if_open(path)) return;
    // An existing file is left as it is until the tab is saved; a missing one is created now
    // (a listed path without a file would never open again at a start).
    QFile f(path);
    if (!f.exists()) {
      if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        ruv::warning(this, tr("open failed"), tr("the file \"%1\" could not be created: %2").arg(path, f.errorString()));
        return;
      }
      f.close();
    }
    open_listed(path, {});
  });
}

void MainWindow::open_file(bool) {
  slot_guard("open_file", [&] {
    const QString path = ruv::prompts().open_file_name(this, tr("open sql file to script editor"),
                                                       QStringLiteral("."), tr(sql_filter));
    if (path.isEmpty() || show_if_open(path)) return;
    kk::adt::string::string text;
    if (read_or_say(path, text)) open_listed(path, std::move(text));
  });
}

void MainWindow::open_recent(bool) {
  slot_guard("open_recent", [&] {
    auto* a = qobject_cast<QAction*>(sender());
    if (!a) return;
    // The path travels in data(): the text doubles every "&".
    const QString path = a->data().toString();
    if (path.isEmpty() || show_if_open(path)) return;
    kk::adt::string::string text;
    if (!local_file_exists(QFile::encodeName(path).constData())) {
      if (ruv::information(this, tr("file not exists"), tr("the file is not exists do your want to create new file?"),
                           QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
      // Created now, empty: a path whose file is missing would never open again at a start.
      QFile f(path);
      if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        ruv::warning(this, tr("open failed"), tr("the file \"%1\" could not be created: %2").arg(path, f.errorString()));
        return;
      }
      f.close();
    } else if (!read_or_say(path, text)) {
      return;
    }
    open_listed(path, std::move(text));
  });
}

void MainWindow::save_file(bool) {
  slot_guard("save_file", [&] {
    ruv::sql_script_editor* s = current_script();
    if (!s) return;
    QStringList failures;
    if (!write_script(s, &failures)) report_save_failures(failures);
  });
}

void MainWindow::save_all_files(bool) {
  slot_guard("save_all_files", [&] {
    QStringList failures;
    for (int i = 0; i < ui->tabWidget->count(); ++i)
      if (auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i))) write_script(s, &failures);
    // Enabled again by a script still modified because its write failed.
    change_save_all();
    report_save_failures(failures);
  });
}

void MainWindow::save_file_as(bool) {
  slot_guard("save_file_as", [&] {
    ruv::sql_script_editor* s = current_script();
    if (!s) return;
    const kk::adt::string::string old_path = path_of(s);
    const QString path = ruv::prompts().save_file_name(this, tr("save as sql file to location"), qstr(old_path),
                                                       tr(sql_filter));
    if (path.isEmpty()) return;
    const kk::adt::string::string key = utf8(path);
    if (kk::adt::text_compare(key.view(), old_path.view()) == 0) {
      ruv::information(this, tr("file path is same"), tr("the selected path is same as original!"));
      return;
    }
    // Two tabs on one file would overwrite each other's saves.
    if (find_open_file(path)) {
      ruv::information(this, tr("file already open"), tr("the file \"%1\" is already open in another tab!").arg(path));
      return;
    }
    QString error;
    if (!save_script(s, path, &error)) {
      report_save_failures({QStringLiteral("%1: %2").arg(path, error)});
      return;
    }
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(s), tab_title(path));
    if (auto* n = open_file_map.find(old_path.view())) {
      open_file_map.erase(n);
      --open_count;
    }
    if (open_file_map.insert(key, s)) ++open_count;
    recent_files_add(sys_config.recent_files, key.view());
    path_list_erase_first(sys_config.open_files, old_path.view());
    open_files_add(sys_config.open_files, key.view());
    s->editor_widget()->context_menu_actions();
    change_save_all();
  });
}

void MainWindow::close_file(bool) {
  slot_guard("close_file", [&] {
    ruv::sql_script_editor* s = current_script();
    if (!s) return;
    QStringList failures;
    if (s->editor_widget()->is_modified() && !write_script(s, &failures)) {
      report_save_failures(failures);
      return;
    }
    close_script_at(ui->tabWidget->indexOf(s));
  });
}

void MainWindow::close_all_files(bool) {
  slot_guard("close_all_files", [&] {
    QStringList failures;
    for (int i = ui->tabWidget->count() - 1; i >= 0; --i) {
      auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i));
      if (!s) continue;  // data views and field editors stay
      if (s->editor_widget()->is_modified() && !write_script(s, &failures)) continue;
      close_script_at(i);
    }
    report_save_failures(failures);
  });
}

void MainWindow::close_files_except(bool) {
  slot_guard("close_files_except", [&] {
    const int keep = ui->tabWidget->currentIndex();
    QStringList failures;
    for (int i = ui->tabWidget->count() - 1; i >= 0; --i) {
      auto* s = qobject_cast<ruv::sql_script_editor*>(ui->tabWidget->widget(i));
      if (!s || i == keep) continue;
      if (s->editor_widget()->is_modified() && !write_script(s, &failures)) continue;
      close_script_at(i);
    }
    report_save_failures(failures);
  });
}

void MainWindow::close_tab(int index) {
  slot_guard("close_tab", [&] {
    QWidget* page = ui->tabWidget->widget(index);
    if (!page) return;
    if (qobject_cast<ruv::sql_script_editor*>(page)) {
      ui->tabWidget->setCurrentIndex(index);
      close_file(true);
      return;
    }
    // A data tab's edits not applied yet go only when the user says so.
    auto* view = qobject_cast<data_view*>(page);
    if (view && view->has_pending_edits() &&
        ruv::warning(this, tr("edits not applied"),
                      tr("the tab '%1' has edits not applied to the server, close it and lose them?")
                          .arg(ui->tabWidget->tabText(index)),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
      return;
    ui->tabWidget->removeTab(index);
    page->deleteLater();
    const int count = ui->tabWidget->count();
    if (count > 0) ui->tabWidget->setCurrentIndex(index < count ? index : index - 1);
  });
}

QStringList MainWindow::unapplied_tabs() const {
  QStringList out;
  for (int i = 0; i < ui->tabWidget->count(); ++i) {
    auto* view = qobject_cast<data_view*>(ui->tabWidget->widget(i));
    if (view && view->has_pending_edits()) out << ui->tabWidget->tabText(i);
  }
  return out;
}

void MainWindow::tabBarClicked(int index) {
  if (index >= 0) ui->tabWidget->setCurrentIndex(index);
}

void MainWindow::tabBarDoubleClicked(int) { new_file(true); }

void MainWindow::print(bool) {
  slot_guard("print", [&] {
    if (ruv::editor* e = current_editor()) e->print();
  });
}
