#include "weighing.h"

#include "codepage_1257.h"
#include "cominterface.h"

#include <charconv>
#include <cmath>

namespace {

// The scale models by "SvariTips". The CAS answers 19 byte values; the DIGI DS-788 talks unasked;
// the CAS ER is woken with ENQ, its answer to that thrown away, then asked with DC1; the Magelan
// is asked with "W" and ends its frame with a CR that carries the parity bit.
const ScaleModelLine kModels[] = {
    {"CAS", 4800, "e", std::string("\x00\x00\x03", 3), 0, {}, 19, KeepRule::SignedDecimal},
    {"DIGI DS-788", 4800, "e", {}, 0, {}, 13, KeepRule::DigitsAndPoint},
    {"CAS ER", 9600, "n", "\x05", 1, "\x11", 16, KeepRule::Every},
    {"Magelan", 9600, "n", "W", 0, {}, 16, KeepRule::Magelan},
};

constexpr double kMaxWeight = 15;
constexpr double kMinWeight = 0.001;

// One opening of the port: the requests, the read steps, the characters kept.
std::string ReadScale(int port, const ScaleModelLine& model) {
    const ComHandle handle = ComOpen(port, model.baud, model.parity);
    // The handle goes on without a test: a port that did not open delivers no characters, and the
    // reading ends in the range or number message.
    if (!model.request.empty()) ComWrite(handle, model.request);
    for (int i = 0; i < model.discardedSteps; ++i) ComRead(handle);
    if (!model.secondRequest.empty()) ComWrite(handle, model.secondRequest);
    std::string text;
    for (int i = 0; i < model.readSteps; ++i) {
        bool end = false;
        const std::string kept = KeepStep(model.keep, text, ComRead(handle), end);
        if (end) break;
        text += kept;
    }
    ComClose(handle);
    return text;
}

}  // namespace

const ScaleModelLine& ScaleModelOf(int svariTips) {
    if (svariTips < 0 || svariTips > 3) return kModels[kDigiModel];
    return kModels[svariTips];
}

std::string KeepStep(KeepRule rule, const std::string& weightText, const std::string& received, bool& end) {
    end = false;
    const auto c = received.empty() ? std::uint8_t(0) : std::uint8_t(received[0]);
    switch (rule) {
    case KeepRule::SignedDecimal: return std::to_string(int(std::int8_t(c)));
    case KeepRule::DigitsAndPoint:
        return (!received.empty() && ((c >= '0' && c <= '9') || c == '.')) ? received : std::string();
    case KeepRule::Every: return received;
    case KeepRule::Magelan:
        if (!weightText.empty() && !received.empty() && c == 0x8D) {
            end = true;
            return {};
        }
        if (received.empty() || c == 0x00 || c == 0x82 || c == 0x8D || c == 0x0A) return {};
        if (c >= 0xB1 && c <= 0xB9) return std::string(1, char('1' + (c - 0xB1)));
        return received;
    }
    return {};
}

std::string DigiCut(const std::string& text) {
    const auto point = text.find('.');
    if (point != std::string::npos && point >= 3) return text.substr(point - 3);
    return text;
}

std::string DigiAttempts(const std::function<std::string()>& reading) {
    std::string first;
    for (int attempt = 0; attempt < kDigiAttempts; ++attempt) {
        first = DigiCut(reading());
        const std::string second = DigiCut(reading());
        const double a = TextToNumber(first).value_or(0);
        const double b = TextToNumber(second).value_or(0);
        const auto good = [](double w) { return w > 0 && w < kMaxWeight; };
        if (good(a) || good(b)) return (a == 0 && b != 0) ? second : first;
    }
    return first;
}

std::string CasErCut(const std::string& text) {
    std::string cut = text;
    if (const auto blank = cut.find(' '); blank != std::string::npos) cut = cut.substr(blank + 1);
    if (const auto point = cut.find('.'); point != std::string::npos) cut = cut.substr(0, point + 4);
    return cut;
}

std::optional<std::string> CasWeightText(const std::string& text) {
    const auto value = TextToNumber(text);
    if (!value) return std::nullopt;
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *value * 0.0001, std::chars_format::general, 15);
    if (ec != std::errc{}) return std::nullopt;
    return std::string(buf, end);
}

std::optional<double> TextToNumber(const std::string& text) {
    std::size_t from = text.find_first_not_of(' ');
    if (from == std::string::npos) return std::nullopt;
    const std::size_t to = text.find_last_not_of(' ') + 1;
    if (text[from] == '+') ++from;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + from, text.data() + to, value, std::chars_format::general);
    if (ec != std::errc{} || end != text.data() + to || !std::isfinite(value)) return std::nullopt;
    return value;
}

WeightCheck CheckWeight(const std::string& weightText) {
    const auto w = TextToNumber(weightText);
    if (!w) return WeightCheck::NotANumber;
    if (*w > kMaxWeight || *w < kMinWeight) return WeightCheck::OutOfRange;
    return WeightCheck::Taken;
}

Weighing WeighOnScale(int port, int svariTips) {
    const ScaleModelLine& model = ScaleModelOf(svariTips);
    Weighing result;
    result.text = ReadScale(port, model);
    if (svariTips == kDigiModel) result.text = DigiAttempts([&] { return ReadScale(port, model); });
    if (svariTips == kCasErModel) result.text = CasErCut(result.text);
    if (svariTips == kCasModel) {
        const auto text = CasWeightText(result.text);
        if (!text) {
            result.check = WeightCheck::NotANumber;
            return result;
        }
        result.text = *text;
    }
    result.check = CheckWeight(result.text);
    return result;
}

QString WeighedEntry(const std::string& weightText, const QString& itemField) {
    return fromCp1257(weightText) + QLatin1Char('*') + itemField;
}

QString WeighingRefusal(const Weighing& weighing) {
    const char* message = weighing.check == WeightCheck::OutOfRange ? kOutOfRange : kNotANumber;
    return QString::fromUtf8(message) + fromCp1257(weighing.text);
}
