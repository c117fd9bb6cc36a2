#include "value/startup_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "value/calendar.h"

using namespace kk;

namespace {
std::string trace;
void b3() { trace += "b3 "; }
void b9() { trace += "b9 "; }
void b10() { trace += "b10 "; }
void r3() { trace += "r3 "; }
void r10() { trace += "r10 "; }
}  // namespace

TEST(startup_tables, steps_run_once_in_order_and_release_in_reverse) {
  ASSERT_FALSE(startup_tables_ready());
  startup_plan plan = startup_plan_base();
  plan.steps[step_sql_library] = {b10, r10};
  plan.steps[step_ebnf_tokens] = {b3, r3};
  plan.steps[step_sql_function_names] = {b9, nullptr};
  ASSERT_TRUE(startup_tables_init(plan));
  EXPECT_TRUE(startup_tables_ready());
  EXPECT_EQ(trace, "b3 b9 b10 ");
  // The calendar steps came first.
  EXPECT_EQ(day_of_year_common[364].month, 12);
  EXPECT_EQ(day_of_year_common[364].day, 31);
  EXPECT_EQ(day_of_year_leap[59].month, 2);
  EXPECT_EQ(day_of_year_leap[59].day, 29);
  uint16_t y;
  uint8_t m, d;
  ASSERT_TRUE(days_to_civil(date_to_days(2024, 2, 29), y, m, d));
  EXPECT_EQ(m, 2);
  EXPECT_EQ(d, 29);

  EXPECT_FALSE(startup_tables_init(plan));  // once per process
  EXPECT_EQ(trace, "b3 b9 b10 ");

  trace.clear();
  startup_tables_release();
  EXPECT_EQ(trace, "r10 r3 ");
  EXPECT_FALSE(startup_tables_ready());
  EXPECT_TRUE(startup_tables_init());
  EXPECT_TRUE(startup_tables_ready());
  startup_tables_release();
}
