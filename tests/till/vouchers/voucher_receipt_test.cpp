// The voucher texts as the till reads them: receipt lines and their tags, distributor replies,
// amounts in cents, and the till's request references.
#include "prepaid_ref.h"
#include "voucher_receipt.h"

#include "clock.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(VoucherTextLines, EveryLineKeepsItsFirstCharacter) {
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"Kods:\n1234567890123\nPaldies", {"Kods:", "1234567890123", "Paldies"}},
        {"Kods:\r\n1234567890123\r\n", {"Kods:", "1234567890123"}},
        {"a\rb\n\nc", {"a", "b", "", "c"}},
        {"viena rinda", {"viena rinda"}},
        {"\n", {""}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(VoucherTextLines(c.text), c.lines) << c.text.toStdString();
}

TEST(VoucherReceiptLine, TagsAreReadInsideTheirBounds) {
    using K = VoucherPrintItem::Kind;
    struct Case {
        QString line;
        K kind;
        QString text;
    };
    const Case cases[] = {
        {"<img src=\"zudezo\">", K::Logo, "zudezo"},
        {"  <img src=\"logo2\"/>  ", K::Logo, "logo2"},
        {"<img src=x>", K::Logo, "x"},
        {"img src=", K::Logo, ""},
        {"<img src=\"bez beigām", K::Logo, "bez beigām"},
        {"<barcode digits=\"4750000000017\">", K::Barcode, "4750000000017"},
        {"<barcode digits=\"12345\"/>", K::Barcode, "12345"},
        {"<barcode digits=\"47500000000171234\">", K::Barcode, "4750000000017"},
        {"barcode digits=", K::Barcode, ""},
        {"Kods = 12 > 11", K::Text, "Kods = 12 > 11"},
    };
    for (const Case& c : cases) {
        const VoucherPrintItem item = ReadVoucherReceiptLine(c.line);
        EXPECT_EQ(item.kind, c.kind) << c.line.toStdString();
        EXPECT_EQ(item.text, c.text) << c.line.toStdString();
    }
}

TEST(VoucherCents, RoundsToWholeCents) {
    struct Case {
        double cena, atlaide;
        long long cents;
    };
    const Case cases[] = {{0.29, 0, 29}, {5.00, 0, 500}, {0.57, 0, 57}, {10.00, 10, 900}, {1.15, 0, 115}, {2.00, 15, 170}};
    for (const Case& c : cases) EXPECT_EQ(VoucherCents(c.cena, c.atlaide), c.cents) << c.cena << " " << c.atlaide;
}

TEST(DistributorErrorText, TakesWhatFollowsTheErrorMark) {
    EXPECT_EQ(DistributorErrorText("ER,Nav naudas"), "Nav naudas");
    EXPECT_EQ(DistributorErrorText("xxER,Kods 7"), "Kods 7");
    EXPECT_EQ(DistributorErrorText("OK"), "");
    EXPECT_EQ(DistributorErrorText("NOpe"), "pe");
}

TEST(GetPrepaidRef, CountsFromTheDateSerialAndNeverRepeats) {
    using namespace std::chrono;
    // Local noon on 1 January 2014: the serial 41640.5.
    std::tm noon{};
    noon.tm_year = 114;
    noon.tm_mon = 0;
    noon.tm_mday = 1;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    platform::ManualClock clock(system_clock::from_time_t(std::mktime(&noon)));
    platform::setClock(&clock);
    // Another test may have handed out later numbers in this run already.
    const QString first = GetPrepaidRef();
    if (first.toLongLong() < 41640500000LL + 1000) {
        EXPECT_EQ(first, "41640500000");
    }
    std::set<QString> seen{first};
    for (int i = 0; i < 5; ++i) {
        clock.advance(milliseconds(20));  // several requests within one 86.4 ms step
        const QString next = GetPrepaidRef();
        EXPECT_TRUE(seen.insert(next).second) << next.toStdString();
    }
    clock.advance(hours(-1));  // the clock set back
    EXPECT_TRUE(seen.insert(GetPrepaidRef()).second);
    platform::setClock(nullptr);
}

}  // namespace
