#include "editor/search_dlg.h"

#include <QCloseEvent>

#include "ui_base/seams.h"
#include "ui_base/slot_guard.h"
#include "editor/doc_search.h"
#include "editor/editor.h"
#include "ui_search_dlg.h"

namespace ruv {

namespace {

kk::adt::text_view view_of(const QByteArray& b) { return {b.constData(), static_cast<u64>(b.size())}; }

}  // namespace

search_dlg::search_dlg(ruv::editor* ed, text_doc* doc, QWidget* parent)
    : QDialog(parent), editor_(ed), doc_(doc), form_(new Ui::search_dlg) {
  form_->setupUi(this);
  connect(form_->fall_pb, &QPushButton::clicked, this, &search_dlg::search_all);
  connect(form_->next_pb, &QPushButton::clicked, this, &search_dlg::next);
  connect(form_->prev_pb, &QPushButton::clicked, this, &search_dlg::prev);
  connect(form_->rep_pb, &QPushButton::clicked, this, &search_dlg::replace);
  connect(form_->rep_all_pb, &QPushButton::clicked, this, &search_dlg::replace_all);
  connect(form_->target_le, &QLineEdit::textChanged, this, &search_dlg::target_changed);
  setWindowModality(Qt::WindowModal);
  form_->target_le->setFocus();
  const byte_range w = doc_word_range(*doc_);
  if (!w.empty()) {
    const doc_string t = doc_range_text(*doc_, w);
    // Only the target: building the dialog neither searches nor touches the selections.
    const QSignalBlocker quiet(form_->target_le);
    form_->target_le->setText(QString::fromUtf8(t.data ? t.data : "", static_cast<int>(t.size)));
  }
}

search_dlg::~search_dlg() { delete form_; }

void search_dlg::set_replace_mode(bool find_only) {
  for (QWidget* w : std::initializer_list<QWidget*>{form_->rep_lbl, form_->rep_le, form_->rep_pb, form_->rep_all_pb})
    w->setVisible(!find_only);
  resize(500, find_only ? 80 : 100);
}

void search_dlg::set_target(const QString& text) {
  if (!text.isEmpty()) form_->target_le->setText(text);
}

void search_dlg::show_top() { setWindowFlag(Qt::WindowStaysOnTopHint); }

search_dlg::params search_dlg::read() const {
  params p;
  p.what = form_->target_le->text().toUtf8();
  p.with = form_->rep_le->text().toUtf8();
  p.mode = form_->normal_rb->isChecked() ? search_plain : form_->sup_rb->isChecked() ? search_escaped : search_regex;
  p.flags = static_cast<u16>((form_->mw_cb->isChecked() ? search_whole_word : 0) | (form_->cs_cb->isChecked() ? 0 : search_ignore_case));
  p.in_selection = form_->os_cb->isChecked();
  return p;
}

void search_dlg::found(i32 at, bool show) {
  doc_set_cursor(*doc_, at);
  editor_->cursor_point();
  if (show) editor_->show_cursor();
  Q_EMIT editor_->lineChanged();
  editor_->update();
}

bool search_dlg::step_from(const params& p, i64 from, bool forward) {
  byte_range m;
  bool hit;
  if (p.in_selection) {
    hit = forward ? doc_find_next_in_selections(*doc_, from, view_of(p.what), m, p.mode, p.flags)
                  : doc_find_prev_in_selections(*doc_, from, view_of(p.what), m, p.mode, p.flags);
    if (hit) last_ = m;
  } else {
    hit = forward ? doc_find_next(*doc_, from, view_of(p.what), m, p.mode, p.flags)
                  : doc_find_prev(*doc_, from, view_of(p.what), m, p.mode, p.flags);
    if (hit) {
      doc_clear_selections(*doc_);
      doc_add_selection(*doc_, m);
    }
  }
  if (hit) found(m.start, forward);
  return hit;
}

void search_dlg::next(bool) {
  slot_guard("next", [&] {
    for (;;) {
      const params p = read();
      if (!p.what.isEmpty()) {
        const i32 cur = doc_->cursor;
        // At the very end nothing follows: not found, so the user is offered the beginning.
        if (cur < doc_size(*doc_)) {
          const i64 from = cur + std::max(1, doc_unit_at(*doc_, cur));
          if (step_from(p, from, true)) return;
        }
      }
      if (doc_size(*doc_) == 0) return;
      const QString t = form_->target_le->text();
      if (wrapped_) {
        information(this, tr("next research result"), tr("the string '%1' not found.").arg(t));
        wrapped_ = false;
        return;
      }
      if (question(this, tr("next search result"), tr("the string '%1' not found. continue from begin?").arg(t),
                   QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
      wrapped_ = true;
      doc_cursor_to_start(*doc_);
      // From the start nothing is skipped: a match at offset 0 counts.
      if (!p.what.isEmpty() && step_from(p, 0, true)) return;
    }
  });
}

void search_dlg::prev(bool) {
  slot_guard("prev", [&] {
    for (;;) {
      const params p = read();
      if (!p.what.isEmpty() && step_from(p, doc_->cursor, false)) return;
      if (doc_size(*doc_) == 0) return;
      const QString t = form_->target_le->text();
      if (wrapped_) {
        information(this, tr("previous research result"), tr("the string '%1' not found.").arg(t));
        wrapped_ = false;
        return;
      }
      if (question(this, tr("previous search result"), tr("the string '%1' not found. continue from end?").arg(t),
                   QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
      wrapped_ = true;
      doc_cursor_to_end(*doc_);
    }
  });
}

bool search_dlg::report_status(int status, const QByteArray& what) {
  if (status == static_cast<int>(search_status::invalid_pattern)) {
    information(this, tr("search result"), tr("the regular expression '%1' is invalid.").arg(QString::fromUtf8(what)));
    return true;
  }
  if (status == static_cast<int>(search_status::limit_reached))
    information(this, tr("search result"), tr("the search stopped at the regular expression engine's limit."));
  return false;
}

void search_dlg::search_all(bool notinfo) {
  slot_guard("search_all", [&] {
    const params p = read();
    const QString t = form_->target_le->text();
    if (p.what.isEmpty()) {
      if (!notinfo) information(this, tr("search result"), tr("the string '%1' not found.").arg(t));
      return;
    }
    std::vector<byte_range> all;
    search_status st;
    if (p.in_selection) {
      st = doc_find_all_in_selections(*doc_, view_of(p.what), all, p.mode, p.flags);
      if (!all.empty()) {
        doc_set_cursor(*doc_, all.front().start);
        last_ = all.front();
      }
    } else {
      st = doc_find_all(*doc_, view_of(p.what), all, p.mode, p.flags);
      doc_clear_selections(*doc_);
      if (!all.empty()) {
        doc_add_selection(*doc_, all.front());
        doc_set_cursor(*doc_, all.front().start);
      }
    }
    editor_->fit_size();
    editor_->show_cursor();
    editor_->update();
    if (!all.empty()) Q_EMIT editor_->lineChanged();
    if (notinfo) return;
    if (report_status(static_cast<int>(st), p.what)) return;
    if (!all.empty())
      information(this, tr("search result"), tr("the string '%1' found %2 times.").arg(t).arg(static_cast<qulonglong>(all.size())));
    else
      information(this, tr("search result"), tr("the string '%1' not found.").arg(t));
  });
}

void search_dlg::target_changed(const QString& text) {
  slot_guard("target_changed", [&] {
    doc_clear_marks(*doc_);
    wrapped_ = false;
    if (!text.isEmpty()) search_all(true);
  });
}

void search_dlg::after_edit() {
  editor_->start_parse();
  editor_->fit_size();
  Q_EMIT editor_->textChanged();
  editor_->update();
  editor_->context_menu_actions();
}

void search_dlg::replace(bool) {
  slot_guard("replace", [&] {
    const params p = read();
    bool done = false;
    i64 resume = doc_->cursor;
    if (!p.what.isEmpty()) {
      // Only a selection that is exactly a match of the current search is replaced.
      if (p.in_selection) {
        byte_range m;
        if (!last_.empty() && doc_find_next_in_selections(*doc_, last_.start, view_of(p.what), m, p.mode, p.flags) && m == last_) {
          done = doc_replace_in_selection(*doc_, last_, view_of(p.with));
          resume = last_.start + p.with.size();
        }
        last_ = {0, 0};
      } else if (doc_->selections.size() == 1) {
        const byte_range s = doc_->selections.front();
        byte_range m;
        if (doc_find_next(*doc_, s.start, view_of(p.what), m, p.mode, p.flags) && m == s) {
          done = doc_replace_selections(*doc_, view_of(p.with));
          resume = s.start + p.with.size();
        }
      }
    }
    if (done) {
      after_edit();
      doc_set_cursor(*doc_, resume);
      // Continue after the replacement: the text just put in is never searched again.
      if (!step_from(p, resume, true)) next(true);
    } else {
      next(true);
    }
  });
}

void search_dlg::replace_all(bool) {
  slot_guard("replace_all", [&] {
    const params p = read();
    const QString t = form_->target_le->text();
    if (p.what.isEmpty()) {
      information(this, tr("previous search result"), tr("the string '%1' not found.").arg(t));
      return;
    }
    std::size_t count = 0;
    search_status st = search_status::ok;
    if (p.in_selection) {
      std::vector<byte_range> all;
      st = doc_find_all_in_selections(*doc_, view_of(p.what), all, p.mode, p.flags);
      if (!all.empty()) {
        // Each selection's new text in one edit of all selections: one undo step.
        std::vector<QByteArray> texts;
        std::size_t k = 0;
        for (const byte_range& s : doc_->selections) {
          QByteArray out;
          i32 at = s.start;
          for (; k < all.size() && all[k].end <= s.end; ++k) {
            if (all[k].start < s.start) continue;
            out.append(doc_->text.data + at, all[k].start - at);
            out.append(p.with);
            at = all[k].end;
            ++count;
          }
          out.append(doc_->text.data + at, s.end - at);
          texts.push_back(out);
        }
        std::vector<kk::adt::text_view> views;
        for (const QByteArray& b : texts) views.push_back(view_of(b));
        if (count > 0 && !doc_replace_selections_each(*doc_, views)) count = 0;
      }
      last_ = {0, 0};
    } else {
      doc_clear_selections(*doc_);
      count = doc_replace_all(*doc_, view_of(p.what), view_of(p.with), p.mode, p.flags, &st);
    }
    doc_clear_marks(*doc_);
    after_edit();
    if (report_status(static_cast<int>(st), p.what) && count == 0) return;
    if (count > 0)
      information(this, tr("replace result"), tr("the string '%1' %2 times replaced.").arg(t).arg(static_cast<qulonglong>(count)));
    else
      information(this, tr("previous search result"), tr("the string '%1' not found.").arg(t));
  });
}

void search_dlg::reject() {
  doc_clear_marks(*doc_);
  editor_->update();
  QDialog::reject();
}

void search_dlg::closeEvent(QCloseEvent* e) {
  doc_clear_marks(*doc_);
  editor_->update();
  QDialog::closeEvent(e);
}

}  // namespace ruv
