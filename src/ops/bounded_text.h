#pragma once

#include <array>
#include <cstdarg>
#include <cstddef>
#include <span>
#include <string_view>

#include "common/result_code.h"
#include "link/link_layer.h"

namespace vantrel {

// Formats into `buffer` after its first `length` bytes, at most `part_capacity` of them, and
// keeps it NUL-terminated. A part that would not fit is left out whole: false.
bool AppendFormatted(std::span<char> buffer, std::size_t& length, std::size_t part_capacity,
                     const char* format, va_list args);

// A command text built piece by piece into a bounded buffer, each piece at most
// PartCapacity bytes.
template <std::size_t Capacity, std::size_t PartCapacity = Capacity>
class BoundedText {
 public:
  // A piece that would not fit is left out whole and marks the text as incomplete.
  [[gnu::format(printf, 2, 3)]] void Append(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (!AppendFormatted(text_, length_, PartCapacity, format, args)) complete_ = false;
    va_end(args);
  }

  // False once a piece was left out; such a text must not be sent as a whole.
  bool complete() const { return complete_; }
  bool empty() const { return length_ == 0; }
  const char* c_str() const { return text_.data(); }
  std::string_view view() const { return {text_.data(), length_}; }

 private:
  std::array<char, Capacity + 1> text_{};
  std::size_t length_ = 0;
  bool complete_ = true;
};

// The operations that send several lines in one write build them here.
using CommandText = BoundedText<1024>;

// Opens the link, writes the text in one write and closes it: 0, 1 when the link does not
// open, 2 when the write fails. An incomplete text gives 2 without opening the link.
ResultCode SendInOneWrite(LinkLayer& link, InterfaceKind interface, const CommandText& text);

}  // namespace vantrel
