#include "card_slip.h"

#include "payment_text.h"
#include "payvo_control.h"
#include "printclass.h"
#include "report_file.h"

namespace {

constexpr int kColumnWidth = 31;
constexpr int kNoAnswerState = 5;  // the terminal did not answer: no transaction values to show
const QString kClosingFeed = QStringLiteral("\n\n\n\n\n");

QString AfterFirstColon(const QString& text) {
    const qsizetype colon = text.indexOf(':');
    return colon >= 0 ? text.mid(colon + 1) : text;
}

// "ddmmyyyyhhnnss" as the terminal sends it, laid out as a date and a time; a shorter text shows
// the digits it has.
QString SlipDate(const QString& transactionDate) {
    const QString d = (transactionDate.contains(':') ? AfterFirstColon(transactionDate) : transactionDate).trimmed();
    return d.mid(0, 2) + "." + d.mid(2, 2) + "." + d.mid(4, 4) + " " + d.mid(8, 2) + ":" + d.mid(10, 2) + ":" + d.mid(12, 2);
}

QString OperationName(KartesOperacija operacija) {
    switch (operacija) {
    case KartesOperacija::Apmaksa: return QStringLiteral("Pirkuma apmaksa");
    case KartesOperacija::Atcelsana: return QStringLiteral("Atcelšana");
    case KartesOperacija::Atgriesana: return QStringLiteral("Pirkuma atgriešana");
    case KartesOperacija::Nav: break;
    }
    return {};
}

QString DeclineReason(int transactionReturn) {
    switch (transactionReturn) {
    case 1: return QStringLiteral("Tranzakcija Cancel");
    case 2: return QStringLiteral("Nav korekta summa");
    case 3: return QStringLiteral("Nav korekts tranzakcijas tips");
    case 4: return QStringLiteral("Procesa kļūda");
    case 5: return QStringLiteral("Autorizācijas kļūda");
    default: return QStringLiteral("Tranzakcija nav notikusi");  // a terminal state refused it, or an unknown result
    }
}

}  // namespace

KartesCeksDati ReadKartesCeksDati(const TPayvo& c) {
    KartesCeksDati d;
    d.TerminalState = c.Number("TerminalState");
    d.TerminalID = c.Text("TerminalID");
    d.MerchantID = c.Text("MerchantID");
    d.TransactionDate = c.Text("TransactionDate");
    d.CardName = c.Text("CardName");
    d.TransIndicator = c.Text("TransIndicator");
    d.MerchTicketCardNumber = c.Text("MerchTicketCardNumber");
    d.AppLabel = c.Text("AppLabel");
    d.CardNumber = c.Text("CardNumber");
    d.ValidDate = c.Text("ValidDate");
    d.AID = c.Text("AID");
    d.TransactionType = c.Number("TransactionType");
    d.CardEntryType = c.Text("CardEntryType");
    d.TVR = c.Text("TVR");
    d.TSI = c.Text("TSI");
    d.AuthCode = c.Text("AuthCode");
    d.API = c.Text("API");
    d.AData = c.Text("AData");
    d.TicketNumber = c.Text("TicketNumber");
    d.TransactionReturn = c.Number("TransactionReturn");
    d.StatusCode = c.Number("StatusCode");
    d.StatusDisplayMsg = c.Text("StatusDisplayMsg");
    d.CHVM = c.Text("CHVM");
    return d;
}

QString TwoColumnLine(const QString& text) {
    const qsizetype colon = text.indexOf(':');
    if (colon < 0) return text;
    const QString label = text.left(colon + 1).trimmed();
    const QString value = text.mid(colon + 1).trimmed();
    if (label.size() + value.size() >= kColumnWidth) return text;
    return label + QString(kColumnWidth - label.size() - value.size(), ' ') + value;
}

QStringList MakeKartesCeks(int copy, const KartesCeksDati& d, TPrintClass& print) {
    QStringList kept;
    const auto line = [&](const QString& text) {
        print.DrukaUzAbam(text, 1);
        kept.append(text);
    };
    const auto column = [&](const QString& text) { line(TwoColumnLine(text)); };
    const bool merchantT3 = copy == 1 && d.TransIndicator.contains(u"T:3");

    if (copy == kDeclinedSlipCopy) {
        const QString stars(36, '*');
        line(stars);
        line(QStringLiteral("***      PIRKUMS ATTEIKTS        ***"));
        line(stars);
    } else {
        line(OperationName(d.operacija));
    }
    if (d.TerminalState != kNoAnswerState) {
        column(d.TerminalID);
        const qsizetype id = d.MerchantID.indexOf(u"ID:");
        column(id >= 0 ? "Tirgotāja ID:" + d.MerchantID.mid(id + 3) : d.MerchantID);
        column("Kases Nr: " + d.KasesNr);
    }
    line("Datums  " + SlipDate(d.TransactionDate));
    print.DrukaTuksasRindasUzAbam(1);
    kept.append(QString());
    if (d.TerminalState != kNoAnswerState) {
        column("Kartes veids: " + d.CardName);
        if (merchantT3) {
            column("Kartes Nr:" + AfterFirstColon(d.MerchTicketCardNumber));
            line(d.AppLabel.trimmed());
        } else {
            column("Kartes Nr : ****" + d.CardNumber.trimmed().right(4) + " " + d.AppLabel.trimmed());
        }
        if (merchantT3) column(d.ValidDate);
        column(d.AID.trimmed());
        double amount = 0.01 * ParseAmount(d.summa).value_or(0);
        if (d.operacija == KartesOperacija::Atcelsana) amount = -amount;
        if (amount == 0) amount = 0;  // no "-0.00"
        column("Summa : " + QString::number(amount, 'f', 2) + " EUR");
        if (copy == 1 && d.operacija != KartesOperacija::Atcelsana && d.TransactionType != 9 &&
            d.CardEntryType.contains('2')) {
            line(QStringLiteral("Dokuments :( )Pase    ( )ID karte"));
            line("Nr: " + QString(30, '_'));
        }
        column(d.TVR);
        column(d.TSI);
        if (d.TransIndicator.contains(u"T:1")) column(d.AuthCode.trimmed());
        column(d.API.trimmed());
        column(d.AData.trimmed());
        column(d.TicketNumber);
        column(d.TransIndicator);
        if (copy == kDeclinedSlipCopy) {
            line(DeclineReason(d.TransactionReturn) + " Kods:" + QString::number(d.StatusCode));
            line(d.StatusDisplayMsg);
        }
        const QString chvm = d.CHVM.contains(':') ? AfterFirstColon(d.CHVM).trimmed() : d.CHVM;
        if (chvm == QStringLiteral("P")) line(QStringLiteral("PIN ievadīts"));
        if (copy == 2) line(QStringLiteral("Saglabājiet čeku informācijai !"));
    }
    print.DrukaUzCeka(kClosingFeed, true, 2);
    kept.append(kClosingFeed);
    return kept;
}

QString KartesCeksFile(int copy) { return copy == 1 ? QStringLiteral("LastCC_Ceks1.rep") : QStringLiteral("LastCC_Ceks2.rep"); }

int PrintKartesCeks(int copy, const KartesCeksDati& dati, TPrintClass& print) {
    SaveReportFile(KartesCeksFile(copy), MakeKartesCeks(copy, dati, print));
    return print.DrukaCekaGalvu();
}
