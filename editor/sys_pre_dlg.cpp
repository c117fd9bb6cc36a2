#include "editor/sys_pre_dlg.h"

#include <QListWidgetItem>
#include <QSignalBlocker>
#include <cstring>
#include <type_traits>

#include "ui_base/slot_guard.h"
#include "ui_sys_pre_dlg.h"

namespace {

constexpr float least_factor = 0.1f;

float clamp_factor(double v) { return v < least_factor ? least_factor : static_cast<float>(v); }

const char* const preview_text =
    "//test code\nselect id, sin(val) from tab where id < 10 && val == 2 order by id asc;\n"
    "insert into t(id,val) values(1,1.0);\n";

void copy_list(kk::adt::list<kk::adt::string::string>& to, const kk::adt::list<kk::adt::string::string>& from) {
  to.clear();
  for (auto* n = from.head; n; n = n->next) to.push_back(n->value);
}

void copy_block(sys_config_block& to, const sys_config_block& from) {
  static_assert(std::is_trivially_copyable_v<sys_config_block>);
  std::memcpy(static_cast<void*>(&to), static_cast<const void*>(&from), sys_config_block_size);
}

int channel(kk::u32 v) { return v > 255 ? 255 : int(v); }

text_format_set& current_set() { return sys_config.text_formats[sys_config.theme < 3 ? sys_config.theme : 0]; }

}  // namespace

