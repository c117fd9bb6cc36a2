#pragma once
// The colour swatch of the preferences dialog: shows one colour; a click opens a colour
// chooser that starts at that colour and, when a colour is chosen, the swatch takes it and
// emits color_changed.
#include <QColor>
#include <QWidget>
#include <functional>

class color_wt : public QWidget {
  Q_OBJECT

 public:
  // The colour chooser a click opens, given the swatch's colour to start at: the chosen
  // colour, or an invalid one when cancelled.
  using chooser = std::function<QColor(const QColor& start)>;

  explicit color_wt(QWidget* parent = nullptr);

  // Sets the colour without a signal.
  void set_color(const QColor& c);
  QColor color() const { return color_; }

  // Replaces the chooser of every swatch (tests); an empty one restores the modal dialog.
  static void set_chooser(chooser c);

 signals:
  void color_changed(const QColor& c);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  // The swatch paints its colour itself: a style sheet's background (the program's sheets
  // give every widget one) would cover a palette colour.
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_ = Qt::white;
};
