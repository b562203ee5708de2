// Weighing on a serial scale: the till's four scale models as one table (line, request, read
// steps, which characters are kept), the rules that turn the characters read into a weight text,
// the accepted range, and one reading through the port wrapper.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

// How a model keeps the characters of its read steps.
enum class KeepRule {
    SignedDecimal,  // each step's byte as a signed 8-bit number in decimal; no byte counts as 0
    DigitsAndPoint, // only "0" to "9" and "."
    Every,          // every character
    Magelan,        // the Magelan rule (MagelanStep)
};

struct ScaleModelLine {
    const char* name;
    long baud;
    const char* parity;
    std::string request;     // sent after opening
    int discardedSteps;      // read steps after the request whose characters are thrown away
    std::string secondRequest;  // sent after those
    int readSteps;
    KeepRule keep;
};

// The model a "SvariTips" value names; a value outside 0..3 reads like the DIGI DS-788 without
// its repeated attempts.
const ScaleModelLine& ScaleModelOf(int svariTips);
inline constexpr int kDigiModel = 1;
inline constexpr int kCasModel = 0;
inline constexpr int kCasErModel = 2;
// Attempts of the DIGI DS-788, two readings each, until one gives a weight above 0 and below 15.
inline constexpr int kDigiAttempts = 40;

// ---------------------------------------------------------------- characters to a weight text

// What one read step adds to the weight text under the model's rule; `received` is empty when no
// byte came within the read time-out. For the Magelan, `end` is set when the reading stops here.
std::string KeepStep(KeepRule rule, const std::string& weightText, const std::string& received, bool& end);

// A DIGI DS-788 reading cut so that at most three characters stand before its first ".".
std::string DigiCut(const std::string& text);
// The DIGI DS-788's attempts over `reading` (one opening of the port, 13 steps): the weight text.
std::string DigiAttempts(const std::function<std::string()>& reading);
// The CAS ER's text: after its first blank, cut three places after the first ".".
std::string CasErCut(const std::string& text);
// The CAS's text: its number times 0.0001 in general format (15 significant digits, "."); none
// when the text is not a number.
std::optional<std::string> CasWeightText(const std::string& text);

// A text as the run-time library converts it to a number: blanks around it allowed, "." as the
// point, an exponent allowed; none when it is not a number.
std::optional<double> TextToNumber(const std::string& text);

// ---------------------------------------------------------------- the accepted range

enum class WeightCheck { Taken, OutOfRange, NotANumber };
WeightCheck CheckWeight(const std::string& weightText);

inline constexpr const char* kNoScalePort = "Nav iestādīts svaru COM ports !!!";
inline constexpr const char* kOutOfRange = "Svars lielāks par 15 kg vai mazāks par 0 !!!\n Mēģināt svērt vēlreiz.\n";
inline constexpr const char* kNotANumber = "Svars nav korekts !!!\n Mēģināt svērt vēlreiz.\n";

// ---------------------------------------------------------------- one weighing

// Reads the scale on COM `port` as model `svariTips` does, DIGI attempts and text rules
// included: the weight text and whether it is taken.
struct Weighing {
    std::string text;
    WeightCheck check = WeightCheck::NotANumber;
};
Weighing WeighOnScale(int port, int svariTips);

// The item field after a taken weight: the weight text, "*" and what the field held.
QString WeighedEntry(const std::string& weightText, const QString& itemField);
// The message of a refused weight, the weight text after it.
QString WeighingRefusal(const Weighing& weighing);
