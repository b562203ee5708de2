// What the day reports need of the sale window besides the device objects: its message service,
// the annulment of the open receipt (the fatal path of a failed receipt header) and exchange rates.
#pragma once

#include <QString>

class TPrintClass;

class ReportWindow {
public:
    virtual ~ReportWindow() = default;
    // The till's usual way to tell the user something (follows command-file mode).
    virtual void ShowPazinojums(const QString& text) = 0;
    // Annuls the open receipt (prints it as annulled, stores its rows, clears the screen).
    virtual void AnuletCeku() = 0;
    // The rate of a currency code in the receipt currency; 1.0 when the code is unknown.
    virtual double GetValutasKurss(const QString& code) = 0;
};

// Prints the next receipt's header; a header that cannot be printed annuls the open receipt and
// ends the program (platform::ui::endProgram).
void PrintNextHeader(TPrintClass& print, ReportWindow& window);
