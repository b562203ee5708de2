#include "journal_review.h"

#include "receipt.h"
#include "regional.h"
#include "report_forms.h"
#include "settings_store.h"

#include <QSqlError>

namespace {

// The rows the review shows: sale rows of the period and the daily window, never those of an
// annulled receipt; a join to N_PRECE for the item's name.
constexpr const char* kJournalSelect =
    "SELECT REALIZ.CEKA_NR, REALIZ.DATUMS, REALIZ.LAIKS, REALIZ.KL_KODS, REALIZ.ARTIKULS, REALIZ.CENA, "
    "REALIZ.DAUDZUMS, REALIZ.ATLAIDE, REALIZ.CENA*REALIZ.DAUDZUMS*(1-REALIZ.ATLAIDE/100) SUMMA, "
    "REALIZ.SANEMTS, REALIZ.IZDOTS, REALIZ.KL_NOSAUKUMS, REALIZ.KL_REG_NR, REALIZ.ISN, "
    "N_prece.GNOS PRECNOS, REALIZ.KASIERIS, REALIZ.CITASZINAS ";
constexpr const char* kJournalFrom =
    "FROM REALIZ LEFT OUTER JOIN N_PRECE N_prece ON (REALIZ.ARTIKULS = N_prece.ARTIKULS) "
    "WHERE REALIZ.DATUMS BETWEEN :DAT_NO AND :DAT_LIDZ AND REALIZ.LAIKS BETWEEN :LAIKS_NO AND :LAIKS_LIDZ "
    "AND REALIZ.ANULETS!='T' AND REALIZ.ANULETS IS NOT NULL ";
constexpr const char* kJournalOrder = "ORDER BY REALIZ.DATUMS, REALIZ.CEKA_NR";

QSqlQuery prepare(const QSqlDatabase& db, const QString& text, const JournalWindow& window)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(text)) throw JournalError(query.lastError().text().toStdString());
    query.bindValue(QStringLiteral(":DAT_NO"), window.from);
    query.bindValue(QStringLiteral(":DAT_LIDZ"), window.to);
    query.bindValue(QStringLiteral(":LAIKS_NO"), WindowStart(window.timeFrom));
    query.bindValue(QStringLiteral(":LAIKS_LIDZ"), WindowEnd(window.timeTo));
    return query;
}

void run(QSqlQuery& query)
{
    if (!query.exec()) throw JournalError(query.lastError().text().toStdString());
}

}  // namespace

QString WindowStart(const QString& hhmm) { return hhmm; }

QString WindowEnd(const QString& hhmm)
{
    // "hh:mm" sorts before every "hh:mm:ss" of its minute; the minute's last second does not.
    return hhmm.size() == 5 ? hhmm + QStringLiteral(":59") : hhmm;
}

QSqlQuery OpenJournal(const QSqlDatabase& db, const JournalWindow& window)
{
    const bool oneReceipt = !window.receipt.isEmpty();
    QSqlQuery query = prepare(db,
                              QString::fromLatin1(kJournalSelect) + kJournalFrom +
                                  (oneReceipt ? "AND REALIZ.CEKA_NR=:CEKA_NR " : "") + kJournalOrder,
                              window);
    if (oneReceipt) {
        bool number = false;
        const int receipt = window.receipt.trimmed().toInt(&number);
        if (!number)
            throw JournalError("conversion error from string \"" + window.receipt.toStdString() + "\"");
        query.bindValue(QStringLiteral(":CEKA_NR"), receipt);
    }
    run(query);
    return query;
}

JournalLine ReadJournalLine(const QSqlDatabase& db, const QSqlQuery& query)
{
    JournalLine line;
    line.ceka_nr = query.value(0).toInt();
    line.datums = query.value(1).toDate();
    line.laiks = query.value(2).toString();
    line.kl_kods = query.value(3).toString();
    line.artikuls = query.value(4).toString();
    line.cena = query.value(5).toDouble();
    line.daudzums = query.value(6).toDouble();
    line.atlaide = query.value(7).toDouble();
    line.summa = query.value(8).toDouble();
    line.sanemts = query.value(9).toDouble();
    line.izdots = query.value(10).toDouble();
    line.kl_nosaukums = query.value(11).toString();
    line.kl_reg_nr = query.value(12).toString();
    line.isn = query.value(13).toInt();
    line.precnos = query.value(14).toString();
    line.kasieris = query.value(15).toString();
    line.citaszinas = query.value(16).toString();
    line.SummaShow = double(RoundSumma(line.summa, 2));
    line.ShKlientaNosaukums = line.kl_nosaukums;
    if (line.kl_nosaukums.isEmpty() && !line.kl_kods.isEmpty()) {
        QSqlQuery name(db);
        name.prepare(QStringLiteral("SELECT GNOS FROM N_KLIENTI WHERE KODS=:KODS"));
        name.bindValue(QStringLiteral(":KODS"), line.kl_kods);
        if (name.exec() && name.next()) line.ShKlientaNosaukums = name.value(0).toString();
    }
    return line;
}

