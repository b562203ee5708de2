// The report forms over a real till database seeded with sales, returns, an annulled receipt,
// typed-price lines and Z rows; the parameter dialog's filters; the receipt summary and its CSV.
#include "receipt_summary.h"
#include "report_forms.h"
#include "test_database.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::report::Band;
using platform::report::Report;

namespace {

struct JournalRow {
    QDate date;
    QString time;
    int receipt;
    QString article;
    double price, quantity, discount;
    int department;
    // Empty texts, as the till stores them (not NULL).
    QString customer = QStringLiteral(""), customerName = QStringLiteral(""), notes = QStringLiteral(""),
            annulled = QStringLiteral("F");
    int kind = 1;  // APM_VEIDS: the kind's number plus one
    QString cashier = QStringLiteral("anna");
};

const QDate kDay1(2026, 3, 2), kDay2(2026, 3, 3), kDay3(2026, 3, 4);

class ReportFormsTest : public testsupport::DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        for (const auto& [nr, name, rate] : std::vector<std::tuple<int, QString, double>>{
                 {1, "PVN 21%", 21}, {2, "Virtuve", 10}, {3, "Bez PVN", -1}})
            exec("INSERT INTO N_NODALAS (NODALA_NR, GNOS, NODOKLIS) VALUES (:N, :G, :R)", {{":N", nr}, {":G", name}, {":R", rate}});
        for (const auto& [article, name, price, dept] : std::vector<std::tuple<QString, QString, double, int>>{
                 {"100", "Maize", 1.00, 1}, {"200", "Zupa", 3.00, 2}, {"300", "Avīze", 2.00, 3}})
            exec("INSERT INTO N_PRECE (ARTIKULS, GNOS, CENA, NODALA) VALUES (:A, :G, :C, :N)",
                 {{":A", article}, {":G", name}, {":C", price}, {":N", dept}});
        for (const auto& [code, name] : std::vector<std::pair<QString, QString>>{{"K1", "SIA Alfa"}, {"O'B", "O'Brien"}})
            exec("INSERT INTO N_KLIENTI (KODS, GNOS) VALUES (:K, :G)", {{":K", code}, {":G", name}});
        kinds.add(0, "0-Skaidra nauda");
        kinds.add(1, "1-Bankas karte");
        kinds.add(3, "3-Dāvanu karte");
    }

    void add(const JournalRow& r)
    {
        exec("INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, KL_NOSAUKUMS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, "
             "ATLAIDE, APM_VEIDS, KASIERIS, PIEZIMES, ANULETS) VALUES (:NR, :D, :T, :KK, :KN, :A, :C, :N, :Q, :AT, :AV, "
             ":KA, :P, :AN)",
             {{":NR", r.receipt}, {":D", r.date}, {":T", r.time}, {":KK", r.customer}, {":KN", r.customerName},
              {":A", r.article}, {":C", r.price}, {":N", r.department}, {":Q", r.quantity}, {":AT", r.discount},
              {":AV", r.kind}, {":KA", r.cashier}, {":P", r.notes}, {":AN", r.annulled}});
    }

    void addZ(const QDate& date, int number, const QString& totals)
    {
        exec("INSERT INTO REALIZ (DATUMS, LAIKS, PIEZIMES, FREEKOMENT) VALUES (:D, '23:00:00', :P, :F)",
             {{":D", date}, {":P", QString("Z=%1").arg(number)}, {":F", totals}});
    }

    // A journal of three days: sales of three departments, a return, an annulled receipt, a typed
    // price line (article not in N_PRECE), a line of a department N_NODALAS does not know.
    void seedJournal()
    {
        add({kDay1, "07:59:10", 1, "100", 1.00, 3, 0, 1, "K1", "", "", "F", 1});
        add({kDay1, "07:59:10", 1, "200", 3.00, 1, 10, 2, "K1", "", "", "F", 1});
        add({kDay1, "22:10:00", 2, "300", 2.00, 1, 0, 3, "", "", "", "F", 2});
        add({kDay2, "12:00:40", 3, "999", 4.40, 1, 0, 1, "X9", "Vecais klients", "BR.CENA", "F", 4});
        add({kDay2, "23:50:00", 4, "100", 1.00, -2, 0, 1, "O'B", "", "", "F", 1});
        add({kDay2, "23:59:30", 5, "200", 3.00, 1, 0, 7, "", "", "", "F", 2});
        add({kDay3, "09:00:00", 6, "100", 1.00, 50, 0, 1, "K1", "", "", "T", 1});
    }

    double journalSum()
    {
        return value("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) FROM REALIZ WHERE DAUDZUMS IS NOT NULL "
                     "AND ANULETS!='T' AND ANULETS IS NOT NULL")
            .toDouble();
    }

    ReportRequest period(const QDate& from = kDay1, const QDate& to = kDay3)
    {
        ReportRequest request;
        request.from = from;
        request.to = to;
        request.title = "TEST";
        request.kinds = kinds;
        return request;
    }

    static std::vector<Band> bands(const Report& report, Band::Kind kind)
    {
        std::vector<Band> found;
        for (const Band& band : platform::report::layoutBands(report))
            if (band.kind == kind) found.push_back(band);
        return found;
    }

    PaymentKindList kinds;
};

