// The execution context: log entries, the log pane and its cut, statements on the wire.
#include <QLocale>
#include <QRegularExpression>
#include <QTextEdit>

#include <QApplication>

#include <atomic>
#include <clocale>

#include "query/db_ctx.h"
#include "tests/peer/peer_wire.h"
#include "tests/query/query_support.h"
#include "tests/support/scripted_prompt.h"

using namespace query_test;

namespace {

const QDateTime stamp(QDate(2026, 12, 10), QTime(4, 5, 6, 78));

struct entry_case {
  std::string sql;
  bool ok;
  long long ns;
  const char* pattern;  // the whole entry
};

TEST(log_entry, pieces_in_order_escaped_and_with_six_decimals) {
  const std::string long_sql = "select \"" + std::string(4087, 'a') + "\xC3\xA9" + "tail\";";  // é straddles byte 4096
  const entry_case cases[] = {
      {"show tables;", true, 1234500,
       "^2026-12-10 04:05:06\\.078 execute sql:<div style='color:#52a6c4'>    show tables;</div><br>    result: "
       "<span style='color:green'>successful</span> , use time: <b>1234\\.500000</b> us\\.<br>$"},
      {"select * from t where a < 1 && b > \"x\";", false, 7,
       "^2026-12-10 04:05:06\\.078 execute sql:<div style='color:#52a6c4'>    select \\* from t where a &lt; 1 "
       "&amp;&amp; b &gt; &quot;x&quot;;</div><br>    result: <span style='color:red'>failed    </span> , use "
       "time: <b>0\\.007000</b> us\\.<br>$"},
      {"", true, 0, "<div style='color:#52a6c4'>    </div>.*<b>0\\.000000</b>"},
      {std::string(4096, 'q'), true, 999, "    q{4096}</div>.*<b>0\\.999000</b>"},
      {long_sql, true, 1000000000123, "    select &quot;a{4087}\\.\\.\\. \\(4103 bytes in all\\)</div>.*<b>1000000000\\.123000</b>"},
  };
  for (const auto& c : cases) {
    const auto e = log_entry(stamp, {c.sql.data(), c.sql.size()}, c.ok, c.ns);
    const QString text = QString::fromUtf8(e.data, int(e.size));
    EXPECT_TRUE(QRegularExpression(c.pattern).match(text).hasMatch()) << c.pattern << "\n" << text.toStdString();
  }
}

TEST(log_entry, a_cut_statement_gives_its_whole_length_readably) {
  // Only the first log_statement_max bytes (and the one after them) are read.
  const std::string head(log_statement_max + 1, 'x');
  const struct {
    kk::u64 size;
    const char* shown;
  } cases[] = {
      {log_statement_max + 1, "... (4097 bytes in all)"},
      {10239, "... (10239 bytes in all)"},
      {10240, "... (10.0 KiB in all)"},
      {(1u << 20) - 1, "... (1023.9 KiB in all)"},
      {50331677, "... (48.0 MiB in all)"},
      {(kk::u64(5) << 30) + (kk::u64(1) << 29), "... (5.5 GiB in all)"},
      {kk::u64(4096) << 30, "... (4096.0 GiB in all)"},
  };
  for (const auto& c : cases) {
    const std::string e = std_of(log_entry(stamp, {head.data(), c.size}, true, 1));
    EXPECT_NE(e.find(std::string(log_statement_max, 'x') + c.shown + "</div>"), std::string::npos) << c.size << "\n" << e.substr(4000, 200);
  }
}

TEST(log_entry, no_locale_changes_the_stamp_or_the_figure) {
  const QLocale keep;
  QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
  const char* c_locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
  const auto e = log_entry(stamp, {"x", 1}, true, 1500);
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(keep);
  const std::string s = std_of(e);
  EXPECT_EQ(s.substr(0, 23), "2026-12-10 04:05:06.078");
  EXPECT_NE(s.find("<b>1.500000</b>"), std::string::npos) << s << (c_locale ? "" : " (no German locale here)");
}

TEST(exec_logged, sends_the_bytes_and_logs_the_outcome_on_top) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({})));
  srv.peer.push_reply(peer::send(peer::fail_reply()));
  ruv::test::fixed_clock clock(stamp);
  QTextEdit pane;
  db_ctx ctx(str("ruv_mdb"), &pane);

  kk::adt::string::string entry;
  datas* ok = exec_logged(&ctx, str("select <b>1</b>;"), entry, false);
  ASSERT_NE(ok, nullptr);
  del_datas(ok);
  EXPECT_NE(std_of(entry).find("select &lt;b&gt;1&lt;/b&gt;;"), std::string::npos);
  EXPECT_TRUE(pane.toHtml().contains("successful"));
  EXPECT_TRUE(pane.toPlainText().contains("select <b>1</b>;"));

  EXPECT_EQ(exec_logged(&ctx, str("drop table t;"), entry, false), nullptr);
  EXPECT_NE(std_of(entry).find("failed    </span>"), std::string::npos);
  const QString plain = pane.toPlainText();
  EXPECT_LT(plain.indexOf("drop table t;"), plain.indexOf("select <b>1</b>;")) << "newest first";

  EXPECT_EQ(srv.statements(), (std::vector<std::string>{"select <b>1</b>;", "drop table t;"}));
  EXPECT_EQ(ctx.name().size, 7u);
}

