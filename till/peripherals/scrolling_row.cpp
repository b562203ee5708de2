#include "scrolling_row.h"

QString ScrollRow(const QString& text, int labelWidth, const std::function<int(const QString&)>& widthOf) {
    QString row = text;
    // Doubling: "ABC" becomes "ABC ABC", then "ABC ABC ABC ABC". An empty row becomes blanks; a
    // font that gives blanks no width would never fill the label, so the row stops at one
    // label's worth of characters whatever the font says.
    while (widthOf(row) < labelWidth && row.size() < labelWidth) row = row + QLatin1Char(' ') + row;
    if (row.isEmpty()) return row;
    return row.mid(1) + row.at(0);
}
