#include "report_filter.h"

#include <algorithm>

QString ReportFilter::condition(const QString& column, const QString& prefix) const
{
    if (keys.isEmpty()) return {};
    QStringList names;
    for (qsizetype i = 0; i < keys.size(); ++i) names << QStringLiteral(":%1%2").arg(prefix).arg(i);
    if (negated) return QStringLiteral(" %1 NOT IN(%2) ").arg(column, names.join(u','));
    if (keys.size() == 1) return QStringLiteral(" %1=%2 ").arg(column, names[0]);
    return QStringLiteral(" %1 IN(%2) ").arg(column, names.join(u','));
}

void ReportFilter::bind(QSqlQuery& query, const QString& prefix) const
{
    for (qsizetype i = 0; i < keys.size(); ++i) query.bindValue(QStringLiteral(":%1%2").arg(prefix).arg(i), keys[i]);
}

ReportFilter BuildSelectionFilter(const std::vector<SelectionEntry>& list, const std::vector<int>& selected,
                                  bool listOpen)
{
    ReportFilter filter;
    if (!listOpen) return filter;
    const std::size_t chosen = selected.size();
    const std::size_t rows = list.size();
    if (chosen == rows) {
        filter.description = kAllSelected;
        return filter;
    }
    QStringList names;
    if (chosen > rows / 2 && chosen >= 2) {
        filter.negated = true;
        for (std::size_t i = 0; i < rows; ++i) {
            if (std::find(selected.begin(), selected.end(), int(i)) != selected.end()) continue;
            filter.keys << list[i].key;
            names << list[i].name.trimmed();
        }
        filter.description = QStringLiteral("Nav :,") + names.join(u',');
        return filter;
    }
    for (const int i : selected) {
        if (i < 0 || std::size_t(i) >= rows) continue;
        filter.keys << list[std::size_t(i)].key;
        names << list[std::size_t(i)].name.trimmed();
    }
    filter.description = names.join(u',');
    return filter;
}
