// The bank-card slips composed from the control's values, printed on the printer simulator and
// kept in their files; and the bank-card report on paper.
#include "bank_report.h"
#include "card_slip.h"
#include "printclass.h"
#include "printer_sim.h"
#include "codepage_1257.h"

#include "fiscal_module_test.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

KartesCeksDati Approved() {
    KartesCeksDati d;
    d.TerminalID = "TID: T0000001";
    d.MerchantID = "Merchant ID: 123456";
    d.TransactionDate = "Date:08122026140533";
    d.CardName = "VISA";
    d.TransIndicator = "T:1";
    d.MerchTicketCardNumber = "PAN:4111********1111";
    d.AppLabel = " VISA CREDIT ";
    d.CardNumber = "4111111111111111";
    d.ValidDate = "Exp:12/28";
    d.AID = " A0000000031010 ";
    d.CardEntryType = "2";
    d.TVR = "TVR:0000000000";
    d.TSI = "TSI:E800";
    d.AuthCode = " 123456 ";
    d.API = "API: 01";
    d.TicketNumber = "Ticket:000123";
    d.StatusDisplayMsg = "APPROVED";
    d.CHVM = "CVM: P";
    d.operacija = KartesOperacija::Apmaksa;
    d.summa = "1230";
    d.KasesNr = "12";
    return d;
}

const QString kFeed = QStringLiteral("\n\n\n\n\n");

const QStringList kCopy2{
    QStringLiteral("Pirkuma apmaksa"),
    QStringLiteral("TID:                   T0000001"),
    QStringLiteral("Tirgotāja ID:            123456"),
    QStringLiteral("Kases Nr:                    12"),
    QStringLiteral("Datums  08.12.2026 14:05:33"),
    QStringLiteral(""),
    QStringLiteral("Kartes veids:              VISA"),
    QStringLiteral("Kartes Nr : ****1111 VISA CREDIT"),
    QStringLiteral("A0000000031010"),
    QStringLiteral("Summa :               12.30 EUR"),
    QStringLiteral("TVR:                 0000000000"),
    QStringLiteral("TSI:                       E800"),
    QStringLiteral("123456"),
    QStringLiteral("API:                         01"),
    QStringLiteral(""),
    QStringLiteral("Ticket:                  000123"),
    QStringLiteral("T:                            1"),
    QStringLiteral("PIN ievadīts"),
    QStringLiteral("Saglabājiet čeku informācijai !"),
    kFeed,
};

// The merchant's copy of a "T:3" transaction: the merchant's card number, the validity and the
// identity-document lines (card entry type 2).
const QStringList kCopy1{
    QStringLiteral("Pirkuma apmaksa"),
    QStringLiteral("TID:                   T0000001"),
    QStringLiteral("Tirgotāja ID:            123456"),
    QStringLiteral("Kases Nr:                    12"),
    QStringLiteral("Datums  08.12.2026 14:05:33"),
    QStringLiteral(""),
    QStringLiteral("Kartes veids:              VISA"),
    QStringLiteral("Kartes Nr:     4111********1111"),
    QStringLiteral("VISA CREDIT"),
    QStringLiteral("Exp:                      12/28"),
    QStringLiteral("A0000000031010"),
    QStringLiteral("Summa :               12.30 EUR"),
    QStringLiteral("Dokuments :( )Pase    ( )ID karte"),
    QStringLiteral("Nr: ______________________________"),
    QStringLiteral("TVR:                 0000000000"),
    QStringLiteral("TSI:                       E800"),
    QStringLiteral("API:                         01"),
    QStringLiteral(""),
    QStringLiteral("Ticket:                  000123"),
    QStringLiteral("T:                            3"),
    QStringLiteral("PIN ievadīts"),
    kFeed,
};

