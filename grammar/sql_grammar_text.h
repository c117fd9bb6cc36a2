#pragma once
// The SQL dialect's grammar text (EBNF of the grammar compiler), one constant.
#include "adt/string.h"
#include "adt/types.h"

namespace kk::grammar::sql {

const char* grammar_text() noexcept;
u64 grammar_text_size() noexcept;
// The same text as a byte string: a start-up product, built by the start-up sequence (or
// on the first call where none ran) and released by it at exit.
const adt::string::string& grammar_string();
void grammar_string_build();
void grammar_string_release() noexcept;

}  // namespace kk::grammar::sql
