#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "link/link_layer.h"

namespace vantrel::testing {

// Runs `operation` on this thread while another thread cancels `link` once the operation had
// time to start waiting; returns how long the operation took.
inline std::chrono::steady_clock::duration CancelDuring(LinkLayer& link,
                                                        const std::function<void()>& operation) {
  std::thread canceller([&link] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    link.Cancel();
  });
  const auto start = std::chrono::steady_clock::now();
  operation();
  const auto took = std::chrono::steady_clock::now() - start;
  canceller.join();
  return took;
}

}  // namespace vantrel::testing
