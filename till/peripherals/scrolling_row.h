// One tick of an advertising row on the second screen: the text is repeated until it fills its
// label, then its first character moves to the end, so the row scrolls left a character a tick.
#pragma once

#include <QString>

#include <functional>

// `labelWidth` is the label's width; `widthOf` the width a text takes in the label's font.
QString ScrollRow(const QString& text, int labelWidth, const std::function<int(const QString&)>& widthOf);
