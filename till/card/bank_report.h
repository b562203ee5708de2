// The bank-card terminal report: the terminal's printout, collected by the control as text,
// printed on the receipt station in compressed print 42 characters wide.
#pragma once

#include <QString>
#include <QStringList>

class TPayvo;
class TPrintClass;

inline const QString kReportWhileOpenMessage = QStringLiteral("Pirms drukāt atskaiti, jānobeidz čeks !!!");
inline const QString kReportPrintedStatus = QStringLiteral("Bankas atskaite izdrukāta.");

// Asks the terminal for its report (the batch request with the printout collected) and returns
// the collected text, whatever the request's result.
QString RequestBankReport(TPayvo& control);

// The report's printed lines: the text up to each line feed, and the text after the last one when
// it is not empty; an empty report is one empty line.
QStringList BankReportLines(const QString& report);

// Prints the report (the printer's line width put back afterwards).
void PrintBankReport(TPrintClass& print, const QString& report);
