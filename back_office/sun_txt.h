// SUN.TXT: the tills' sales summed by item, price and discount, one fixed-width line each, for
// another program to read. The step that writes it is SanemRealizSun (transfer_steps.h).
#pragma once

#include <QString>

#include <optional>

inline constexpr const char* kSunTxtFile = "SUN.TXT";

// "code,amount,quantity": the code filled with "0" to 13 characters (a longer one whole); the
// amount in hundredths, rounded halves up, as whole digits filled to 12; the quantity "%8.3f"
// filled to 8. Both carry a "-" in front when the quantity is negative, whatever the amount's own
// sign. Empty when the quantity is 0 to three decimals (a sale and its return): no line.
std::optional<QString> SunLine(const QString& artikuls, double summa, double daudzums);
