// The preferences dialog over the global configuration record: live edits, the presets, and
// every way of leaving without "applay" giving back the record byte for byte.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <array>
#include <cstring>
#include <functional>

#include "ui_base/sys_config.h"
#include "editor/color_wt.h"
#include "editor/editor.h"
#include "sqllib/library_startup.h"
#include "editor/sys_pre_dlg.h"
#include "tests/support/child.h"

namespace {

using ruv::test::child;

// A record whose every byte differs from the defaults, the bytes after each family's NUL
// included, so a restore that goes through the fields instead of the bytes shows.
void scramble(sys_config_record& cfg) {
  auto* bytes = reinterpret_cast<unsigned char*>(static_cast<sys_config_block*>(&cfg));
  for (size_t i = 0; i < sys_config_block_size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  cfg.theme = 1;
  cfg.horizontal_factor = 1.25f;
  cfg.vertical_factor = 1.5f;
  cfg.tab_width = 8;
  cfg.cursor_width = 2;
  cfg.completion_least_count = 3;
  cfg.continuous_edit_seconds = 2.5f;
  for (auto& set : cfg.text_formats) {
    for (auto& f : set.formats) {
      static const char older[] = "DejaVu Sans,11,-1,5,50,0,0,0,0,0";  // an older file's description
      std::memcpy(f.family, older, sizeof older);
      f.point_size = 11;
      f.red = 10;
      f.green = 20;
      f.blue = 30;
      f.alpha = 255;
      f.bold = f.italic = f.overline = f.underline = f.strikeout = 0;
    }
  }
  cfg.recent_files.clear();
  cfg.open_files.clear();
  cfg.recent_files.push_back(kk::adt::string_from_cstr("/a/recent.sql"));
  cfg.open_files.push_back(kk::adt::string_from_cstr("/b/open1.sql"));
  cfg.open_files.push_back(kk::adt::string_from_cstr("/b/open2.sql"));
}

QByteArray block_bytes(const sys_config_block& b) {
  return QByteArray(reinterpret_cast<const char*>(&b), int(sys_config_block_size));
}

QStringList paths(const kk::adt::list<kk::adt::string::string>& l) {
  QStringList out;
  for (auto* n = l.head; n; n = n->next) out << QString::fromUtf8(n->value.data, int(n->value.size));
  return out;
}

void click_row(sys_pre_dlg& dlg, int row) {
  auto* lw = child<QListWidget>(&dlg, "theme_lw");
  lw->setCurrentRow(row);
  emit lw->itemClicked(lw->item(row));
}

// Edits through every live road: a class's colour, styles, size and font, the theme, a factor.
void edit_everything(sys_pre_dlg& dlg) {
  color_wt::set_chooser([](const QColor&) { return QColor(1, 2, 3); });
  click_row(dlg, 9);
  QTest::mouseClick(child<color_wt>(&dlg, "cwt"), Qt::LeftButton);
  child<QCheckBox>(&dlg, "bold_cb")->click();
  child<QCheckBox>(&dlg, "underline_cb")->click();
  child<QSpinBox>(&dlg, "fs_sb")->setValue(20);
  child<QFontComboBox>(&dlg, "font_cb")->setCurrentFont(QFont(QStringLiteral("Serif")));
  child<QRadioButton>(&dlg, "cleary_rb")->click();
  child<QPushButton>(&dlg, "reset_pb")->click();
  child<QDoubleSpinBox>(&dlg, "hf_dsb")->setValue(0.5);
  color_wt::set_chooser({});
}

}  // namespace

class prefs_test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { kk::library_startup(); }
  void init() { scramble(sys_config); }
  void cleanup() {
    sys_config_defaults(sys_config);
    free_sys_config_lists(&sys_config);
  }
  void leaving_without_apply_restores_exactly_data();
  void leaving_without_apply_restores_exactly();
  void clicking_rows_changes_nothing();
  void colour_goes_live_into_the_class_of_the_row();
  void cancelled_colour_chooser_changes_nothing();
  void swatch_shows_the_class_colour_under_every_style_sheet();
  void reset_writes_only_the_chosen_theme();
  void factors_are_never_below_a_tenth();
  void apply_stores_the_options();
  void family_field_holds_the_family_only();
  void preview_follows_live_edits_and_cancel();
  void a_fresh_configuration_is_coloured_in_every_theme();
  void enter_never_resets_the_theme();
};

