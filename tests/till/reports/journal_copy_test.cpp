// The receipt copy from the journal on the printer and module simulators, over a real till
// database holding the receipt's rows.
#include "head_lines.h"
#include "receipt_copy.h"
#include "receipt_print.h"
#include "report_fixture.h"

#include <QDate>

namespace {

using Lines = std::vector<std::string>;

const QDate kSold(2026, 2, 27);

// The sale window's share: lines printed as a receipt prints them; the article "ATTEIKT" is
// refused as the real window refuses a line it cannot print.
class CopyHost : public ClosingHost {
public:
    explicit CopyHost(TPrintClass& print) : print_(print) {}
    int PrintCekaRinda(const TCekaRinda& line) override
    {
        if (line.Artikuls == "ATTEIKT") return -1;
        const PrintedLine printed{line.Nodala, line.Nosaukums, line.Cena, line.Daudzums * line.Iepakojums, line.Atlaide,
                                  line.Artikuls, line.Mervieniba, false};
        for (const QString& text : CekaRindasTeksts({print_.PrinteraTips, "EUR"}, printed)) print_.DrukaUzAbam(text, 1);
        return 1;
    }
    QStringList MaksatajaRindas() override { return {}; }
    void AnuletCeku() override { ++annulled; }
    void SetStatusText(const QString& text) override { status = text; }
    void ShowPazinojums(const QString& text) override { pazinojumi << text; }

    int annulled = 0;
    QString status;
    QStringList pazinojumi;

private:
    TPrintClass& print_;
};

// The tax rates as a module holds them, without asking the module.
class CannedRates : public ReportFiscalMemory {
public:
    CannedRates(TFMProc& fm, QString rates, bool readable = true) : ReportFiscalMemory(fm), rates_(std::move(rates)), readable_(readable) {}
    bool read(const QString& name, QString& text) override
    {
        if (name != "NOD_D_SUM" || !readable_) return false;
        text = rates_;
        return true;
    }

private:
    QString rates_;
    bool readable_;
};

struct Line {
    QString article;
    double price, quantity;
    int department;
};

class JournalCopyTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        startPrinter();
        host = std::make_unique<CopyHost>(*print);
        request.cekaNr = 7;
        request.datums = kSold;
        request.kinds.add(0, "0-Skaidra nauda");
        request.kinds.add(1, "1-Bankas karte");
        request.kinds.add(3, "3-Dāvanu karte");  // kind 2 not in use: places and numbers differ
        request.currentKindText = "0-Skaidra nauda";
        request.PrepaidNodala = 2;
        request.Kasieris = "anna";
        testsupport::execSql(db(), "INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA) VALUES ('100', 'Maize', 'gab', 1)");
    }

    void store(const std::vector<Line>& lines, const QString& payments = {}, int kind = 1, const QString& name = {},
               const QString& annulled = "F", int receipt = 7)
    {
        for (const Line& l : lines)
            testsupport::execSql(db(),
                                 "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, KL_NOSAUKUMS, ARTIKULS, CENA, NODOKLIS, "
                                 "DAUDZUMS, ATLAIDE, SANEMTS, IZDOTS, APM_VEIDS, APM_RINDA, ANULETS, CITASZINAS) VALUES "
                                 "(:NR, :D, '10:00:00', '', :KN, :A, :C, :N, :Q, 0, 20, 7.90, :AV, :AR, :AN, '')",
                                 {{":NR", receipt}, {":D", kSold}, {":KN", name.isNull() ? QString("") : name},
                                  {":A", l.article}, {":C", l.price}, {":N", l.department}, {":Q", l.quantity},
                                  {":AV", kind}, {":AR", payments.isNull() ? QString("") : payments}, {":AN", annulled}});
    }

    Lines copy(const QString& rates = TaxSlots({{21, 0}, {0, 0}, {-1, 0}}))
    {
        const std::size_t before = paper().size();
        CannedRates fmRates(*fm, rates);
        PrintJournalReceiptCopy(db(), *print, fmRates, *host, request);
        Lines all = paper();
        Lines printed(all.begin() + std::ptrdiff_t(before), all.end());
        for (std::string& line : printed) line.erase(line.find_last_not_of(' ') + 1);
        return printed;
    }

    static bool has(const Lines& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::unique_ptr<CopyHost> host;
    JournalCopyRequest request;
};

