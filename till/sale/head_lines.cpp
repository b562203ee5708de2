#include "head_lines.h"

#include "printclass.h"
#include "receipt_print.h"
#include "report_file.h"
#include "ui_services.h"

#include <filesystem>

namespace {

// The fatal rule: the receipt header after a copy cannot be printed.
[[noreturn]] void annulAndEnd(ClosingHost& host) {
    host.AnuletCeku();
    platform::ui::endProgram();
}

// A kept slip copy's lines; none when the file is missing.
QStringList fileLines(const std::filesystem::path& file) {
    return LoadReportFile(QString::fromStdString(file.string())).value_or(QStringList());
}

}  // namespace

int PrintCekasGalvu(TPrintClass& print, int number, const QDate& today, bool isReturn, const QStringList& payerLines,
                    LastReceipt& last) {
    last.PedejaisCekaNr = number;
    last.AtgriezGalvasRindas.clear();
    if (isReturn) last.AtgriezGalvasRindas << kAtgriesanasBanneris;
    last.MaksatajaRindas = payerLines;
    const QStringList lines = CekaNumuraRindas(number, today) + last.AtgriezGalvasRindas + payerLines +
                              QStringList{QString(print.RindasGarums, u'-')};
    for (const QString& line : lines)
        if (const int rc = print.DrukaUzAbam(line, 1); rc < 0) return rc;
    return 1;
}

QStringList KopijasVirsraksts(int number) {
    const QString rule(40, u'-');
    return {rule, "             KOPIJA ČEKAM Nr " + QString::number(number), rule};
}

void PrintLastReceiptCopy(TPrintClass& print, const LastReceipt& last, int openLines, ClosingHost& host) {
    if (openLines > 0) return host.ShowPazinojums(kCopyWhileOpenMessage);
    if (last.IeprCekaRindas.empty()) return host.ShowPazinojums(kCopyNoDataMessage);
    print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 0);
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
    for (const QString& line : KopijasVirsraksts(last.PedejaisCekaNr) + last.AtgriezGalvasRindas + last.MaksatajaRindas)
        print.DrukaUzAbam(line, 1);
    for (const TCekaRinda& line : last.IeprCekaRindas) {
        if (const int rc = host.PrintCekaRinda(line); rc <= 0) {
            host.SetStatusText("CekaKopija = " + QString::number(rc));
            return;
        }
    }
    for (const QString& line : last.CekaBeiguRindas) print.DrukaUzAbam(line, 0);
    print.AtverNaudasLadi();
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
}

SlipFiles SlipCopyFiles(SlipKind kind) {
    if (kind == SlipKind::BankCard)
        return {"LastCC_Ceks1.rep", "LastCC_Ceks2.rep",
                QStringLiteral("Pirms drukāt pēdējā norēķina ar Bankas kartes čeka kopiju jānobeidz čeks !!!"),
                QStringLiteral("Nav informācijas par pēdējo Bankas kartes čeka kopiju !!!")};
    return {"LastPrepaid1.rep", "LastPrepaid2.rep",
            QStringLiteral("Pirms drukāt pēdējā Prepaid čeka kopiju jānobeidz čeks !!!"),
            QStringLiteral("Nav informācijas par pēdējo Prepaid čeka kopiju !!!")};
}

void PrintSlipCopy(TPrintClass& print, SlipKind kind, int openLines, ClosingHost& host) {
    const SlipFiles files = SlipCopyFiles(kind);
    if (openLines > 0) return host.ShowPazinojums(files.whileOpenMessage);
    if (!std::filesystem::exists(files.first)) return host.ShowPazinojums(files.missingMessage);
    print.DrukaTuksasRindasUzAbam(5);
    print.AtverNaudasLadi();
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
    for (const QString& line : fileLines(files.first)) print.DrukaUzAbam(line, 0);
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
    if (std::filesystem::exists(files.second))
        for (const QString& line : fileLines(files.second)) print.DrukaUzAbam(line, 0);
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
}
