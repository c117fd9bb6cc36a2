/* Flat C interface of the ruv_sql_lib_mem shared library.
   Compiles as C and as C++; every function here is exported, nothing else is.

   Per thread: connect_to_server, then any number of exec (each result read through the
   accessors and released with del_datas), then exit_to_server. A datas and a val are
   opaque; a val pointer and a column name stay valid until their datas is released.
   The text from as_str is a malloc'ed copy that the caller releases with free. */
#ifndef RUV_SQL_LIB_MEM_H
#define RUV_SQL_LIB_MEM_H

#include <stdbool.h>
#include <stdint.h>

#if defined(RUV_BUILDING_LIB)
#define RUV_API __attribute__((visibility("default")))
#else
#define RUV_API
#endif

#ifdef __cplusplus
namespace kk {
struct datas;
struct val;
}
typedef kk::datas datas;
typedef kk::val val;
extern "C" {
#else
typedef struct datas datas;
typedef struct val val;
#endif

/* Connection of the calling thread. host: dotted IPv4; user, password: NUL-terminated
   UTF-8, null meaning empty. Failures print one line on standard output. */
RUV_API bool connect_to_server(const char* host, uint16_t port, const char* user, const char* password);
/* One statement of len bytes (a null text sends an empty one): its result set, or null when
   the server answered FAIL or the exchange failed. */
RUV_API datas* exec(const char* text, int32_t len);
/* Logout and close; always true. */
RUV_API bool exit_to_server(void);

/* Result sets. A null d counts as empty. */
RUV_API void del_datas(datas* d);
RUV_API uint64_t rows_of(const datas* d);
RUV_API uint64_t cols_of(const datas* d);
/* The server's row id of a row; 0 when d is null or row is out of range. */
RUV_API uint64_t sid_of(const datas* d, uint64_t row);
/* The name's bytes (NUL-terminated, but *len_out is authoritative); null with *len_out
   untouched when d is null or col is out of range. */
RUV_API const char* col_name(uint32_t* len_out, const datas* d, int32_t col);
/* The value cell; null when d is null or row or col is out of range. */
RUV_API val* at(uint64_t row, uint64_t col, const datas* d);

/* Value cells: v must come from at(). */
RUV_API uint32_t val_size(const val* v);  /* byte width 1, 2, 4 or 8 */
RUV_API int32_t val_type(const val* v);   /* 0 integer, 1 float, 2 text, 3 date, 4 time, 5 datetime, -1 otherwise */
RUV_API bool val_sign(const val* v);      /* 0 signed, 1 otherwise */
RUV_API int8_t as_int8(const val* v);
RUV_API int16_t as_int16(const val* v);
RUV_API int32_t as_int32(const val* v);
RUV_API int64_t as_int64(const val* v);
RUV_API uint8_t as_uint8(const val* v);
RUV_API uint16_t as_uint16(const val* v);
RUV_API uint32_t as_uint32(const val* v);
RUV_API uint64_t as_uint64(const val* v);
RUV_API float as_float(const val* v);
RUV_API double as_double(const val* v);
/* *out = a malloc'ed copy of the text bytes (no terminator; a 0-byte block for an empty text
   or a cell without text), *len_out = its length. v null: nothing written. A null cell:
   *out = null, *len_out = 0. */
RUV_API void as_str(char** out, uint64_t* len_out, const val* v);
RUV_API void as_date(uint32_t* year, uint32_t* month, uint32_t* day, const val* v);
RUV_API void as_time(uint32_t* hour, uint32_t* minute, uint32_t* second, uint32_t* nanosecond, const val* v);
RUV_API void as_datetime(uint32_t* year, uint32_t* month, uint32_t* day, uint32_t* hour, uint32_t* minute,
                         uint32_t* second, uint32_t* nanosecond, const val* v);

/* The result set as a text table on standard output; null: nothing. */
RUV_API void print(const datas* d);

/* Statement analysis with the library's own SQL grammar, without a server. text holds len
   bytes (no terminator needed); a null text, a negative len and a text holding a NUL byte
   before len (a length past the end of a C string) are refused (false, null). The
   grammar must accept the whole text as one statement; the statement's kind is not checked.
   Not for two threads at once. */
/* True when an edited result of the statement may be written back: no group, project,
   recompute, rename or filter post-operation. */
RUV_API bool can_update(const char* text, int32_t len);
/* The where clause: a pointer into text and *len_out = its length (0 when the statement has
   none: the pointer is where it would start), or null with *len_out untouched. */
RUV_API const char* extract_where_from_update(const char* text, int32_t len, uint32_t* len_out);
/* The first table name, likewise. */
RUV_API const char* extract_tab_name_from_update(const char* text, int32_t len, uint32_t* len_out);

#ifdef __cplusplus
}
#endif

#endif
