#pragma once
// The manual's generator: reads one language's manual source and the shared reference of
// examples, and writes the manual as HTML. The statements, clauses and functions it
// documents, and the syntax it shows for them, come from the program's own grammar and
// function registry, so the manual cannot drift from the dialect: what the code has and the
// source lacks is reported (see problems()).
//
// Manual source (one per language), line by line:
//   # title            the manual's title (once, first)
//   ## chapter         a chapter; ### a section (both in the contents); #### a subsection
//   text lines         a paragraph; `code`, **bold** and *italic* inline
//   - item             a bullet item (continued by lines indented by two blanks)
//   1. item            a numbered item
//   | a | b |          a table row; the first row is the header, a |---| row follows it
//   @label key text    a word the generator writes in this language (see label_keys)
//   @statement rule [heading]   a statement of the grammar, then its description paragraph
//   @clause rule [heading]      a clause of a select, likewise
//   @function name     a function of the library, then its description paragraph
//   @example name      the named example of the reference, as a code block
//   @grammar           every rule of the grammar with its syntax
// Code blocks come only from the reference: a source holds no example text of its own.
//
// Reference (shared by every language):
//   # comment
//   function name(args) -> result   a function's call form; result: type names joined by
//                                   "|", or @arg for the type of that argument
//   rule name                       examples of the statement or clause of that rule
//   example name                    a named example
// followed by examples: lines indented by four blanks, one example per run of such lines
// (an empty line separates two examples). Every example is one whole statement.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ruv::manual {

struct function_ref {
  std::string name;
  std::string args;    // as written between the parentheses
  std::string result;  // as written after "->"
  std::vector<std::string> examples;
  int line = 0;
};

struct example_ref {
  std::string owner;  // "function x", "rule x" or "example x"
  std::string text;
  int line = 0;
};

struct reference {
  std::vector<function_ref> functions;
  std::map<std::string, std::vector<std::string>> rules;  // rule name -> examples
  std::map<std::string, std::string> named;               // example name -> text
  std::vector<example_ref> all;                           // every example, in file order
  std::vector<std::string> errors;                        // malformed lines
  const function_ref* function(std::string_view name) const;
};

reference read_reference(std::string_view text);

// The dialect as the program's grammar and function registry define it.
class dialect {
 public:
  // The program's grammar; or another grammar text with the same native rules (tests see
  // what the generator makes of a grammar that has grown).
  dialect();
  explicit dialect(std::string grammar_text);
  ~dialect();
  dialect(const dialect&) = delete;
  dialect& operator=(const dialect&) = delete;

  bool ok() const;
  // Rule names in the grammar's order, and the number of one (-1 when none).
  const std::vector<std::string>& rule_names() const;
  int rule_number(std::string_view name) const;
  // The statements: the rules the start rule chooses among, through the rules that only
  // choose (sql -> ddl -> select ...), in the grammar's order.
  const std::vector<std::string>& statements() const { return statements_; }
  // The clauses: rules that begin with a keyword and that a statement or clause refers to
  // (into, where, join, order by ...), looked through rules that only choose.
  const std::vector<std::string>& clauses() const { return clauses_; }
  // The registered SQL functions, in the registry's order.
  const std::vector<std::string>& functions() const { return functions_; }
  // Rules served by native code (their written bodies are placeholders).
  bool is_native(std::string_view rule) const;

  // A rule's syntax with the blanks and comments between items left out: keywords and
  // punctuation as written, other rules by name, [optional], {repeated}, {at least once}+,
  // alternatives joined by " | ".
  std::string syntax_text(std::string_view rule) const;
  std::string syntax_html(std::string_view rule, std::string_view link_prefix) const;

  struct parse_outcome {
    bool complete = false;
    std::size_t end = 0;
    std::vector<std::string> rules;      // names of the rules with a node in the tree
    std::vector<std::string> functions;  // function names called
  };
  parse_outcome parse(std::string_view statement) const;

 private:
  struct impl;
  std::unique_ptr<impl> d_;
  std::vector<std::string> statements_, clauses_, functions_;
};

// The words the generator writes itself; every source defines each with @label.
extern const std::vector<std::string> label_keys;

struct heading {
  int level;  // 2 chapter, 3 section
  std::string text;
  std::string anchor;
};

struct document {
  struct entry {
    std::string kind;  // statement, clause or function
    std::string name;
    bool described = false;
    int line = 0;
  };
  std::string title;
  std::map<std::string, std::string> labels;
  std::string body_html;  // everything after the title
  std::vector<heading> headings;
  std::vector<entry> entries;
  std::vector<std::string> examples_used;  // names of @example
  std::vector<std::string> problems;       // of the source alone: see source_problems
};

// Reads a source and renders it.
document render(std::string_view source, const reference& ref, const dialect& d);

// What keeps the reference from serving the manual: a function or statement or clause
// without an example, an entry the program does not have, an example that does not parse
// whole or does not show what it documents (the function called, the rule used).
std::vector<std::string> reference_problems(const reference& ref, const dialect& d);

// What keeps one language's manual from being complete: a statement, clause or function
// without an entry (or with two, or without a description), an entry the program does not
// have, a label missing, a named example not shown, and the problems of the source itself
// (an unknown directive, an example name the reference lacks, a code block of its own).
std::vector<std::string> source_problems(const document& doc, const reference& ref, const dialect& d);

// Text escaped for HTML.
std::string html_escape(std::string_view text);

}  // namespace ruv::manual
