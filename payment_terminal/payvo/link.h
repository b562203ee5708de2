// The terminal's ECR frame: check characters, frame building and checking, the field routines
// and the information-request builders. Pure functions over byte strings, no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace payvo {

// Frames and messages are byte strings (std::string holds any byte).
using Frame = std::string;

inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char EOT = 0x04;
inline constexpr char ACK = 0x06;
inline constexpr char NAK = 0x15;
inline constexpr char FS = 0x1C;
inline constexpr char GS = 0x1D;

// The message layer's buffer sizes: frames, and collected receipt text.
inline constexpr std::size_t kFrameBufferSize = 5000;
inline constexpr std::size_t kTextBufferSize = 10000;

// Two check characters over the bytes after STX up to and including ETX: the complement of their
// XOR, high and low four bits each plus 0x30.
std::string MakeLrc(std::string_view afterStx);

// STX type {FS field} ETX C1 C2. Fields go in as they are (they must not hold FS, ETX or STX).
Frame buildFrame(std::string_view type, const std::vector<std::string>& fields);

// 0 good, 2106 malformed, 2107 wrong check characters, 2108 no STX.
int CheckFrame(std::string_view frame);

// Field n of a frame (1 the type); FS and ETX both end a field. False for an empty text, no STX,
// no separator after STX, or fewer than n separators.
bool GetField(std::string_view frame, int n, std::string& out);
// The number of the first field that begins with name; 0 when none does.
int FindFieldIndex(std::string_view frame, std::string_view name);
// 1 read (or an empty text, value left alone), 2 more than 8 characters, 4 not hexadecimal.
int HexToNumber(std::string_view text, std::int32_t& value);
bool IsAllDigits(std::string_view text);
// Appends up to count bytes of source to destination, which never grows beyond size - 1 bytes;
// adds CR LF unless the appended text ends in CR or LF and room for two is left. 0, or -1 for a
// count below 1 or a size below 2.
int AppendLine(std::string_view source, int count, std::string& destination, std::size_t size);
bool IsValidTransactionType(int type);
// Minor units from 0 to 99,999,999.
bool IsValidAmount(std::int32_t amount);
// At most max bytes of source, stopping at a zero byte.
std::string CopyText(std::string_view source, std::size_t max);
// A decimal number at the start of text, as atoi reads it (0 when there is none); never the locale.
std::int32_t decimalValue(std::string_view text);

Frame BuildHostListRequest();
Frame BuildHostTotalsRequest(int host);
Frame BuildLoyaltyRequest(std::string_view text);

// Where a collection of received bytes stands (SerialReceive's frame hunt): the frames from an
// STX to the first ETX after it plus two bytes, checked in turn; the last one decides.
struct CollectedFrames {
    enum class Last { None, Good, BadCheck, Malformed } last = Last::None;
    Frame frame;       // the last complete frame
    int badCount = 0;  // frames with wrong check characters among them
};
CollectedFrames scanCollected(std::string_view collected);

}  // namespace payvo