void prefs_test::leaving_without_apply_restores_exactly_data() {
  QTest::addColumn<int>("how");
  QTest::newRow("cancel button") << 0;
  QTest::newRow("escape") << 1;
  QTest::newRow("close button") << 2;
}

void prefs_test::leaving_without_apply_restores_exactly() {
  QFETCH(int, how);
  const QByteArray before = block_bytes(sys_config);
  const QStringList recent = paths(sys_config.recent_files), open = paths(sys_config.open_files);
  sys_pre_dlg dlg;
  dlg.show();
  edit_everything(dlg);
  QVERIFY(block_bytes(sys_config) != before);  // the edits were live
  if (how == 0) child<QPushButton>(&dlg, "cancel_pb")->click();
  if (how == 1) QTest::keyClick(&dlg, Qt::Key_Escape);
  if (how == 2) dlg.close();
  QVERIFY(!dlg.isVisible());
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(block_bytes(sys_config), before);
  QCOMPARE(paths(sys_config.recent_files), recent);
  QCOMPARE(paths(sys_config.open_files), open);
}

void prefs_test::clicking_rows_changes_nothing() {
  const QByteArray before = block_bytes(sys_config);
  sys_pre_dlg dlg;
  for (int r = 0; r < 10; ++r) click_row(dlg, r);
  QCOMPARE(block_bytes(sys_config), before);
  QVERIFY(child<QFontComboBox>(&dlg, "font_cb")->isEnabled());
  QCOMPARE(child<QSpinBox>(&dlg, "fs_sb")->value(), 11);
}

void prefs_test::colour_goes_live_into_the_class_of_the_row() {
  sys_pre_dlg dlg;  // theme 1 is current
  color_wt::set_chooser([](const QColor&) { return QColor(200, 100, 50, 255); });
  // Row 1 is "default keyword", the set's record 8; row 7 is "field name", record 2.
  for (auto [row, cls] : {std::pair{1, tf_default_keyword}, std::pair{7, tf_field_name}, std::pair{9, tf_comment}}) {
    click_row(dlg, row);
    QTest::mouseClick(child<color_wt>(&dlg, "cwt"), Qt::LeftButton);
    const text_format& f = sys_config.text_formats[1][cls];
    QCOMPARE(QColor(int(f.red), int(f.green), int(f.blue)), QColor(200, 100, 50));
    QCOMPARE(QByteArray(f.family), QByteArray("DejaVu Sans"));  // rewritten: the family only
  }
  QCOMPARE(sys_config.text_formats[1][tf_function].red, 10u);
  QCOMPARE(sys_config.text_formats[0][tf_comment].red, 10u);
  color_wt::set_chooser({});
}

void prefs_test::cancelled_colour_chooser_changes_nothing() {
  const QByteArray before = block_bytes(sys_config);
  sys_pre_dlg dlg;
  click_row(dlg, 9);
  color_wt::set_chooser([](const QColor&) { return QColor(); });
  auto* swatch = child<color_wt>(&dlg, "cwt");
  const QColor shown = swatch->color();
  QTest::mouseClick(swatch, Qt::LeftButton);
  color_wt::set_chooser({});
  QCOMPARE(swatch->color(), shown);
  QCOMPARE(block_bytes(sys_config), before);
}