QFont text_format_font(const text_format& f) {
  QFont font;
  font.setKerning(true);
  font.setStyleStrategy(QFont::PreferAntialias);
  const QString field = QString::fromUtf8(f.family, static_cast<int>(strnlen(f.family, sizeof f.family)));
  // The family is the text before the first comma (older files hold a whole description);
  // none at all is the editor's default family, as the painter takes it.
  const QString family = field.section(QLatin1Char(','), 0, 0);
  font.setFamily(family.isEmpty() ? QStringLiteral("Source Code Pro") : family);
  if (f.point_size > 0 && f.point_size < 1000) font.setPointSize(static_cast<int>(f.point_size));
  font.setWeight(f.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(f.italic != 0);
  font.setOverline(f.overline != 0);
  font.setUnderline(f.underline != 0);
  font.setStrikeOut(f.strikeout != 0);
  return font;
}

void text_format_store(text_format& f, const QFont& font, const QColor& color) {
  std::memset(f.family, 0, sizeof f.family);
  const QByteArray family = font.family().toUtf8();
  int n = family.size() < int(sizeof f.family) - 1 ? family.size() : int(sizeof f.family) - 1;
  if (n < family.size()) {
    while (n > 0 && (static_cast<unsigned char>(family[n]) & 0xC0) == 0x80) --n;  // no cut inside a character
  }
  std::memcpy(f.family, family.constData(), static_cast<size_t>(n));
  f.point_size = font.pointSize() > 0 ? static_cast<kk::u32>(font.pointSize()) : f.point_size;
  f.bold = font.weight() > 57;
  f.italic = font.style() != QFont::StyleNormal;
  f.overline = font.overline();
  f.underline = font.underline();
  f.strikeout = font.strikeOut();
  f.red = static_cast<kk::u32>(color.red());
  f.green = static_cast<kk::u32>(color.green());
  f.blue = static_cast<kk::u32>(color.blue());
  f.alpha = static_cast<kk::u32>(color.alpha());
}

sys_pre_dlg::sys_pre_dlg(QWidget* parent) : QDialog(parent), ui(new Ui::sys_pre_dlg) {
  ui->setupUi(this);
  setWindowTitle(tr("system preference"));
  // The preview shows the sample script and takes no input; the layout gives it its size.
  ui->ed->set_auto_resize(false);
  ui->ed->set_text(QByteArray(preview_text));
  ui->ed->setEnabled(false);
  for (QDoubleSpinBox* b : {ui->hf_dsb, ui->vf_dsb, ui->edit_time_dsb}) b->setLocale(QLocale::c());

  copy_block(saved, sys_config);
  copy_list(saved.recent_files, sys_config.recent_files);
  copy_list(saved.open_files, sys_config.open_files);

  ui->hf_dsb->setValue(saved.horizontal_factor);
  ui->vf_dsb->setValue(saved.vertical_factor);
  if (saved.theme == 0) ui->fresh_rb->setChecked(true);
  if (saved.theme == 1) ui->dark_rb->setChecked(true);
  if (saved.theme == 2) ui->cleary_rb->setChecked(true);
  theme_changed(true);
  ui->tab_width_cb->setCurrentText(QString::number(saved.tab_width));
  ui->as_space_cb->setChecked(saved.insert_as_space != 0);
  ui->show_space_cb->setChecked(saved.show_space != 0);
  ui->edit_time_dsb->setValue(saved.continuous_edit_seconds);
  ui->cursor_width_sb->setValue(static_cast<int>(saved.cursor_width));
  ui->auto_enable_cb->setChecked(saved.completion != 0);
  ui->least_count_sb->setValue(static_cast<int>(saved.completion_least_count));
  ui->only_sql_cb->setChecked(saved.completion_only_sql != 0);
  ui->update_cb->setChecked(saved.check_update_at_start != 0);

  connect(ui->reset_pb, &QPushButton::clicked, this, &sys_pre_dlg::theme_reset);
  connect(ui->apply_pb, &QPushButton::clicked, this, &sys_pre_dlg::apply);
  connect(ui->cancel_pb, &QPushButton::clicked, this, &sys_pre_dlg::cancel);
  for (QRadioButton* rb : {ui->fresh_rb, ui->dark_rb, ui->cleary_rb})
    connect(rb, &QRadioButton::clicked, this, &sys_pre_dlg::theme_changed);
  connect(ui->theme_lw, &QListWidget::itemClicked, this, &sys_pre_dlg::item_clicked);
  connect(ui->listWidget, &QListWidget::itemClicked, this, &sys_pre_dlg::page_clicked);
  connect(ui->bold_cb, &QCheckBox::stateChanged, this, &sys_pre_dlg::bold_changed);
  connect(ui->italic_cb, &QCheckBox::stateChanged, this, &sys_pre_dlg::italic_changed);
  connect(ui->overline_cb, &QCheckBox::stateChanged, this, &sys_pre_dlg::overline_changed);
  connect(ui->underline_cb, &QCheckBox::stateChanged, this, &sys_pre_dlg::underline_changed);
  connect(ui->strickout_cb, &QCheckBox::stateChanged, this, &sys_pre_dlg::strickout_changed);
  connect(ui->font_cb, &QFontComboBox::currentFontChanged, this, &sys_pre_dlg::font_changed);
  connect(ui->cwt, &color_wt::color_changed, this, &sys_pre_dlg::color_changed);
  connect(ui->fs_sb, qOverload<int>(&QSpinBox::valueChanged), this, &sys_pre_dlg::fs_changed);
  connect(ui->hf_dsb, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &sys_pre_dlg::value_changed);
  connect(ui->vf_dsb, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &sys_pre_dlg::value_changed);

  ui->font_cb->setEnabled(false);
  for (QCheckBox* cb : {ui->bold_cb, ui->italic_cb, ui->overline_cb, ui->underline_cb, ui->strickout_cb})
    cb->setEnabled(false);
  ui->stackedWidget->setCurrentIndex(0);
  ui->tabWidget->setCurrentIndex(0);
}

sys_pre_dlg::~sys_pre_dlg() { delete ui; }

int sys_pre_dlg::checked_theme() const {
  if (ui->fresh_rb->isChecked()) return 0;
  if (ui->dark_rb->isChecked()) return 1;
  if (ui->cleary_rb->isChecked()) return 2;
  return -1;
}

QListWidgetItem* sys_pre_dlg::current_row() const { return ui->theme_lw->currentItem(); }

void sys_pre_dlg::repaint_preview() { ui->ed->update(); }

void sys_pre_dlg::write_row(QListWidgetItem* item) {
  const int r = ui->theme_lw->row(item);
  if (r < 0 || r >= int(text_format_set::count)) return;
  text_format_store(current_set()[row_class[r]], item->font(), item->foreground().color());
}

void sys_pre_dlg::item_clicked(QListWidgetItem* item) {
  slot_guard("item_clicked", [&] {
    if (!item) return;
    ui->font_cb->setEnabled(true);
    for (QCheckBox* cb : {ui->bold_cb, ui->italic_cb, ui->overline_cb, ui->underline_cb, ui->strickout_cb})
      cb->setEnabled(true);
    // Showing the row's values is no edit: the widgets stay silent.
    const QFont f = item->font();
    {
      const QSignalBlocker b1(ui->font_cb), b2(ui->italic_cb), b3(ui->bold_cb), b4(ui->overline_cb),
          b5(ui->strickout_cb), b6(ui->underline_cb), b7(ui->fs_sb);
      ui->font_cb->setCurrentFont(f);
      ui->italic_cb->setChecked(f.style() != QFont::StyleNormal);
      ui->bold_cb->setChecked(f.weight() >= 58);
      ui->overline_cb->setChecked(f.overline());
      ui->strickout_cb->setChecked(f.strikeOut());
      ui->underline_cb->setChecked(f.underline());
      ui->fs_sb->setValue(f.pointSize());
    }
    ui->cwt->set_color(item->foreground().color());
  });
}

void sys_pre_dlg::bold_changed(int state) {
  slot_guard("bold_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    QFont f = item->font();
    f.setWeight(state == Qt::Checked ? QFont::Bold : QFont::Normal);
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::italic_changed(int state) {
  slot_guard("italic_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    QFont f = item->font();
    f.setItalic(state == Qt::Checked);
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::overline_changed(int state) {
  slot_guard("overline_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    QFont f = item->font();
    f.setOverline(state == Qt::Checked);
    item->setFont(f);
    write_row(item);
    ui->ed->fit_size();
    repaint_preview();
  });
}

void sys_pre_dlg::underline_changed(int state) {
  slot_guard("underline_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    QFont f = item->font();
    f.setUnderline(state == Qt::Checked);
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::strickout_changed(int state) {
  slot_guard("strickout_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    QFont f = item->font();
    f.setStrikeOut(state == Qt::Checked);
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::fs_changed(int size) {
  slot_guard("fs_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item || size <= 0) return;
    QFont f = item->font();
    f.setPointSize(size);
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::font_changed(const QFont& font) {
  slot_guard("font_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    // The combo box chooses the family; size and styles stay the row's own.
    QFont f = item->font();
    f.setFamily(font.family());
    item->setFont(f);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::color_changed(const QColor& c) {
  slot_guard("color_changed", [&] {
    QListWidgetItem* item = current_row();
    if (!item) return;
    item->setForeground(c);
    write_row(item);
    repaint_preview();
  });
}

void sys_pre_dlg::value_changed(double) {
  sys_config.horizontal_factor = clamp_factor(ui->hf_dsb->value());
  sys_config.vertical_factor = clamp_factor(ui->vf_dsb->value());
  repaint_preview();
}

void sys_pre_dlg::theme_changed(bool) {
  slot_guard("theme_changed", [&] {
    const int theme = checked_theme();
    if (theme >= 0) sys_config.theme = static_cast<kk::u32>(theme);
    const text_format_set& set = current_set();
    for (int r = 0; r < int(text_format_set::count); ++r) {
      QListWidgetItem* item = ui->theme_lw->item(r);
      if (!item) continue;
      const text_format& f = set[row_class[r]];
      item->setForeground(QColor(channel(f.red), channel(f.green), channel(f.blue), channel(f.alpha)));
      item->setFont(text_format_font(f));
    }
    repaint_preview();
  });
}

void sys_pre_dlg::theme_reset(bool) {
  slot_guard("theme_reset", [&] {
    const int theme = checked_theme();
    if (theme >= 0) text_format_set_init(sys_config.text_formats[theme], static_cast<unsigned>(theme));
    theme_changed(true);
  });
}

void sys_pre_dlg::page_clicked(QListWidgetItem*) { ui->stackedWidget->setCurrentIndex(ui->listWidget->currentRow()); }

void sys_pre_dlg::apply(bool) {
  slot_guard("apply", [&] {
    sys_config.horizontal_factor = clamp_factor(ui->hf_dsb->value());
    sys_config.vertical_factor = clamp_factor(ui->vf_dsb->value());
    const int theme = checked_theme();
    if (theme >= 0) sys_config.theme = static_cast<kk::u32>(theme);
    bool ok = false;
    const uint tab = ui->tab_width_cb->currentText().toUInt(&ok, 10);
    if (ok) sys_config.tab_width = tab;
    sys_config.insert_as_space = ui->as_space_cb->isChecked();
    sys_config.show_space = ui->show_space_cb->isChecked();
    sys_config.continuous_edit_seconds = static_cast<float>(ui->edit_time_dsb->value());
    sys_config.cursor_width = static_cast<kk::u32>(ui->cursor_width_sb->value());
    sys_config.completion_least_count = static_cast<kk::u32>(ui->least_count_sb->value());
    sys_config.completion = ui->auto_enable_cb->isChecked();
    sys_config.completion_only_sql = ui->only_sql_cb->isChecked();
    sys_config.check_update_at_start = ui->update_cb->isChecked();
    accept();
  });
}

void sys_pre_dlg::cancel(bool) { reject(); }

void sys_pre_dlg::reject() {
  slot_guard("reject", [&] {
    copy_block(sys_config, saved);
    copy_list(sys_config.recent_files, saved.recent_files);
    copy_list(sys_config.open_files, saved.open_files);
    QDialog::reject();
  });
}
