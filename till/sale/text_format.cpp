#include "text_format.h"

#include "regional.h"

#include <cstdio>
#include <stdexcept>
#include <string>

QString FixedText(double value, int width, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    return QString::fromLatin1(buffer);
}

QString FormatC(const QString& format, std::initializer_list<FormatArg> args) {
    QString out;
    auto next = args.begin();
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i + 1 < n && format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        ++i;
        bool left = false;
        if (i < n && format[i] == u'-') {
            left = true;
            ++i;
        }
        int width = 0;
        while (i < n && format[i].isDigit()) width = width * 10 + format[i++].digitValue();
        int precision = -1;
        if (i < n && format[i] == u'.') {
            ++i;
            precision = 0;
            while (i < n && format[i].isDigit()) precision = precision * 10 + format[i++].digitValue();
        }
        if (i >= n) throw std::invalid_argument("format ends inside a conversion");
        if (next == args.end()) throw std::invalid_argument("too few arguments for the format");
        const FormatArg& arg = *next++;
        QString field;
        switch (format[i].unicode()) {
        case u's':
            if (!std::holds_alternative<QString>(arg)) throw std::invalid_argument("%s needs a text");
            field = std::get<QString>(arg);
            break;
        case u'f':
            if (!std::holds_alternative<double>(arg)) throw std::invalid_argument("%f needs a number");
            field = FixedText(std::get<double>(arg), 0, precision < 0 ? 6 : precision);
            break;
        case u'i':
        case u'd':
            if (!std::holds_alternative<int>(arg)) throw std::invalid_argument("%i needs a whole number");
            field = QString::number(std::get<int>(arg));
            break;
        default:
            throw std::invalid_argument("unknown conversion in format");
        }
        out += left ? field.leftJustified(width, u' ') : field.rightJustified(width, u' ');
    }
    return out;
}

QString ShortDateText(const QDate& date) {
    return QString::fromStdString(platform::shortDateText(date.year(), date.month(), date.day()));
}

QString TimeText(const QTime& time) {
    return QString::fromStdString(platform::timeText(time.hour(), time.minute(), time.second()));
}
