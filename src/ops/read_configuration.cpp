#include "ops/read_configuration.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "config/unit_conversions.h"
#include "ops/config_report_steps.h"
#include "ops/decimal_reply.h"

namespace vantrel {
namespace {

// A value ends the read with that code; no value goes on to the next phase.
using PhaseEnd = std::optional<ResultCode>;

void AddQuestion(std::string& questions, std::string_view name) {
  questions += "DIAGNOSTIC REPORT ";
  questions += name;
  questions += "\r\n";
}

void AddQuestions(std::string& questions, std::span<const ReportStep> steps) {
  for (const ReportStep& step : steps) AddQuestion(questions, step.name);
}

// The announcement and the resolution open every read.
std::string HeadQuestions(InterfaceKind interface) {
  std::string questions(InterfaceAnnouncement(interface));
  AddQuestion(questions, "DPI");
  return questions;
}

// One read: the link, the record being filled and the scratch reply shared by every question.
//
// A phase writes all its questions at once and then reads the answers in the order asked, so
// it waits for the printer once rather than once a question. A phase ends where an answer
// decides what is asked next: the serial number's line (a silent printer must not have its
// later answers taken for it) and each question an older printer may not know, of which only
// those the printer is known to answer go out together.
class ConfigurationReader {
 public:
  ConfigurationReader(LinkLayer& link, PrinterConfig& config) : link_(link), config_(config) {}

  PhaseEnd Send(const std::string& questions);
  PhaseEnd ReadHead();
  PhaseEnd ReadSerialNumber();
  PhaseEnd ReadAnswers(std::span<const ReportStep> steps);
  PhaseEnd ReadToleratedItems(std::size_t asked);
  ResultCode ReadEmulationItems();

 private:
  PhaseEnd ReadResolution();

  LinkLayer& link_;
  PrinterConfig& config_;
  ReplyBuffer reply_;
};

PhaseEnd ConfigurationReader::Send(const std::string& questions) {
  if (!link_.WriteLink(questions)) return kResultTransmissionError;
  return std::nullopt;
}

PhaseEnd ConfigurationReader::ReadAnswers(std::span<const ReportStep> steps) {
  for (const ReportStep& step : steps) {
    if (!link_.ReadFramedReply(reply_)) return kResultReceivingError;
    step.store(reply_.view(), config_);
  }
  return std::nullopt;
}

// Every length conversion divides by the dots per millimetre derived here, so a resolution that
// gives none (0, no number, or about 3 to 12 dpi, which rounds to 0) fails the read.
PhaseEnd ConfigurationReader::ReadResolution() {
  if (!link_.ReadFramedReply(reply_)) return kResultReceivingError;
  const float dpi = ParseDecimalReal(reply_.view());
  const std::optional<float> dots_per_mm = DotsPerMmFromDpi(dpi);
  if (!dots_per_mm) return kResultReceivingError;
  config_.Dpi.Set(dpi);
  config_.DotsPerMm = *dots_per_mm;
  return std::nullopt;
}

// The announcement's answer is required, but what it says is not used.
PhaseEnd ConfigurationReader::ReadHead() {
  if (!link_.ReadFramedReply(reply_)) return kResultReceivingError;
  return ReadResolution();
}

// The serial number comes back as a plain line. A printer that does not answer gives an empty
// one after the reader's wait; a line too long for the buffer is no serial number, and a record
// without its later items must not pass for a whole one.
PhaseEnd ConfigurationReader::ReadSerialNumber() {
  if (!link_.ReadReplyLine(reply_)) return kResultReceivingError;
  SetText(config_.SerialNo, reply_.view());
  return std::nullopt;
}

// Older printers do not know these questions: the first one unanswered ends the read there.
// The first `asked` went out with the phase before; each later one goes out after the answer
// before it came. A lost link is no unanswered question.
PhaseEnd ConfigurationReader::ReadToleratedItems(std::size_t asked) {
  const std::span<const ReportStep> steps = ToleratedReportSteps();
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (i >= asked) {
      std::string question;
      AddQuestion(question, steps[i].name);
      if (PhaseEnd end = Send(question)) return end;
    }
    if (!link_.ReadFramedReply(reply_)) {
      if (!link_.AnswerMissing(kResultReceivingError)) return kResultReceivingError;
      steps[i].clear(config_);
      return kResultOk;
    }
    steps[i].store(reply_.view(), config_);
  }
  return std::nullopt;
}

ResultCode ConfigurationReader::ReadEmulationItems() {
  if (config_.Edition < kFirstEmulationEdition) {
    for (const ReportStep& step : EmulationReportSteps()) step.clear(config_);
    return kResultOk;
  }
  std::string questions;
  AddQuestions(questions, EmulationReportSteps());
  if (PhaseEnd end = Send(questions)) return *end;
  return ReadAnswers(EmulationReportSteps()).value_or(kResultOk);
}

// The common questions and, with them, the first of those an older printer may not know (its
// silence cannot be taken for another answer) or as many as the printer answered before.
std::size_t ToleratedAskedAtOnce(std::size_t known_answers) {
  return std::clamp<std::size_t>(known_answers, 1, ToleratedReportSteps().size());
}

void AddCommonQuestions(std::string& questions, std::size_t tolerated) {
  AddQuestions(questions, CommonReportSteps());
  AddQuestions(questions, ToleratedReportSteps().first(tolerated));
}

}  // namespace

ResultCode ReadConfiguration(LinkLayer& link, InterfaceKind interface, PrinterConfig& config) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ConfigurationReader reader(link, config);
  std::string questions = HeadQuestions(interface);
  AddQuestions(questions, IdentityReportSteps());
  questions += kSerialNumberQuestion;
  if (PhaseEnd end = reader.Send(questions)) return *end;
  if (PhaseEnd end = reader.ReadHead()) return *end;
  if (PhaseEnd end = reader.ReadAnswers(IdentityReportSteps())) return *end;
  if (PhaseEnd end = reader.ReadSerialNumber()) return *end;

  const std::size_t tolerated = ToleratedAskedAtOnce(0);
  questions.clear();
  AddCommonQuestions(questions, tolerated);
  if (PhaseEnd end = reader.Send(questions)) return *end;
  if (PhaseEnd end = reader.ReadAnswers(CommonReportSteps())) return *end;
  if (PhaseEnd end = reader.ReadToleratedItems(tolerated)) return *end;
  return reader.ReadEmulationItems();
}

ResultCode ReadConfigurationPage(LinkLayer& link, InterfaceKind interface, ConfigPage page,
                                 std::size_t tolerated_answers, PrinterConfig& config) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ConfigurationReader reader(link, config);
  std::string questions = HeadQuestions(interface);
  const std::size_t tolerated = ToleratedAskedAtOnce(tolerated_answers);
  if (page == ConfigPage::kCommon) {
    AddCommonQuestions(questions, tolerated);
  } else {
    AddQuestions(questions, EmulationPageReportSteps(page));
  }
  if (PhaseEnd end = reader.Send(questions)) return *end;
  if (PhaseEnd end = reader.ReadHead()) return *end;
  if (page != ConfigPage::kCommon) {
    return reader.ReadAnswers(EmulationPageReportSteps(page)).value_or(kResultOk);
  }
  if (PhaseEnd end = reader.ReadAnswers(CommonReportSteps())) return *end;
  return reader.ReadToleratedItems(tolerated).value_or(kResultOk);
}

}  // namespace vantrel