std::vector<JournalLine> ReadJournal(const QSqlDatabase& db, const JournalWindow& window)
{
    QSqlQuery query = OpenJournal(db, window);
    std::vector<JournalLine> lines;
    while (query.next()) lines.push_back(ReadJournalLine(db, query));
    return lines;
}

std::vector<int> SearchJournal(const QSqlDatabase& db, const JournalWindow& window, SearchBy by, const QString& text)
{
    // The receipt-number filter of the grid takes no part in the search.
    const QString condition = by == SearchBy::Receipt
                                  ? QStringLiteral("AND REALIZ.CEKA_NR=:CEKA_NR ")
                                  : QStringLiteral("AND (N_prece.ARTIKULS CONTAINING :TEKSTS OR N_prece.GNOS CONTAINING :TEKSTS) ");
    QSqlQuery query = prepare(db, QStringLiteral("SELECT REALIZ.ISN ") + kJournalFrom + condition + kJournalOrder, window);
    if (by == SearchBy::Receipt) {
        bool number = false;
        const int receipt = text.trimmed().toInt(&number);
        if (!number) throw JournalError("conversion error from string \"" + text.toStdString() + "\"");
        query.bindValue(QStringLiteral(":CEKA_NR"), receipt);
    } else {
        query.bindValue(QStringLiteral(":TEKSTS"), text);
    }
    run(query);
    std::vector<int> hits;
    while (query.next()) hits.push_back(query.value(0).toInt());
    return hits;
}

std::optional<int> SearchHits::Start(std::vector<int> hits)
{
    if (hits.empty() || hits.front() <= 0) return std::nullopt;
    hits_ = std::move(hits);
    // The statement moves on to its next hit; with one hit it stands past its end on that hit.
    at_ = hits_.size() > 1 ? 1 : 0;
    pastEnd_ = hits_.size() == 1;
    return hits_.front();
}

int SearchHits::Next(bool& usedUp)
{
    if (hits_.empty()) {
        usedUp = true;
        return 0;
    }
    const int isn = hits_[at_];
    if (at_ + 1 < hits_.size()) ++at_;
    else pastEnd_ = true;
    usedUp = pastEnd_;
    return isn;
}

std::vector<QString> LoadJournalHeads()
{
    std::vector<QString> heads(5);
    const platform::SettingsStore& store = platform::SettingsStore::current();
    for (std::size_t i = 0; i < heads.size(); ++i)
        if (const auto text = store.readText(kJournalHeadKey, "Head" + std::to_string(i + 1)))
            heads[i] = QString::fromStdString(*text);
    return heads;
}

void SaveJournalHeads(const std::vector<QString>& heads)
{
    platform::SettingsStore& store = platform::SettingsStore::current();
    for (std::size_t i = 0; i < heads.size(); ++i) {
        try {
            store.writeText(kJournalHeadKey, "Head" + std::to_string(i + 1), heads[i].toStdString());
        } catch (const std::exception&) {
            // A key that cannot be written is skipped without a message.
        }
    }
}

QString JournalPrintTitle(const JournalWindow& window)
{
    QString title = QStringLiteral("ČEKU LENTAS IZDRUKA ") + ReportDateText(window.from) + " " + window.timeFrom + "-" +
                    ReportDateText(window.to) + " " + window.timeTo;
    if (!window.receipt.isEmpty()) title += QStringLiteral(" Čeks Nr.") + window.receipt;
    return title;
}

platform::report::Report BuildCekuLenta(const std::vector<JournalLine>& lines, const std::vector<QString>& heads,
                                        const QString& title)
{
    using platform::report::Column;
    platform::report::Report report;
    report.title = title;
    for (const QString& head : heads) report.headLines << head;
    auto text = [](const char* name, int width) { return Column{QString::fromUtf8(name), {}, width, false, {}}; };
    auto number = [](const char* name, const char* mask, bool summed) {
        return Column{QString::fromUtf8(name), QString::fromLatin1(mask), 7, summed, {}};
    };
    report.columns = {text("Čeka Nr.", 6), text("Datums", 8), text("Laiks", 7), text("Klienta kods", 8),
                      text("Artikuls", 9), number("Cena", "#0.000", false), number("Daudzums", "#0.000", false),
                      number("Atlaide", "#0.00", false), number("Summa", "#0.00", true), text("Klients", 14),
                      text("Reģ. Nr.", 9), text("Preces nosaukums", 16)};
    for (const JournalLine& line : lines)
        report.rows.push_back({{line.ceka_nr,
                                ReportDateText(line.datums),
                                line.laiks, line.kl_kods, line.artikuls, line.cena, line.daudzums, line.atlaide,
                                line.SummaShow, line.ShKlientaNosaukums, line.kl_reg_nr, line.precnos},
                               {},
                               {}});
    return report;
}
