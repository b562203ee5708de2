#include "prepaid_slip.h"

#include "card_operation.h"
#include "head_lines.h"
#include "payvo_control.h"
#include "printclass.h"
#include "regional.h"
#include "report_file.h"

namespace {

const QString kClosingFeed = QStringLiteral("\n\n\n\n\n");

// The nominal is whole cents as text; one that is no whole number is printed as it came.
QString NominalText(const QString& nominal) {
    bool ok = false;
    const qlonglong cents = nominal.trimmed().toLongLong(&ok);
    return ok ? QString::number(double(cents) * 0.01, 'f', 2) : nominal;
}

QString Trimmed(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= ' ') ++from;
    while (to > from && text[to - 1].unicode() <= ' ') --to;
    return text.mid(from, to - from);
}

}  // namespace

PrepaidCeksDati ReadPrepaidCeksDati(const TPayvo& c, const QString& summa) {
    PrepaidCeksDati d;
    d.PrePaidName = c.Text("PrePaidName");
    d.PrePaidNominal = c.Text("PrePaidNominal");
    d.PrePaidDuration = c.Text("PrePaidDuration");
    d.PrePaidExtDuration = c.Text("PrePaidExtDuration");
    d.PrePaidSerial = c.Text("PrePaidSerial");
    d.PrePaidValue = c.Text("PrePaidValue");
    d.PrePaidDescription = c.Text("PrePaidDescription");
    d.TerminalID = c.Text("TerminalID");
    d.AuthCode = c.Text("AuthCode");
    d.summa = summa;
    return d;
}

QString GetTekstaRinda(const QString& text, int width, QString& rest) {
    rest.clear();
    if (width < 1 || text.size() <= width) return text;
    const qsizetype blank = width >= 2 ? text.lastIndexOf(' ', width - 2) : -1;
    if (blank >= 0) {
        rest = text.mid(blank + 1);
        return text.left(blank);
    }
    rest = text.mid(width);
    return text.left(width);
}

QStringList MakePrepaidCeks(int copy, const PrepaidCeksDati& d, TPrintClass& print, const platform::LocalTime& now) {
    QStringList kept;
    const auto both = [&](const QString& text) {
        print.DrukaUzAbam(text, 1);
        kept.append(text);
    };
    const auto receipt = [&](const QString& text) {
        print.DrukaUzCeka(text, false, 1);
        kept.append(text);
    };
    both("Datums " + QString::fromStdString(platform::shortDateText(now.year, now.month, now.day)) + " Laiks " +
         QString::fromStdString(platform::timeText(now.hour, now.minute, now.second)));
    print.DrukaTuksasRindasUzAbam(1);
    kept.append(QStringLiteral("\n"));
    both(QStringLiteral("       ATJAUNOŠANAS KARTE"));
    if (d.PrePaidName.isEmpty()) {
        both(kPrepaidNoNameLine1);
        both(kPrepaidNoNameLine2);
        return {};
    }
    both(QString());
    both(d.PrePaidName);
    both("Atjaunošanas karte        " + NominalText(d.PrePaidNominal) + " ");
    both("Derīguma termiņš          " + d.PrePaidDuration + " ");
    both("Lietošanas termiņš        " + d.PrePaidExtDuration + " ");
    both("Sērijas Nr      " + d.PrePaidSerial + " ");
    if (copy == 2) receipt("KODS       " + d.PrePaidValue + " ");
    both(QString::asprintf("Summa :                   %10.2f", ReadSumma(d.summa).value_or(0) * 0.01));
    if (copy == 2) {
        if (!d.PrePaidDescription.isEmpty()) receipt(QString(30, '-'));
        QString description = Trimmed(QString(d.PrePaidDescription).replace('\n', ' '));
        print.SetCompressOn();
        const int width = print.RindasGarums - 1;
        for (;;) {
            QString rest;
            const QString piece = GetTekstaRinda(description, width, rest);
            if (piece.isEmpty()) break;
            receipt(piece + " ");
            description = Trimmed(rest);
        }
        print.SetCompressOff();
    }
    both(d.TerminalID);
    both(d.AuthCode);
    print.DrukaUzCeka(kClosingFeed, true, 2);
    kept.append(kClosingFeed);
    return kept;
}

std::optional<int> SellPrepaidKarte(int copy, const PrepaidCeksDati& dati, TPrintClass& print, const platform::LocalTime& now) {
    const QStringList kept = MakePrepaidCeks(copy, dati, print, now);
    if (kept.isEmpty()) return std::nullopt;
    const SlipFiles files = SlipCopyFiles(SlipKind::Prepaid);
    SaveReportFile(QString::fromStdString((copy == 1 ? files.first : files.second).string()), kept);
    return print.DrukaCekaGalvu();
}
