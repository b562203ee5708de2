// The closing steps' ground: a till database, the fiscal-memory module simulator on COM3 with its
// working records and receipt header, the receipt printer simulator on COM1, the two device
// objects, and a sale window that prints lines and records annulments, status texts and messages.
#pragma once

#include "closing_receipt.h"
#include "fiscal_memory_sim.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "receipt_print.h"
#include "session.h"
#include "test_database.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Texts in failure output.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

// NOD_D_SUM with these tax rates in the first slots (the others "21"), every sum 0.
inline QString DaySums(const std::vector<int>& rates) {
    QString text;
    for (int slot = 1; slot <= 24; ++slot) {
        const int rate = slot <= int(rates.size()) ? rates[std::size_t(slot - 1)] : 21;
        text += QString::number(rate).rightJustified(2, u' ') + QString(7, u' ') + "0";
    }
    return text;
}

class ClosingWindow : public ClosingHost {
public:
    TPrintClass* print = nullptr;
    int printerType = 0;
    int annulled = 0;
    QStringList status, pazinojumi, payer;

    int PrintCekaRinda(const TCekaRinda& line) override {
        if (line.Nodala < 1) return -1;
        LinePrintSettings settings;
        settings.Printeris = printerType;
        settings.CekaValutaKods = QStringLiteral("EUR");
        for (const QString& text : CekaRindasTeksts(settings, {line.Nodala, line.Nosaukums, line.Cena,
                                                               line.Daudzums * line.Iepakojums, line.Atlaide,
                                                               line.Artikuls, line.Mervieniba, false}))
            if (print->DrukaUzAbam(text, 1) < 0) return -1;
        return 1;
    }
    QStringList MaksatajaRindas() override { return payer; }
    void AnuletCeku() override { ++annulled; }
    void SetStatusText(const QString& text) override { status << text; }
    void ShowPazinojums(const QString& text) override { pazinojumi << text; }
};

class ClosingTest : public testsupport::DatabaseTest {
protected:
    static constexpr int kModulePort = 3;

    void SetUp() override {
        DatabaseTest::SetUp();
        setupInteger("FMTips", 1);
        setupInteger("FMPort", kModulePort);
        setupInteger("PrinteraPorts", 1);
        setupInteger("KlDisplejsPorts", 2);
        memorix::setReadTimeoutMs(300);
        module = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
        ASSERT_TRUE(module->start(portsDir(), "COM" + std::to_string(kModulePort)));
        ASSERT_EQ(MEMORIX_OpenComPort(kModulePort, 115200), 0);
        ASSERT_EQ(HT_ClearAll(), 0);
        fm = std::make_unique<TFMProc>();
        ASSERT_EQ(fm->Status, 0);
        for (const auto& [name, text] : std::vector<std::pair<QString, QString>>{
                 {"CEKAGALVA1", "SIA Veikals"}, {"CEKAGALVA2", "Rīga, Brīvības 1"}, {"CEKAGALVA3", "PVN LV40001234567"},
                 {"CEKAGALVA4", "Paldies!"}, {"POS_NR", "00000000007"}, {"VID_ID", "VID-1"},
                 {"NOD_D_SUM", DaySums({21, 12, 5, 0, 21, -1})}, {"CEKANRCOUN", "00000000041"}})
            ASSERT_TRUE(fm->FMWrite(name, text));
        // The Latvian letter set of the printers that load one.
        std::ofstream("citizen.dlf", std::ios::binary)
            << "\x1B\x26\x03\x61\x76" + [] {
                   std::string glyphs;
                   for (int i = 0; i < 22; ++i) glyphs += '\x0C' + std::string(36, '\x55');
                   return glyphs;
               }();
    }

    void TearDown() override {
        print.reset();
        fm.reset();
        if (printer) printer->stop();
        MEMORIX_CloseComPort();
        module.reset();
        memorix::setReadTimeoutMs(5000);
        DatabaseTest::TearDown();
    }

    void startPrinter(int type) {
        printer = std::make_unique<sim::PrinterSimulator>(type);
        ASSERT_TRUE(printer->start(portsDir(), "COM1"));
        print = std::make_unique<TPrintClass>(type, fm.get());
        window.print = print.get();
        window.printerType = type;
    }

    QString record(const QString& name) {
        QString text;
        EXPECT_TRUE(fm->FMRead(name, text)) << name.toStdString();
        return text;
    }

    std::vector<std::string> paper() {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }

    std::unique_ptr<sim::FiscalMemorySim> module;
    std::unique_ptr<sim::PrinterSimulator> printer;
    std::unique_ptr<TFMProc> fm;
    std::unique_ptr<TPrintClass> print;
    ClosingWindow window;
};

// A receipt line.
inline TCekaRinda Line(const QString& artikuls, double cena, double daudzums, int nodala, double atlaide = 0,
                       double iepakojums = 1) {
    TCekaRinda line;
    line.Artikuls = artikuls;
    line.Nosaukums = "Prece " + artikuls;
    line.Mervieniba = QStringLiteral("gab. ");
    line.Cena = cena;
    line.Daudzums = daudzums;
    line.Iepakojums = iepakojums;
    line.Atlaide = atlaide;
    line.Nodala = nodala;
    line.ApmVeids = 1;
    return line;
}

// Payment rows from (kind, amount) pairs; the rest not in use.
inline TApmaksas Payments(const std::vector<std::pair<int, double>>& rows) {
    TApmaksas payments{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        payments[i].Veids = rows[i].first;
        payments[i].Summa = rows[i].second;
        payments[i].Teksts = rows[i].first == 0 ? QStringLiteral("0-Skaidra nauda EUR") : QStringLiteral("1-Bankas karte");
    }
    return payments;
}
