// Every answer an operation can do without, and one it cannot, with the printer ending the
// connection there: an orderly close is its last word and ends the exchange as silence does; a
// reset is a lost link, and the operation fails with a read error.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "ops/load_file.h"
#include "ops/network_operations.h"
#include "ops/read_configuration.h"
#include "ops/status_control.h"
#include "support/scripted_config_printer.h"

namespace vantrel {
namespace {

using testing::Script;
using testing::ScriptedConfigPrinter;
using testing::ScriptedOpener;

struct AnswerEnd {
  const char* label;
  // Installs a printer whose answers run out where the row says.
  std::function<void(Script&)> printer;
  std::function<ResultCode(LinkLayer&)> run;
  ResultCode on_close;
};

void PrintTo(const AnswerEnd& row, std::ostream* os) {
  *os << row.label;
}

// The answers of a status query; an empty text is not answered.
std::function<void(Script&)> StatusPrinter(std::string status, std::string detail) {
  return [status, detail](Script& script) {
    script.on_write = [status, detail](std::string_view chunk, Script& s) {
      const std::string& answer = chunk == kStatusQuery ? status : detail;
      if (!answer.empty()) s.deliveries.push_back(answer);
    };
  };
}

std::function<void(Script&)> PrinterWithout(ScriptedConfigPrinter printer, const char* question) {
  printer.answers.erase(question);
  return [printer](Script& script) { printer.AnswerOn(script); };
}

ScriptedConfigPrinter NetPrinter() {
  ScriptedConfigPrinter printer;
  printer.answers = {{"CONFIGIP", "198.51.100.5"}, {"GATEWAY", "198.51.100.1"},
                     {"IPMASK", "255.0.0.0"},      {"LASTUSEDIP", "198.51.100.5"},
                     {"NETNAME", "Dock 3"},        {"MACADDR", "00:1B:82:01:02:03"}};
  return printer;
}

std::function<void(Script&)> FilePrinter(std::string sent) {
  return [sent](Script& script) {
    script.on_write = [sent](std::string_view chunk, Script& s) {
      if (chunk.starts_with("LOAD") && !sent.empty()) s.deliveries.push_back(sent);
    };
  };
}

ResultCode Status(LinkLayer& link) {
  StatusFlags flags;
  return QueryStatus(link, kInterfaceEthernet, flags);
}

ResultCode Configuration(LinkLayer& link) {
  PrinterConfig config;
  ResetConfig(config);
  return ReadConfiguration(link, kInterfaceEthernet, config);
}

ResultCode Network(LinkLayer& link) {
  NetSettings settings;
  return ReadNetworkSettings(link, kInterfaceEthernet, settings);
}

ResultCode Load(LinkLayer& link) {
  LoadRequest request;
  request.printer_name = "Dump.txt";
  request.settle_pause = request.command_pause = std::chrono::milliseconds(0);
  return LoadFile(link, kInterfaceEthernet, request);
}

const AnswerEnd kAnswerEnds[] = {
    {"StatusDetail", StatusPrinter(std::string(1, '\0'), ""), Status, kResultOk},
    {"StatusDetailPartWay", StatusPrinter(std::string(1, '\0'), std::string(3, '\0')), Status,
     kResultOk},
    {"Reprint", PrinterWithout(ScriptedConfigPrinter::Full(), "REPRINT"), Configuration, kResultOk},
    {"ShiftX", PrinterWithout(ScriptedConfigPrinter::Full(), "SHIFTX"), Configuration, kResultOk},
    {"ShiftXBase", PrinterWithout(ScriptedConfigPrinter::Full(), "SHIFTXBASE"), Configuration,
     kResultOk},
    {"Edition", PrinterWithout(ScriptedConfigPrinter::Full(), "EDITION"), Configuration, kResultOk},
    {"NetName", PrinterWithout(NetPrinter(), "NETNAME"), Network, kResultOk},
    {"NetMac", PrinterWithout(NetPrinter(), "MACADDR"), Network, kResultOk},
    {"FileLoadAfterTheFile", FilePrinter("the file"), Load, kResultOk},
    {"FileLoadWithNothingSent", FilePrinter(""), Load, kResultOk},
    // An answer no operation does without: a close there fails too.
    {"StatusByte", StatusPrinter("", ""), Status, kResultReceivingError},
};

class AnswerEndTest : public ::testing::TestWithParam<std::tuple<AnswerEnd, StreamEnd>> {};

TEST_P(AnswerEndTest, ACloseIsThePrintersLastWordAndAResetALostLink) {
  const auto& [row, end] = GetParam();
  auto script = std::make_shared<Script>();
  script->when_drained = end;
  row.printer(*script);
  LinkLayer link(ScriptedOpener(script));
  EXPECT_EQ(row.run(link), end == StreamEnd::kEnded ? row.on_close : kResultReceivingError);
  EXPECT_EQ(script->closes, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryToleratedAnswer, AnswerEndTest,
                         ::testing::Combine(::testing::ValuesIn(kAnswerEnds),
                                            ::testing::Values(StreamEnd::kEnded, StreamEnd::kLost)),
                         [](const ::testing::TestParamInfo<AnswerEndTest::ParamType>& param) {
                           const bool closed = std::get<1>(param.param) == StreamEnd::kEnded;
                           return std::string(std::get<0>(param.param).label) +
                                  (closed ? "Closed" : "Reset");
                         });

}  // namespace
}  // namespace vantrel