// ---------------------------------------------------------------- filters of the parameter dialog

TEST(ReportFilterTest, SelectionsBecomeConditionsAndDescriptions)
{
    const std::vector<SelectionEntry> five{{"A", "Alfa "}, {"B", "Beta"}, {"C", "Cēsis"}, {"D", "Dzelme"}, {"E", "Ezers"}};
    const std::vector<SelectionEntry> four(five.begin(), five.begin() + 4);
    const std::vector<SelectionEntry> one{{"Q'1", "Kvote"}};
    struct Case {
        const char* name;
        std::vector<SelectionEntry> list;
        std::vector<int> chosen;
        QString condition, description;
        QStringList keys;
    };
    const std::vector<Case> cases{
        {"none", five, {}, "", "", {}},
        {"all 5", five, {0, 1, 2, 3, 4}, "", kAllSelected, {}},
        {"3 of 4", four, {0, 2, 3}, " R.KL_KODS NOT IN(:KL0) ", "Nav :,Beta", {"B"}},
        {"2 of 4", four, {3, 1}, " R.KL_KODS IN(:KL0,:KL1) ", "Dzelme,Beta", {"D", "B"}},
        {"1 of 4", four, {2}, " R.KL_KODS=:KL0 ", "Cēsis", {"C"}},
        {"1 of 1", one, {0}, "", kAllSelected, {}},
        {"quote in the key", five, {0}, " R.KL_KODS=:KL0 ", "Alfa", {"A"}},
    };
    for (const Case& c : cases) {
        const ReportFilter filter = BuildSelectionFilter(c.list, c.chosen);
        EXPECT_EQ(filter.condition("R.KL_KODS", "KL"), c.condition) << c.name;
        EXPECT_EQ(filter.description, c.description) << c.name;
        EXPECT_EQ(filter.keys, c.keys) << c.name;
    }
    EXPECT_TRUE(BuildSelectionFilter(five, {0, 1}, false).empty());
}

