#include "value/startup_tables.h"

#include <cstdlib>

#include "value/calendar.h"

namespace kk {

namespace {
// Constant-initialised: readable before any constructor runs.
startup_entry built[startup_step_count];
uint32_t built_count = 0;
bool ran = false;
bool release_at_exit = false;

void build_common() { day_of_year_fill(day_of_year_common, 365, month_start_days[0]); }
void build_leap() { day_of_year_fill(day_of_year_leap, 366, month_start_days[1]); }
}  // namespace

startup_plan startup_plan_base() {
  startup_plan p;
  p.steps[step_day_of_year_common].build = build_common;
  p.steps[step_day_of_year_leap].build = build_leap;
  return p;
}

bool startup_tables_init(const startup_plan& plan) {
  if (ran) return false;
  ran = true;
  if (!release_at_exit) {
    // Process end releases whatever is still built, last step first.
    release_at_exit = true;
    std::atexit(startup_tables_release);
  }
  for (uint32_t i = 0; i < startup_step_count; ++i) {
    const startup_entry& e = plan.steps[i];
    if (e.build) e.build();
    built[built_count++] = e;
  }
  return true;
}

bool startup_tables_init() { return startup_tables_init(startup_plan_base()); }

void startup_tables_release() {
  while (built_count > 0) {
    const startup_entry e = built[--built_count];
    if (e.release) e.release();
  }
  ran = false;
}

bool startup_tables_ready() { return ran && built_count == startup_step_count; }

}  // namespace kk
