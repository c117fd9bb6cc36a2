// The catalogue checker finds each kind of fault, names the entry, and accepts a catalogue
// that is complete.
#include "tests/lang/ts_check.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

ts_message msg(const char* context, const char* source, const char* translation, const char* state = "") {
  return {QString::fromUtf8(context),       QString::fromUtf8(source),  {},
          {QString::fromUtf8(translation)}, QString::fromLatin1(state), {}};
}

ts_file scan_of(std::initializer_list<ts_message> messages) { return {QStringLiteral("en_US"), messages}; }

std::string joined(const QStringList& faults) { return faults.join(QLatin1Char('\n')).toStdString(); }

TEST(ts_check, shortcut_texts_are_key_sequences_and_nothing_else) {
  for (const char* s :
       {"ctrl+s", "f5", "F11", "Ctrl+Shift+F11", "ctrl+shift+w", "Ctrl+Return", "alt+x", "ctrl++", "shift+space"})
    EXPECT_TRUE(is_shortcut_text(QString::fromLatin1(s))) << s;
  for (const char* s :
       {"+", "-", "4", "<=", "find", "space", "end", "save file(&s)", "f", "ctrl", "ctrl+", "min 3", "f5 key"})
    EXPECT_FALSE(is_shortcut_text(QString::fromLatin1(s))) << s;
}

TEST(ts_check, placeholders_tags_and_mnemonics_are_read_from_the_text) {
  EXPECT_EQ(placeholders(QStringLiteral("drop '%2' from '%1' is %3! %L1")),
            (QStringList{QStringLiteral("%1"), QStringLiteral("%2"), QStringLiteral("%3"), QStringLiteral("%L1")}));
  EXPECT_TRUE(placeholders(QStringLiteral("100% sure")).isEmpty());
  EXPECT_EQ(html_tags(QStringLiteral("a <span style='color:orange'>b</span> 1 < 2")),
            (QStringList{QStringLiteral("</span>"), QStringLiteral("<span style='color:orange'>")}));
  EXPECT_TRUE(has_mnemonic(QStringLiteral("save file(&s)")));
  EXPECT_TRUE(has_mnemonic(QStringLiteral("&Fichier")));
  EXPECT_FALSE(has_mnemonic(QStringLiteral("&&&&")));
  EXPECT_FALSE(has_mnemonic(QStringLiteral("a && b")));
  EXPECT_FALSE(has_mnemonic(QStringLiteral("a &amp; b")));
}

TEST(ts_check, a_complete_catalogue_has_no_fault) {
  const ts_file scan = scan_of({msg("MainWindow", "save file(&s)", ""), msg("MainWindow", "ctrl+s", ""),
                                msg("col_info", "create table '%1' is %2!", "")});
  const ts_file zh{QStringLiteral("zh"),
                   {msg("MainWindow", "save file(&s)", "保存文件(&S)"), msg("MainWindow", "ctrl+s", "ctrl+s"),
                    msg("col_info", "create table '%1' is %2!", "创建表“%1”%2！")}};
  EXPECT_EQ(joined(catalogue_faults(scan, zh, false)), "");
}

