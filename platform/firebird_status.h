// The text of a Firebird status vector, for the units that call the client library directly.
#pragma once

#include <ibase.h>

#include <string>

namespace platform {

// Every line fbclient has for the status, joined by line breaks.
std::string statusText(const ISC_STATUS* status);

}  // namespace platform
