// The prepaid vouchers of the receipt being closed, kept under "vouchers" in its pending file by
// the voucher steps as each is reserved, bought and printed: a reservation is on record before
// the receipt is numbered, a purchase's reference and receipt text (the code the customer paid
// for) before it is printed. SavePendingReceipt keeps them as they stand. At the next start the
// voucher steps buy and print what a receipt finished as paid reserved, and cancel what the
// receipt of a reservation that was never finished reserved.
#pragma once

#include <QJsonObject>
#include <QString>

#include <filesystem>
#include <vector>

struct PendingVoucher {
    QString reservation;  // the service's reference of the reservation
    QString reference;    // of the purchase; empty until bought
    QString receipt;      // the purchase's receipt text
    bool printed = false;
};

std::vector<PendingVoucher> LoadPendingVouchers(const std::filesystem::path& file);
// Writes them into the file, made when there is none; none removes them, and the file when it
// held nothing else. False when it cannot be written.
bool KeepPendingVouchers(const std::filesystem::path& file, const std::vector<PendingVoucher>& vouchers);
// The vouchers the file holds now, put into the receipt's JSON that replaces it.
void CarryPendingVouchers(const std::filesystem::path& file, QJsonObject& receipt);
