#pragma once
// Reads Qt Linguist catalogues (.ts) and finds what keeps a catalogue from translating the
// program: source texts it lacks or leaves unfinished, entries for texts the sources no
// longer have, and translations that would break the text where it is used.
#include <QString>
#include <QStringList>
#include <vector>

struct ts_message {
  QString context;
  QString source;
  QString comment;
  QStringList translations;  // one, or one per numerus form
  QString state;             // the translation's type attribute: "", "unfinished", "vanished", "obsolete"
  QString location;          // "file:line" of the first location, when the file records one
};

struct ts_file {
  QString language;
  std::vector<ts_message> messages;
};

// Parses a .ts file; false with *error set when it cannot be read or is not a catalogue.
bool read_ts(const QString& path, ts_file* out, QString* error);

// A key sequence text such as "ctrl+s", "f5" or "Ctrl+Shift+F11": the program turns its
// translation into a key, so it must stay as written.
bool is_shortcut_text(const QString& text);

// The %1..%99 (and %L1...) placeholders of a text, sorted.
QStringList placeholders(const QString& text);

// The HTML tags of a text, sorted.
QStringList html_tags(const QString& text);

// Whether a text carries a menu mnemonic ("&x"; "&&" is a literal ampersand).
bool has_mnemonic(const QString& text);

// What is wrong with one catalogue, measured against the texts the sources hold (a fresh
// scan). A catalogue of the source language may leave any text out; the others must
// translate every one. Each fault is one line naming the entry.
QStringList catalogue_faults(const ts_file& scan, const ts_file& catalogue, bool source_language);
