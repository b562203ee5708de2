// SanemAtdKase: a till's receipts of the period, one row each, into table KASE of the second
// database (alias "AD"), all of one till in one transaction there. A receipt KASE already holds
// for the till, number and date is not inserted again, so a pass run again over the same period
// or Z report doubles nothing.
#include "database.h"
#include "regional.h"
#include "settings_store.h"
#include "till_sql.h"

#include <set>
#include <utility>
#include <vector>

namespace {

const QString kStep = QStringLiteral("Saņem ATD KASE : ");
constexpr const char* kAutoDirekcijaKey = "Software\\TOVEL\\Tillora\\AutoDirekcija";

// A free text starting so marks a receipt of a restaurant order; its number follows.
const QString kOrderMarker = QStringLiteral("Pasūtījums Nr.");

// One group of a receipt: its rows of one customer, tax group, date, payment kind and free text.
struct ReceiptGroup {
    QString KL_KODS;
    int CEKA_NR = 0;
    int NODOKLIS = 0;
    double SUMMA = 0;
    QDate DATUMS;
    int APM_VEIDS = 0;
    QString CITASZINAS;
};

// The tax contained in an amount that includes it, by tax group.
double taxShare(int nodoklis) {
    switch (nodoklis) {
    case 2: return 0;
    case 3: return 9.0 / 109;
    case 4: return 5.0 / 105;
    default: return 18.0 / 118;
    }
}

// The receipt's group letter by payment kind, tax group and whether it pays an order; "?" for
// the rest. Orders take A-F, other receipts G-L.
QString grupa(int apmVeids, int nodoklis, bool order) {
    struct Letter {
        int apmVeids, nodoklis;
        bool order;
        char letter;
    };
    static constexpr Letter kLetters[] = {
        {1, 1, true, 'A'},  {1, 2, true, 'B'},  {2, 1, true, 'C'},  {2, 2, true, 'D'},  {1, 4, true, 'E'},  {2, 4, true, 'F'},
        {1, 1, false, 'G'}, {1, 2, false, 'H'}, {2, 1, false, 'I'}, {2, 2, false, 'J'}, {1, 4, false, 'K'}, {2, 4, false, 'L'},
    };
    for (const Letter& l : kLetters)
        if (l.apmVeids == apmVeids && l.nodoklis == nodoklis && l.order == order) return QString(QChar(l.letter));
    return QStringLiteral("?");
}

// The second database with the log-in of the AutoDirekcija key (empty when not there).
QSqlDatabase connectAutoDirekcija() {
    const platform::SettingsStore& store = platform::SettingsStore::current();
    platform::DatabaseLogin login;
    login.user = store.readText(kAutoDirekcijaKey, "UserName").value_or("");
    login.password = store.readText(kAutoDirekcijaKey, "Pasword").value_or("");
    return platform::openDatabase(platform::kAutoDirekcijaAlias, kAutoDirekcijaDB, login);
}

std::vector<ReceiptGroup> readGroups(const QSqlDatabase& till, const TransferValues& values, const ZRange& range) {
    // The Z rows that bound the period have no receipt number: together they read as receipt 0,
    // a row of KASE the accounting program may count on. Its first group decides its date: the
    // latest first, so that the row carries the date of the Z report closing the period, each
    // report's pass its own, and a rerun the same.
    QSqlQuery rows = PreparedQuery(till, QStringLiteral("SELECT KL_KODS, CEKA_NR, NODOKLIS, SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA, "
                                                        "DATUMS, APM_VEIDS, CITASZINAS from realiz "
                                                        "WHERE datums BETWEEN :DATUMS_NO AND :DATUMS_LIDZ "
                                                        "AND REALIZ.ISN BETWEEN :ISN_NO AND :ISN_LIDZ "
                                                        "AND ANULETS!='T' AND ANULETS IS NOT NULL "
                                                        "GROUP BY KL_KODS, CEKA_NR, NODOKLIS, DATUMS, APM_VEIDS, CITASZINAS "
                                                        "order by CEKA_NR, DATUMS DESC"));
    rows.bindValue(QStringLiteral(":DATUMS_NO"), values.DatumsNo);
    rows.bindValue(QStringLiteral(":DATUMS_LIDZ"), values.DatumsLidz);
    rows.bindValue(QStringLiteral(":ISN_NO"), range.ISN_NO);
    rows.bindValue(QStringLiteral(":ISN_LIDZ"), range.ISN_LIDZ);
    Execute(rows);
    std::vector<ReceiptGroup> groups;
    while (rows.next())
        groups.push_back({rows.value(0).toString(), rows.value(1).toInt(), rows.value(2).toInt(), rows.value(3).toDouble(),
                          rows.value(4).toDate(), rows.value(5).toInt(), rows.value(6).toString()});
    return groups;
}

// The receipts (number, date) KASE holds for the till within the period: read once per till, as
// its receipts only fall on the period's days.
std::set<std::pair<int, QDateTime>> heldReceipts(const QSqlDatabase& ad, const QString& filialeId, const TransferValues& values) {
    QSqlQuery rows = PreparedQuery(ad, QStringLiteral("SELECT KVITSNR, DATUMSAPM FROM KASE WHERE FILIALE_ID=:Filiale_ID "
                                                      "AND DATUMSAPM BETWEEN :DatumsNo AND :DatumsLidz"));
    rows.bindValue(QStringLiteral(":Filiale_ID"), filialeId);
    rows.bindValue(QStringLiteral(":DatumsNo"), values.DatumsNo.startOfDay());
    rows.bindValue(QStringLiteral(":DatumsLidz"), values.DatumsLidz.startOfDay());
    Execute(rows);
    std::set<std::pair<int, QDateTime>> held;
    while (rows.next()) held.emplace(rows.value(0).toInt(), rows.value(1).toDateTime());
    return held;
}

}  // namespace

