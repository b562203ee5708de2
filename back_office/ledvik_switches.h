// The back office's command line: any text runs one unattended pass; switches found anywhere in
// it choose the send and receive steps, the period and the Z report.
#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <stdexcept>

// A date switch whose ten characters are no date in the short date format; the text says which.
class SwitchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the switches set. The seven boxes are set by their switch and cleared without it; the
// period and the Z number only change when their switch is there.
struct LedvikSwitches {
    bool Preces = false;    // s1
    bool Klienti = false;   // s2
    bool Valutas = false;   // s3
    bool Users = false;     // s4
    bool Nodalas = false;   // s5
    bool R_ARTIK = false;   // r1
    bool R_KONTR = false;   // r2
    std::optional<QDate> DatumsNo;   // "dno" and the next ten characters
    std::optional<QDate> DatumsLidz; // "dlidz" and the next ten characters
    std::optional<QString> Z_Nr;     // "-z" and the text up to the next blank
};

// `commandLine` is the program's arguments joined by blanks. Each switch is the first
// case-sensitive occurrence of its letters anywhere in the text. Throws SwitchError.
LedvikSwitches ParseLedvikSwitches(const QString& commandLine);
