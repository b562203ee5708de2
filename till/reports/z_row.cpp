#include "z_row.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

QString SystemDateText(const platform::LocalTime& now)
{
    return QString::asprintf("%02d.%02d.%04d", now.day, now.month, now.year);
}

QString SystemTimeText(const platform::LocalTime& now)
{
    return QString::asprintf("%d:%02d:%02d", now.hour, now.minute, now.second);
}

QString ZRowLaiks(const QString& timeText) { return timeText.size() < 8 ? u'0' + timeText : timeText; }

ZReportRow MakeZReportRow(int number, const QString& totals, const platform::LocalTime& now)
{
    return {QDate(now.year, now.month, now.day), ZRowLaiks(SystemTimeText(now)), "Z=" + QString::number(number), totals};
}

void StoreZReportRow(const QSqlDatabase& posDb, const ZReportRow& row)
{
    QSqlQuery insert(posDb);
    const bool done =
        insert.prepare(QStringLiteral("insert into REALIZ (DATUMS, LAIKS, PIEZIMES, FREEKOMENT) "
                                      "values (:DATUMS, :LAIKS, :PIEZIMES, :FREEKOMENT)")) &&
        [&] {
            insert.bindValue(QStringLiteral(":DATUMS"), row.DATUMS);
            insert.bindValue(QStringLiteral(":LAIKS"), row.LAIKS);
            insert.bindValue(QStringLiteral(":PIEZIMES"), row.PIEZIMES);
            insert.bindValue(QStringLiteral(":FREEKOMENT"), row.FREEKOMENT);
            return insert.exec();
        }();
    if (!done)
        throw std::runtime_error(insert.lastError().text().toStdString());
}
