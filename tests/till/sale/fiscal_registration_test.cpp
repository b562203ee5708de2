// Fiscal registration: the day counters a receipt changes, in their fixed-width cents texts, and
// the module's transaction around them.
#include "closing_fixture.h"
#include "fiscal_registration.h"

#include <map>

namespace {

// Day counters held in memory, for the counter arithmetic.
struct Counters {
    std::map<QString, QString> records{{"NOD_D_SUM", DaySums({21, 12, 5, 0, 21, -1, 9})}};

    std::map<QString, QString> after(const ClosingReceipt& receipt, int fmKind = TFMProc::MemorixModule,
                                     int prepaidNodala = 7) {
        ClosingSettings settings;
        settings.PrepaidNodala = prepaidNodala;
        const std::function<std::optional<QString>(const QString&)> read = [this](const QString& name) {
            auto it = records.find(name);
            return std::optional<QString>(it == records.end() ? QString() : it->second);
        };
        const auto changed = DayCounterRecords(receipt, settings, fmKind, read);
        EXPECT_TRUE(changed && changed->full.isEmpty());
        std::map<QString, QString> out;
        for (const CounterRecord& record : changed->records) out[record.name] = record.text;
        return out;
    }
};

// Entry d of a NOD_D_SUM text.
QString Entry(const QString& daySums, int d) { return daySums.mid((d - 1) * 10, 10); }

ClosingReceipt Receipt(const std::vector<TCekaRinda>& lines, const std::vector<std::pair<int, double>>& payments,
                       bool isReturn = false) {
    static std::vector<TCekaRinda> kept;
    kept = lines;
    ClosingReceipt receipt;
    receipt.lines = kept;
    receipt.payments = Payments(payments);
    receipt.isReturn = isReturn;
    for (const TCekaRinda& line : lines) receipt.CekaSumma += RindasSumma(line);
    return receipt;
}

TEST(DayCounters, SaleAddsToItsDepartment) {
    Counters c;
    const auto out = c.after(Receipt({Line("A", 1.99, 3, 5)}, {{0, 5.97}}));
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 5), "21     597");
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 4), " 0       0");
    EXPECT_EQ(out.at("NOD_D_SUM").size(), 240);
    EXPECT_EQ(out.size(), 1u);  // cash: no payment counter, no discount
}

TEST(DayCounters, DiscountOnSaleAndReturn) {
    Counters c;
    auto out = c.after(Receipt({Line("A", 1.25, 2, 2, 10)}, {{0, 2.25}}));
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 2), "12     225");
    EXPECT_EQ(out.at("DIENAS_ATL"), "           25");

    c.records = out;
    out = c.after(Receipt({Line("A", 1.25, 2, 2, 10)}, {{0, -2.25}}, true));
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 2), "12       0");
    EXPECT_EQ(out.at("DIENAS_ATL"), "            0");
    EXPECT_EQ(out.at("STORNO_SUM"), "-225     ");
}

TEST(DayCounters, ReturnWithPackagingChangesNoDepartment) {
    Counters c;
    TCekaRinda bottle = Line("TARA", 0.10, 5, 3);
    bottle.Tara = true;
    const auto out = c.after(Receipt({Line("A", 2.00, 1, 3), bottle}, {{0, -2.50}}, true));
    EXPECT_EQ(out.at("NOD_D_SUM"), c.records.at("NOD_D_SUM"));
    EXPECT_EQ(out.count("STORNO_SUM"), 0u);
    EXPECT_EQ(out.at("ATGRTARA"), "   1      50");
}

TEST(DayCounters, DepartmentSlots) {
    Counters c;
    const auto out = c.after(Receipt({Line("A", 1.00, 1, 45), Line("B", 2.00, 1, 75), Line("C", 4.00, 1, 0)}, {{0, 7}}));
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 1), "21     100");  // 45 counts in slot 1
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 7), " 9     200");  // 75 in the voucher slot
    // Department 0 is in no slot.
    QString sum;
    for (int d = 1; d <= 24; ++d) sum += Entry(out.at("NOD_D_SUM"), d).mid(2).trimmed() + " ";
    EXPECT_EQ(sum.count("400"), 0);
}

TEST(DayCounters, VoidedLineIsACorrection) {
    Counters c;
    c.records["KOREKCIJA"] = "   2     -50";
    const auto out = c.after(Receipt({Line("A", 1.99, 2, 1), Line("A", 1.99, -1, 1)}, {{0, 1.99}}));
    EXPECT_EQ(Entry(out.at("NOD_D_SUM"), 1), "21     199");
    EXPECT_EQ(out.at("KOREKCIJA"), "   3    -249");
}

