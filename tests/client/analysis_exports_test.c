/* The statement-analysis exports as a C caller sees them, through the shared library.
   Every text is copied into a block of exactly its length (no terminator), so a read past
   len is a fault under the sanitizers. */
#include "client/ruv_sql_lib_mem.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

#define CHECK(cond)                                                  \
  do {                                                               \
    if (!(cond)) {                                                   \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                    \
    }                                                                \
  } while (0)

static char* exact_copy(const char* s) {
  size_t n = strlen(s);
  char* p = (char*)malloc(n ? n : 1);
  memcpy(p, s, n);
  return p;
}

static void test_can_update(void) {
  static const struct {
    const char* text;
    bool expected;
  } cases[] = {
      {"update t set a = 1 where b == 2", true},
      {"update t set a = 1", true},
      {"select * from t", true},
      {"select * from t group count(a) by b", false},
      {"select * from t project a", false},
      {"update t set a = 1 where b == 2 junk", false},
      {"update t set", false},
      {"   ", false},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    char* t = exact_copy(cases[i].text);
    int32_t len = (int32_t)strlen(cases[i].text);
    if (can_update(t, len) != cases[i].expected) {
      fprintf(stderr, "can_update(\"%s\") is not %d\n", cases[i].text, cases[i].expected);
      ++failures;
    }
    free(t);
  }
}

static void test_extractors(void) {
  const char* s = "update orders set qty = 0 where id == 7";
  int32_t len = (int32_t)strlen(s);
  char* t = exact_copy(s);
  uint32_t n = 0;
  const char* name = extract_tab_name_from_update(t, len, &n);
  CHECK(name == t + 7);
  CHECK(n == 6);
  const char* where = extract_where_from_update(t, len, &n);
  CHECK(where == t + 26);
  CHECK(n == 13);
  free(t);

  /* No where clause: an empty clause at the end of the statement. */
  s = "update orders set qty = 0";
  len = (int32_t)strlen(s);
  t = exact_copy(s);
  n = 99;
  where = extract_where_from_update(t, len, &n);
  CHECK(where == t + len);
  CHECK(n == 0);
  free(t);
}

static void test_refusals(void) {
  const char* s = "update orders set qty = 0 where id == 7 and more";
  char* t = exact_copy(s);
  uint32_t n = 1234;
  /* Not accepted as a whole: null, *len_out untouched. */
  CHECK(extract_tab_name_from_update(t, (int32_t)strlen(s), &n) == NULL);
  CHECK(extract_where_from_update(t, (int32_t)strlen(s), &n) == NULL);
  CHECK(n == 1234);
  /* A negative length is refused before anything is read. */
  CHECK(!can_update(t, -1));
  CHECK(!can_update(t, INT32_MIN));
  CHECK(extract_tab_name_from_update(t, -5, &n) == NULL);
  CHECK(extract_where_from_update(t, -1, &n) == NULL);
  CHECK(n == 1234);
  /* A null text, and a null len_out. */
  CHECK(!can_update(NULL, 3));
  CHECK(extract_where_from_update(NULL, 0, &n) == NULL);
  CHECK(extract_tab_name_from_update(t, 25, NULL) == t + 7);
  free(t);
  print(NULL); /* nothing */
}

/* A NUL byte before len: a length longer than the caller's C string. The text is refused
   at the terminator, not read past it; the comment would otherwise swallow the NUL. */
static void test_nul_before_len(void) {
  static const char with_nul[] = "update t set a = 1 where b == 2 #\0 c";
  const int32_t len = (int32_t)(sizeof with_nul - 1);
  char* t = (char*)malloc((size_t)len);
  uint32_t n = 77;
  memcpy(t, with_nul, (size_t)len);
  CHECK(!can_update(t, len));
  CHECK(extract_where_from_update(t, len, &n) == NULL);
  CHECK(extract_tab_name_from_update(t, len, &n) == NULL);
  CHECK(n == 77);
  /* The same bytes up to the NUL are a whole statement. */
  CHECK(can_update(t, len - 3));
  CHECK(extract_tab_name_from_update(t, len - 3, &n) == t + 7);
  CHECK(n == 1);
  free(t);
  /* The caller's length runs past its literal's terminator. */
  CHECK(!can_update("update t set a = 1 # c", 100));
  n = 77;
  CHECK(extract_where_from_update("update t set a = 1 # c", 100, &n) == NULL);
  CHECK(n == 77);
}

int main(void) {
  test_nul_before_len();
  test_can_update();
  test_extractors();
  test_refusals();
  if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
  return failures ? 1 : 0;
}
