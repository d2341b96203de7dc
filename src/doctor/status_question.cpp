#include "doctor/status_question.h"

#include <cstdio>

#include "ops/status_control.h"

namespace vantrel {

StatusAnswer AskStatus(LinkLayer& link, InterfaceKind interface) {
  StatusAnswer answer;
  LinkConnection connection(link, interface);
  if (connection.is_open()) {
    const auto asked = std::chrono::steady_clock::now();
    answer.answered = link.WriteLink(kStatusQuery) && link.ReadReplyByte(answer.status);
    answer.round_trip = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - asked);
  }
  if (!answer.answered) answer.failure = link.LastFailure();
  return answer;
}

std::string DescribeAnswer(const StatusAnswer& answer) {
  char text[48];
  std::snprintf(text, sizeof text, "status 0x%02X in %lld ms", answer.status,
                static_cast<long long>(answer.round_trip.count()));
  return text;
}

}  // namespace vantrel
