#pragma once

#include <string>
#include <string_view>

#include "common/result_code.h"
#include "link/link_layer.h"

namespace vantrel {

// Sends one command text after another until one fails; every later command is then skipped,
// so a block of commands reads as a plain sequence and still stops at the first failure.
class CommandWriter {
 public:
  static constexpr std::size_t kCommandCapacity = 1024;

  explicit CommandWriter(LinkLayer& link) : link_(&link) {}
  // Collects the commands into `text` instead of sending them.
  explicit CommandWriter(std::string& text) : text_(&text) {}

  // Formats into a bounded buffer and sends the formatted bytes, NULs from "%c" included.
  // A command that would not fit is not sent and counts as a failed send.
  [[gnu::format(printf, 2, 3)]] void Send(const char* format, ...);
  void SendText(std::string_view text);

  ResultCode result() const { return result_; }

 private:
  LinkLayer* link_ = nullptr;
  std::string* text_ = nullptr;
  ResultCode result_ = kResultOk;
};

}  // namespace vantrel