TEST(exec_logged, the_wait_cursor_shows_while_the_server_works) {
  server srv;
  std::atomic<int> shown{-1};
  // The GUI thread is blocked in the call while the server answers: reading its cursor
  // state from the server's thread races with nothing.
  srv.peer.set_handler([&](std::string_view) {
    shown = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    return peer::send(peer::ok_reply({}));
  });
  db_ctx ctx(str("db"), nullptr);
  kk::adt::string::string entry;
  del_datas(exec_logged(&ctx, str("show tables;"), entry, true));
  EXPECT_EQ(shown.load(), 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(exec_logged, quiet_leaves_the_pane_alone_but_fills_the_entry) {
  server srv;
  srv.peer.push_reply(peer::send(peer::ok_reply({})));
  QTextEdit pane;
  pane.setHtml("<p>before</p>");
  const QString before = pane.toHtml();
  db_ctx ctx(&pane, str("ruv_mdb"));
  kk::adt::string::string entry;
  del_datas(exec_logged(&ctx, str("show tables;"), entry, true));
  EXPECT_EQ(pane.toHtml(), before);
  EXPECT_NE(std_of(entry).find("show tables;</div><br>    result: <span style='color:green'>"), std::string::npos);
}

// A pane whose HTML is exactly n characters long: one paragraph of x, grown or shrunk to fit.
void fill_pane_to(QTextEdit& pane, int n) {
  pane.setPlainText(QString(1000, 'x'));
  const int overhead = pane.toHtml().size() - 1000;
  pane.setPlainText(QString(n - overhead, 'x'));
  ASSERT_EQ(pane.toHtml().size(), n);
}

TEST(log_prepend, cuts_to_the_first_eighth_only_past_the_limit) {
  for (int size : {log_limit, log_limit + 1}) {
    QTextEdit pane;
    db_ctx ctx(str("db"), &pane);
    fill_pane_to(pane, size);
    const QString cut_html = pane.toHtml().left(size / 8);
    const int xs_before = pane.toPlainText().count('x');
    log_prepend(&ctx, str("<p>newest</p>"));
    const QString plain = pane.toPlainText();
    EXPECT_TRUE(plain.startsWith("newest")) << size;
    const int xs = plain.count('x');
    if (size == log_limit) {
      EXPECT_EQ(xs, xs_before) << "nothing cut at exactly the limit";
    } else {
      QTextEdit expected;
      expected.setHtml(cut_html);
      EXPECT_EQ(xs, expected.toPlainText().count('x'));
      EXPECT_LT(xs, log_limit / 8);
    }
  }
}

TEST(log_prepend, many_entries_at_once_keep_their_order) {
  QTextEdit pane;
  db_ctx ctx(str("db"), &pane);
  log_prepend(&ctx, str("<p>old</p>"));
  log_prepend(&ctx, str("<p>first</p><p>second</p>"));
  EXPECT_TRUE(pane.toPlainText().startsWith("first\nsecond\nold")) << pane.toPlainText().toStdString();
}

TEST(db_ctx_close, logs_out) {
  server srv;
  db_ctx ctx(str("ruv_mdb"), nullptr);
  db_ctx_close(&ctx);
  ASSERT_TRUE(srv.peer.wait_frames(2));
  EXPECT_EQ(srv.peer.frames().back(), peer::logout_frame());
  EXPECT_EQ(ctx.name().size, 0u);
}

}  // namespace
