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
#include "fiscal_module_test.h"

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

class ClosingTest : public testsupport::FiscalModuleTest {
protected:
    QString initialDaySums() const override { return DaySums({21, 12, 5, 0, 21, -1}); }

    void startPrinter(int type) {
        startPrinterDevice(type);
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