TEST_F(ReportFormsTest, AFilterKeyHoldingAQuoteIsBoundNotQuoted)
{
    seedJournal();
    const std::vector<SelectionEntry> customers{{"K1", "SIA Alfa"}, {"O'B", "O'Brien"}, {"X9", "X"}};
    ReportRequest request = period();
    request.customers = BuildSelectionFilter(customers, {1});
    const Report report = BuildMenuReport(MenuReport::RealizPaKasieriem, db(), request);
    ASSERT_EQ(report.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(report.rows[0].values[1].toDouble(), -2.0);
    request.customers = BuildSelectionFilter(customers, {0, 1});  // 2 of 3: everyone but X9
    const Report negated = BuildMenuReport(MenuReport::RealizPaKasieriem, db(), request);
    EXPECT_EQ(bands(negated, Band::Summary)[0].cells[1], "8.70");  // all but the 4.40 of X9
}

// ---------------------------------------------------------------- the menu reports' models

TEST_F(ReportFormsTest, GroupAndSummarySumsEqualTheJournalsOwnSum)
{
    seedJournal();
    const QString total = platform::report::formatMask(journalSum(), "0.00");
    ASSERT_EQ(total, "13.10");  // 3 + 2.70 + 2 + 4.40 - 2 + 3; the annulled receipt is out
    struct Case {
        MenuReport form;
        int sumColumn;
    };
    for (const Case& c : std::vector<Case>{{MenuReport::RealizPaKlientiem, 2},
                                           {MenuReport::RealizPaKasieriem, 1},
                                           {MenuReport::RealizPaStundam, 1},
                                           {MenuReport::RealizPaKlientiemSummari, 7},
                                           {MenuReport::KopsavNodPreces, 4},
                                           {MenuReport::PaNodokluLikmem, 2},
                                           {MenuReport::AtlidesPaKlientiem, 2}}) {
        const Report report = BuildMenuReport(c.form, db(), period());
        const auto summary = bands(report, Band::Summary);
        ASSERT_EQ(summary.size(), 1u) << int(c.form);
        EXPECT_EQ(summary[0].cells[c.sumColumn], total) << int(c.form);
        // Footers of the outermost groups add up to the summary.
        double footers = 0;
        bool grouped = false;
        for (const Band& footer : bands(report, Band::GroupFooter))
            if (footer.level == 0) footers += footer.cells[c.sumColumn].toDouble(), grouped = true;
        if (grouped) {
            EXPECT_EQ(platform::report::formatMask(footers, "0.00"), total) << int(c.form);
        }
    }
}

TEST_F(ReportFormsTest, HoursFallIntoTheirSlots)
{
    seedJournal();
    EXPECT_EQ(HourSlot("07:59:10"), 0);
    EXPECT_EQ(HourSlot("08:00:00"), 1);
    EXPECT_EQ(HourSlot("21:59:59"), 14);
    EXPECT_EQ(HourSlot("22:10:00"), 15);
    EXPECT_EQ(HourSlot("23:50:00"), 15);
    const Report report = BuildMenuReport(MenuReport::RealizPaStundam, db(), period());
    const auto days = bands(report, Band::GroupFooter);
    ASSERT_EQ(days.size(), 2u);  // the third day holds only the annulled receipt
    EXPECT_EQ(days[0].cells[0], "02.03.2026");
    EXPECT_EQ(days[0].cells[2], "5.70");   // 0-7.59
    EXPECT_EQ(days[0].cells[17], "2.00");  // 22-24
    EXPECT_EQ(days[1].cells[7], "4.40");   // 12
    EXPECT_EQ(days[1].cells[17], "1.00");  // 23:50 return and 23:59:30 sale
}

TEST_F(ReportFormsTest, TaxRatesCountReturnsOnceAndUntaxedPrintsBn)
{
    seedJournal();
    const Report report = BuildMenuReport(MenuReport::PaNodokluLikmem, db(), period());
    QStringList names, rates, taxes;
    for (const Band& band : bands(report, Band::Detail)) names << band.cells[0], rates << band.cells[1], taxes << band.cells[3];
    EXPECT_EQ(names, (QStringList{"PVN 21%", "Virtuve", "Bez PVN", "", "Atgr. PVN 21%"}));
    EXPECT_EQ(rates, (QStringList{"21", "10", "b/n", "", "21"}));
    EXPECT_EQ(taxes[2], "");  // untaxed: no tax
    // Sales 3 + 4.40 - 2 at 21 %, 2.70 at 10 %; the return row is shown but not counted again.
    EXPECT_EQ(bands(report, Band::Summary)[0].cells[3],
              platform::report::formatMask(5.40 * 21 / 121 + 2.70 * 10 / 110, "0.00"));
}

TEST_F(ReportFormsTest, GoodsSummaryKeepsTypedPricesAndUnknownDepartments)
{
    seedJournal();
    const Report report = BuildMenuReport(MenuReport::KopsavNodPreces, db(), period());
    QStringList headings;
    for (const Band& band : bands(report, Band::GroupHeader)) headings << band.cells[0];
    EXPECT_TRUE(headings.contains("VEIDS :  Apmaksa par rēķiniem  APMAKSAS VEIDS : 3-Dāvanu karte")) << headings.join('\n').toStdString();
    EXPECT_TRUE(headings.contains("VEIDS :  Preču/pakalpojumu apmaksa  APMAKSAS VEIDS : 0-Skaidra nauda"));
    QStringList goods;
    for (const Band& band : bands(report, Band::Detail)) goods << band.cells[0] + "|" + band.cells[2];
    EXPECT_TRUE(goods.contains("999|21")) << goods.join(' ').toStdString();  // typed price, by its article
    EXPECT_TRUE(goods.contains("Zupa|"));  // department 7 has no row: kept, without a rate
    EXPECT_TRUE(goods.contains("Avīze|b/n"));
}

TEST_F(ReportFormsTest, CustomerNamesFallBackToTheStoredName)
{
    seedJournal();
    const Report report = BuildMenuReport(MenuReport::RealizPaKlientiem, db(), period());
    QStringList headings;
    for (const Band& band : bands(report, Band::GroupHeader)) headings << band.cells[0];
    EXPECT_EQ(headings, (QStringList{"", "SIA Alfa", "O'Brien", "Vecais klients"}));
    const Report summary = BuildMenuReport(MenuReport::RealizPaKlientiemSummari, db(), period());
    QStringList kinds;
    for (const Band& band : bands(summary, Band::Detail)) kinds << band.cells[0];
    EXPECT_EQ(kinds, (QStringList{"0-Skaidra nauda", "0-Skaidra nauda", "1-Bankas karte", "3-Dāvanu karte",
                                  "0-Skaidra nauda", "1-Bankas karte"}));
}

TEST_F(ReportFormsTest, PriceDeviationsListSoldPricesOtherThanTheItems)
{
    seedJournal();
    const Report report = BuildMenuReport(MenuReport::CenuNobides, db(), period());
    const auto rows = bands(report, Band::Detail);
    ASSERT_EQ(rows.size(), 1u);  // the 10 % discount on Zupa
    EXPECT_EQ(rows[0].cells[3], "2.70");
    EXPECT_EQ(rows[0].cells[1], "SIA Alfa");
}

// ---------------------------------------------------------------- order slips

TEST_F(ReportFormsTest, KitchenSlipMarksTheOrderOnlyOncePrinted)
{
    exec("INSERT INTO O_PASUT (PASUT_NR, ARTIKULS, DAUDZUMS, CENA, DZESTS) VALUES (7, '200', 2, 3, 'F')");
    exec("INSERT INTO O_PASUT (PASUT_NR, ARTIKULS, DAUDZUMS, CENA, DZESTS) VALUES (7, '100', 1, 1, NULL)");
    exec("INSERT INTO O_PASUT (PASUT_NR, ARTIKULS, DAUDZUMS, CENA, DZESTS) VALUES (7, '100', 5, 1, 'T')");
    const auto marked = [&] { return value("SELECT COUNT(*) FROM O_PASUT WHERE PRN_VIRTUVE='T'").toInt(); };
    std::vector<Report> printed;
    bool printerReady = false;
    platform::report::setPrintHandler([&](const Report& report) {
        printed.push_back(report);
        return printerReady;
    });
    // A slip that did not print leaves its lines for the next one.
    EXPECT_EQ(PrintPasutijumsSaurs(db(), "Galds 3", 7), KitchenSlip::NotPrinted);
    EXPECT_EQ(marked(), 0);
    ASSERT_EQ(printed.size(), 1u);
    ASSERT_EQ(printed[0].rows.size(), 1u);  // department 2 only
    EXPECT_EQ(printed[0].rows[0].values[0].toString(), "Zupa");
    printerReady = true;
    EXPECT_EQ(PrintPasutijumsSaurs(db(), "Galds 3", 7), KitchenSlip::Printed);
    EXPECT_EQ(marked(), 3);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[1].rows.size(), 1u);
    // Nothing new for the kitchen: no page.
    EXPECT_EQ(PrintPasutijumsSaurs(db(), "Galds 3", 7), KitchenSlip::NothingNew);
    EXPECT_EQ(printed.size(), 2u);
    platform::report::setPrintHandler({});

    // The order printout lists the live lines, whose deleted flag is 'F' or not set at all.
    const Report order = BuildPasutijums(db(), "Galds 3", 7);
    ASSERT_EQ(order.rows.size(), 2u);
    EXPECT_EQ(bands(order, Band::Summary)[0].cells[4], "7.00");
    const int isn = value("SELECT MIN(ISN) FROM O_PASUT").toInt();
    EXPECT_EQ(BuildVirtuveAnulets(db(), "Galds 3", isn).rows.size(), 1u);
}

