// The library's result codes and their texts, and the exception the byte level throws with one.
#pragma once

#include "memorix.h"

namespace memorix {

// Text of a code, "Unknown !!!" for a code the table does not hold.
const char* errorText(int code);

// A byte-level failure (time-out, port error, malformed reply). Thrown by the byte and frame
// routines and caught where a request is sent or a reply received, which return its code.
class CCommError {
public:
    explicit CCommError(int code) : code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

}  // namespace memorix
