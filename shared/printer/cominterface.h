// Serial ports for the till's printer, display, scale and scanner: open a COM port by number with
// fixed line settings, write a block, read one byte, close. Handles are plain ints, -1 not open.
#pragma once

#include <cstddef>
#include <string>

using ComHandle = int;
inline constexpr ComHandle kComNotOpen = -1;

// Results of ComWrite.
inline constexpr int kComWriteOk = 0;
inline constexpr int kComWriteNothing = -1;  // count 0: nothing written
inline constexpr int kComWriteFailed = -2;   // the write failed (also: port not open)
inline constexpr int kComWriteShort = -3;    // fewer bytes written than asked

// Read time-out of ComRead: it returns at once when a byte waits, else after this long.
inline constexpr int kComReadTimeoutMs = 50;

// Opens "COM<port>" for exclusive use with "baud=<baud> parity=<parity> data=8 stop=1", binary,
// no flow control, DTR on. parity is "n", "e" or "o". Returns the handle or kComNotOpen.
ComHandle ComOpen(int port, long baud, const char* parity);
// One synchronous write of all bytes; waits until they have left the port.
int ComWrite(ComHandle handle, const void* bytes, std::size_t count);
int ComWrite(ComHandle handle, const std::string& bytes);
// One byte read with the 50 ms time-out: a text of that one byte, or an empty text when no byte
// came (or the port is not open). Each call has its own result, so readers on several threads
// never see each other's bytes.
std::string ComRead(ComHandle handle);
// Closes the port; closing kComNotOpen or an unknown handle does nothing. Returns 0.
int ComClose(ComHandle handle);
