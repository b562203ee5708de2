// The day reports' ground: a till database, the fiscal-memory module simulator on COM3 with the
// receipt header and a day of counters, the receipt printer simulator on COM1, the two device
// objects, a sale window that records what it is told, and a way into the fiscal memory that
// makes the module fail one chosen step.
#pragma once

#include "counter_fields.h"
#include "fiscal_memory_sim.h"
#include "fm_working_records.h"
#include "fmproc.h"
#include "memorix.h"
#include "printclass.h"
#include "printer_sim.h"
#include "report_fiscal_memory.h"
#include "report_window.h"
#include "session.h"
#include "fiscal_module_test.h"
#include "xz_report.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class RecordingWindow : public ReportWindow {
public:
    QStringList pazinojumi;
    int annulled = 0;
    QMap<QString, double> rates;

    void ShowPazinojums(const QString& text) override { pazinojumi << text; }
    void AnuletCeku() override { ++annulled; }
    double GetValutasKurss(const QString& code) override { return rates.value(code, 1.0); }
};

// Every operation is one step, named like "read NOD_D_SUM", "write IELIKTS", "appendDayClose",
// "commit". Before the given step (its first occurrence, or the n-th with "commit#2") the module's
// fault is switched on (by default a write-failure status answering its next command), and it is
// switched off after that step.
class FailingFiscalMemory : public ReportFiscalMemory {
public:
    FailingFiscalMemory(TFMProc& fm, sim::FiscalMemorySim& module, std::string failStep = {},
                        std::string fault = "status=27")
        : ReportFiscalMemory(fm), module_(module), failStep_(std::move(failStep)), fault_(std::move(fault))
    {
        if (failStep_.find('#') == std::string::npos && !failStep_.empty())
            failStep_ += "#1";
    }

    std::vector<std::string> steps;

    bool read(const QString& name, QString& text) override
    {
        return step("read " + name.toStdString(), [&] { return ReportFiscalMemory::read(name, text); });
    }
    bool write(const QString& name, const QString& text) override
    {
        return step("write " + name.toStdString(), [&] { return ReportFiscalMemory::write(name, text); });
    }
    bool readLastDayClose(DayCloseRecord& record) override
    {
        return step("readLastDayClose", [&] { return ReportFiscalMemory::readLastDayClose(record); });
    }
    bool appendDayClose(const DayCloseRecord& record) override
    {
        return step("appendDayClose", [&] { return ReportFiscalMemory::appendDayClose(record); });
    }
    bool createRecord(const QString& name, int size) override
    {
        return step("createRecord", [&] { return ReportFiscalMemory::createRecord(name, size); });
    }
    bool beginTransaction(const QString& tag) override
    {
        return step("begin", [&] { return ReportFiscalMemory::beginTransaction(tag); });
    }
    bool commitTransaction(const QString& tag) override
    {
        return step("commit", [&] { return ReportFiscalMemory::commitTransaction(tag); });
    }
    bool rollbackTransaction(const QString& tag) override
    {
        return step("rollback", [&] { return ReportFiscalMemory::rollbackTransaction(tag); });
    }
    bool transactionOpen(bool& open, const QString& tag) override
    {
        return step("transactionOpen", [&] { return ReportFiscalMemory::transactionOpen(open, tag); });
    }

    // Whether the step to fail was reached.
    bool failed() const { return failed_; }

private:
    template <class Op>
    bool step(const std::string& name, Op op)
    {
        steps.push_back(name);
        const std::string occurrence = name + "#" + std::to_string(std::count(steps.begin(), steps.end(), name));
        const bool failing = occurrence == failStep_;
        if (failing) {
            failed_ = true;
            module_.faults().arm(fault_);
        }
        const bool ok = op();
        module_.faults().disarm(fault_);
        return ok;
    }
    sim::FiscalMemorySim& module_;
    std::string failStep_, fault_;
    bool failed_ = false;
};

// NOD_D_SUM from (rate, sum) slots; the slots not given have rate 21 and sum 0.
inline QString TaxSlots(const std::vector<std::pair<int, long long>>& given)
{
    QString text;
    for (std::size_t i = 0; i < 24; ++i) {
        const std::pair<int, long long> slot = i < given.size() ? given[i] : std::pair<int, long long>{21, 0};
        const auto [rate, sum] = slot;
        text += QString::asprintf("%2i%8lld", rate, sum);
    }
    return text;
}