TEST_F(JournalCopyTest, OneLineAtTwentyOnePercent)
{
    store({{"100", 12.10, 1, 1}});
    const Lines printed = copy();
    EXPECT_TRUE(has(printed, "             KOPIJA ČEKAM Nr 7"));
    EXPECT_TRUE(has(printed, "Pieg.,pakalp.datums 27.02.2026"));
    EXPECT_TRUE(has(printed, "Likme 1-21% PVN   2.10 b/n  10.00"));
    EXPECT_TRUE(has(printed, "Kopā apmaksai EUR           12.10"));
    EXPECT_TRUE(has(printed, "Saņ.EUR    20.00 Izd.EUR     7.90"));
    EXPECT_TRUE(has(printed, "0-Skaidra nauda             12.10"));
    EXPECT_TRUE(has(printed, "02.03.2026 10:15:00 Kas:anna"));
    EXPECT_EQ(printer->drawerPulses(), 1);
    EXPECT_TRUE(host->pazinojumi.isEmpty());
}

TEST_F(JournalCopyTest, UntaxedZeroRateAndDepartmentsOutsideTheSlots)
{
    // Department 75 counts in the voucher group (2, rate 0), department 30 in group 1.
    store({{"A", 5.00, 1, 2}, {"B", 3.00, 1, 3}, {"C", 2.00, 1, 75}, {"D", 12.10, 1, 30}});
    const Lines printed = copy();
    EXPECT_TRUE(has(printed, "Likme 1-21% PVN   2.10 b/n  10.00"));
    EXPECT_TRUE(has(printed, "Likme 2- 0% PVN   0.00 b/n   7.00"));
    EXPECT_TRUE(has(printed, "7.pants 1.daļas 4.punkts"));
    EXPECT_TRUE(has(printed, "Likme 3-bez nodokļa Summa=   3.00"));
    EXPECT_TRUE(has(printed, "Kopā apmaksai EUR           22.10"));
}

TEST_F(JournalCopyTest, PaymentTextsAreReadByKindNumber)
{
    struct Case {
        QString payments;
        Lines expected, absent;
    };
    const std::vector<Case> cases{
        {"/0=5.00/1=7.10", {"0-Skaidra nauda              5.00", "1-Bankas karte               7.10"}, {}},
        {"/0=0.00/3=12.10", {"3-Dāvanu karte              12.10"}, {"0-Skaidra nauda              0.00"}},
    };
    int receipt = 7;
    for (const Case& c : cases) {
        request.cekaNr = receipt;
        store({{"100", 12.10, 1, 1}}, c.payments, 1, {}, "F", receipt++);
        const Lines printed = copy();
        for (const std::string& line : c.expected) EXPECT_TRUE(has(printed, line)) << line;
        for (const std::string& line : c.absent) EXPECT_FALSE(has(printed, line)) << line;
    }
    // A kind that is not in use stops the copy after the received and change line.
    request.cekaNr = receipt;
    store({{"100", 12.10, 1, 1}}, "/2=12.10", 1, {}, "F", receipt);
    const Lines printed = copy();
    EXPECT_EQ(host->pazinojumi, QStringList{kWrongPaymentKindMessage});
    EXPECT_TRUE(has(printed, "Saņ.EUR    20.00 Izd.EUR     7.90"));
    EXPECT_EQ(printer->drawerPulses(), 2);
}

