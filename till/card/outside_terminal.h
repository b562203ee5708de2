// The outside vendor's card-terminal library on a till of terminal kind 3: "arccom.dll" loaded
// from its fixed path with its one entry "ProcessOw", the card sale and return of a payment row,
// and the slip its software leaves in "c:\Arcus2\cheq.out", printed on both stations, kept as
// "LastCC_Ceks1.rep" / "LastCC_Ceks2.rep" and followed by the next receipt's header. Both paths
// reach files through the settings store's path table (windows_paths.h).
#pragma once

#include "library_loader.h"
#include "terminal_day_end.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class TPrintClass;

inline const QString kArccomMissingMessage = QStringLiteral("Nevarēju atrast Ingenico Dll arccom.dll !!!");
inline const QString kPaymentFailedMessage = QStringLiteral("Apmaksa nav notikusi !!!\n\n");

// The settings of a card row's request.
struct OutsideTerminalSettings {
    int IngenicoPardosana = 0;  // operation code of a sale
    int IngenicoAtgr = 0;       // operation code of a return
    QString IngenicoVal;        // currency text
};

// A sale's amount text: the amount in whole cents, rounded as money is, without separators
// ("1234" for 12.34).
std::string SaleAmountText(double amount);
// The request of a card row: a sale with its amount, a return with "0.00" whatever its amount.
TerminalRequest CardRowRequest(const OutsideTerminalSettings& settings, bool isReturn, double amount);
// The software approved the sale or return: results 0 to 7 (a negative result is an error).
bool ApprovedResult(int result);
// The slip's lines the software left; none when it left no file.
QStringList ReadSlipLines();
// The message of a payment that did not happen: the lead, then every slip line with a line feed.
QString PaymentFailedText(const QStringList& slipLines);

class ArccomTerminal : public OutsideTerminal {
public:
    // annulAndEnd: the next receipt's header could not be printed after a slip; it annuls the
    // open receipt and ends the program.
    ArccomTerminal(TPrintClass& printer, std::function<void()> annulAndEnd);

    // 0 when the library and its entry are there; -1 otherwise (a library that cannot be loaded
    // is said in a plain message box, also in command-file mode).
    int LoadArccomDll() override;
    // The entry; -1 when no entry is loaded.
    int ProcessOw(TerminalRequest& request) override;
    void PrintIngenicoCeks(int copy) override;

    // Charges one card row of a sale (its amount) or return; false when the payment did not
    // happen (the library or its entry missing, or a result outside 0..7), after the message.
    bool ChargeCardRow(const OutsideTerminalSettings& settings, bool isReturn, double amount);

private:
    void FreeLibrary();
    // A slip of a payment the terminal approved (`charged`) keeps its receipt when the next
    // receipt's header does not print: the card is charged.
    void PrintSlip(int copy, bool charged);

    TPrintClass& print_;
    std::function<void()> annulAndEnd_;
    platform::LoadedLibrary library_;
    ProcessOwFunction entry_ = nullptr;
};
