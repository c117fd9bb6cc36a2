#pragma once
// Running a whole .sql file against the server, chosen with the open-file chooser: split
// with the program's grammar (nothing runs when a statement does not parse), each statement
// printed back without comments and run quietly, the log updated every 8192 statements and
// at the end, the first failure stopping the run.
#include <QString>

#include "adt/string.h"

class db_ctx;
class QWidget;

enum class script_run_result {
  not_run,    // no file chosen, an empty or unreadable file, or a parse failure
  failed,     // a statement failed; the ones before it stay executed
  completed,  // every statement succeeded (the tree wants a refresh)
};

// The statements to run from a script text; empty when the text does not parse to its end,
// with `consumed` set to where parsing stopped.
bool split_script_statements(const kk::adt::string::string& text, QStringList& statements, kk::u64& consumed);

// A script file's text as the editor reads it (CR LF as LF); empty when it cannot be read.
kk::adt::string::string read_script_file(const QString& path);

// Runs the statements as described above and shows the outcome box.
script_run_result run_statements(db_ctx* ctx, QWidget* parent, const QStringList& statements);

// The whole command: chooser, file, split, run.
script_run_result run_script_file(db_ctx* ctx, QWidget* parent);
