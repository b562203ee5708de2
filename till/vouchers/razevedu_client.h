// The till's side of librazevedu.so: the library loaded by name on first use, its messages shown
// in the till's message boxes, and the account settings passed as the first three arguments.
#pragma once

#include "library_loader.h"

#include <QString>
#include <QStringList>

class RazeveduClient {
public:
    // The account: ZudezoClientID, ZudezoPasword, ZudezoUserID.
    RazeveduClient(QString clientId, QString password, QString userId);

    // Each returns the service's reference, or the empty text on failure (the reason has been
    // shown: the service's text, the network's, or that the library could not be loaded).
    QString reserveVoucher(const QString& ean);
    QString cancelVoucherReservation(const QString& reference);
    QString cancelTransaction(const QString& reference);
    // The receipt text of the purchase in `receipt`.
    QString buyReservedVoucher(const QString& reference, QString& receipt);
    // One text per product the service sells; none on failure (the reason has been shown).
    QStringList productList();

    // The library's file name; tests and installations may map it elsewhere through
    // platform::LoadedLibrary::substitute.
    static constexpr const char* kLibraryName = "librazevedu.so";

private:
    struct Exports;
    // The library's functions; none (after saying so) when it cannot be loaded.
    static const Exports* library();

    std::u16string clientId_, password_, userId_;
};
