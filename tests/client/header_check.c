/* The public header compiles as C and its declarations can be called from C. */
#include "client/ruv_sql_lib_mem.h"

#include <stddef.h>

size_t header_check_c(void) {
  datas* d = NULL;
  uint32_t len = 0;
  return (size_t)rows_of(d) + (size_t)cols_of(d) + (col_name(&len, d, 0) == NULL) + (at(0, 0, d) == NULL);
}
