// Every compiled-in resource the program names loads, and every catalogue translates.
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QTranslator>
#include <QtTest>

class resources_test : public QObject {
  Q_OBJECT

 private slots:
  void icons() {
    const QStringList names = {
        "about.svg", "app_filter.svg", "arrow_down.svg", "arrow_left.svg", "arrow_right.svg", "arrow_up.svg",
        "backup.svg", "close.png", "col.svg", "connect.svg", "copy.svg", "correct.svg", "create_table.svg",
        "cut.svg", "db.svg", "delete.svg", "delete_sel.svg", "disconnect.svg", "drop.svg", "error.svg",
        "exe_cur.svg", "exe_sel.svg", "exe_sql.svg", "export.svg", "filter.svg", "find.svg", "format.svg",
        "goto_err.svg", "help.svg", "icon.svg", "import.svg", "info.svg", "language.svg", "load_tab.svg",
        "logo.png", "modify.svg", "new_field.svg", "new_file.svg", "open_file.svg", "paste.svg",
        "preference.svg", "print_file.svg", "reconnect.svg", "redo.svg", "refresh.svg", "rename.svg",
        "replace.svg", "restore.svg", "save_all_file.svg", "save_file.svg", "save_tab.svg", "silk.svg",
        "sql_script.svg", "status.svg", "tab.svg", "truncate_table.svg", "type_date.svg", "type_datetime.svg",
        "type_double.svg", "type_float.svg", "type_i08.svg", "type_i16.svg", "type_i32.svg", "type_i64.svg",
        "type_string.svg", "type_time.svg", "type_u08.svg", "type_u16.svg", "type_u32.svg", "type_u64.svg",
        "undo.svg", "update.svg", "view_data.svg", "view_field.svg"};
    QCOMPARE(names.size(), 74);
    for (const QString& n : names) {
      const QString path = ":/img/" + n;
      QImageReader reader(path);
      const QImage image = reader.read();
      QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
      QVERIFY2(!QIcon(path).pixmap(24, 24).isNull(), qPrintable(path));
    }
  }

  void style_sheets() {
    for (const char* n : {":/qss/ruv_white.qss", ":/qss/ruv_black.qss", ":/qss/ruv.qss"}) {
      QFile f(n);
      QVERIFY2(f.open(QIODevice::ReadOnly), n);
      QVERIFY2(f.size() > 0, n);
    }
    QFile white(":/qss/ruv_white.qss");
    QVERIFY(white.open(QIODevice::ReadOnly));
    const QByteArray text = white.readAll();
    for (const char* part : {"#fafaff", "#262626", "rgb(82, 166, 196)", "18px", "bold"})
      QVERIFY2(text.contains(part), part);
  }

  void catalogues() {
    struct row {
      const char* path;
      const char* context;
      const char* source;
      const char* translation;  // null: an empty catalogue
    };
    const row rows[] = {
        {":/lang/ruv_mdb_cli_zh.qm", "login_dlg", "invalid ip", "\xe6\x97\xa0\xe6\x95\x88\xe7\x9a\x84 IP"},
        {":/lang/ruv_mdb_cli_fr.qm", "login_dlg", "invalid ip", "IP invalide"},
        {":/lang/ruv_mdb_cli_ja.qm", "login_dlg", "invalid ip", "\xe7\x84\xa1\xe5\x8a\xb9\xe3\x81\xaa IP"},
        {":/lang/ruv_mdb_cli_en.qm", "login_dlg", "invalid ip", nullptr},
        {":/lang/qt_en.qm", "QPlatformTheme", "Cancel", nullptr},
        {":/lang/qt_fr.qm", "QPlatformTheme", "Cancel", "Annuler"},
        {":/lang/qt_ja.qm", "QPlatformTheme", "Cancel", "\xe3\x82\xad\xe3\x83\xa3\xe3\x83\xb3\xe3\x82\xbb\xe3\x83\xab"},
        {":/lang/qt_zh_CN.qm", "QPlatformTheme", "Cancel", "\xe5\x8f\x96\xe6\xb6\x88"},
    };
    for (const row& r : rows) {
      QTranslator t;
      QVERIFY2(t.load(r.path), r.path);
      if (r.translation) {
        QCOMPARE(t.translate(r.context, r.source), QString::fromUtf8(r.translation));
      } else {
        QVERIFY2(t.isEmpty(), r.path);
      }
    }
  }
};

QTEST_MAIN(resources_test)
#include "resources_test.moc"