class ReportTest : public testsupport::FiscalModuleTest {
protected:
    QString initialDaySums() const override { return TaxSlots({}); }

    void SetUp() override
    {
        FiscalModuleTest::SetUp();
        job.KasierisFullName = QStringLiteral("Anna Bērziņa");
        job.CekaValutaKods = QStringLiteral("EUR");
    }

    void TearDown() override
    {
        job.posDb = QSqlDatabase();
        FiscalModuleTest::TearDown();
    }

    // The printer and the printer object; the object reads the last day-close record for the
    // journal file's name, so a test appends its records first.
    void startPrinter(int type = 6)
    {
        startPrinterDevice(type);
        job.posDb = db();
    }

    // The till program ends: its device objects go and the module's port is closed.
    void endTill()
    {
        print.reset();
        fm.reset();
        MEMORIX_CloseComPort();
    }

    // The till ends and starts again: the port closed and opened afresh (the driver forgets what it
    // knew of the store, as a new process would), the module switched on again when its power was
    // lost, and a new TFMProc; the caller makes the printer object again when it needs one.
    void restartTill()
    {
        endTill();
        if (module->powerLost()) {
            module.reset();
            module = std::make_unique<sim::FiscalMemorySim>(dir() / "fiscal-memory.bin");
            ASSERT_TRUE(module->start(portsDir(), "COM" + std::to_string(kModulePort)));
        }
        fm = std::make_unique<TFMProc>();
        ASSERT_EQ(fm->Status, 0);
    }

    void seed(const std::vector<std::pair<QString, QString>>& records)
    {
        for (const auto& [name, text] : records)
            ASSERT_TRUE(fm->FMWrite(name, text)) << name.toStdString();
    }

    QString record(const QString& name)
    {
        QString text;
        EXPECT_TRUE(fm->FMRead(name, text)) << name.toStdString();
        return text;
    }

    DayCloseRecord lastDayClose()
    {
        DayCloseRecord last;
        EXPECT_TRUE(fm->FMReadGrand(-1, last.nr, last.grandTotal, last.grandVat, last.date, last.time, last.daySum,
                                    last.dayVat, last.check));
        return last;
    }

    int recordCount()
    {
        int count = -1;
        EXPECT_EQ(FM_GetRecordCount(&count), 0);
        return count;
    }

    std::vector<std::string> paper()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        printer->waitIdle(100);
        return printer->receipt();
    }

    int run(int kind, ReportFiscalMemory& access) { return PrintXZAtskaite(kind, job, access, *print, window); }
    int run(int kind)
    {
        ReportFiscalMemory access(*fm);
        return run(kind, access);
    }

    RecordingWindow window;
    XZReportJob job;
};

using Lines = std::vector<std::string>;

class DayReport : public ReportTest {
protected:
    // The previous day closed with report 5 (grand total 1000.00, VAT 170.00); today's counters
    // hold sales in five tax slots, returns in cash and to a card, card and two further payment
    // kinds, foreign cash, a correction, discounts, returned packaging, cash in and out.
    void SetUp() override
    {
        ReportTest::SetUp();
        // The store's opening record (index 0) was appended by TFMProc; report 5 is index 1.
        ASSERT_TRUE(fm->FMWriteGrand(5, QStringLiteral("ABCDEF01"), 100000, 17000, 500, 80));
        seed({{"ATLNOIEPR", "10000"},
              {"NOD_D_SUM", TaxSlots({{21, 12100}, {12, 5600}, {21, 2420}, {5, 0}, {5, 1001}, {-1, 1000}})},
              {"IELIKTS", "   1    5000"}, {"IZNEMTS", "   1    2050"}, {"STORNO_SUM", "-2000"},
              {"BANKA_ATGR", "-500"}, {"ATGRTARA", "   1     100"}, {"KOREKCIJA", "   1    -250"},
              {"DIENAS_ATL", "          300"}, {"BANKA_SUM", "3000"},
              {"APMVEID1", "Dāvanu karte"}, {"APMFLAG1", "F"}, {"APM_SUM1", "1000"},
              {"APMVEID2", "Kupons kasē xyz"}, {"APMFLAG2", "T"}, {"APM_SUM2", "500"},
              {"VALUT_D_S", "USD    2000GBP    -100"}, {"X_REPORTNR", "7"}});
        window.rates[QStringLiteral("USD")] = 0.9;
        startPrinter();
    }

