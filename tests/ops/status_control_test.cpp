#include "ops/status_control.h"

#include <gtest/gtest.h>

#include "ops/dispatcher.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::Script;
using testing::ScriptedOpener;

class StatusControlTest : public ::testing::Test {
 protected:
  StatusControlTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {}

  // Answers the status escape with `status` and the detail query with `detail`.
  void AnswerStatus(std::string status, std::string detail) {
    script_->on_write = [status, detail](std::string_view chunk, Script& script) {
      if (chunk == kStatusQuery) script.deliveries.push_back(status);
      if (chunk == kDetailQuery && !detail.empty()) script.deliveries.push_back(detail);
    };
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
  StatusFlags flags_;
};

TEST_F(StatusControlTest, StatusByteAndRibbonDetailFillTheFlags) {
  AnswerStatus("\xA9", std::string("\0\0\0\0\x0C\0\0\0", 8));
  ASSERT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultOk);
  EXPECT_EQ(flags_.flags, (std::array<std::uint8_t, 10>{1, 0, 0, 1, 0, 1, 0, 1, 1, 0}));
  EXPECT_EQ(script_->written, "\x1b!?\x1b!S\r\n");
  EXPECT_EQ(script_->closes, 1);
}

TEST_F(StatusControlTest, RibbonEndOnlyWhenEncoderBitIsClear) {
  AnswerStatus(std::string(1, '\x08'), std::string("\0\0\0\0\x04\0\0\0", 8));
  ASSERT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultOk);
  EXPECT_EQ(flags_.flags[8], 0);
  EXPECT_EQ(flags_.flags[9], 1);
}

TEST_F(StatusControlTest, MissingOrShortDetailReplyIsNoError) {
  flags_.flags[8] = flags_.flags[9] = 1;
  AnswerStatus(std::string(1, '\x08'), std::string("\0\0\0\x0C", 4));
  ASSERT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultOk);
  EXPECT_EQ(flags_.flags[3], 1);
  EXPECT_EQ(flags_.flags[8], 0);
  EXPECT_EQ(flags_.flags[9], 0);
}

TEST_F(StatusControlTest, FailuresEndWithTheirCodeAndCloseTheLink) {
  AnswerStatus("", "");  // an empty delivery: the status byte never comes
  EXPECT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultReceivingError);
  EXPECT_EQ(script_->closes, 1);

  script_->fail_write_at_chunk = 0;
  script_->chunks.clear();
  EXPECT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultTransmissionError);
  EXPECT_EQ(script_->closes, 2);

  script_->fail_open = true;
  EXPECT_EQ(QueryStatus(link_, kInterfaceEthernet, flags_), kResultPortOpenError);
  EXPECT_EQ(script_->closes, 2);
}

struct FixedCommandCase {
  int op;
  const char* bytes;
};

void PrintTo(const FixedCommandCase& c, std::ostream* os) {
  *os << "operation " << c.op;
}

class FixedCommandTest : public StatusControlTest,
                         public ::testing::WithParamInterface<FixedCommandCase> {};

TEST_P(FixedCommandTest, SendsExactlyItsCommandAndReadsNothing) {
  for (InterfaceKind interface : {kInterfaceEthernet, kInterfaceLpt}) {
    script_->written.clear();
    EXPECT_EQ(RunPrinterOperation(link_, GetParam().op, interface, {}).code, kResultOk);
    EXPECT_EQ(script_->written, GetParam().bytes);
  }
  EXPECT_EQ(script_->refills, 0);
  EXPECT_EQ(script_->opens, script_->closes);

  script_->fail_write_at_chunk = static_cast<int>(script_->chunks.size());
  EXPECT_EQ(RunPrinterOperation(link_, GetParam().op, kInterfaceEthernet, {}).code,
            kResultTransmissionError);
  script_->fail_open = true;
  EXPECT_EQ(RunPrinterOperation(link_, GetParam().op, kInterfaceEthernet, {}).code,
            kResultPortOpenError);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FixedCommandTest,
    ::testing::Values(FixedCommandCase{kOpFactoryDefault, "INITIALPRINTER\r\n"},
                      FixedCommandCase{kOpPrintConfigurationPage, "SELFTEST\r\n"},
                      FixedCommandCase{kOpResetPrinter, "\x1b!R"},
                      FixedCommandCase{kOpIgnoreAutoBas, "\x1b!C"}));

TEST_F(StatusControlTest, ProbeOpensAndClosesOnly) {
  EXPECT_EQ(RunPrinterOperation(link_, kOpProbeLink, kInterfaceUsb, {}).code, kResultOk);
  EXPECT_EQ(script_->opens, 1);
  EXPECT_EQ(script_->closes, 1);
  EXPECT_TRUE(script_->written.empty());
  script_->fail_open = true;
  EXPECT_EQ(RunPrinterOperation(link_, kOpProbeLink, kInterfaceUsb, {}).code, kResultPortOpenError);
}

}  // namespace
}  // namespace vantrel
