#include "receipt_print.h"

#include "receipt.h"
#include "text_format.h"

#include <QLocale>

namespace {

// One printer family's layouts.
struct LineLayout {
    int shortWidth;               // the one-line layout's text field
    int nameWidth;                // pieces of the name in the full layout
    const char* quantityFormat;   // "%d" stands for the price decimals
    const char* discountFormat;
    const char* shortFormat;
};

constexpr LineLayout kNarrowLayout{34, 39, "%6s%8.3fx%8.%df=%10.2f %3s %2i", "C.bez atl.=%7.2f Atl.%3.0f%1s=%8.3f", "%34s %3s %2i"};
constexpr LineLayout kWideLayout{42, 44, "%10s%10.3fx%10.%df=%10.2f %3s %2i", "Cena bez atlaides=%7.2f Atl.%3.0f%1s=%8.3f",
                                 "%42s %3s %2i"};
constexpr LineLayout kType5Layout{30, 36, "%6s%7.3fx%7.%df=%8.2f %3s %2i", "C.bez atl.=%6.2f Atl.%2.0f%1s=%7.3f", "%30s %3s %2i"};
constexpr LineLayout kOtherLayout{30, 39, "%6s%7.3fx%7.%df=%8.2f %3s %2i", "C.bez atl.=%6.2f Atl.%2.0f%1s=%7.3f", "%30s %3s %2i"};

const LineLayout& LayoutFor(int printerType) {
    switch (printerType) {
    case 0:
    case 2:
        return kNarrowLayout;
    case 4:
        return kWideLayout;
    case 5:
        return kType5Layout;
    default:
        return kOtherLayout;
    }
}

// Up to three pieces of `width` characters; the second and third only when not blank.
QStringList Pieces(const QString& text, int width) {
    QStringList pieces{text.left(width)};
    for (int i = 1; i < 3; ++i) {
        const QString piece = text.mid(i * width, width);
        if (!piece.trimmed().isEmpty()) pieces << piece;
    }
    return pieces;
}

}  // namespace

QStringList CekaRindasTeksts(const LinePrintSettings& settings, const PrintedLine& line) {
    const LineLayout& layout = LayoutFor(settings.Printeris);
    const double d = 1 - 0.01 * line.Atlaide;
    const double sum = double(RoundSumma(d * line.Daudzums * line.Cena, 2));
    QStringList out;
    if (line.Korekcija && line.Daudzums < 0) out << kKludasLabojums;
    if (settings.ArtikAtsevRinda) out << line.Artikuls;
    const QString name = settings.ArtikAtsevRinda ? line.Nosaukums : line.Artikuls + u' ' + line.Nosaukums;

    if (line.Daudzums == 1.0 && !settings.PilnuJa1Daudz) {
        const QString s = FixedText(sum, 8, 2).trimmed();
        const int w = layout.shortWidth;
        const QString text = (name + QString(40, u' ')).left(w - 1 - int(s.size())) + u' ' + s;
        out << FormatC(QString::fromLatin1(layout.shortFormat), {text.left(w), settings.CekaValutaKods, line.Nodala});
    } else {
        out << Pieces(name + QString(100, u' '), layout.nameWidth);
        const QString format = QString::fromLatin1(layout.quantityFormat).replace(QStringLiteral("%d"), QString::number(settings.CenasDecimalzimes));
        out << FormatC(format, {line.Mervieniba.left(6), line.Daudzums, line.Cena * d, sum, settings.CekaValutaKods, line.Nodala});
    }
    if (line.Atlaide != 0)
        out << FormatC(QString::fromLatin1(layout.discountFormat),
                       {line.Cena, line.Atlaide, QStringLiteral("%"), double(RoundSumma(line.Daudzums * line.Cena * line.Atlaide * 0.01, 3))});
    return out;
}

QStringList KlientaDatuRindas(const CustomerBlock& customer, int lineWidth) {
    if (customer.Nosaukums.isEmpty() && customer.CitasZinas.isEmpty()) return {};
    QStringList out;
    if (!customer.Nosaukums.isEmpty()) out << Pieces(QStringLiteral("Maksātājs ") + customer.Nosaukums, lineWidth);
    if (!customer.RegNr.isEmpty()) out << QStringLiteral("Reģ.Nr. ") + customer.RegNr;
    if (!customer.Adrese.isEmpty()) out << Pieces(QStringLiteral("Adrese ") + customer.Adrese, lineWidth);
    if (!customer.CitasZinas.isEmpty()) out << Pieces(customer.CitasZinas, lineWidth);
    return out;
}

QStringList CekaNumuraRindas(int number, const QDate& today) {
    return {QStringLiteral("Čeks Nr ") + QString::number(number),
            QStringLiteral("Pieg.,pakalp.datums ") + ShortDateText(today)};
}
