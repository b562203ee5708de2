// Taking the next receipt number from the fiscal memory's counter CEKANRCOUN (the last number
// used, 11 digits with leading zeros), for a printed receipt and for an annulled one alike.
#pragma once

#include <QString>

#include <functional>

class TFMProc;

enum class ReceiptNumberFailure {
    None,
    ReadFailed,   // the fiscal memory did not answer (TFMProc has told the user)
    NotANumber,   // the counter holds something other than digits
    WriteFailed,  // the advanced counter could not be written back (TFMProc has told the user)
};

struct ReceiptNumber {
    int Numurs = 0;
    ReceiptNumberFailure Failure = ReceiptNumberFailure::None;
    bool ok() const { return Failure == ReceiptNumberFailure::None; }
};

// Reads the counter, adds one and writes it back. A counter never written (empty) counts as 1,
// so the first receipt of a new fiscal memory is number 2. Any failure leaves the number unused:
// the caller must not print or store under it. `alongside`, when given, runs with the new number
// before the counter is written, both in one transaction of the fiscal memory (on kinds without
// transactions its writes simply come first); false from it leaves the counter as it was.
ReceiptNumber TakeReceiptNumber(TFMProc& fm, const std::function<bool(int number)>& alongside = {});

// The counter's text for a number: 11 digits with leading zeros.
QString CekaNrTeksts(int number);

// What the user is told before the program ends on a failure.
inline const QString kCekaNrBojats = QStringLiteral("Fiskālajā atmiņā bojāts čeka numura skaitītājs !!!");
inline const QString kDarbsTiekPartraukts = QStringLiteral("Darbs tiek pārtraukts !!!");
