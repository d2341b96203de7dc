#include "ops/read_configuration.h"

#include <array>
#include <cstdio>
#include <optional>

#include "config/unit_conversions.h"
#include "ops/config_report_steps.h"
#include "ops/decimal_reply.h"

namespace vantrel {
namespace {

// A value ends the read with that code; no value goes on to the next phase.
using PhaseEnd = std::optional<ResultCode>;

// One read: the link, the record being filled and the scratch reply shared by every question.
class ConfigurationReader {
 public:
  ConfigurationReader(LinkLayer& link, PrinterConfig& config) : link_(link), config_(config) {}

  PhaseEnd ReadHead(InterfaceKind interface);
  PhaseEnd ReadAnnouncedResolution(InterfaceKind interface);
  PhaseEnd ReadSerialNumber();
  PhaseEnd ReadCommonItems();
  PhaseEnd ReadToleratedItems();
  ResultCode ReadEmulationItems();
  PhaseEnd AskAll(std::span<const ReportStep> steps);

 private:
  ResultCode Send(std::string_view name);
  ResultCode Ask(std::string_view name);
  ResultCode AskAndStore(const ReportStep& step);
  PhaseEnd ReadResolution();

  LinkLayer& link_;
  PrinterConfig& config_;
  ReplyBuffer reply_;
};

ResultCode ConfigurationReader::Send(std::string_view name) {
  std::array<char, 64> question;
  const int length = std::snprintf(question.data(), question.size(), "DIAGNOSTIC REPORT %.*s\r\n",
                                   static_cast<int>(name.size()), name.data());
  if (length < 0 || static_cast<std::size_t>(length) >= question.size()) {
    return kResultTransmissionError;
  }
  return link_.WriteLink(std::string_view(question.data(), static_cast<std::size_t>(length)))
             ? kResultOk
             : kResultTransmissionError;
}

ResultCode ConfigurationReader::Ask(std::string_view name) {
  if (const ResultCode result = Send(name); result != kResultOk) return result;
  return link_.ReadFramedReply(reply_) ? kResultOk : kResultReceivingError;
}

ResultCode ConfigurationReader::AskAndStore(const ReportStep& step) {
  const ResultCode result = Ask(step.name);
  if (result == kResultOk) step.store(reply_.view(), config_);
  return result;
}

// Every printer answers these, in the order asked: all the questions go out before the first
// answer is read, so that a phase waits for the printer once rather than once a question.
PhaseEnd ConfigurationReader::AskAll(std::span<const ReportStep> steps) {
  for (const ReportStep& step : steps) {
    if (const ResultCode result = Send(step.name); result != kResultOk) return result;
  }
  for (const ReportStep& step : steps) {
    if (!link_.ReadFramedReply(reply_)) return kResultReceivingError;
    step.store(reply_.view(), config_);
  }
  return std::nullopt;
}

// Every length conversion divides by the dots per millimetre derived here, so a resolution that
// gives none (0, no number, or about 3 to 12 dpi, which rounds to 0) fails the read.
PhaseEnd ConfigurationReader::ReadResolution() {
  if (const ResultCode result = Ask("DPI"); result != kResultOk) return result;
  const float dpi = ParseDecimalReal(reply_.view());
  const std::optional<float> dots_per_mm = DotsPerMmFromDpi(dpi);
  if (!dots_per_mm) return kResultReceivingError;
  config_.Dpi.Set(dpi);
  config_.DotsPerMm = *dots_per_mm;
  return std::nullopt;
}

PhaseEnd ConfigurationReader::ReadAnnouncedResolution(InterfaceKind interface) {
  // The announcement's answer is required, but what it says is not used.
  if (const ResultCode result = link_.QueryFramedReply(InterfaceAnnouncement(interface), reply_);
      result != kResultOk) {
    return result;
  }
  return ReadResolution();
}

PhaseEnd ConfigurationReader::ReadHead(InterfaceKind interface) {
  if (PhaseEnd end = ReadAnnouncedResolution(interface)) return end;
  return AskAll(IdentityReportSteps());
}

// The serial number comes back as a plain line. A printer that does not answer gives an empty
// one after the reader's wait; a line too long for the buffer is no serial number, and a record
// without its later items must not pass for a whole one.
PhaseEnd ConfigurationReader::ReadSerialNumber() {
  if (const ResultCode result = link_.SendCommandText(kSerialNumberQuestion); result != kResultOk) {
    return result;
  }
  if (!link_.ReadReplyLine(reply_)) return kResultReceivingError;
  SetText(config_.SerialNo, reply_.view());
  return std::nullopt;
}

PhaseEnd ConfigurationReader::ReadCommonItems() {
  return AskAll(CommonReportSteps());
}

// Older printers do not know these questions: the first one unanswered ends the read there.
// A lost link is no unanswered question.
PhaseEnd ConfigurationReader::ReadToleratedItems() {
  for (const ReportStep& step : ToleratedReportSteps()) {
    if (const ResultCode result = AskAndStore(step); result != kResultOk) {
      if (!link_.AnswerMissing(result)) return result;
      step.clear(config_);
      return kResultOk;
    }
  }
  return std::nullopt;
}

ResultCode ConfigurationReader::ReadEmulationItems() {
  if (config_.Edition < kFirstEmulationEdition) {
    for (const ReportStep& step : EmulationReportSteps()) step.clear(config_);
    return kResultOk;
  }
  return AskAll(EmulationReportSteps()).value_or(kResultOk);
}

}  // namespace

ResultCode ReadConfiguration(LinkLayer& link, InterfaceKind interface, PrinterConfig& config) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ConfigurationReader reader(link, config);
  if (PhaseEnd end = reader.ReadHead(interface)) return *end;
  if (PhaseEnd end = reader.ReadSerialNumber()) return *end;
  if (PhaseEnd end = reader.ReadCommonItems()) return *end;
  if (PhaseEnd end = reader.ReadToleratedItems()) return *end;
  return reader.ReadEmulationItems();
}

ResultCode ReadConfigurationPage(LinkLayer& link, InterfaceKind interface, ConfigPage page,
                                 PrinterConfig& config) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ConfigurationReader reader(link, config);
  if (PhaseEnd end = reader.ReadAnnouncedResolution(interface)) return *end;
  if (page != ConfigPage::kCommon) {
    return reader.AskAll(EmulationPageReportSteps(page)).value_or(kResultOk);
  }
  if (PhaseEnd end = reader.ReadCommonItems()) return *end;
  return reader.ReadToleratedItems().value_or(kResultOk);
}

}  // namespace vantrel
