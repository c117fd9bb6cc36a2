#pragma once
// The completion popup: a list of candidates under the cursor that takes the keyboard while
// it is open. It never edits the text: it tells the editor through its four signals what to
// insert or delete. It closes itself (detached, hidden, deleted later) and never comes back.
#include <QListWidget>

#include "adt/string.h"
#include "adt/types.h"
#include "adt/vector.h"

namespace ruv {

class auto_list : public QListWidget {
  Q_OBJECT

 public:
  // candidates all begin with the `start` bytes typed before the popup opened.
  auto_list(kk::adt::vector<kk::adt::string::string> candidates, kk::u64 start, QWidget* parent);
  ~auto_list() override;

  // Every row is this many pixels high, and the popup as high as its rows (up to the limit).
  static constexpr int row_height = 20;
  // The most the popup may grow to (the room below it); a longer list scrolls.
  void set_height_limit(int pixels);

  const kk::adt::string::string& typed() const noexcept { return typed_; }
  bool closed() const noexcept { return closed_; }
  const kk::adt::vector<kk::adt::string::string>& candidates() const noexcept { return candidates_; }
  // Whether the candidate's bytes from `start` on begin with `typed` (ASCII case folded).
  static bool continues(kk::adt::text_view candidate, kk::u64 start, kk::adt::text_view typed) noexcept;

 Q_SIGNALS:
  void sel(const QString& rest);
  // Emitted just before sel: the whole chosen word and the bytes before the cursor it
  // replaces (the fragment and what was typed), so a caller can insert the word in its own
  // spelling (a server name typed in another case).
  void sel_word(const QString& word, quint64 replaced);
  void not_found();
  void char_add(const char& c);
  void char_del();
  // Text the popup does not use (a character outside ASCII, an input-method commit): the
  // editor is to insert it; the popup closes with not_found right after.
  void text_add(const QString& text);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  void refill();
  void add_row(kk::adt::text_view candidate);
  // Resizes the popup to its rows under the limit, its top left corner kept.
  void fit_rows();
  void accept_current();
  void close_popup(bool report_not_found);
  void step(int delta);
  // Appends the byte, tells the editor and narrows; closes when nothing is left.
  void type_word_byte(char c);

  kk::adt::string::string typed_;
  kk::adt::vector<kk::adt::string::string> candidates_;
  kk::u64 start_ = 0;
  bool closed_ = false;
  int height_limit_ = QWIDGETSIZE_MAX;
};

}  // namespace ruv
