#include "bank_report.h"

#include "payvo_control.h"
#include "printclass.h"

namespace {
constexpr int kReportWidth = 42;
constexpr int kBatchType = 9;          // the terminal's batch exchange, which carries its report
constexpr int kCollectPrintout = 1;    // the control collects the terminal's print lines
constexpr int kReportBatchType = 99;
}  // namespace

QString RequestBankReport(TPayvo& control) {
    control.SetNumber("TransactionType", kBatchType);
    control.SetNumber("PrintingDevice", kCollectPrintout);
    control.SetText("TransactionID", QString());
    control.SetNumber("BatchType", kReportBatchType);
    control.TransactionRequest();  // a refusal leaves whatever the control holds, as the report
    return control.Text("Receipt");
}

QStringList BankReportLines(const QString& report) {
    QStringList lines = report.split('\n');
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

void PrintBankReport(TPrintClass& print, const QString& report) {
    print.SetCompressOn();
    const int width = print.RindasGarums;
    print.RindasGarums = kReportWidth;
    for (const QString& line : BankReportLines(print.ConvertLatviesuBurtus(report))) print.DrukaUzCeka(line, false, 0);
    print.RindasGarums = width;
    print.SetCompressOff();
}