// ---------------------------------------------------------------- receipt summary

TEST(ZTotalsTest, RatesAreReadFromWholeKeysOfTheirGroups)
{
    struct Case {
        const char* name;
        QString text;
        double sales21, tax21, sales10, sales0;
    };
    const std::vector<Case> cases{
        {"two 21 % groups",
         "SAK_ATL=0.00|PVN_NR_L=1|PVN_L=21|BEZ_PVN_L=121.00|PVN_SUM_L=21.00|PVN_NR_L=4|PVN_L=21|BEZ_PVN_L=12.10|"
         "PVN_SUM_L=2.10|BEZ_PVN=110.00|PVN_SUM=23.10|",
         133.10, 23.10, 0, 0},
        {"no group", "SAK_ATL=0.00|BEZ_PVN=0.00|PVN_SUM=0.00|", 0, 0, 0, 0},
        {"a 10 % group whose sum begins with 21",
         "SAK_ATL=0.00|PVN_NR_L=2|PVN_L=10|BEZ_PVN_L=21.50|PVN_SUM_L=1.95|PVN_NR_L=3|PVN_L=0|BEZ_PVN_L=5.00|"
         "PVN_SUM_L=0.00|BEZ_PVN=24.55|PVN_SUM=1.95|",
         0, 0, 21.50, 5.00},
    };
    for (const Case& c : cases) {
        const ZTotals totals = ParseZTotals(c.text);
        EXPECT_DOUBLE_EQ(totals.salesByRate.count(21) ? totals.salesByRate.at(21) : 0, c.sales21) << c.name;
        EXPECT_DOUBLE_EQ(totals.taxByRate.count(21) ? totals.taxByRate.at(21) : 0, c.tax21) << c.name;
        EXPECT_DOUBLE_EQ(totals.salesByRate.count(10) ? totals.salesByRate.at(10) : 0, c.sales10) << c.name;
        EXPECT_DOUBLE_EQ(totals.salesByRate.count(0) ? totals.salesByRate.at(0) : 0, c.sales0) << c.name;
    }
    EXPECT_DOUBLE_EQ(ParseZTotals("BEZ_PVN=1.00|APM_BANKA=2.50|ATGR_BANKA=9.00|").value("APM_BANKA"), 2.50);
}

