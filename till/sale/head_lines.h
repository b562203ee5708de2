// The head lines of a receipt (number, service date, return banner, payer) and the copies of the
// last receipt and of the last kept card and prepaid slips.
#pragma once

#include "closing_receipt.h"

#include <QDate>
#include <QStringList>

#include <filesystem>
#include <vector>

class TPrintClass;

// What the copy of the last receipt prints again.
struct LastReceipt {
    int PedejaisCekaNr = 0;
    QStringList AtgriezGalvasRindas;  // the return banner of its head
    QStringList MaksatajaRindas;      // its payer lines
    QStringList CekaBeiguRindas;      // its closing lines, as PrintAllCeks printed them
    std::vector<TCekaRinda> IeprCekaRindas;  // its lines, as stored
};

// Prints the head lines of receipt `number` on both stations and keeps them for the copy.
// Returns 1, or the first print failure (below 0).
int PrintCekasGalvu(TPrintClass& print, int number, const QDate& today, bool isReturn, const QStringList& payerLines,
                    LastReceipt& last);

// The title block of a receipt copy: "KOPIJA ČEKAM Nr" and the number between two rules.
QStringList KopijasVirsraksts(int number);

inline const QString kCopyWhileOpenMessage = QStringLiteral("Ir jau iesākts nākošais čeks, kopiju izdrukāt nevar !!!");
inline const QString kCopyNoDataMessage = QStringLiteral("Čeka kopiju izdrukāt nevar (nav datu) !!!");

// The copy of the last receipt ("Pēdējā čeka kopija"): refused while a receipt is open or when
// there is none; a receipt header that cannot be printed annuls the open receipt and ends the
// program (platform::ui::endProgram).
void PrintLastReceiptCopy(TPrintClass& print, const LastReceipt& last, int openLines, ClosingHost& host);

// The kept slips of the last card payment and of the last prepaid top-up, as files of printed
// lines in the working folder.
enum class SlipKind { BankCard, Prepaid };
struct SlipFiles {
    std::filesystem::path first, second;
    QString whileOpenMessage, missingMessage;
};
SlipFiles SlipCopyFiles(SlipKind kind);

// Prints the kept slip copies again; refused while a receipt is open or when the first copy is
// missing. A header print failure annuls and ends the program.
void PrintSlipCopy(TPrintClass& print, SlipKind kind, int openLines, ClosingHost& host);
