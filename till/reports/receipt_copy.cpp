#include "receipt_copy.h"

#include "head_lines.h"
#include "printclass.h"
#include "receipt.h"
#include "receipt_print.h"
#include "regional.h"
#include "clock.h"
#include "report_fiscal_memory.h"
#include "report_forms.h"
#include "ui_services.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

struct CopyRow {
    int nodoklis = 0;
    double cena = 0, daudzums = 0, atlaide = 0, sanemts = 0, izdots = 0;
    QString nosaukums, mervieniba, artikuls, apmRinda, klNosaukums, citasZinas, klRegNr, klKods;
    int apmVeids = 0;
};

[[noreturn]] void annulAndEnd(ClosingHost& host)
{
    host.AnuletCeku();
    platform::ui::endProgram();
}

std::vector<CopyRow> receiptRows(const QSqlDatabase& db, int cekaNr, const QDate& datums)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT REALIZ.NODOKLIS, REALIZ.CENA, REALIZ.DAUDZUMS, REALIZ.ATLAIDE, N_prece.GNOS NOSAUKUMS, "
        "N_prece.MERVIENIBA, REALIZ.ARTIKULS, REALIZ.SANEMTS, REALIZ.IZDOTS, REALIZ.APM_RINDA, REALIZ.KL_NOSAUKUMS, "
        "REALIZ.CITASZINAS, REALIZ.KL_REG_NR, REALIZ.KL_KODS, REALIZ.APM_VEIDS "
        "FROM REALIZ LEFT OUTER JOIN N_PRECE N_prece ON (REALIZ.ARTIKULS = N_prece.ARTIKULS) "
        "WHERE REALIZ.DATUMS=:DATUMS AND REALIZ.CEKA_NR=:CEKA_NR "
        "AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL ORDER BY REALIZ.ISN"));
    query.bindValue(QStringLiteral(":DATUMS"), datums);
    query.bindValue(QStringLiteral(":CEKA_NR"), cekaNr);
    if (!query.exec()) throw std::runtime_error(query.lastError().text().toStdString());
    std::vector<CopyRow> rows;
    while (query.next()) {
        CopyRow r;
        r.nodoklis = query.value(0).toInt();
        r.cena = query.value(1).toDouble();
        r.daudzums = query.value(2).toDouble();
        r.atlaide = query.value(3).toDouble();
        r.nosaukums = query.value(4).toString();
        r.mervieniba = query.value(5).toString();
        r.artikuls = query.value(6).toString();
        r.sanemts = query.value(7).toDouble();
        r.izdots = query.value(8).toDouble();
        r.apmRinda = query.value(9).toString();
        r.klNosaukums = query.value(10).toString();
        r.citasZinas = query.value(11).toString();
        r.klRegNr = query.value(12).toString();
        r.klKods = query.value(13).toString();
        r.apmVeids = query.value(14).toInt();
        rows.push_back(std::move(r));
    }
    return rows;
}

// The payer of the receipt: the stored name without a customer code, else the customer's row.
CustomerBlock payer(const QSqlDatabase& db, const CopyRow& first)
{
    CustomerBlock block;
    block.CitasZinas = first.citasZinas;
    if (first.klKods.isEmpty()) {
        block.Nosaukums = first.klNosaukums;
        block.RegNr = first.klRegNr;
        return block;
    }
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT N_KLIENTI.KODS, N_KLIENTI.GNOS KLIENTS, N_KLIENTI.ADRESE, N_KLIENTI.PVN_KODS "
                                 "FROM N_KLIENTI WHERE N_KLIENTI.KODS=:KODS"));
    query.bindValue(QStringLiteral(":KODS"), first.klKods);
    if (query.exec() && query.next()) {
        block.Nosaukums = query.value(1).toString();
        block.RegNr = query.value(3).toString();
        block.Adrese = query.value(2).toString();
    }
    return block;
}

double lineSum(const CopyRow& r) { return double(RoundSumma(r.cena * r.daudzums * (1 - r.atlaide * 0.01), 2)); }

// The rate in a slot's first two characters; 0 when they are not a number.
int slotRate(const QString& nodDSum, int k)
{
    bool ok = false;
    const int rate = nodDSum.mid((k - 1) * 10, 2).trimmed().toInt(&ok);
    return ok ? rate : 0;
}

QString paymentLine(const TPrintClass& print, const QString& name, double amount)
{
    const int width = print.PrinteraTips == 4 ? 34 : 25;
    return name.left(width).leftJustified(width, u' ') + QString::asprintf("%8.2f", amount);
}

}  // namespace

