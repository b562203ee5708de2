// Texts of the prepaid-voucher services as the till reads them: the purchase receipt's lines with
// their logo and barcode tags, the distributor object's replies, and voucher amounts in cents.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A service text cut into lines at each line feed (a carriage return before it is dropped) or a
// lone carriage return; the text after the last line end is the last line when it is not empty.
QStringList VoucherTextLines(const QString& text);

// One line of a purchase receipt as the printer takes it.
struct VoucherPrintItem {
    enum Kind { Text, Logo, Barcode };
    Kind kind = Text;
    QString text;  // the line, the logo's name, or the barcode's digits
};

// A line holding "img src=" names a logo: the text inside the quotes after the "=". A line holding
// "barcode digits=" prints the quoted digits (at most 13) as a barcode. Every other line is text.
// A tag without its quotes takes what stands up to the ">" or the end of the line.
VoucherPrintItem ReadVoucherReceiptLine(const QString& line);

// The voucher amount of a line after its discount, rounded to whole cents.
long long VoucherCents(double cena, double atlaideProcenti);

// The part of the distributor object's reply after "ER,", or from its third character when it has
// no "ER," (the first two are its status).
QString DistributorErrorText(const QString& reply);
