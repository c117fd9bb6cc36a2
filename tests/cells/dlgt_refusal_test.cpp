// Typed texts that parse but that the cell's Qt type cannot hold are refused, never
// turned into a value that would be written back wrong.
#include <QDateTime>
#include <QTest>
#include <QVariant>

#include <sys/mman.h>

#include <climits>
#include <cstring>

#include "cells/item_dlgt.h"

namespace {

kk::adt::text_view view(const char* s) { return {s, std::strlen(s)}; }

}  // namespace

class dlgt_refusal_test : public QObject {
    Q_OBJECT
private slots:
    // The calendar has a year 0; QDate has none (QDate(0, 1, 1) is invalid, and an invalid
    // date would reach the model as a valid QVariant).
    void year_zero_is_refused()
    {
        date_item_dlgt date;
        datetime_item_dlgt datetime;
        struct text_case {
            const char* label;
            QVariant got, want;  // want invalid: refused
        };
        const text_case cases[] = {
            {"date 0000-01-01", date.from_text(view("0000-01-01")), QVariant()},
            {"date 0000-02-29", date.from_text(view("0000-02-29")), QVariant()},
            {"date 0001-01-01", date.from_text(view("0001-01-01")), QVariant(QDate(1, 1, 1))},
            {"datetime 0000-12-31", datetime.from_text(view("0000-12-31 23:59:59")), QVariant()},
            {"datetime 0001-01-01", datetime.from_text(view("0001-01-01 00:00:00.001")),
             QVariant(QDateTime(QDate(1, 1, 1), QTime(0, 0, 0, 1), Qt::LocalTime))},
        };
        for (const auto& c : cases) {
            QVERIFY2(c.got.isValid() == c.want.isValid(), c.label);
            if (c.want.isValid()) QVERIFY2(c.got == c.want, c.label);
        }
    }

    // A QString holds at most INT_MAX characters: a longer text is refused instead of
    // having its length cut to an int (2^32 + 3 bytes read as 3, 2^31 + 3 as a negative
    // length, which QString takes as "up to the first NUL").
    void string_longer_than_a_qstring_is_refused()
    {
        const std::size_t span = (std::size_t(1) << 32) + 16;
        void* mem = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (mem == MAP_FAILED) QSKIP("no room for a 4 GiB mapping");
        char* p = static_cast<char*>(mem);
        std::memcpy(p, "abc", 3);  // the untouched pages read as NUL bytes
        string_item_dlgt str;
        const QVariant wraps = str.from_text({p, (kk::u64(1) << 32) + 3});
        const QVariant negative = str.from_text({p, (kk::u64(1) << 31) + 3});
        const QVariant fits = str.from_text({p, 3});
        munmap(mem, span);
        QVERIFY2(!wraps.isValid(), qPrintable(wraps.toString()));
        QVERIFY2(!negative.isValid(), qPrintable(negative.toString()));
        QCOMPARE(fits, QVariant(QString("abc")));
    }
};

QTEST_MAIN(dlgt_refusal_test)
#include "dlgt_refusal_test.moc"