TEST_F(ReportFormsTest, SummaryAddsADaysZReportsAndCountsItsReceipts)
{
    // Day 1: two receipts then a Z; day 2: receipts 3 (typed price), 4 (return), 5, then two Z
    // reports; day 3: only an annulled receipt and a Z.
    const QString z1 = "SAK_ATL=0.00|PVN_NR_L=1|PVN_L=21|BEZ_PVN_L=3.00|PVN_SUM_L=0.52|PVN_NR_L=2|PVN_L=10|"
                       "BEZ_PVN_L=2.70|PVN_SUM_L=0.25|PVN_NR_L=3|PVN_L=-1|BEZ_PVN_L=2.00|PVN_SUM_L=0.00|BEZ_PVN=6.93|"
                       "PVN_SUM=0.77|INKAS=1.00|INKAS_TARA=0.00|KOREKC_SK=1|APM_BANKA=2.00|APM_1=0.00|APM_KASE=5.70|";
    const QString z2 = "SAK_ATL=0.00|PVN_NR_L=1|PVN_L=21|BEZ_PVN_L=5.40|PVN_SUM_L=0.94|BEZ_PVN=4.46|PVN_SUM=0.94|"
                       "INKAS=0.00|INKAS_TARA=0.50|KOREKC_SK=0|APM_BANKA=3.00|APM_1=4.40|APM_KASE=-2.00|";
    const QString z3 = "SAK_ATL=0.00|PVN_NR_L=2|PVN_L=10|BEZ_PVN_L=3.00|PVN_SUM_L=0.27|BEZ_PVN=2.73|PVN_SUM=0.27|"
                       "APM_KASE=3.00|";
    const QString empty = "SAK_ATL=0.00|BEZ_PVN=0.00|PVN_SUM=0.00|";
    add({kDay1, "07:59:10", 1, "100", 1.00, 3, 0, 1});
    add({kDay1, "07:59:10", 1, "200", 3.00, 1, 10, 2});
    add({kDay1, "22:10:00", 2, "300", 2.00, 1, 0, 3});
    addZ(kDay1, 1, z1);
    add({kDay2, "12:00:40", 3, "999", 4.40, 1, 0, 1});
    add({kDay2, "23:50:00", 4, "100", 1.00, -2, 0, 1});
    addZ(kDay2, 2, z2);
    add({kDay2, "23:59:30", 5, "200", 3.00, 1, 0, 2});
    addZ(kDay2, 3, z3);
    add({kDay3, "09:00:00", 6, "100", 1.00, 50, 0, 1, "", "", "", "T"});
    addZ(kDay3, 4, empty);

    SummaryHead head{{" Veikals ", "Rīga", "", ""}, "POS1", "VID9", 123456, 21000};
    const Report report = BuildCekuKopsav(db(), kDay1, kDay3, "ČEKU KOPSAVILKUMA ATSKAITE ", head);
    EXPECT_EQ(report.headLines, (QStringList{"POS klienta dati : Veikals Rīga  ", "Kases S/N : POS1/VID9",
                                             "Grand Total : 1234.56", "Grand PVN : 210.00"}));
    const QStringList csv = CekuKopsavCsvLines(report);
    ASSERT_EQ(csv.size(), 3);
    EXPECT_EQ(csv[0], "02.03.2026;3.00;0.52;2.70;0.25;0.00;7.70;2.00;5.70;0.00;1.00;0.00;2;3.85;1");
    // Receipts 3 and 5: the return does not count; the two Z reports make one line.
    EXPECT_EQ(csv[1], "03.03.2026;5.40;0.94;3.00;0.27;0.00;8.40;3.00;1.00;4.40;0.00;0.50;2;4.20;0");
    EXPECT_EQ(csv[2], "04.03.2026;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0;0.00;0");
    const auto summary = bands(report, Band::Summary);
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].cells[6], "16.10");
    EXPECT_EQ(summary[0].cells[13], "4.03");  // 16.10 / 4

    QTemporaryDir folder;
    ASSERT_TRUE(WriteCekuKopsavCsv(csv, folder.path().toStdString()));
    QFile file(folder.filePath(kSummaryCsvFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("02.03.2026;3.00;0.52;2.70;0.25;0.00;7.70;2.00;5.70;0.00;1.00;0.00;2;3.85;1\r\n"
                                         "03.03.2026;5.40;0.94;3.00;0.27;0.00;8.40;3.00;1.00;4.40;0.00;0.50;2;4.20;0\r\n"
                                         "04.03.2026;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0.00;0;0.00;0\r\n"));
}

// ---------------------------------------------------------------- pages

TEST_F(ReportFormsTest, EveryReportRendersToPdf)
{
    seedJournal();
    QTemporaryDir folder;
    std::vector<Report> reports;
    for (MenuReport form : {MenuReport::RealizPaKlientiem, MenuReport::RealizPaKasieriem, MenuReport::RealizPaStundam,
                            MenuReport::RealizPaKlientiemSummari, MenuReport::KopsavNodPreces,
                            MenuReport::PaNodokluLikmem, MenuReport::CenuNobides, MenuReport::AtlidesPaKlientiem})
        reports.push_back(BuildMenuReport(form, db(), period()));
    reports.push_back(BuildCekuKopsav(db(), kDay1, kDay3, "ČEKU KOPSAVILKUMA ATSKAITE ", {}));
    reports.push_back(BuildPasutijums(db(), "Galds", 1));
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const QString file = folder.filePath(QString("report%1.pdf").arg(i));
        ASSERT_TRUE(platform::report::writePdf(reports[i], file));
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << i;
        EXPECT_GT(pdf.size(), 1000) << i;
    }
}

}  // namespace
