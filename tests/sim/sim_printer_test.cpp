#include "engine/sim_printer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sim_command_registry.h"

namespace vantrel::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::size_t kMaxLine = SimStreamParser::kMaxLineBytes;

SimState TestState() {
  SimState state;
  state.status_byte = 0x42;
  state.detail = {1, 2, 3, 4, 5, 6, 7, 8};
  return state;
}

const std::string kDetailAnswer = "\x01\x02\x03\x04\x05\x06\x07\x08";

// Covers every command kind, split points inside escapes and CR LF included.
const std::string kScript =
    "\r\n\x1b!?\x1b!S\r\nDIAGNOSTIC INTERFACE USB\r\nINITIALPRINTER\n\x1b!R\x1b!C"
    "DIAGNOSTIC INTERFACE NET\n\x1b!x\r\n\nSELFTEST\r\n";
const std::string kScriptAnswers = "\x42" + kDetailAnswer + "{3|USB}{3|NET}";
const std::vector<std::string> kScriptCommands = {
    "\x1b!?",  "\x1b!S\r\n", "DIAGNOSTIC INTERFACE USB", "INITIALPRINTER",
    "\x1b!R",  "\x1b!C",     "DIAGNOSTIC INTERFACE NET", "\x1b!x",
    "SELFTEST"};

TEST(SimPrinterTest, AnswersEachCommandOfTheScript) {
  SimPrinter printer(TestState());
  EXPECT_EQ(printer.Feed(kScript), kScriptAnswers);
  EXPECT_EQ(printer.Commands(), kScriptCommands);
}

TEST(SimPrinterTest, ParsesTheSameWhereverTheStreamIsSplit) {
  for (std::size_t split = 0; split <= kScript.size(); ++split) {
    SimPrinter printer(TestState());
    std::string answers = printer.Feed(kScript.substr(0, split));
    answers += printer.Feed(kScript.substr(split));
    EXPECT_EQ(answers, kScriptAnswers) << "split at " << split;
    EXPECT_EQ(printer.Commands(), kScriptCommands) << "split at " << split;
  }
  SimPrinter printer(TestState());
  std::string answers;
  for (char c : kScript) answers += printer.Feed(std::string(1, c));
  EXPECT_EQ(answers, kScriptAnswers);
}

TEST(SimPrinterTest, AnswersEveryInterfaceWithItsName) {
  SimPrinter printer;
  EXPECT_EQ(printer.Feed("DIAGNOSTIC INTERFACE COM\nDIAGNOSTIC INTERFACE LPT\n"), "{3|COM}{3|LPT}");
  EXPECT_EQ(printer.Feed("DIAGNOSTIC INTERFACE FOO\n"), "");
}

TEST(SimPrinterTest, EscapesInsideALineLeaveTheLineWhole) {
  SimPrinter printer(TestState());
  EXPECT_EQ(printer.Feed("AB\x1b!?CD\n"), "\x42");
  EXPECT_THAT(printer.Commands(), ElementsAre("\x1b!?", "ABCD"));
}

TEST(SimPrinterTest, EscWithoutExclamationMarkIsLineData) {
  SimPrinter printer(TestState());
  EXPECT_EQ(printer.Feed("A\x1b\x1b!?B\x1bZ\n"), "\x42");
  EXPECT_THAT(printer.Commands(), ElementsAre("\x1b!?",
                                              "A\x1b"
                                              "B\x1bZ"));
}

TEST(SimPrinterTest, DetailQueryWithoutCrLfIsRecordedButUnanswered) {
  SimPrinter printer(TestState());
  EXPECT_EQ(printer.Feed("\x1b!SX\n\x1b!S\rY\n"), "");
  EXPECT_THAT(printer.Commands(), ElementsAre("\x1b!S", "X", "\x1b!S", "\rY"));
}

TEST(SimPrinterTest, StateChangesShowInLaterAnswers) {
  SimPrinter printer(TestState());
  SimState state = printer.state();
  state.status_byte = 0x07;
  printer.SetState(state);
  EXPECT_EQ(printer.Feed("\x1b!?"), "\x07");
}

TEST(SimPrinterTest, ResetStreamDropsAPartialCommand) {
  SimPrinter printer(TestState());
  EXPECT_EQ(printer.Feed("HALF A LINE\x1b!"), "");
  printer.ResetStream();
  EXPECT_EQ(printer.Feed("?NEXT\n\x1b!?"), "\x42");
  EXPECT_THAT(printer.Commands(), ElementsAre("?NEXT", "\x1b!?"));
}

