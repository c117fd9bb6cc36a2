#pragma once
// The boxes and titles of the tree's operations are the main window's: their texts are
// translated in its context.
#include <QCoreApplication>
#include <QString>

struct window_texts {
  Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

// The outcome word of a result box.
inline QString outcome_word(bool ok) { return ok ? window_texts::tr("successful") : window_texts::tr("failed"); }
