// The caption rule of the touch keypads (the sale window's and the payment dialog's): what a
// touched key does to the text of the field the keypad serves.
#pragma once

#include <QString>

#include <optional>

// The field's text after the key of this caption: a leading "&" is dropped; a caption beginning
// with "C" that holds no "=" empties the field; "<-" takes the last character; "Daudzums *" types
// "*" and "Cena =" types "="; any other caption is typed as it stands. Empty for "Enter", which
// each keypad handles its own way.
std::optional<QString> KeypadText(const QString& text, const QString& caption);
