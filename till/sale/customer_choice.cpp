#include "customer_choice.h"

#include "read_committed_query.h"

#include <QVariant>

namespace {

constexpr double kHandTypedDays = 0.000005;
constexpr int kMaxLeadingZeros = 5;
constexpr int kDepositDepartment = 20;

}  // namespace

double DayFraction(int hour, int minute, int second, int millisecond) {
    return ((hour * 60.0 + minute) * 60.0 + second + millisecond / 1000.0) / 86400.0;
}

bool TypedByHand(double stamp, double now) { return now - stamp > kHandTypedDays; }

CustomerCodes CustomerCodeTexts(const QString& fieldText) {
    QString code = fieldText;
    if (code.contains(u'=') && !code.startsWith(QStringLiteral(";="))) code = code.left(code.indexOf(u'='));
    CustomerCodes codes{code, code};
    for (int i = 0; i < kMaxLeadingZeros && codes.shortened.startsWith(u'0'); ++i) codes.shortened.remove(0, 1);
    return codes;
}

std::optional<int> FindCustomerRow(const platform::RecordListModel& customers, const QString& code) {
    const int column = customers.record().indexOf(QStringLiteral("KODS"));
    if (column < 0) return std::nullopt;
    for (int row = 0; row < customers.rowCount(); ++row)
        if (customers.record(row).value(column).toString().compare(code, Qt::CaseInsensitive) == 0) return row;
    return std::nullopt;
}

ShownCustomer ShowCustomer(const QSqlRecord& customer) {
    const auto text = [&](const char* column) { return customer.value(column).toString().trimmed(); };
    return {customer.value("KODS").toString(), text("GNOS"), text("ADRESE"), text("PVN_KODS"),
            QString::number(customer.value("ATLAIDE").toDouble(), 'g', 15)};
}

QString CustomerPin(const QSqlRecord& customer) { return customer.value("PINKODS").toString(); }

double CreditUsed(const QSqlDatabase& posDb, const QString& kods, const QDateTime& since) {
    platform::ReadCommittedQuery query(posDb, QStringLiteral("SELECT SUM(CENA*DAUDZUMS*(1-ATLAIDE/100)) SUMMA, NODOKLIS FROM REALIZ "
                                                             "WHERE DATUMS >= ? AND ANULETS!='T' AND ANULETS IS NOT NULL "
                                                             "AND KL_KODS=? GROUP BY NODOKLIS"));
    double used = 0;
    for (const QSqlRecord& group : query.run({since.date(), kods})) {
        const double sum = group.value(0).toDouble();
        used += group.value(1).toInt() == kDepositDepartment ? -sum : sum;
    }
    return used;
}

bool CreditLimitExceeded(const QSqlDatabase& posDb, const QSqlRecord& customer) {
    const double limit = customer.value("ATLIK_SUM").toDouble();
    if (limit == 0) return false;
    return limit < CreditUsed(posDb, customer.value("KODS").toString(), customer.value("ATLIK_DAT").toDateTime());
}