void prefs_test::swatch_shows_the_class_colour_under_every_style_sheet() {
  // Each class of the current theme its own colour.
  for (kk::u32 c = 0; c < text_format_set::count; ++c) {
    text_format& f = sys_config.text_formats[1][c];
    f.red = 20 * c + 10;
    f.green = 200 - 15 * c;
    f.blue = 90 + 7 * c;
  }
  const QString before = qApp->styleSheet();
  for (const char* sheet : {":/qss/ruv_white.qss", ":/qss/ruv_black.qss", ":/qss/ruv.qss", ""}) {
    QFile f(QString::fromLatin1(sheet));
    qApp->setStyleSheet(*sheet && f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
    QVERIFY2(!*sheet || !qApp->styleSheet().isEmpty(), sheet);
    sys_pre_dlg dlg;
    dlg.show();
    auto* swatch = child<color_wt>(&dlg, "cwt");
    // Row 6 is "table name", row 9 "comment".
    for (auto [row, cls] : {std::pair{6, tf_table_name}, std::pair{9, tf_comment}}) {
      click_row(dlg, row);
      const text_format& t = sys_config.text_formats[1][cls];
      const QColor want(int(t.red), int(t.green), int(t.blue));
      const QImage shot = swatch->grab().toImage();
      QCOMPARE(QColor(shot.pixel(shot.rect().center())), want);
      QColor started;
      color_wt::set_chooser([&](const QColor& start) {
        started = start;
        return QColor();
      });
      QTest::mouseClick(swatch, Qt::LeftButton);
      color_wt::set_chooser({});
      QCOMPARE(started, want);  // the chooser opens at the class's colour
    }
  }
  qApp->setStyleSheet(before);
}

void prefs_test::reset_writes_only_the_chosen_theme() {
  struct expect {
    unsigned theme, cls, r, g, b;
    bool bold, italic;
  };
  const expect table[] = {
      {0, tf_function, 232, 183, 107, true, false},   {0, tf_field_name, 148, 154, 142, true, true},
      {0, tf_constant, 237, 12, 140, false, false},  {1, tf_field_name, 255, 165, 0, false, true},
      {1, tf_table_name, 95, 158, 160, true, false}, {1, tf_write_keyword, 255, 215, 0, false, false},
      {2, tf_read_keyword, 199, 151, 100, false, false}, {2, tf_default_keyword, 83, 98, 106, false, false},
      {2, tf_comment, 174, 174, 174, false, false},
  };
  for (unsigned theme = 0; theme < 3; ++theme) {
    scramble(sys_config);
    const sys_config_record other = sys_config;
    sys_pre_dlg dlg;
    const char* buttons[] = {"fresh_rb", "dark_rb", "cleary_rb"};
    child<QRadioButton>(&dlg, buttons[theme])->click();
    QCOMPARE(sys_config.theme, theme);
    child<QPushButton>(&dlg, "reset_pb")->click();
    for (unsigned t = 0; t < 3; ++t) {
      const bool same = std::memcmp(&sys_config.text_formats[t], &other.text_formats[t], sizeof(text_format_set)) == 0;
      QCOMPARE(same, t != theme);
    }
    for (const expect& e : table) {
      if (e.theme != theme) continue;
      const text_format& f = sys_config.text_formats[theme][e.cls];
      QCOMPARE(QByteArray(f.family), QByteArray("Source Code Pro"));
      QCOMPARE((std::array<unsigned, 4>{f.red, f.green, f.blue, f.alpha}), (std::array<unsigned, 4>{e.r, e.g, e.b, 255}));
      QCOMPARE(bool(f.bold), e.bold);
      QCOMPARE(bool(f.italic), e.italic);
      QCOMPARE(f.point_size, 12u);
      QVERIFY(!f.overline && !f.underline && !f.strikeout);
    }
    // The class rows now show the preset: "function" is row 5.
    auto* lw = child<QListWidget>(&dlg, "theme_lw");
    const text_format& fn = sys_config.text_formats[theme][tf_function];
    QCOMPARE(lw->item(5)->foreground().color(), QColor(int(fn.red), int(fn.green), int(fn.blue)));
    QCOMPARE(lw->item(5)->font().bold(), bool(fn.bold));
  }
}

void prefs_test::factors_are_never_below_a_tenth() {
  sys_pre_dlg dlg;
  auto* hf = child<QDoubleSpinBox>(&dlg, "hf_dsb");
  auto* vf = child<QDoubleSpinBox>(&dlg, "vf_dsb");
  hf->setValue(0.05);
  QCOMPARE(sys_config.horizontal_factor, 0.1f);
  vf->setValue(0.0);
  QCOMPARE(sys_config.vertical_factor, 0.1f);
  hf->setValue(1.75);
  QCOMPARE(sys_config.horizontal_factor, 1.75f);
  hf->setValue(0.0);
  child<QPushButton>(&dlg, "apply_pb")->click();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(sys_config.horizontal_factor, 0.1f);
  QCOMPARE(sys_config.vertical_factor, 0.1f);
}

void prefs_test::apply_stores_the_options() {
  sys_pre_dlg dlg;
  auto* tab = child<QComboBox>(&dlg, "tab_width_cb");
  QStringList offered;
  for (int i = 0; i < tab->count(); ++i) offered << tab->itemText(i);
  QCOMPARE(offered, (QStringList{"4", "8", "2", "6", "1", "3"}));
  QCOMPARE(tab->currentText(), QStringLiteral("8"));
  tab->setCurrentIndex(3);
  child<QCheckBox>(&dlg, "as_space_cb")->setChecked(true);
  child<QCheckBox>(&dlg, "show_space_cb")->setChecked(false);
  child<QDoubleSpinBox>(&dlg, "edit_time_dsb")->setValue(12.5);
  child<QSpinBox>(&dlg, "cursor_width_sb")->setValue(4);
  child<QSpinBox>(&dlg, "least_count_sb")->setValue(5);
  child<QCheckBox>(&dlg, "auto_enable_cb")->setChecked(false);
  child<QCheckBox>(&dlg, "only_sql_cb")->setChecked(false);
  child<QCheckBox>(&dlg, "update_cb")->setChecked(true);
  child<QRadioButton>(&dlg, "fresh_rb")->setChecked(true);  // not clicked: stored by apply
  const sys_config_record before = sys_config;
  child<QPushButton>(&dlg, "apply_pb")->click();
  QCOMPARE(sys_config.tab_width, 6u);
  QCOMPARE(int(sys_config.insert_as_space), 1);
  QCOMPARE(int(sys_config.show_space), 0);
  QCOMPARE(sys_config.continuous_edit_seconds, 12.5f);
  QCOMPARE(sys_config.cursor_width, 4u);
  QCOMPARE(sys_config.completion_least_count, 5u);
  QCOMPARE(int(sys_config.completion), 0);
  QCOMPARE(int(sys_config.completion_only_sql), 0);
  QCOMPARE(int(sys_config.check_update_at_start), 1);
  QCOMPARE(sys_config.theme, 0u);
  QVERIFY(std::memcmp(sys_config.text_formats, before.text_formats, sizeof before.text_formats) == 0);
  QCOMPARE(std::memcmp(sys_config.user, before.user, sizeof before.user), 0);
}

void prefs_test::family_field_holds_the_family_only() {
  text_format f;
  std::memset(f.family, 'x', sizeof f.family);
  // 34 two-byte characters (68 bytes): the field keeps 31 of them (62 bytes), never half of one.
  QFont font(QString(34, QChar(0x00e9)));
  font.setPointSize(17);
  font.setBold(true);
  text_format_store(f, font, QColor(1, 2, 3, 4));
  const size_t len = strnlen(f.family, sizeof f.family);
  QCOMPARE(len, size_t(62));
  QCOMPARE(QString::fromUtf8(f.family), QString(31, QChar(0x00e9)));
  for (size_t i = len; i < sizeof f.family; ++i) QCOMPARE(int(f.family[i]), 0);
  QCOMPARE(f.point_size, 17u);
  QCOMPARE(int(f.bold), 1);
  QCOMPARE((std::array<unsigned, 4>{f.red, f.green, f.blue, f.alpha}), (std::array<unsigned, 4>{1, 2, 3, 4}));

  std::memcpy(f.family, "Noto Mono,10,-1,5,75,1,0,0,0,0", 31);
  QCOMPARE(text_format_font(f).family(), QStringLiteral("Noto Mono"));
  // No family at all: the row shows the family the editor paints with, not the dialog's font.
  for (const char* field : {"", ",10,-1,5,50,0,0,0,0,0"}) {
    std::memset(f.family, 0, sizeof f.family);
    std::memcpy(f.family, field, std::strlen(field));
    QCOMPARE(text_format_font(f).family(), QStringLiteral("Source Code Pro"));
  }
}

namespace {
// Pixels of exactly this colour in the preview as it paints now.
int pixels_of(sys_pre_dlg& dlg, QColor c) {
  auto* ed = child<ruv::editor>(&dlg, "ed");
  const QImage img = ed->grab().toImage();
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)) == c;
  return n;
}
}  // namespace