TEST(DayCounters, EveryNonCashRowReachesItsCounter) {
    Counters c;
    c.records["BANKA_SUM"] = "     100";
    // The first two rows are cash: the card and kind 3 after them still count.
    const auto out = c.after(Receipt({Line("A", 20.00, 1, 1)}, {{0, 5}, {0, 5}, {1, 6}, {3, 4}}));
    EXPECT_EQ(out.at("BANKA_SUM"), "     700");
    EXPECT_EQ(out.at("APM_SUM2"), "     400");
}

TEST(DayCounters, CardOnReturnAndFurtherKinds) {
    Counters c;
    c.records["BANKA_ATGR"] = "    1000";
    const auto ret = c.after(Receipt({Line("A", 3.00, 1, 1)}, {{1, -3.00}}, true));
    EXPECT_EQ(ret.at("BANKA_ATGR"), "     700");
    EXPECT_EQ(ret.at("STORNO_SUM"), "-300     ");
    EXPECT_EQ(ret.count("BANKA_SUM"), 0u);

    const auto module = c.after(Receipt({Line("A", 3.00, 1, 1)}, {{12, 3.00}}));
    EXPECT_EQ(module.at("APM_SUM10"), "     300");
    const auto usb = c.after(Receipt({Line("A", 3.00, 1, 1)}, {{12, 3.00}}), TFMProc::UsbDevice);
    EXPECT_EQ(usb.at("APM_SUM11"), "     300");
    const auto two = c.after(Receipt({Line("A", 3.00, 1, 1)}, {{2, 1.00}, {2, 2.00}}));
    EXPECT_EQ(two.at("APM_SUM1"), "     300");
}

TEST(DayCounters, CurrencyPaymentInItsEntry) {
    Counters c;
    QString currencies = "EUR       0USD     150";
    c.records["VALUT_D_S"] = currencies;
    ClosingReceipt receipt = Receipt({Line("A", 16.00, 1, 1)}, {{0, 16.00}});
    receipt.ApmValuta = "USD";
    receipt.valutasKurss = 0.8;
    receipt.Sanemts = 16.00;
    const auto out = c.after(receipt);
    EXPECT_EQ(out.at("VALUT_D_S").left(22), "EUR       0USD    2150");
    EXPECT_EQ(out.at("VALUT_D_S").size(), 330);

    receipt.ApmValuta = "GBP";  // no entry holds it: nothing counted, nothing added
    EXPECT_EQ(c.after(receipt).at("VALUT_D_S").trimmed(), currencies);
}

