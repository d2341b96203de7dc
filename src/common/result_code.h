#pragma once

#include <string_view>

namespace vantrel {

// The result of every printer operation. The first failing step decides it:
// open 1, write 2, read or bad reply 3.
using ResultCode = int;

inline constexpr ResultCode kResultOk = 0;
inline constexpr ResultCode kResultPortOpenError = 1;
inline constexpr ResultCode kResultTransmissionError = 2;
inline constexpr ResultCode kResultReceivingError = 3;
inline constexpr ResultCode kResultFileOpenError = 4;
inline constexpr ResultCode kResultUnknownError = 5;

// The fixed English message of a code; empty for 0 and for codes outside 0..5.
std::string_view ResultMessage(ResultCode code);

}  // namespace vantrel