void prefs_test::preview_follows_live_edits_and_cancel() {
  sys_pre_dlg dlg;
  dlg.show();
  auto* ed = child<ruv::editor>(&dlg, "ed");
  QVERIFY(!ed->isEnabled());
  QVERIFY(ed->text().startsWith("//test code\nselect id, sin(val) from tab where id < 10"));
  const QColor red(255, 0, 0);
  QCOMPARE(pixels_of(dlg, red), 0);
  color_wt::set_chooser([&](const QColor&) { return red; });
  click_row(dlg, 9);  // comment
  QTest::mouseClick(child<color_wt>(&dlg, "cwt"), Qt::LeftButton);
  color_wt::set_chooser({});
  QVERIFY(pixels_of(dlg, red) > 0);
  child<QPushButton>(&dlg, "cancel_pb")->click();
  QCOMPARE(pixels_of(dlg, red), 0);
}

void prefs_test::a_fresh_configuration_is_coloured_in_every_theme() {
  // The first start: no file was read, the record is what the program starts with.
  free_sys_config_lists(&sys_config);
  sys_config = sys_config_record{};
  const auto count = [](QWidget* w, const QColor& c) {
    const QImage img = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)) == c;
    return n;
  };
  // A new editor paints "select" in the read-keyword colour of " elegant", not in black.
  ruv::editor ed;
  ed.set_auto_resize(false);
  ed.resize(400, 100);
  ed.set_text(QByteArray("select id from t;"));
  ed.show();
  QVERIFY(QTest::qWaitForWindowExposed(&ed));
  QVERIFY(count(&ed, QColor(153, 201, 201)) > 0);

  // Each theme chosen in the preview shows its own read-keyword colour.
  sys_pre_dlg dlg;
  dlg.show();
  const struct {
    const char* button;
    QColor keyword;
  } themes[] = {{"dark_rb", QColor(0, 128, 0)}, {"cleary_rb", QColor(199, 151, 100)}, {"fresh_rb", QColor(153, 201, 201)}};
  for (const auto& t : themes) {
    child<QRadioButton>(&dlg, t.button)->click();
    QVERIFY2(pixels_of(dlg, t.keyword) > 0, t.button);
    for (const auto& other : themes)
      if (other.keyword != t.keyword) QCOMPARE(pixels_of(dlg, other.keyword), 0);
  }
}

void prefs_test::enter_never_resets_the_theme() {
  // Enter presses the dialog's default button: "applay" keeps the edits, "reset" would throw
  // them away.
  sys_pre_dlg dlg;
  dlg.show();
  color_wt::set_chooser([](const QColor&) { return QColor(1, 2, 3); });
  click_row(dlg, 9);  // comment
  QTest::mouseClick(child<color_wt>(&dlg, "cwt"), Qt::LeftButton);
  color_wt::set_chooser({});
  auto* reset = child<QPushButton>(&dlg, "reset_pb");
  auto* apply = child<QPushButton>(&dlg, "apply_pb");
  QVERIFY(!reset->isDefault());
  QVERIFY(apply->isDefault());
  QTest::keyClick(child<QListWidget>(&dlg, "theme_lw"), Qt::Key_Return);
  const text_format& comment = sys_config.text_formats[sys_config.theme][tf_comment];
  QCOMPARE((std::array<unsigned, 3>{comment.red, comment.green, comment.blue}), (std::array<unsigned, 3>{1, 2, 3}));
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

QTEST_MAIN(prefs_test)
#include "prefs_test.moc"
