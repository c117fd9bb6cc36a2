// Definitions of the flat C interface; each catches everything at its edge.
#include "ruv_sql_lib_mem.h"
