#pragma once
// A deterministic script of mixed statements in the SQL dialect, with comments between and
// inside statements, for the grammar benchmark.
#include <cstdint>
#include <random>
#include <string>

namespace ruv_bench {

class script_gen {
 public:
  explicit script_gen(std::uint32_t seed) : rng_(seed) {}

  // Statements until the text reaches `bytes`; each statement ends with ";" and a newline.
  std::string script(std::size_t bytes) {
    std::string s;
    s.reserve(bytes + 512);
    while (s.size() < bytes) statement(s);
    return s;
  }

 private:
  std::mt19937 rng_;

  std::uint32_t pick(std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_); }

  std::string name() {
    static const char* const words[] = {"id", "name", "price", "qty", "created_at", "region", "total",
                                        "user_id", "score", "flag", "t_orders", "customers", "items"};
    std::string w = words[pick(13)];
    if (pick(3) == 0) w += std::to_string(pick(100));
    return w;
  }
  std::string number() {
    switch (pick(4)) {
      case 0: return std::to_string(pick(1000000));
      case 1: return std::to_string(pick(1000)) + "." + std::to_string(pick(100));
      case 2: return "0x" + std::to_string(pick(9000) + 1000);
      default: return "-" + std::to_string(pick(500));
    }
  }
  std::string value() {
    switch (pick(3)) {
      case 0: return "\"text " + std::to_string(pick(10000)) + "\"";
      case 1: return number();
      default: return name();
    }
  }
  std::string condition() {
    static const char* const ops[] = {"==", "!=", ">=", "<=", ">", "<"};
    std::string c = name() + " " + ops[pick(6)] + " " + value();
    if (pick(2)) c += (pick(2) ? " && " : " || ") + name() + " == " + number();
    return c;
  }
  void comment(std::string& s) {
    switch (pick(3)) {
      case 0: s += "# load step " + std::to_string(pick(1000)) + ": refresh the summary table\n"; break;
      case 1: s += "// checked by the nightly job, keep the column order\n"; break;
      default: s += "/* generated block " + std::to_string(pick(1000)) + " */\n"; break;
    }
  }
  void statement(std::string& s) {
    if (pick(3) == 0) comment(s);
    switch (pick(6)) {
      case 0:
        s += "select " + name() + ", " + name() + ", sum(" + name() + ") as " + name() + " from " + name() +
             " where " + condition();
        if (pick(2)) s += " order by " + name() + (pick(2) ? " asc" : " desc");
        break;
      case 1: {
        s += "insert into " + name() + " (" + name() + ", " + name() + ", " + name() + ") values";
        const std::uint32_t rows = 1 + pick(4);
        for (std::uint32_t i = 0; i < rows; ++i)
          s += std::string(i ? "," : "") + " (" + value() + ", " + number() + ", " + value() + ")";
        break;
      }
      case 2:
        s += "update " + name() + " set " + name() + " = " + name() + " + " + number() + ", " + name() +
             " = " + value() + " where " + condition();
        break;
      case 3:
        s += "delete from " + name() + " where " + condition();
        break;
      case 4:
        s += "select * from " + name() + " /* recent */ where " + name() + " in (" + number() + ", " +
             number() + ", " + number() + ") group count(" + name() + ") by " + name();
        break;
      default:
        s += "create table " + name() + " (" + name() + " i64(true), " + name() + " string(), " + name() +
             " double(), " + name() + " datetime())";
        break;
    }
    s += ";\n";
  }
};

}  // namespace ruv_bench
