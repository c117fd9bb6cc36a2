#!/usr/bin/env python3
"""Writes the seed corpora of the text-input fuzz targets from the tests' own cases:
SQL statements of the grammar tests, grammar texts of the compiler tests (and the two
grammars the library ships), patterns and subjects of the regex table, texts of the
conversion tests. Run from the repository root: python3 fuzz/make_text_corpus.py"""
import codecs
import hashlib
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LIT = r'"((?:[^"\\\n]|\\.)*)"'


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        return f.read()


def c_bytes(lit):
    """The bytes of a C string literal's body."""
    return codecs.escape_decode(lit.encode("utf-8"))[0]


def raw_block(path):
    m = re.search(r'R"([^(\s]*)\((.*?)\)\1"', read(path), re.S)
    return m.group(2).encode("utf-8")


def write(target, seeds):
    d = os.path.join(ROOT, "fuzz", "corpus", target)
    os.makedirs(d, exist_ok=True)
    for name in os.listdir(d):
        os.remove(os.path.join(d, name))
    seen = set()
    for s in seeds:
        if s in seen:
            continue
        seen.add(s)
        with open(os.path.join(d, hashlib.sha1(s).hexdigest()[:16]), "wb") as f:
            f.write(s)
    print(f"{target}: {len(seen)} seeds")


# SQL: the corpus rows of the grammar test, each alone, and a few as one script.
sql_test = read("tests/grammar/sql_grammar_test.cpp")
statements = [c_bytes(m) for m in re.findall(r'^\s*\{' + LIT + r', (?:true|false), ', sql_test, re.M)]
statements += [c_bytes(m) for m in re.findall(r'parsed \w+\(' + LIT + r'\)', sql_test)]
scripts = [b"; ".join(statements[i:i + 4]) for i in range(0, len(statements), 4)]
write("sql_grammar", statements + scripts)

# EBNF: option byte, grammar text, a zero byte, subject.
comp_test = read("tests/grammar/compiler_test.cpp") + read("tests/grammar/matcher_test.cpp")
grammars = [c_bytes(m) for m in re.findall(r'\{' + LIT + r', \d+\}', comp_test)]
grammars += [c_bytes(m) for m in re.findall(r'built \w+\(' + LIT, comp_test)]
grammars += [c_bytes(m) for m in re.findall(r'parsed \w+\(' + LIT + r'\)', comp_test)]
ebnf = [b"\x00" + g + b"\x00" + b"xxy" for g in grammars]
ebnf.append(b"\x01" + raw_block("grammar/sql_grammar_text.cpp") + b"\x00" + statements[0])
ebnf.append(b"\x00" + raw_block("grammar/regex_grammar.cpp") + b"\x00" + b"(a|b)*c{2,3}[^x-z]")
# More rules than reference kinds can number.
ebnf.append(b"\x00" + b"".join(b"r%d='x';" % i for i in range(1030)) + b"\x00x")
write("ebnf_compiler", ebnf)

# Regex: pattern, a zero byte, subject.
rx_test = read("tests/grammar/test_regex.cpp")
rows = re.findall(r'\{' + LIT + r', ' + LIT + r', (?:true|false)\}', rx_test)
write("regex", [c_bytes(p) + b"\x00" + c_bytes(s) for p, s in rows])

# Conversions: option byte (bit 0: parse_text), the text.
conv_test = read("tests/value/convert_test.cpp")
texts = [c_bytes(m) for m in re.findall(r'v_str\(' + LIT + r'\)', conv_test)]
texts += [b"-9223372036854775808", b"18446744073709551615", b"0000-01-01", b"9999-12-31 23:59:59.999999999",
          b"23:59:59.5", b"1e-46", b"3.4028235e38", b"nan", b"-inf", b"0x1p3"]
write("convert", [b"\x01" + t for t in texts] + [b"\x00" + t for t in texts[:6]])

# Update analysis: the statements of its tests, and the grammar corpus above.
ua_test = read("tests/grammar/update_analysis_test.cpp")
updates = [c_bytes(m) for m in re.findall(LIT, ua_test) if len(m) > 3]
write("update_analysis", updates + statements)
