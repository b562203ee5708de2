// The bridge's view of received bytes: the check of one message (serial and TCP/IP rules), the
// complete messages in a buffer, and reading a message's fields and type. Built on the ECR frame
// routines the control uses.
#pragma once

#include "link.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace payvo_bridge {

inline constexpr char DC1 = 0x11;
inline constexpr char DC2 = 0x12;

// 0, kNoStx, kIncomplete or kWrongCheck. The serial message must end two characters after its
// ETX; over TCP/IP anything after the two check characters is not looked at. Logs the comparison.
int checkSerialMessage(std::string_view message);
int checkTcpMessage(std::string_view message);
// The length of the frame at the start of buffer (through the second check character), or 0 when
// the buffer holds no complete one.
std::size_t leadingFrameLength(std::string_view buffer);

// The complete messages (an STX, the next ETX and two more characters) in buffer, in order; each
// runs from the end of the one before (the first from the start), so bytes before an STX go with
// the message that follows them.
std::vector<std::string_view> completeMessages(std::string_view buffer);

// Field n (1 the type), or nothing.
std::optional<std::string> field(std::string_view message, int n);
// The type text read as hexadecimal ("5" 5, "B" 11, "F" 15); -1 for "IA", "TA" or no frame.
int typeNumber(std::string_view message);
// The number of the first field that begins with tag; 0 when none does.
int fieldWithTag(std::string_view message, std::string_view tag);

}  // namespace payvo_bridge
