// The library's process-wide tables, built once by one explicit call, in a fixed order,
// and released in the reverse order. Nothing is built by static constructors.
//
// The sequence has one slot per product. This library fills the calendar slots; the
// deliverable's start-up fills the later slots with the builders of the subsystems above
// it (grammar texts, regex tables, function names, the SQL library object) and then runs
// the whole plan once.
#pragma once

#include <cstdint>

namespace kk {

enum startup_step : uint32_t {
  step_day_of_year_common,  // calendar: day of year -> (month, day), common years
  step_day_of_year_leap,    // the same for leap years
  step_ebnf_tokens,         // the EBNF notation's token strings
  step_ebnf_kind_names,     // node-kind names and numbers
  step_regex_grammar_text,  // the regex grammar in EBNF
  step_regex_escape_maps,   // control-escape and control-letter maps
  step_regex_class_escapes, // class-escape handler table
  step_sql_grammar_text,    // the SQL dialect in EBNF
  step_sql_function_names,  // trie of the SQL function names
  step_sql_library,         // compiled grammar, regex engine, registered functions
  startup_step_count,
};

struct startup_entry {
  void (*build)() = nullptr;    // null: nothing to build in this slot
  void (*release)() = nullptr;  // null: nothing to release
};

struct startup_plan {
  startup_entry steps[startup_step_count];
};

// A plan with this library's own steps filled in; callers add theirs.
startup_plan startup_plan_base();
// Runs the plan's builders in step order, once per process: later calls return false and
// build nothing. A builder that throws stops the run; the steps built so far stay
// registered for release. The first run also registers startup_tables_release to run at
// process exit.
bool startup_tables_init(const startup_plan& plan);
// Only this library's steps (enough for values, conversions and the calendar).
bool startup_tables_init();
// Releases the built steps in reverse order; a later init may build again.
void startup_tables_release();
bool startup_tables_ready();

}  // namespace kk
