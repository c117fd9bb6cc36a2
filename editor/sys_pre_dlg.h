#pragma once
// The preferences dialog: fonts, styles and colours of the token classes of three themes, the
// editor options, and a preview. Font, style and colour edits, the theme and the two factors
// go into the configuration record at once (open editors repaint with them); "applay" stores
// the other options; cancel, Escape and the close button restore the record as it was when
// the dialog opened.
#include <QDialog>
#include <QFont>

#include "ui_base/sys_config.h"

class QListWidgetItem;

namespace Ui {
class sys_pre_dlg;
}

// The font of a token class: the family is the field's text up to its first comma (older
// files hold a whole font description there).
QFont text_format_font(const text_format& f);
// Stores the family (at most 63 bytes of UTF-8, cut at a character boundary, zero-filled
// field), point size, styles and colour.
void text_format_store(text_format& f, const QFont& font, const QColor& color);

class sys_pre_dlg : public QDialog {
  Q_OBJECT

 public:
  // The token class (index into a text_format_set) that row r of the class list edits.
  static constexpr unsigned row_class[text_format_set::count] = {
      tf_default,      tf_default_keyword, tf_read_keyword, tf_write_keyword, tf_post_keyword,
      tf_function,     tf_table_name,      tf_field_name,   tf_constant,      tf_comment};

  explicit sys_pre_dlg(QWidget* parent = nullptr);
  ~sys_pre_dlg() override;

 public slots:
  void apply(bool);
  void cancel(bool);
  void theme_reset(bool);
  void theme_changed(bool);
  void item_clicked(QListWidgetItem* item);
  void page_clicked(QListWidgetItem* item);
  void font_changed(const QFont& font);
  void italic_changed(int state);
  void bold_changed(int state);
  void overline_changed(int state);
  void strickout_changed(int state);
  void underline_changed(int state);
  void fs_changed(int size);
  void color_changed(const QColor& c);
  void value_changed(double);
  // Cancel, Escape and the window's close button all end here: the record is restored.
  void reject() override;

 private:
  int checked_theme() const;  // 0..2, or -1 when no theme button is checked
  QListWidgetItem* current_row() const;
  void write_row(QListWidgetItem* item);
  void repaint_preview();

  Ui::sys_pre_dlg* ui;
  sys_config_record saved;
};
