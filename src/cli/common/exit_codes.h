#pragma once

namespace vantrel::cli {

// Exit statuses beyond the result codes 0..5.
inline constexpr int kExitRefused = 6;
inline constexpr int kExitUsage = 64;

}  // namespace vantrel::cli
