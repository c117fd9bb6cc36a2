/* Flat C interface of the ruv_sql_lib_mem shared library.
   Compiles as C and as C++; every function here is exported, nothing else is. */
#ifndef RUV_SQL_LIB_MEM_H
#define RUV_SQL_LIB_MEM_H

#if defined(RUV_BUILDING_LIB)
#define RUV_API __attribute__((visibility("default")))
#else
#define RUV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
