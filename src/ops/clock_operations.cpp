#include "ops/clock_operations.h"

#include <array>

#include "ops/decimal_reply.h"

namespace vantrel {
namespace {

constexpr std::int32_t kLastYear = 9999;

struct ClockReport {
  std::string_view question;
  std::int32_t ClockSettings::*field;
};

constexpr std::array<ClockReport, 6> kClockReports = {{
    {"DIAGNOSTIC REPORT YEAR\r\n", &ClockSettings::Year},
    {"DIAGNOSTIC REPORT MONTH\r\n", &ClockSettings::Month},
    {"DIAGNOSTIC REPORT DATE\r\n", &ClockSettings::Day},
    {"DIAGNOSTIC REPORT HOUR\r\n", &ClockSettings::Hour},
    {"DIAGNOSTIC REPORT MINUTE\r\n", &ClockSettings::Minute},
    {"DIAGNOSTIC REPORT SECOND\r\n", &ClockSettings::Second},
}};

bool IsLeapYear(std::int32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[static_cast<std::size_t>(month - 1)];
}

std::string OutOfRange(const char* name, std::int32_t value, std::int32_t first,
                       std::int32_t last) {
  return std::string(name) + " " + std::to_string(value) + " is not between " +
         std::to_string(first) + " and " + std::to_string(last);
}

}  // namespace

std::string ClockRefusal(const ClockSettings& clock) {
  if (clock.Year < 0 || clock.Year > kLastYear) return OutOfRange("Year", clock.Year, 0, kLastYear);
  if (clock.Month < 1 || clock.Month > 12) return OutOfRange("Month", clock.Month, 1, 12);
  const std::int32_t days = DaysInMonth(clock.Year, clock.Month);
  if (clock.Day < 1 || clock.Day > days) return OutOfRange("Date", clock.Day, 1, days);
  if (clock.Hour < 0 || clock.Hour > 23) return OutOfRange("Hour", clock.Hour, 0, 23);
  if (clock.Minute < 0 || clock.Minute > 59) return OutOfRange("Minute", clock.Minute, 0, 59);
  if (clock.Second < 0 || clock.Second > 59) return OutOfRange("Second", clock.Second, 0, 59);
  return {};
}

CommandText ClockCommandText(const ClockSettings& clock) {
  CommandText text;
  text.Append("YEAR = %d\r\nMONTH = %d\r\nDATE = %d\r\nHOUR = %d\r\nMINUTE = %d\r\nSECOND = %d\r\n",
              clock.Year % 100, clock.Month, clock.Day, clock.Hour, clock.Minute, clock.Second);
  return text;
}

ResultCode SetClock(LinkLayer& link, InterfaceKind interface, const ClockSettings& clock) {
  if (!ClockRefusal(clock).empty()) return kResultUnknownError;
  return SendInOneWrite(link, interface, ClockCommandText(clock));
}

ResultCode ReadClock(LinkLayer& link, InterfaceKind interface, ClockSettings& clock) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ReplyBuffer reply;
  // The announcement's answer is required, but what it says is not used.
  if (const ResultCode r = link.QueryFramedReply(InterfaceAnnouncement(interface), reply);
      r != kResultOk) {
    return r;
  }
  for (const ClockReport& report : kClockReports) {
    if (const ResultCode r = link.QueryFramedReply(report.question, reply); r != kResultOk) {
      return r;
    }
    clock.*report.field = ParseDecimalInteger(reply.view());
  }
  return kResultOk;
}

}  // namespace vantrel
