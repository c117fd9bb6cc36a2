#pragma once
// The SQL dialect's grammar text (EBNF of the grammar compiler), one constant.
#include "adt/string.h"
#include "adt/types.h"

namespace kk::grammar::sql {

const char* grammar_text() noexcept;
u64 grammar_text_size() noexcept;
// The same text as a byte string: a start-up product, built on the first call.
const adt::string::string& grammar_string();

}  // namespace kk::grammar::sql