TEST(SimPrinterLongLineTest, KeepsALineOfTheMaximumLength) {
  SimPrinter printer;
  const std::string line(kMaxLine, 'A');
  printer.Feed(line + "\n");
  EXPECT_THAT(printer.Commands(), ElementsAre(line));
}

TEST(SimPrinterLongLineTest, DropsAnOverlongLineAndResynchronisesAtTheNextLf) {
  SimPrinter printer(TestState());
  const std::string chunk(1000, 'B');
  for (std::size_t fed = 0; fed <= 3 * kMaxLine; fed += chunk.size()) printer.Feed(chunk);
  // Escapes inside the overflow are data, not commands.
  EXPECT_EQ(printer.Feed("\x1b!?" + chunk + "\nDIAGNOSTIC INTERFACE NET\n"), "{3|NET}");
  EXPECT_THAT(printer.Commands(), ElementsAre("DIAGNOSTIC INTERFACE NET"));
}

TEST(SimPrinterBulkTest, ConsumesLargeBinaryDataAndStillAnswers) {
  SimPrinter printer(TestState());
  std::vector<std::uint8_t> chunk(64 * 1024);
  std::uint32_t seed = 12345;
  for (auto& byte : chunk) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(seed >> 24);
    if (byte == 0x1B) byte = 0;  // no accidental escapes, so no accidental answers
  }
  for (int i = 0; i < 1024; ++i) EXPECT_EQ(printer.Feed(chunk), "");
  EXPECT_EQ(printer.Feed("\n\x1b!?"), "\x42");
  EXPECT_EQ(printer.Commands().back(), "\x1b!?");
}

TEST(SimPrinterBulkTest, CommandHistoryKeepsOnlyTheMostRecent) {
  SimPrinter printer;
  std::string lines;
  const std::size_t total = SimCommandHistory::kMaxCommands + 10;
  for (std::size_t i = 0; i < total; ++i) lines += "L" + std::to_string(i) + "\n";
  printer.Feed(lines);
  const auto commands = printer.Commands();
  ASSERT_EQ(commands.size(), SimCommandHistory::kMaxCommands);
  EXPECT_EQ(commands.front(), "L10");
  EXPECT_EQ(commands.back(), "L" + std::to_string(total - 1));
}

class SimCommandRegistryTest : public ::testing::Test {
 protected:
  // Each handler answers with its own name and the argument it saw.
  void Add(bool exact, const std::string& text, const std::string& name) {
    auto handler = [name](SimCommandContext& context) {
      context.ReplyRaw(name + ":" + std::string(context.argument()));
    };
    exact ? registry_.AddExact(text, handler) : registry_.AddPrefix(text, handler);
  }

  std::string Answer(std::string_view command) {
    std::vector<SimReply> replies;
    if (!registry_.Dispatch(command, state_, replies)) return "<none>";
    return replies.empty() ? "" : replies.front().payload;
  }

  SimCommandRegistry registry_;
  SimState state_;
};

TEST_F(SimCommandRegistryTest, ExactBeatsPrefixAndLongestPrefixWins) {
  Add(false, "OUT ", "out");
  Add(false, "OUT _", "out-var");
  Add(true, "OUT _SERIAL$", "serial");
  EXPECT_EQ(Answer("OUT _SERIAL$"), "serial:");
  EXPECT_EQ(Answer("OUT _MODEL$"), "out-var:MODEL$");
  EXPECT_EQ(Answer("OUT 1"), "out:1");
  EXPECT_EQ(Answer("OUTX"), "<none>");
}

TEST_F(SimCommandRegistryTest, LaterRegistrationReplacesEarlier) {
  Add(false, "SPEED ", "first");
  Add(false, "SPEED ", "second");
  Add(true, "SELFTEST", "first");
  Add(true, "SELFTEST", "second");
  EXPECT_EQ(Answer("SPEED 3.0"), "second:3.0");
  EXPECT_EQ(Answer("SELFTEST"), "second:");
}

TEST_F(SimCommandRegistryTest, HandlersChangeTheState) {
  registry_.AddPrefix("STATUS ", [](SimCommandContext& context) {
    const auto value = std::stoi(std::string(context.argument()));
    context.state().status_byte = static_cast<std::uint8_t>(value);
  });
  EXPECT_EQ(Answer("STATUS 9"), "");
  EXPECT_EQ(state_.status_byte, 9);
}

}  // namespace
}  // namespace vantrel::sim