// A field that the receipt's amount would make longer than its width names its record, whatever
// the counter; one cent less still fits.
TEST(DayCounters, AnAmountThatWouldOverflowAFieldNamesItsRecord) {
    struct Case {
        const char* name;
        QString record, full, fits;  // the record, its text when the receipt overflows it, one cent less
        std::vector<TCekaRinda> lines;
        int kind;  // of the one payment row
        bool isReturn = false;
    };
    const QString daySums = DaySums({21, 12, 5, 0, 21, -1, 9});
    const auto withEntry5 = [&](const char* sum) { return QString(daySums).replace(40, 10, QString("21") + sum); };
    const Case cases[] = {
        {"department sum", "NOD_D_SUM", withEntry5("99999900"), withEntry5("99999899"), {Line("A", 1.00, 1, 5)}, 0},
        {"department sum below zero", "NOD_D_SUM", withEntry5("-9999900"), withEntry5("-9999899"),
         {Line("A", 1.00, 1, 5)}, 0, true},
        {"payment kind", "APM_SUM3", "99999900", "99999899", {Line("A", 1.00, 1, 1)}, 4},
        {"bank card", "BANKA_SUM", "99999900", "99999899", {Line("A", 1.00, 1, 1)}, 1},
        {"correction count", "KOREKCIJA", "9999       0", "9998       0",
         {Line("A", 2.00, 1, 1), Line("A", 1.00, -1, 1)}, 0},
        {"returns", "STORNO_SUM", "-99999999", "-99999899", {Line("A", 1.00, 1, 1)}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClosingReceipt receipt;
        receipt.lines = c.lines;
        receipt.isReturn = c.isReturn;
        receipt.payments = Payments({{c.kind, c.isReturn ? -1.00 : 1.00}});
        for (const QString* text : {&c.full, &c.fits}) {
            std::map<QString, QString> records{{"NOD_D_SUM", daySums}};
            records[c.record] = *text;
            const std::function<std::optional<QString>(const QString&)> read = [&](const QString& name) {
                auto it = records.find(name);
                return std::optional<QString>(it == records.end() ? QString() : it->second);
            };
            const auto change = DayCounterRecords(receipt, {}, TFMProc::MemorixModule, read);
            ASSERT_TRUE(change);
            EXPECT_EQ(change->full, text == &c.full ? c.record : QString());
        }
    }
}

// Against the module: the counters go in one transaction.
TEST_F(ClosingTest, RegisteredCountersInTheModule) {
    static const std::vector<TCekaRinda> lines{Line("A", 12.10, 1, 5), Line("B", 1.00, 2, 2, 50)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    receipt.payments = Payments({{0, 10.00}, {1, 3.10}});
    receipt.CekaSumma = 13.10;
    receipt.Sanemts = 13.10;
    ASSERT_EQ(PutInFM(receipt, {}, *fm, window), kPutInFMRegistered);
    EXPECT_EQ(Entry(record("NOD_D_SUM"), 5), "21    1210");
    EXPECT_EQ(Entry(record("NOD_D_SUM"), 2), "12     100");
    EXPECT_EQ(record("BANKA_SUM"), "     310 ");
    EXPECT_EQ(record("DIENAS_ATL"), "          100");
    EXPECT_EQ(window.annulled, 0);
    int open = -1;
    ASSERT_EQ(HT_Get_TransactionInProgress(&open), 0);
    EXPECT_EQ(open, 0);
}

TEST_F(ClosingTest, NoLines) {
    EXPECT_EQ(PutInFM({}, {}, *fm, window), kPutInFMNoLines);
    EXPECT_TRUE(messages().shown(kPutInFMNoLinesMessage));
    EXPECT_EQ(window.annulled, 0);
}

// A write that fails after NOD_D_SUM was written leaves every counter as it was.
TEST_F(ClosingTest, FailedWriteRollsEveryCounterBack) {
    ASSERT_EQ(HT_Delete("APM_SUM2"), 0);
    int freeBytes = 0;
    ASSERT_EQ(HT_Get_FreeData(&freeBytes), 0);
    int index = -1;
    ASSERT_EQ(HT_Create("FILLER", &index, freeBytes - 32), 0);
    int tiny = -1;
    ASSERT_NE(HT_Create("APM_SUM2", &tiny, 13), 0) << "the store should be full";

    const QString before = record("NOD_D_SUM");
    static const std::vector<TCekaRinda> lines{Line("A", 5.00, 1, 1)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    receipt.payments = Payments({{3, 5.00}});
    receipt.CekaSumma = receipt.Sanemts = 5.00;
    messages().clear();
    EXPECT_EQ(PutInFM(receipt, {}, *fm, window), kPutInFMFailure);
    EXPECT_EQ(window.annulled, 1);
    EXPECT_EQ(record("NOD_D_SUM"), before);
    int open = -1;
    ASSERT_EQ(HT_Get_TransactionInProgress(&open), 0);
    EXPECT_EQ(open, 0);
}

// An amount that would not fit the card counter's field: said, nothing written, the receipt kept.
TEST_F(ClosingTest, ACounterThatWouldOverflowIsRefusedBeforeAnythingIsWritten) {
    ASSERT_TRUE(fm->FMWrite("BANKA_SUM", "99999900"));
    const QString departments = record("NOD_D_SUM");
    static const std::vector<TCekaRinda> lines{Line("A", 1.00, 1, 1)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    receipt.payments = Payments({{1, 1.00}});
    receipt.CekaSumma = receipt.Sanemts = 1.00;
    EXPECT_EQ(PutInFM(receipt, {}, *fm, window), kPutInFMCounterFull);
    EXPECT_EQ(window.pazinojumi, QStringList{kCounterFullMessage});
    EXPECT_EQ(window.annulled, 0);
    EXPECT_EQ(record("BANKA_SUM").trimmed(), "99999900");
    EXPECT_EQ(record("NOD_D_SUM"), departments);
}

TEST_F(ClosingTest, UnreadableCounterAnnulsAndWritesNothing) {
    static const std::vector<TCekaRinda> lines{Line("A", 5.00, 1, 1)};
    ClosingReceipt receipt;
    receipt.lines = lines;
    receipt.payments = Payments({{0, 5.00}});
    module->faults().arm("silent", 1000);
    EXPECT_EQ(PutInFM(receipt, {}, *fm, window), kPutInFMFailure);
    EXPECT_EQ(window.annulled, 1);
}

}  // namespace
