// The open receipt as the sale window holds it: its lines, payment rows and sums, and what is
// kept of the last printed and stored receipt for its copy.
#pragma once

#include "head_lines.h"
#include "receipt.h"
#include "receipt_order_lines.h"

#include <span>
#include <vector>

struct TCekasStavoklis {
    TCekaRindas CekaRindas{};
    int RinduSkaits = 0;          // above 0: a receipt is open
    TApmaksas Apmaksas{};
    double CekaSumma = 0;         // valid right after RefreshPirkumuSaraksts
    double Sanemts = 0;           // stays after a stored receipt until the next entry
    int PirkumsStorno = 0;        // the sale / return mode remembered when the switch is entered
    bool AtgriesanaPecCeka = false;
    // The card rows the terminal approved for this receipt: never charged again, stored with it
    // or cancelled on the terminal when it is annulled.
    std::vector<ApprovedCard> approvedCards;
    // A stored receipt returned by its number that the cashier puts back on the card: refunded on
    // the terminal only once the return has passed every check and is printed.
    bool refundOnCard = false;
    // The last receipt's number, head texts, closing lines and stored lines.
    LastReceipt PedejaisCeks;
    // Order lines the orders window handed over onto the open receipt, each once it went on; they
    // are marked paid with the receipt and dropped when its lines leave unstored.
    std::vector<OrderLineOnReceipt> OrderLines;

    std::span<const TCekaRinda> OpenLines() const { return {CekaRindas.data(), std::size_t(RinduSkaits)}; }
};