    static Lines reportBody(const std::string& title, const std::string& grandLine)
    {
        return {title,
                "----------------------------------------",
                "Sākuma atl.kasē    100.00",
                "Summas par PVN likmēm un PVN summas:",
                " 1 - 21%=     121.00 PVN=     21.00",
                " 2 - 12%=      56.00 PVN=      6.00",
                " 3 Alkohols 21%=   24.20 PVN=  4.20",
                " 5 -  5%=      10.01 PVN=      0.48",
                " 6 - b/n=      10.00 PVN=      0.00",
                "Kopā realizēts=    221.21",
                "PVN summa     =     31.68",
                "Bez PVN summa =    189.53",
                "Maiņas nauda  =     50.00 reizes  1",
                "Inkasācija    =     20.50 reizes  1",
                "Atgriezts sk. =     15.00",
                "Inkasācij.tara=      1.00 reizes  1",
                "Bankas k.atgr.=      5.00",
                "Korekcija     =     -2.50 reizes  1",
                "Atlaides      =      3.00 ",
                " Darījumu summas pa norēķinu veidiem ",
                "Bankas karte  =     25.00 Bezs.nauda",
                "Dāvanu karte  =     10.00 Bezs.nauda",
                "Kupons kasē xy=      5.00 Nauda kasē",
                "Skaidra nauda =    185.21",
                "USD=     20.00 x 0.900=    18.00 EUR",
                "Kopā val.summa EUR =     18.00",
                "Atlikums kasē =    296.71",
                "El.kontrols.(iepr.diena):=ABCDEF01",
                "",
                grandLine,
                "02.03.2026   10:15:00",
                "Kasieris : Anna Bērziņa",
                "----------------------------------------"};
    }

    // The lines as the paper shows them: without trailing blanks.
    static Lines onPaper(Lines lines)
    {
        for (std::string& line : lines)
            line.erase(line.find_last_not_of(' ') + 1);
        return lines;
    }

    // The paper from the report's title on, as many lines as expected.
    Lines printedFrom(const std::string& title, std::size_t count)
    {
        const Lines all = paper();
        const auto start = std::find(all.begin(), all.end(), title);
        if (start == all.end() || std::size_t(all.end() - start) < count)
            return all;
        return Lines(start, start + std::ptrdiff_t(count));
    }

    static QString zeros(int n) { return QString(n, u'0'); }

};

// The day of DayReport closed by a Z report: what the fiscal memory must hold afterwards.
class DayClosing : public DayReport {
protected:
    std::map<std::string, QString> snapshot()
    {
        std::map<std::string, QString> records;
        for (const fmrecords::WorkingRecord& r : fmrecords::all())
            records[std::string(r.name)] = record(QString::fromLatin1(r.name.data(), qsizetype(r.name.size())));
        return records;
    }

    bool transactionOpen()
    {
        int open = -1;
        EXPECT_EQ(HT_Get_TransactionInProgress(&open), 0);
        return open == 1;
    }

    // The day counted once: the records after report 5 add up to the day, the grand totals hold
    // it once, the counters are zero, the opening balance is the day's cash balance and no day
    // close is under way.
    void expectDayClosedOnce()
    {
        const DayCloseRecord last = lastDayClose();
        EXPECT_EQ(last.grandTotal, 122121);
        EXPECT_EQ(last.grandVat, 20168);
        double days = 0;
        for (int index = 2; index < recordCount(); ++index) {
            DayCloseRecord r;
            ASSERT_TRUE(fm->FMReadGrand(index, r.nr, r.grandTotal, r.grandVat, r.date, r.time, r.daySum, r.dayVat, r.check));
            days += r.daySum;
        }
        EXPECT_EQ(days, 22121);
        EXPECT_EQ(record("ATLNOIEPR").trimmed(), QStringLiteral("29671"));
        for (const char* name : {"IELIKTS", "IZNEMTS", "STORNO_SUM", "BANKA_SUM", "BANKA_ATGR", "KOREKCIJA", "ATGRTARA",
                                 "APM_SUM1", "APM_SUM2", "DIENAS_ATL"})
            EXPECT_EQ(TrimmedCounterValue(record(QString::fromLatin1(name))), 0) << name;
        EXPECT_TRUE(record("NOD_D_SUM").startsWith(QStringLiteral("21       012       021       0")));
        EXPECT_TRUE(record("VALUT_D_S").startsWith(QStringLiteral("USD       0GBP       0")));
        EXPECT_TRUE(record(kDayCloseMarker).trimmed().isEmpty());
        EXPECT_FALSE(transactionOpen());
    }
};
