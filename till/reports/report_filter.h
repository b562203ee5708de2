// The customer and goods choices of the report parameter dialog, turned into a condition of the
// report's statement whose values are bound as parameters, and a description for the page.
#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <vector>

// One row of a choice list: its key (customer code, article) and its name.
struct SelectionEntry {
    QString key;
    QString name;
};

inline const QString kAllSelected = QStringLiteral("Atlasīti visi");

struct ReportFilter {
    QStringList keys;      // empty: no condition
    bool negated = false;  // the keys are the rows left out
    QString description;

    bool empty() const { return keys.isEmpty(); }
    // " column=:p0 ", " column IN(:p0,:p1) " or " column NOT IN(:p0) "; empty without keys.
    QString condition(const QString& column, const QString& prefix) const;
    // Binds the keys to the parameters the condition named with the same prefix.
    void bind(QSqlQuery& query, const QString& prefix) const;
};

// The filter of a list of `list.size()` rows of which the rows at `selected` are chosen (in the
// order they were chosen): all rows chosen (an empty list too) is no condition, "Atlasīti visi";
// more than half and at least two chosen lists the rows left out ("Nav :" and their names);
// otherwise the chosen rows. A list that was not open builds nothing.
ReportFilter BuildSelectionFilter(const std::vector<SelectionEntry>& list, const std::vector<int>& selected,
                                  bool listOpen = true);
