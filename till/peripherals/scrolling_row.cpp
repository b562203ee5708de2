#include "scrolling_row.h"

void ScrollingRow::SetText(const QString& advertisement) {
    copy_ = advertisement + QLatin1Char(' ');
    turned_ = 0;
}

QString ScrollingRow::Tick(int labelWidth, const std::function<int(const QString&)>& widthOf) {
    // Doubling: "ABC " becomes "ABC ABC ", then "ABC ABC ABC ABC ". A font that gives blanks no
    // width would never fill the label, so the row stops at one label's worth of characters
    // whatever the font says.
    QString row = copy_;
    while (widthOf(row) < labelWidth && row.size() < labelWidth) row += row;
    // The row is whole copies, so turning it by the characters turned within one copy shows the
    // same text as turning it by all the ticks so far.
    turned_ = (turned_ + 1) % int(copy_.size());
    return row.mid(turned_) + row.left(turned_);
}