TEST(ts_check, every_kind_of_fault_is_named_with_its_entry) {
  ts_message located = msg("MainWindow", "save failed", "");
  located.location = QStringLiteral("app/main_window.cpp:98");
  const ts_file scan = scan_of({located, msg("MainWindow", "f5", ""), msg("MainWindow", "quit(&q)", ""),
                                msg("col_info", "create table '%1' is %2!", ""), msg("col_info", "Apply", ""),
                                msg("data_view", "note: <b>big</b>", "")});
  const ts_file fr{QStringLiteral("fr"),
                   {msg("MainWindow", "f5", "F5 touche"), msg("MainWindow", "quit(&q)", "Quitter"),
                    msg("col_info", "create table '%1' is %2!", "Création de la table « %1 » !"),
                    msg("col_info", "Apply", "", "unfinished"), msg("data_view", "note: <b>big</b>", "note : gros"),
                    msg("data_view", "gone", "parti")}};
  const QStringList faults = catalogue_faults(scan, fr, false);
  const std::string all = joined(faults);
  EXPECT_NE(all.find("[MainWindow] \"save failed\" at app/main_window.cpp:98: missing"), std::string::npos) << all;
  EXPECT_NE(all.find("[MainWindow] \"f5\": a shortcut text, translated as \"F5 touche\""), std::string::npos) << all;
  EXPECT_NE(all.find("[MainWindow] \"quit(&q)\": the translation \"Quitter\" lost the mnemonic"), std::string::npos)
      << all;
  EXPECT_NE(all.find("[col_info] \"create table '%1' is %2!\": placeholders %1 %2 but the translation"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find("[col_info] \"Apply\": unfinished"), std::string::npos) << all;
  EXPECT_NE(all.find("[data_view] \"note: <b>big</b>\": the translation \"note : gros\" does not keep the source's "
                     "HTML tags"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find("[data_view] \"gone\": no longer in the sources"), std::string::npos) << all;
  EXPECT_EQ(faults.size(), 7) << all;
}

TEST(ts_check, the_source_language_may_leave_texts_out_but_not_break_them) {
  const ts_file scan = scan_of({msg("MainWindow", "save failed", ""), msg("MainWindow", "f5", "")});
  EXPECT_EQ(joined(catalogue_faults(scan, ts_file{QStringLiteral("en_US"), {}}, true)), "");
  const ts_file en{QStringLiteral("en_US"),
                   {msg("MainWindow", "save failed", "", "unfinished"), msg("MainWindow", "f5", "F6")}};
  const QStringList faults = catalogue_faults(scan, en, true);
  ASSERT_EQ(faults.size(), 1) << joined(faults);
  EXPECT_NE(faults[0].indexOf(QLatin1String("a shortcut text")), -1) << joined(faults);
}

TEST(ts_check, an_entry_is_told_from_its_namesake_in_another_context) {
  const ts_file scan = scan_of({msg("login_dlg", "Dialog", ""), msg("search_dlg", "Dialog", "")});
  const ts_file ja{QStringLiteral("ja"), {msg("login_dlg", "Dialog", "ログイン")}};
  EXPECT_EQ(joined(catalogue_faults(scan, ja, false)), "[search_dlg] \"Dialog\": missing");
}

TEST(ts_check, a_catalogue_file_is_read_with_its_states_forms_and_locations) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("x_fr.ts"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../main_window.cpp" line="98"/>
        <location filename="../main_window_files.cpp" line="144"/>
        <source>these files:
%1</source>
        <comment>closing</comment>
        <translation>ces fichiers :
%1</translation>
    </message>
    <message>
        <source>save as (&amp;b)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ruv::search_dlg</name>
    <message numerus="yes">
        <source>%n found</source>
        <translation>
            <numerusform>%n trouvé</numerusform>
            <numerusform>%n trouvés</numerusform>
        </translation>
    </message>
</context>
</TS>
)");
  f.close();
  ts_file t;
  QString error;
  ASSERT_TRUE(read_ts(path, &t, &error)) << error.toStdString();
  EXPECT_EQ(t.language, QStringLiteral("fr"));
  ASSERT_EQ(t.messages.size(), 3u);
  EXPECT_EQ(t.messages[0].context, QStringLiteral("MainWindow"));
  EXPECT_EQ(t.messages[0].source, QStringLiteral("these files:\n%1"));
  EXPECT_EQ(t.messages[0].comment, QStringLiteral("closing"));
  EXPECT_EQ(t.messages[0].translations, QStringList{QStringLiteral("ces fichiers :\n%1")});
  EXPECT_EQ(t.messages[0].location, QStringLiteral("../main_window.cpp:98"));
  EXPECT_EQ(t.messages[1].source, QStringLiteral("save as (&b)"));
  EXPECT_EQ(t.messages[1].state, QStringLiteral("unfinished"));
  EXPECT_EQ(t.messages[2].context, QStringLiteral("ruv::search_dlg"));
  EXPECT_EQ(t.messages[2].translations, (QStringList{QStringLiteral("%n trouvé"), QStringLiteral("%n trouvés")}));

  EXPECT_FALSE(read_ts(dir.filePath(QStringLiteral("none.ts")), &t, &error));
  QFile bad(dir.filePath(QStringLiteral("bad.ts")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("<TS language=\"fr\"><context><name>x</name><message><source>a</source></contex></TS>");
  bad.close();
  ts_file b;
  EXPECT_FALSE(read_ts(bad.fileName(), &b, &error));
}

}  // namespace
