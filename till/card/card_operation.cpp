#include "card_operation.h"

#include "codepage_1257.h"
#include "payment_text.h"
#include "payvo.h"
#include "regional.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

double KartesSummaCentos(const QString& itemText, int department, double amount, std::optional<double> rowAmount) {
    const qsizetype card = itemText.indexOf(u"/1=");
    double value = amount;
    if (department <= 0 && rowAmount) {
        value = *rowAmount;
    } else if (department <= 0 && card >= 0) {
        QString text = itemText.mid(card + 3);
        if (const qsizetype slash = text.indexOf('/'); slash >= 0) text.truncate(slash);
        value = ParseAmount(text).value_or(0);
    }
    // Amounts are in cents' precision: 12.30 x 100 is 1230, not 1229.9999.
    return std::round(value * 100);
}

bool ParsniedzCekaSummu(double cents, double cekaSumma) { return 0.01 * cents - cekaSumma > 0.001; }

std::optional<double> ReadSumma(const QString& text) {
    const std::optional<double> value = ParseAmount(text);
    if (!value) return std::nullopt;
    return std::trunc(*value);
}

QString TerminalStateText(int state) {
    static const char* const texts[] = {"Termināls ir aizņemts (1) !!!", "Nestrādā PinPad (2) !!!",
                                        "Tranzakciju fails ir pilns (3) !!!", "Nepareizi parametri (4) !!!",
                                        "Nav atbildes no termināla (5) !!!", "Aizmirsta karte (6) !!!",
                                        "Nezināma kļūda (7) !!!"};
    return state >= 1 && state <= 7 ? QString::fromUtf8(texts[state - 1]) : QString();
}

QString TransactionResultText(int result) {
    static const char* const texts[] = {"Tranzakcija kancelēta (1) !!!", "Nav korekta summa (2) !!!",
                                        "Nav korekts tranzakcijas tips (3) !!!", "Procesa kļūda (4) !!!",
                                        "Autorizācijas kļūda (5) !!!"};
    return result >= 1 && result <= 5 ? QString::fromUtf8(texts[result - 1]) : QString();
}

QString OutcomeMessage(const QString& text, int statusCode, const QString& statusMessage) {
    return text + "\n" + QString::number(statusCode) + "-" + statusMessage;
}

QString ChipErrorText(int code) {
    switch (code) {
    case -1001:
    case -1002: return QStringLiteral("seriālā porta statusa kļūda");
    case -1003: return QStringLiteral("seriāla porta atvēršanas kļūda-kļūdains seriālā porta numurs");
    case -1004: return QStringLiteral("PIN ievades ierīce neatbild(komunikācijas problēma)");
    case -1005: return QStringLiteral("datu lasīšanas kļūda");
    case -1006: return QStringLiteral("saņemta kļūdaina pakete");
    case -1007: return QStringLiteral("datu nosūtīšanas kļūda");
    case -1009: return QStringLiteral("kļūdaina summa");
    case -1010: return QStringLiteral("jāļauj izmantot magnētisko karti");
    case -1011: return QStringLiteral("saņemta kļūdaina pakete no EFT servera");
    default: return " Kļūda " + QString::number(code);
    }
}

QString TransactionLogText(int transactionType, int prePaidCode, const QString& ticketNumber, int amount) {
    return "Transaction Type=" + QString::number(transactionType) + "\t PrePaidCode=" + QString::number(prePaidCode) +
           "\t Ticket Number=" + ticketNumber + "\t Summa=" + QString::number(amount);
}

QString KartesLogLine(const platform::LocalTime& when, const QString& text) {
    return QString::fromStdString(platform::shortDateText(when.year, when.month, when.day)) + "-" +
           QString::fromStdString(platform::timeText(when.hour, when.minute, when.second)) + " " + text;
}

void AppendKartesLog(const QString& line) {
    QFile file(kKartesLogFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    file.write(QByteArray::fromStdString(toCp1257(line + "\r\n")));
}

namespace {

// The workstation's date separator: the first character of its short date that is no digit.
QString DateSeparator() {
    const QString sample = QString::fromStdString(platform::shortDateText(2026, 12, 8));
    for (const QChar c : sample)
        if (!c.isDigit()) return QString(c);
    return QStringLiteral(".");
}

// The digit groups of a typed date or time (separators and the blanks of optional positions
// dropped).
QList<int> DigitGroups(const QString& typed) {
    QList<int> groups;
    for (const QString& part : typed.split(QRegularExpression("[^0-9]+"), Qt::SkipEmptyParts)) groups.append(part.toInt());
    return groups;
}

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar('0')); }

}  // namespace

std::optional<PromptForm> PromptFormOf(std::int32_t dispid) {
    // The terminal's masks, in the class library's notation, are four optional digits
    // ("9999"), a date "!90/90/0000" and a time "!90:00" (9 optional, 0 required); Qt marks an
    // optional digit 0 and a required one 9.
    PromptForm number{QStringLiteral("Gaidu numuru..."), true, QStringLiteral("0000;_")};
    switch (dispid) {
    case payvo::kEnterReceiptNr: number.refusal = -3; return number;
    case payvo::kEnterLast4Digits:
    case payvo::kEnterSTAN:
    case payvo::kEnterMerchantPwd: return number;
    case payvo::kAskYesNo: {
        PromptForm yesNo{QString(), false, QStringLiteral("0000;_"), QStringLiteral("Yes"), QStringLiteral("No")};
        yesNo.answer = PromptForm::Answer::YesNo;
        return yesNo;
    }
    case payvo::kEnterDate: {
        const QString sep = DateSeparator();
        PromptForm date{QStringLiteral("Gaidu datumu..."), true, "09" + sep + "09" + sep + "9999;_"};
        date.refusal = -3;
        date.answer = PromptForm::Answer::Date;
        return date;
    }
    case payvo::kEnterTime: {
        PromptForm time{QStringLiteral("Gaidu laiku..."), true, QStringLiteral("09:99;_")};
        time.answer = PromptForm::Answer::Time;
        return time;
    }
    default: return std::nullopt;
    }
}

QString PromptInitialText(const PromptForm& form, const platform::LocalTime& now) {
    switch (form.answer) {
    case PromptForm::Answer::Date: {
        const QString sep = DateSeparator();
        return TwoDigits(now.day) + sep + TwoDigits(now.month) + sep + QString::number(now.year);
    }
    case PromptForm::Answer::Time: return TwoDigits(now.hour) + ":" + TwoDigits(now.minute);
    default: return QStringLiteral("0000");
    }
}

std::optional<QString> PromptAnswer(const PromptForm& form, const QString& typed) {
    switch (form.answer) {
    case PromptForm::Answer::YesNo: return QStringLiteral("1");
    case PromptForm::Answer::Text: return typed;
    case PromptForm::Answer::Date: {
        const QList<int> g = DigitGroups(typed);
        if (g.size() != 3 || g[2] < 1000 || !QDate(g[2], g[1], g[0]).isValid()) return std::nullopt;
        return TwoDigits(g[0]) + TwoDigits(g[1]) + QString::number(g[2]);
    }
    case PromptForm::Answer::Time: {
        const QList<int> g = DigitGroups(typed);
        if (g.size() != 2 || !QTime(g[0], g[1]).isValid()) return std::nullopt;
        return TwoDigits(g[0]) + TwoDigits(g[1]);
    }
    }
    return std::nullopt;
}

std::optional<QString> RefusedAnswer(const PromptForm& form) {
    if (form.answer == PromptForm::Answer::YesNo) return QStringLiteral("2");
    return std::nullopt;
}