TEST_F(JournalCopyTest, PayerInPiecesOfTheLineWidth)
{
    // The customer's name 2.5 line widths long prints on three lines; further details 4 widths
    // long are cut after three.
    const int width = print->RindasGarums;
    auto text = [](int length) {
        QString t;
        for (int i = 0; t.size() < length; ++i) t += QChar(u'a' + i % 26);
        return t;
    };
    const QString payer = "Maksātājs ";
    const QString name = text(width * 5 / 2 - int(payer.size()));
    const QString details = text(4 * width);
    testsupport::execSql(db(), "INSERT INTO N_KLIENTI (KODS, GNOS, PVN_KODS, ADRESE) VALUES ('K1', :G, 'LV400', 'Rīga')",
                         {{":G", name}});
    testsupport::execSql(db(),
                         "INSERT INTO REALIZ (CEKA_NR, DATUMS, LAIKS, KL_KODS, ARTIKULS, CENA, NODOKLIS, DAUDZUMS, ATLAIDE, "
                         "SANEMTS, IZDOTS, APM_VEIDS, APM_RINDA, ANULETS, CITASZINAS) VALUES (7, :D, '10:00:00', 'K1', "
                         "'100', 1, 1, 1, 0, 1, 0, 1, '', 'F', :C)",
                         {{":D", kSold}, {":C", details}});
    const Lines printed = copy();
    const QString full = payer + name;
    for (int piece = 0; piece < 3; ++piece) {
        EXPECT_TRUE(has(printed, full.mid(piece * width, width).toStdString())) << piece;
        EXPECT_TRUE(has(printed, details.mid(piece * width, width).toStdString())) << piece;
    }
    EXPECT_FALSE(has(printed, details.mid(3 * width, width).toStdString()));
    EXPECT_TRUE(has(printed, "Reģ.Nr. LV400"));
    EXPECT_TRUE(has(printed, "Adrese Rīga"));
}

TEST_F(JournalCopyTest, AnAnnulledReceiptOfTheSameNumberIsLeftOut)
{
    store({{"100", 12.10, 1, 1}});
    store({{"100", 99.00, 1, 1}}, {}, 1, {}, "T");
    const Lines printed = copy();
    EXPECT_TRUE(has(printed, "Kopā apmaksai EUR           12.10"));
}

TEST_F(JournalCopyTest, RefusalsAndFailures)
{
    store({{"100", 12.10, 1, 1}, {"ATTEIKT", 1.00, 1, 1}, {"100", 1.00, 1, 1}});
    request.RinduSkaits = 2;
    EXPECT_TRUE(copy().empty());
    EXPECT_EQ(host->pazinojumi, QStringList{kCopyWhileOpenMessage});

    request.RinduSkaits = 0;
    request.cekaNr.reset();
    host->pazinojumi.clear();
    EXPECT_TRUE(copy().empty());
    EXPECT_EQ(host->pazinojumi, QStringList{kCopyNoDataMessage});

    // Unreadable tax rates: the open receipt is annulled, nothing printed.
    request.cekaNr = 7;
    CannedRates unreadable(*fm, {}, false);
    PrintJournalReceiptCopy(db(), *print, unreadable, *host, request);
    EXPECT_EQ(host->annulled, 1);

    // A refused line stops the copy: no total, no drawer.
    const Lines printed = copy();
    EXPECT_EQ(host->status, "CekaKopija = -1");
    EXPECT_FALSE(has(printed, "Kopā apmaksai EUR           14.10"));
    EXPECT_EQ(printer->drawerPulses(), 0);
}

TEST_F(JournalCopyTest, AHeaderThatCannotBePrintedEndsTheProgram)
{
    store({{"100", 12.10, 1, 1}});
    print->CekaGalva[0].clear();  // the header is read from the module again, which fails
    module->faults().arm("status=27");
    CannedRates rates(*fm, TaxSlots({{21, 0}}));
    EXPECT_THROW(PrintJournalReceiptCopy(db(), *print, rates, *host, request), platform::ui::ProgramEnded);
    module->faults().disarm("status=27");
    EXPECT_EQ(host->annulled, 1);
}

}  // namespace