void PrintJournalReceiptCopy(const QSqlDatabase& posDb, TPrintClass& print, ReportFiscalMemory& fm, ClosingHost& host,
                             const JournalCopyRequest& request)
{
    if (request.RinduSkaits != 0) return host.ShowPazinojums(kCopyWhileOpenMessage);
    if (!request.cekaNr) return host.ShowPazinojums(kCopyNoDataMessage);
    QString nodDSum;
    if (!fm.read(QStringLiteral("NOD_D_SUM"), nodDSum)) return host.AnuletCeku();
    const std::vector<CopyRow> rows = receiptRows(posDb, *request.cekaNr, request.datums);
    const bool wide = print.PrinteraTips == 4;
    const int width = print.RindasGarums;
    auto line = [&](const QString& text) { print.DrukaUzAbam(text, 1); };

    print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 0);
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
    line(QStringLiteral("Pieg.,pakalp.datums ") + ReportDateText(request.datums));
    for (const QString& text : KopijasVirsraksts(*request.cekaNr)) line(text);

    if (!rows.empty()) {
        const QStringList payerLines = KlientaDatuRindas(payer(posDb, rows.front()), width);
        for (const QString& text : payerLines) line(text);
        if (!payerLines.isEmpty()) line(QString(width, u'-'));
    }

    double total = 0;
    for (const CopyRow& r : rows) {
        TCekaRinda printed;
        printed.Nodala = r.nodoklis;
        printed.Nosaukums = r.nosaukums;
        printed.Mervieniba = r.mervieniba;
        printed.Artikuls = r.artikuls;
        printed.Atlaide = r.atlaide;
        printed.Daudzums = r.daudzums;
        printed.Cena = r.cena;
        printed.Iepakojums = 1;
        if (const int rc = host.PrintCekaRinda(printed); rc <= 0) {
            host.SetStatusText("CekaKopija = " + QString::number(rc));
            return;
        }
        total += lineSum(r);
    }
    line(QString(width, u'-'));

    for (int k = 1; k <= 24; ++k) {
        double vat = 0, net = 0;
        const int r = slotRate(nodDSum, k);
        const int rate = r == -1 ? 0 : r;
        for (const CopyRow& row : rows) {
            if (row.nodoklis <= 0 || DepartmentSlot(row.nodoklis, request.PrepaidNodala) != k) continue;
            const double g = lineSum(row);
            const double t = double(RoundSumma(g * rate / (rate + 100), 2));
            vat += t;
            net += g - t;
        }
        if (vat <= 0.01 && net <= 0.01) continue;
        if (r == -1)
            line(QString::asprintf("Likme%2i-bez nodokļa Summa=%7.2f", k, net));
        else if (wide)
            line(QString::asprintf("Likme%2i-%2i%s PVN%8.2f bez nod.%10.2f Ls", k, r, "%", vat, net));
        else
            line(QString::asprintf("Likme%2i-%2i%s PVN%7.2f b/n%7.2f", k, r, "%", vat, net));
        if (r == 0) line(QStringLiteral("7.pants 1.daļas 4.punkts"));
    }

    line(QString::asprintf(wide ? "Kopā apmaksai EUR                %10.2f" : "Kopā apmaksai EUR      %10.2f", total));
    if (!rows.empty()) {
        const CopyRow& last = rows.back();
        line(QString::asprintf(wide ? "Saņ.EUR %10.2f        Izd.EUR %10.2f" : "Saņ.EUR%9.2f Izd.EUR%9.2f", last.sanemts,
                               last.izdots));
        const CopyRow& first = rows.front();
        if (first.apmRinda.isEmpty()) {
            // The journal keeps the kind's own number plus one.
            const auto kind = request.kinds.find(first.apmVeids - 1);
            line(paymentLine(print, first.apmVeids > 0 && kind ? kind->text : request.currentKindText, total));
        } else {
            QString rest = first.apmRinda.startsWith(u'/') ? first.apmRinda.mid(1) : first.apmRinda;
            while (!rest.isEmpty()) {
                QString name, amountText;
                if (!rest.contains(u'=')) {
                    name = request.currentKindText;
                    const qsizetype slash = rest.indexOf(u'/');
                    amountText = slash < 0 ? rest : rest.mid(slash + 1);
                    rest.clear();
                } else {
                    const qsizetype equals = rest.indexOf(u'=');
                    bool ok = false;
                    const int kind = rest.left(equals).trimmed().toInt(&ok);
                    if (ok && kind == kSecondCurrencyKind) name = kSecondCurrencyText;
                    else if (ok) {
                        if (const auto found = request.kinds.find(kind)) name = found->text;
                    }
                    if (name.isEmpty()) return host.ShowPazinojums(kWrongPaymentKindMessage);
                    const qsizetype slash = rest.indexOf(u'/', equals);
                    amountText = slash < 0 ? rest.mid(equals + 1) : rest.mid(equals + 1, slash - equals - 1);
                    rest = slash < 0 ? QString() : rest.mid(slash + 1);
                }
                const double amount = amountText.trimmed().toDouble();
                if (amount != 0) line(paymentLine(print, name, amount));
            }
        }
    }

    const platform::LocalTime now = platform::localNow();
    line(QString::asprintf("%s %s Kas:%s", platform::shortDateText(now.year, now.month, now.day).c_str(),
                           platform::timeText(now.hour, now.minute, now.second).c_str(),
                           request.Kasieris.toUtf8().constData()));
    print.DrukaUzCeka(QStringLiteral("\n\n\n\n\n"), false, 2);
    print.AtverNaudasLadi();
    if (print.DrukaCekaGalvu() < 0) annulAndEnd(host);
}
