// What a window shows cut on the screen it is on: a control smaller than its minimum size hint, a
// text wider than its field, a list column narrower than its heading, a list whose lines run past
// its width, a window that reaches past the screen. Screenshots are for looking; this is what a
// test asserts.
#pragma once

#include <QStringList>

class QWidget;

namespace testsupport {

// One text for each cut part of the shown window `window`, naming the part; empty when nothing
// is cut.
QStringList CutParts(QWidget& window);

}  // namespace testsupport
