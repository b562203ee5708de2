// The head lines of a receipt and the copies of the last receipt and of the kept slips.
#include "closing_fixture.h"
#include "codepage_1257.h"
#include "head_lines.h"
#include "report_file.h"

#include <algorithm>
#include <fstream>

namespace {

class HeadLines : public ClosingTest {
protected:
    bool OnPaper(const std::string& line) {
        const auto p = paper();
        return std::find(p.begin(), p.end(), line) != p.end();
    }
};

TEST_F(HeadLines, ReturnBannerAndPayerAreKeptForTheCopy) {
    startPrinter(1);
    LastReceipt last;
    ASSERT_EQ(PrintCekasGalvu(*print, 43, QDate(2024, 3, 5), true, {"Maksātājs SIA Pircējs"}, last), 1);
    EXPECT_EQ(last.PedejaisCekaNr, 43);
    EXPECT_EQ(last.AtgriezGalvasRindas, QStringList{"          PIRKUMA ATGRIEŠANA"});
    EXPECT_EQ(last.MaksatajaRindas, QStringList{"Maksātājs SIA Pircējs"});
    EXPECT_TRUE(OnPaper("Čeks Nr 43"));
    EXPECT_TRUE(OnPaper("          PIRKUMA ATGRIEŠANA"));
    EXPECT_TRUE(OnPaper(std::string(36, '-')));

    PrintCekasGalvu(*print, 44, QDate(2024, 3, 5), false, {}, last);
    EXPECT_TRUE(last.AtgriezGalvasRindas.isEmpty());
}

TEST_F(HeadLines, CopyOfTheLastReceipt) {
    startPrinter(1);
    LastReceipt last;
    PrintLastReceiptCopy(*print, last, 0, window);
    EXPECT_EQ(window.pazinojumi, QStringList{kCopyNoDataMessage});

    last.PedejaisCekaNr = 42;
    last.AtgriezGalvasRindas = {"          PIRKUMA ATGRIEŠANA"};
    last.IeprCekaRindas = {Line("A", 1.00, 12, 1)};
    last.CekaBeiguRindas = {"Kopā apmaksai EUR           12.00", "\n\n\n\n\n"};
    PrintLastReceiptCopy(*print, last, 1, window);
    EXPECT_EQ(window.pazinojumi.back(), kCopyWhileOpenMessage);

    PrintLastReceiptCopy(*print, last, 0, window);
    const auto p = paper();
    const auto at = [&](const std::string& line) { return std::find(p.begin(), p.end(), line) - p.begin(); };
    EXPECT_LT(at("             KOPIJA ČEKAM Nr 42"), at("          PIRKUMA ATGRIEŠANA"));
    EXPECT_LT(at("          PIRKUMA ATGRIEŠANA"), at("Kopā apmaksai EUR           12.00"));
    EXPECT_LT(at("Kopā apmaksai EUR           12.00"), int(p.size()));
    EXPECT_EQ(printer->drawerPulses(), 1);
    EXPECT_EQ(printer->cuts(), 2);  // the header before the copy and the next one
}

TEST_F(HeadLines, SlipCopies) {
    startPrinter(1);
    PrintSlipCopy(*print, SlipKind::BankCard, 0, window);
    EXPECT_EQ(window.pazinojumi.back(), "Nav informācijas par pēdējo Bankas kartes čeka kopiju !!!");
    PrintSlipCopy(*print, SlipKind::Prepaid, 2, window);
    EXPECT_EQ(window.pazinojumi.back(), "Pirms drukāt pēdējā Prepaid čeka kopiju jānobeidz čeks !!!");

    std::ofstream("LastCC_Ceks1.rep") << "KARTE 1\nSumma 5.00\n";
    PrintSlipCopy(*print, SlipKind::BankCard, 0, window);
    EXPECT_TRUE(OnPaper("KARTE 1"));
    EXPECT_EQ(printer->cuts(), 3);  // without a second copy the header comes twice after the first
}

TEST_F(HeadLines, SlipCopiesAreReadInTheEncodingOfEveryKeptFile) {
    // The slips as the card and prepaid operations keep them, like every kept file: Windows-1257,
    // CR LF. Both copies, both kinds.
    startPrinter(1);
    const QStringList bankSlip{"Kases Nr: 1", "Pirkums ar karti", "Summa EUR 5.00", "Paldies, ka izvēlējāties mūs!"};
    const QStringList secondCopy{"2. eksemplārs: ģērbtuve"};
    const QStringList prepaidSlip{"Prepaid kods 1234", "Derīgs līdz 31.12.2026", "Ķēde: Šķūnis"};
    const auto keep = [](const char* file, const QStringList& lines) {
        std::ofstream out(file, std::ios::binary);
        for (const QString& line : lines) out << toCp1257(line) << "\r\n";
    };
    keep("LastCC_Ceks1.rep", bankSlip);
    keep("LastCC_Ceks2.rep", secondCopy);
    keep("LastPrepaid1.rep", prepaidSlip);

    PrintSlipCopy(*print, SlipKind::BankCard, 0, window);
    PrintSlipCopy(*print, SlipKind::Prepaid, 0, window);
    for (const QString& line : bankSlip + secondCopy + prepaidSlip)
        EXPECT_TRUE(OnPaper(line.toStdString())) << line.toStdString() << "\n" << printer->paperText();

    // The reports' kept files are the same kind of file.
    SaveReportFile(QStringLiteral("kept.rep"), bankSlip);
    EXPECT_EQ(testsupport::readFile("kept.rep"), testsupport::readFile("LastCC_Ceks1.rep"));
    EXPECT_EQ(LoadReportFile(QStringLiteral("LastPrepaid1.rep")), prepaidSlip);
}

}  // namespace
