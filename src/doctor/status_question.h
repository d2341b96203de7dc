#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "common/failure.h"
#include "link/link_layer.h"

namespace vantrel {

struct StatusAnswer {
  bool answered = false;
  std::uint8_t status = 0;
  std::chrono::milliseconds round_trip{0};  // from the question to the answer
  LinkFailure failure;                      // why there was no answer
};

// Opens the link, asks the printer's status byte once and closes: the one thing the doctor
// sends to a printer.
StatusAnswer AskStatus(LinkLayer& link, InterfaceKind interface);

// "status 0x00 in 3 ms".
std::string DescribeAnswer(const StatusAnswer& answer);

}  // namespace vantrel
