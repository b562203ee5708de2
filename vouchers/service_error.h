// Errors of the transport, the service description and SOAP faults: the library's own text, which
// goes to the log, and the Latvian text the cashier is shown.
#pragma once

#include <stdexcept>
#include <string>

namespace razevedu {

// What the cashier is told, by what went wrong.
inline constexpr const char* kServiceUnreachable = "Nevar sazināties ar ZUDEZO servisu !!!\nPārbaudiet interneta savienojumu.";
inline constexpr const char* kServiceSilent = "ZUDEZO serviss neatbild !!!\nMēģiniet vēlāk vēlreiz.";
inline constexpr const char* kServiceAnswerFaulty = "ZUDEZO serviss atbildēja ar kļūdu !!!";
inline constexpr const char* kPlainHttpRefused =
    "ZUDEZO servisa adrese nav droša (http://), savienojums atteikts !!!\nIestatījumos jānorāda https:// adrese.";

struct ServiceError : std::runtime_error {
    explicit ServiceError(const std::string& detail, std::string cashierText = kServiceAnswerFaulty)
        : std::runtime_error(detail), cashierText_(std::move(cashierText)) {}
    const std::string& cashierText() const noexcept { return cashierText_; }

private:
    std::string cashierText_;
};

// A fault the service answered with; the text is its fault string, which the cashier sees too.
struct SoapFault : ServiceError {
    explicit SoapFault(const std::string& faultString)
        : ServiceError(faultString, std::string(kServiceAnswerFaulty) + "\n" + faultString) {}
};

}  // namespace razevedu
