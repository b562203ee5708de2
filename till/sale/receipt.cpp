#include "receipt.h"

#include <cmath>

long double RoundSumma(double value, int digits) {
    const long double p = std::pow(10.0L, digits);
    double x = double(p * value);
    if (x > 0) {
        if (std::fmod(x, 1.0) >= 0.49999999) x += 1.0;
        return std::floor(x) / p;
    }
    if (std::fmod(x, 1.0) <= -0.49999999) x -= 1.0;
    return std::ceil(x) / p;
}

double RindasSumma(const TCekaRinda& line) {
    const long double f = 1.0L - 0.01L * line.Atlaide;
    const long double g = (long double)line.Cena * line.Daudzums * line.Iepakojums;
    return double(RoundSumma(double(f * g), 2));
}
