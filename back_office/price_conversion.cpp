#include "price_conversion.h"

#include "till_sql.h"

#include <vector>

double LvlToEur(double cena) { return double(Noapalot(2, (long double)cena * kLvlToEur)); }

PriceConversion ConvertPricesToEuros(QSqlDatabase& till) {
    BeginTransaction(till);
    try {
        // The marker is written first: a second back office converting the same till at once
        // then waits on this row or fails, instead of converting the prices again.
        QSqlQuery marker = PreparedQuery(till, QStringLiteral("SELECT PARVEURPARD_C FROM N_ISI"));
        Execute(marker);
        bool hasRow = false, converted = false;
        while (marker.next()) {
            hasRow = true;
            converted = converted || marker.value(0).toString() == u"T";
        }
        marker.finish();
        if (converted) {
            till.rollback();
            return PriceConversion::AlreadyConverted;
        }
        QSqlQuery mark = PreparedQuery(till, hasRow ? QStringLiteral("UPDATE N_ISI SET PARVEURPARD_C='T'")
                                                    : QStringLiteral("INSERT INTO N_ISI (ISN, PARVEURPARD_C) VALUES (1, 'T')"));
        Execute(mark);

        QSqlQuery items = PreparedQuery(till, QStringLiteral("SELECT ISN, CENA FROM N_PRECE ORDER BY ARTIKULS"));
        Execute(items);
        std::vector<std::pair<int, double>> prices;
        while (items.next()) prices.emplace_back(items.value(0).toInt(), items.value(1).toDouble());
        items.finish();
        QSqlQuery update = PreparedQuery(till, QStringLiteral("UPDATE N_PRECE SET CENA=:CENA WHERE ISN=:ISN"));
        for (const auto& [isn, cena] : prices) {
            update.bindValue(QStringLiteral(":CENA"), LvlToEur(cena));
            update.bindValue(QStringLiteral(":ISN"), isn);
            Execute(update);
        }
        if (const auto error = Commit(till)) throw StepError(error->toStdString());
        return PriceConversion::Converted;
    } catch (...) {
        if (till.isOpen()) till.rollback();
        throw;
    }
}
