// The simulated terminal's own ECR frame encoder and parser, written apart from the control's
// link code so that a mistake made in one is not repeated in the other. Frames are written in
// tests as text with "|" for the field separator: "5|000|APPROVED".
#pragma once

#include "serial_device.h"

#include <optional>
#include <string>
#include <vector>

namespace sim::ecr {

// STX, the text with every "|" turned into FS, ETX, and the two check characters.
Bytes encode(const std::string& text);
// The same frame with its check characters spoiled.
Bytes encodeWithBadCheck(const std::string& text);
// The two check characters for the bytes after STX through ETX.
Bytes checkCharacters(const Bytes& body);

// A frame from STX to its second check character: its text with "|" for FS, when the check
// characters are right; nothing otherwise.
std::optional<std::string> decode(const Bytes& frame);
// Field i of a "|" text (0 the type); empty when missing.
std::string field(const std::string& text, std::size_t i);
std::vector<std::string> fields(const std::string& text);

}  // namespace sim::ecr