void SanemAtdKase(const TransferContext& context, const QString& name, const QString& path) {
    context.log.LogProcess(kStep + "Sāku procesu");
    QSqlDatabase ad;
    try {
        QSqlDatabase till = ConnectTill(path);
        const ZRange range = AtrodZRobezas(till, context.values.Z_Nr);
        if (range.ISN_LIDZ < 1) {
            context.log.LogFailure(kStep + ZNumberMissing(context.values.Z_Nr));
            return;
        }
        const std::vector<ReceiptGroup> groups = readGroups(till, context.values, range);
        ad = connectAutoDirekcija();
        BeginTransaction(ad);
        const QString filialeId = name.left(2);
        std::set<std::pair<int, QDateTime>> held = heldReceipts(ad, filialeId, context.values);
        QSqlQuery insert = PreparedQuery(ad, QStringLiteral("INSERT INTO KASE (Klienta_id, Pasut_ID, KvitsNr, Cena, PVN, Summa, SummaApm, "
                                                            "DatumsApm, Parskait, nodala, filiale_ID, Grupa) VALUES (:Klienta_ID, :Pasut_ID, "
                                                            ":KvitsNr, :Cena, :PVN, :Summa, :SummaApm, :DatumsApm, :Parskait, :Nodala, "
                                                            ":Filiale_ID, :grupa)"));
        for (auto group = groups.begin(); group != groups.end();) {
            // The receipt's first group decides everything but the sums.
            const ReceiptGroup& first = *group;
            bool isNumber = false;
            const int klientaId = first.KL_KODS.trimmed().toInt(&isNumber);
            const bool order = first.CITASZINAS.startsWith(kOrderMarker);
            int pasutId = 0;
            QString nodala = QStringLiteral(" ");
            if (order) {
                const QString number = TrimmedText(first.CITASZINAS.mid(14, 15));
                pasutId = number.toInt(&isNumber);
                if (!isNumber)
                    throw StepError(QString("receipt %1: the order number \"%2\" is not a number").arg(first.CEKA_NR).arg(number).toStdString());
                nodala = first.CITASZINAS.mid(14, 1) == u"5" ? QStringLiteral("L") : QStringLiteral("S");
            }
            double summa = 0, pvn = 0;
            for (; group != groups.end() && group->CEKA_NR == first.CEKA_NR; ++group) {
                summa += group->SUMMA;
                pvn += group->SUMMA * taxShare(group->NODOKLIS);
            }
            const QDateTime datumsApm = first.DATUMS.startOfDay();
            // Held already, by an earlier pass: not inserted again.
            if (!held.emplace(first.CEKA_NR, datumsApm).second) continue;
            insert.bindValue(QStringLiteral(":Klienta_ID"), klientaId);
            insert.bindValue(QStringLiteral(":Pasut_ID"), pasutId);
            insert.bindValue(QStringLiteral(":KvitsNr"), first.CEKA_NR);
            insert.bindValue(QStringLiteral(":Cena"), summa - pvn);
            insert.bindValue(QStringLiteral(":PVN"), pvn);
            insert.bindValue(QStringLiteral(":Summa"), summa);
            insert.bindValue(QStringLiteral(":SummaApm"), summa);
            insert.bindValue(QStringLiteral(":DatumsApm"), datumsApm);
            insert.bindValue(QStringLiteral(":Parskait"), first.APM_VEIDS == 1 ? 0 : 1);
            insert.bindValue(QStringLiteral(":Nodala"), nodala);
            insert.bindValue(QStringLiteral(":Filiale_ID"), filialeId);
            insert.bindValue(QStringLiteral(":grupa"), grupa(first.APM_VEIDS, first.NODOKLIS, order));
            // The whole till goes back with a refused receipt: the log names the receipt, and the
            // next pass sends the till's receipts again.
            if (!insert.exec())
                throw StepError(QString("receipt %1 of %2 not taken, the till's receipts wait for the next pass: %3")
                                    .arg(first.CEKA_NR)
                                    .arg(QString::fromStdString(platform::shortDateText(first.DATUMS.year(), first.DATUMS.month(), first.DATUMS.day())),
                                         insert.lastError().text())
                                    .toStdString());
        }
        if (const auto error = Commit(ad)) throw StepError(error->toStdString());
        context.log.LogProcess(kStep + "OK");
    } catch (const std::exception& e) {
        if (ad.isOpen()) ad.rollback();
        context.log.LogFailure(kStep + "Nevarēju pieslēgties kasei ??? " + QString::fromStdString(e.what()));
    }
}

bool KaseTellsTillApart(const TransferContext& context, const TillRow& till, const std::vector<TillRow>& sentBefore) {
    // Two rows of one database are one till.
    for (const TillRow& other : sentBefore) {
        if (other.GNOS.left(2) != till.GNOS.left(2) || other.PATH == till.PATH) continue;
        context.log.LogFailure(kStep + QString("not sent: KASE cannot tell till %1 from till %2 (filiale_ID \"%3\")")
                                           .arg(till.GNOS, other.GNOS, till.GNOS.left(2)));
        return false;
    }
    return true;
}
