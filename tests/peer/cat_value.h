// Typed values of the catalogue server: one value per field, always of its field's type, so
// that a reply encodes each column in its own type.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/peer/peer_wire.h"

namespace peer {

// The fourteen column types, by their type names "u08" ... "datetime".
enum class ftype : uint8_t { u08, i08, u16, i16, u32, i32, u64, i64, f32, f64, str, date, time, datetime };
inline constexpr int ftype_count = 14;

const char* type_name(ftype t);  // "u08", ..., "float", "double", "string", ...
std::optional<ftype> type_from_name(std::string_view name);
desc type_desc(ftype t);  // the wire descriptor of a column of this type
bool is_integer(ftype t);
bool is_signed_integer(ftype t);

struct value {
  ftype type = ftype::i32;
  int64_t i = 0;   // signed integer types
  uint64_t u = 0;  // unsigned integer types
  double f = 0;    // float (held rounded to single precision) and double
  std::string s;   // string bytes (at most 65535)
  uint16_t year = 0;
  uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
  uint32_t nano = 0;

  // Constructors; the integer ones check nothing: the caller gives a value of the width.
  static value sint(ftype t, int64_t v);
  static value uint(ftype t, uint64_t v);
  static value real(ftype t, double v);
  static value text(std::string v);
  static value date(uint16_t y, uint8_t m, uint8_t d);
  static value time(uint8_t h, uint8_t mi, uint8_t s, uint32_t ns);
  static value datetime(uint16_t y, uint8_t m, uint8_t d, uint8_t h, uint8_t mi, uint8_t s, uint32_t ns);
  // The zero of a type: 0, 0.0, "", 1970-01-01, 00:00:00.
  static value zero(ftype t);

  cell to_cell() const;  // the wire bytes
  // Text form: decimal integers, shortest round-trip floats ('.' always), string bytes as
  // they are, "yyyy-mm-dd", "hh:mm:ss.nnnnnnnnn" (fraction cut of trailing zeros, at least
  // three digits), "yyyy-mm-dd hh:mm:ss.zzz".
  std::string str() const;
  bool operator==(const value& o) const;
};

// -1, 0, 1 between two values of one type.
int compare(const value& a, const value& b);

// A value of type t from its text form (the form str() writes, also 'T' between a date and a
// time, no fraction, and integers in the literal forms 0x.., 0b.., with a sign); nothing
// when the text does not read as that type or is out of its range.
std::optional<value> value_from_text(ftype t, std::string_view text);

// CSV fields, RFC 4180 style, for any separator: a field holding the separator, a quote,
// CR or LF is written in quotes with each quote doubled; every other field as it is.
std::string csv_field(std::string_view text, std::string_view sep);

// Reads the next record of n fields from rest (a record ends at LF, CR LF, or the end) into
// out and moves rest past it; a quoted field runs to its closing quote, across separators
// and line ends. The last field, unquoted, takes the rest of its line, separators included.
// False (rest unspecified) when the record has fewer fields or a quoted field is not closed
// or is followed by anything but a separator or the record's end.
bool csv_read_record(std::string_view& rest, std::string_view sep, size_t n, std::vector<std::string>& out);
// Moves rest past its first record, whatever its fields; false when a quote is not closed.
bool csv_skip_record(std::string_view& rest);

}  // namespace peer
