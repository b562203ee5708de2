#include "sum_vardiem.h"

#include "clock.h"

#include <QDir>
#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <string>

namespace {

const QString kTeen = QStringLiteral("teen");

QString FromTable(const QString& digit, const char* const (&words)[10]) {
    if (digit.size() != 1 || !digit[0].isDigit()) return {};
    return QString::fromUtf8(words[digit[0].digitValue()]);
}

// The amount in `decimals` places, fixed notation, "." whatever the locale.
QString Fixed(double value, int decimals) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return ec == std::errc{} ? QString::fromLatin1(buf, int(end - buf)) : QString();
}

// The three words of one group of digits (hundreds, tens, units).
struct GroupWords {
    QString hundreds, tens, units;
    QString all() const { return hundreds + tens + units; }
};

GroupWords WordsOf(const QString& hundreds, const QString& tens, const QString& units) {
    GroupWords g;
    g.hundreds = Simti(hundreds);
    g.tens = Desmiti(tens);
    if (g.tens == kTeen) g.tens = Padsmiti(units);
    else g.units = Vieni(units);
    return g;
}

}  // namespace

QString Vieni(const QString& digit) {
    static const char* const words[10] = {"", "viens|", "divi|", "tris|", "cetri|", "pieci|", "sesi|", "septini|", "astoni|", "devini|"};
    return FromTable(digit, words);
}

QString Desmiti(const QString& digit) {
    static const char* const words[10] = {"", "teen", "divdesmit|", "trisdesmit|", "cetrdesmit|", "piecdesmit|", "sesdesmit|",
                                          "septindesmit|", "astondesmit|", "devindesmit|"};
    return FromTable(digit, words);
}

QString Simti(const QString& digit) {
    static const char* const words[10] = {"", "viens_simts|", "divi_simti|", "tris_simti|", "cetri_simti|", "pieci_simti|",
                                          "sesi_simti|", "septini_simti|", "astoni_simti|", "devini_simti|"};
    return FromTable(digit, words);
}

QString Padsmiti(const QString& digit) {
    static const char* const words[10] = {"desmit|", "vienpadsmit|", "divpadsmit|", "trispadsmit|", "cetrpadsmit|",
                                          "piecpadsmit|", "sespadsmit|", "septinpadsmit|", "astonpadsmit|", "devinpadsmit|"};
    return FromTable(digit, words);
}

QString SummasFraze(double amount) {
    amount = std::fabs(amount);  // a negative amount is said without its sign
    if (amount < 0.01 || amount > 999999999.99)
        return amount == 0 ? QStringLiteral(" 0|lati|0|santimi") : QStringLiteral("baigais piķis ...");

    QString valuta = QStringLiteral("lati|");
    const QString centi = Fixed(amount, 2).right(2);
    const QString centuVards = (centi[1] == QLatin1Char('1') && centi != QLatin1String("11")) ? QStringLiteral("santims")
                                                                                              : QStringLiteral("santimi");
    QString centuDala;
    if (centi.toInt() == 0) {
        centuDala = QStringLiteral("nulle|") + centuVards;
    } else {
        const GroupWords g = WordsOf(QString(), centi.left(1), centi.right(1));
        centuDala = g.tens + QLatin1Char(' ') + g.units + QLatin1Char(' ') + centuVards;
    }
    if (amount < 1) return QStringLiteral("nulle|") + valuta + QLatin1Char('|') + centuDala;

    // The whole part in 15 significant digits, cut, right-aligned in 9 characters.
    char buf[64];
    const char* end = std::to_chars(buf, buf + sizeof buf, amount, std::chars_format::general, 15).ptr;
    double rounded = amount;
    std::from_chars(buf, end, rounded);
    const QString whole = QString::number(static_cast<long long>(std::trunc(rounded))).rightJustified(9, QLatin1Char(' '));
    const auto group = [&](int from) { return WordsOf(whole.mid(from, 1), whole.mid(from + 1, 1), whole.mid(from + 2, 1)); };

    const GroupWords miljoni = group(0);
    const GroupWords tukstosi = group(3);
    const GroupWords vieni = group(6);
    QString fraze;
    if (!miljoni.all().isEmpty())
        fraze += miljoni.all() + (miljoni.units == QLatin1String("viens|") ? QStringLiteral("miljons|") : QStringLiteral("miljoni|"));
    if (!tukstosi.all().isEmpty())
        fraze += tukstosi.all() + (tukstosi.units == QLatin1String("viens|") ? QStringLiteral("tukstotis|") : QStringLiteral("tukstosi|"));
    if (vieni.units.trimmed() == QLatin1String("viens|")) valuta = QStringLiteral("lats|");
    fraze += vieni.all();
    if (!fraze.isEmpty()) fraze += valuta;
    return fraze + centuDala;
}

QStringList FrazesTokeni(int veids, const QString& fraze) {
    QString rest = fraze;
    if (veids == 1) rest.prepend(QStringLiteral("Summa|"));
    if (veids == 2) rest.prepend(QStringLiteral("Sanemts|"));
    if (veids == 3) rest.prepend(QStringLiteral("Izdots|"));
    QStringList tokens;
    while (rest.size() > 1) {
        const int bar = rest.indexOf(QLatin1Char('|'));
        if (bar < 0) {
            tokens << rest;
            rest.clear();
        } else {
            tokens << rest.left(bar);
            rest = rest.mid(bar + 1);
        }
    }
    return tokens;
}

namespace {
platform::WavPlayer* installedPlayer = nullptr;
}

platform::WavPlayer& SpokenWordsPlayer() {
    static platform::AlsaWavPlayer MediaPlayer1;
    return installedPlayer ? *installedPlayer : MediaPlayer1;
}

void SetSpokenWordsPlayer(platform::WavPlayer* player) { installedPlayer = player; }

TSumVardiem::TSumVardiem(int veids, double summa, const SpokenWordsOutput& player) { SpeakSumma(veids, summa, player); }

void TSumVardiem::SpeakSumma(int veids, double summa, const SpokenWordsOutput& player) {
    Player = player;
    Veids = veids;
    PlayVardi(SummasFraze(summa));
}

void TSumVardiem::PlayVardi(const QString& fraze) {
    for (const QString& token : FrazesTokeni(Veids, fraze)) {
        const QString fileName = token + QStringLiteral(".wav");
        const QString path = QDir::currentPath() + QStringLiteral("/SumVardi/") + fileName.trimmed();
        if (QFileInfo::exists(path)) {
            if (Player.player) Player.player->play(path.toStdString());
            platform::clock().sleepMs(kWordPauseMs);
        } else if (!token.isEmpty() && Player.missingWord) {
            Player.missingWord(QStringLiteral("Nav atrodams fails ") + fileName);
        }
    }
}
