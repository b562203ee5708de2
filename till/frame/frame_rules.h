// Rules of the till's frame that need no window: the message service,
// the clock tick's weighing indicator, the wheel-to-selection step and the on-screen keyboard keys.
#pragma once

#include <QString>
#include <QStringList>

// ---------------------------------------------------------------- message service

// The till's usual way to tell the user something: the text goes to the command-file reply list
// when that list exists, and into a message box unless the till is in command-file mode and the
// call is not forced.
void ShowPazinojums(const QString& text, bool force, bool fiskPrinteris, QStringList* retPosList);

// ---------------------------------------------------------------- clock tick

// The weighing indicator the 500 ms clock drives: a weighing that has not ended by itself is
// cleared on the sixth tick. Returns whether the "Svēršana..." label shows after the tick.
struct WeighingState {
    bool SversanaNotiek = false;
    int SversanaTaimeris = 0;
};
bool WeighingTick(WeighingState& state);

// ---------------------------------------------------------------- mouse wheel

// The selection after one wheel message over the receipt list: one row up for a positive
// distance, one down for a negative one, unclamped (so it may leave the list). A zero distance
// leaves it.
int WheelSelection(int currentIndex, int wheelDistance);

// ---------------------------------------------------------------- on-screen keyboard

// The edit line after a key of the on-screen keyboard: a leading "&" of the caption is dropped;
// "<-" removes the last character; "SPACE" adds a blank; any other caption is appended as it is.
QString KlaviaturaKey(const QString& line, const QString& caption);
