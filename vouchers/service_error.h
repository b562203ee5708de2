// Errors of the transport, the service description and SOAP faults, with the text the user sees.
#pragma once

#include <stdexcept>
#include <string>

namespace razevedu {

struct ServiceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A fault the service answered with; the text is its fault string.
struct SoapFault : ServiceError {
    using ServiceError::ServiceError;
};

}  // namespace razevedu
