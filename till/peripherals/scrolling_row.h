// An advertising row on the second screen: copies of the advertisement, each followed by a blank,
// enough to fill the row's label, turned left a character a tick.
#pragma once

#include <QString>

#include <functional>

class ScrollingRow {
public:
    // Starts the row over with a new advertisement, its first character first.
    void SetText(const QString& advertisement);
    // The row's text for the next tick in a label `labelWidth` wide; `widthOf` the width a text
    // takes in the label's font. The copies stay apart by their blank however far the row has
    // turned and however wide the label becomes.
    QString Tick(int labelWidth, const std::function<int(const QString&)>& widthOf);

private:
    QString copy_ = QStringLiteral(" ");  // the advertisement and the blank after it
    int turned_ = 0;                     // characters of the first copy already moved to the end
};