// A declined cancel: negative amount, a card number of two characters, a merchant without "ID:".
const QStringList kDeclinedCancel{
    QStringLiteral("************************************"),
    QStringLiteral("***      PIRKUMS ATTEIKTS        ***"),
    QStringLiteral("************************************"),
    QStringLiteral("TID:                   T0000001"),
    QStringLiteral("M123"),
    QStringLiteral("Kases Nr:                    12"),
    QStringLiteral("Datums  08.12.2026 14:05:33"),
    QStringLiteral(""),
    QStringLiteral("Kartes veids:              VISA"),
    QStringLiteral("Kartes Nr :  ****12 VISA CREDIT"),
    QStringLiteral("A0000000031010"),
    QStringLiteral("Summa :              -12.30 EUR"),
    QStringLiteral("TVR:                 0000000000"),
    QStringLiteral("TSI:                       E800"),
    QStringLiteral("123456"),
    QStringLiteral("API:                         01"),
    QStringLiteral(""),
    QStringLiteral("Ticket:                  000123"),
    QStringLiteral("T:                            1"),
    QStringLiteral("Nav korekta summa Kods:51"),
    QStringLiteral("DECLINED"),
    kFeed,
};

const QStringList kNoAnswer{
    QStringLiteral("************************************"),
    QStringLiteral("***      PIRKUMS ATTEIKTS        ***"),
    QStringLiteral("************************************"),
    QStringLiteral("Datums  08.12.2026 14:05:33"),
    QStringLiteral(""),
    kFeed,
};

class CardSlip : public testsupport::FiscalModuleTest {
protected:
    QString initialDaySums() const override { return QString(240, '0'); }
    void SetUp() override {
        FiscalModuleTest::SetUp();
        startPrinterDevice(0);
    }
    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }
    bool onPaper(const QString& line) {
        const std::vector<std::string> p = paper();
        return std::find(p.begin(), p.end(), line.toStdString()) != p.end();
    }
};

TEST_F(CardSlip, GoldenCopies) {
    KartesCeksDati copy1 = Approved();
    copy1.TransIndicator = "T:3";
    KartesCeksDati cancel = Approved();
    cancel.operacija = KartesOperacija::Atcelsana;
    cancel.TransactionReturn = 2;
    cancel.StatusCode = 51;
    cancel.StatusDisplayMsg = "DECLINED";
    cancel.CardNumber = "12";
    cancel.MerchantID = "M123";
    cancel.CHVM = "CVM: S";
    KartesCeksDati noAnswer = Approved();
    noAnswer.TerminalState = 5;
    noAnswer.TransactionReturn = 1;

    const struct {
        int copy;
        KartesCeksDati dati;
        const QStringList& golden;
    } cases[] = {{2, Approved(), kCopy2}, {1, copy1, kCopy1}, {3, cancel, kDeclinedCancel}, {3, noAnswer, kNoAnswer}};
    for (const auto& c : cases) {
        ASSERT_EQ(PrintKartesCeks(c.copy, c.dati, *print), 1);
        // The kept copy: each printed line and CR LF in Windows-1257, the closing feed the last.
        EXPECT_EQ(testsupport::readFile(dir() / KartesCeksFile(c.copy).toStdString()), toCp1257(c.golden.join("\r\n") + "\r\n"))
            << c.copy;
    }
    // Each slip's lines on paper (the printer keeps no trailing blanks), followed by the next header.
    for (const QString& line : {QStringLiteral("Saglabājiet čeku informācijai !"), QStringLiteral("Nr: ______________________________"),
                                QStringLiteral("Nav korekta summa Kods:51"), QStringLiteral("SIA Veikals")})
        EXPECT_TRUE(onPaper(line)) << line.toStdString();
    EXPECT_TRUE(std::filesystem::exists(dir() / "LastCC_Ceks1.rep"));
}

TEST_F(CardSlip, AReturnNeverAsksForTheDocumentAndAShortDateShowsWhatItHas) {
    KartesCeksDati d = Approved();
    d.TransactionType = 9;
    d.TransactionDate = "0812";
    const QStringList lines = MakeKartesCeks(1, d, *print);
    EXPECT_FALSE(lines.contains(QStringLiteral("Dokuments :( )Pase    ( )ID karte")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Datums  08.12. ::")));
}

TEST_F(CardSlip, BankReportInCompressedPrintWidthRestored) {
    const int width = print->RindasGarums;
    for (const QString& report : {QStringLiteral("KOPSAVILKUMS\nVISA 2 24.60\nBEIGAS"), QStringLiteral("KOPSAVILKUMS\nVISA 2 24.60\nBEIGAS\n")}) {
        PrintBankReport(*print, report);
        EXPECT_EQ(print->RindasGarums, width);
        EXPECT_TRUE(onPaper("VISA 2 24.60"));
        EXPECT_TRUE(onPaper("BEIGAS"));
    }
}

}  // namespace
