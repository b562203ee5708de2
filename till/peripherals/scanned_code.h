// Gathering the characters a barcode scanner sends into codes: a carriage return ends a code.
#pragma once

#include <QString>

#include <optional>
#include <string>

class ScannedCode {
public:
    // One read step: the character received, empty when none came within the read time-out.
    // Returns the code a carriage return completes. "F" and "A" (upper case) start a new code and
    // are not part of one. Other control characters are dropped: a scanner that ends its codes
    // with CR LF would otherwise put the line feed in front of the next code, which then is found
    // nowhere.
    std::optional<QString> step(const std::string& received);
    const std::string& gathered() const { return kods_; }

private:
    std::string kods_;
};
