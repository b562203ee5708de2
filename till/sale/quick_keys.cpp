#include "quick_keys.h"

#include "cashier.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

int QuickKeyIndex(const QString& code) {
    if (code.size() != 2) return -1;
    const QChar letter = code[0];
    const QChar digit = code[1];
    if (letter < 'A' || letter > 'F' || digit < '1' || digit > '6') return -1;
    return 6 * (letter.unicode() - 'A') + (digit.unicode() - '1');
}

QString QuickKeyCode(int index) {
    return QString(QChar('A' + index / 6)) + QChar('1' + index % 6);
}

QuickKeys::QuickKeys() { captions.fill("-"); }

QuickKeys BuildQuickKeys(const std::vector<QuickKeyRow>& rows) {
    QuickKeys keys;
    for (const auto& row : rows) {
        const int index = QuickKeyIndex(row.KEY_BUTTON);
        if (index < 0) continue;
        keys.articles[std::size_t(index)] = row.ARTIKULS;
        QString caption = row.GNOS;
        if (row.KEY_RADITCENU == "T") caption += ' ' + QString::number(row.CENA, 'f', 2);
        keys.captions[std::size_t(index)] = caption;
    }
    return keys;
}

std::vector<QuickKeyRow> ReadQuickKeyRows(const QSqlDatabase& posDb) {
    QSqlQuery query(posDb);
    query.setForwardOnly(true);
    if (!query.exec(kQuickKeyQuery)) throw std::runtime_error(query.lastError().text().toStdString());
    std::vector<QuickKeyRow> rows;
    while (query.next()) {
        rows.push_back(QuickKeyRow{query.value(0).toString(), query.value(1).toString(), query.value(2).toDouble(),
                                   query.value(3).toString(), CharColumn(query.value(4))});
    }
    return rows;
}
