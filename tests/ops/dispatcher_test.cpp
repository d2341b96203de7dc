#include "ops/dispatcher.h"

#include <gtest/gtest.h>

#include "support/progress_recorder.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::ProgressRecorder;
using testing::Script;
using testing::ScriptedOpener;

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    link_.progress().SetView(&recorder_);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }
  std::shared_ptr<Script> script_;
  ProgressRecorder recorder_;
  LinkLayer link_;
};

TEST_F(DispatcherTest, ReadingOperationsAreRefusedOnParallelWithoutOpening) {
  StatusFlags flags;
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceLpt, &flags),
            kResultReceivingError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceLpt, {}, 1),
            kResultReceivingError);
  EXPECT_EQ(script_->opens, 0);
  // Everything else is attempted on the parallel port.
  EXPECT_EQ(RunPrinterOperation(link_, kOpResetPrinter, kInterfaceLpt, {}), kResultOk);
  EXPECT_EQ(script_->written, "\x1b!R");
}

TEST_F(DispatcherTest, NumbersOutsideTheTableAreUnknown) {
  for (int op : {-1, 21, 1000}) {
    EXPECT_EQ(RunPrinterOperation(link_, op, kInterfaceEthernet, {}), kResultUnknownError) << op;
    EXPECT_EQ(ResultMessage(RunPrinterOperation(link_, op, kInterfaceEthernet, {})),
              "Unknow Error");
  }
  EXPECT_EQ(script_->opens, 0);
}

TEST_F(DispatcherTest, WrongRecordIsRefusedBeforeOpening) {
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, {}),
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, {}),
            kResultUnknownError);
  EXPECT_EQ(script_->opens, 0);
}

TEST_F(DispatcherTest, SendRawBlockShowsPercentProgressAndSendsUnchanged) {
  const std::string bytes = std::string(2048, 'a') + std::string("\0\x1b\xff", 3);
  RawBlock block{std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())};
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block), kResultOk);
  EXPECT_EQ(script_->written, bytes);
  EXPECT_EQ(recorder_.shows, 1);
  EXPECT_EQ(recorder_.closes, 1);
  EXPECT_EQ(recorder_.bars.back(), 100);
  EXPECT_EQ(script_->closes, script_->opens);
}

TEST_F(DispatcherTest, SendRawBlockOfNothingOpensClosesAndSucceeds) {
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, RawBlock{}), kResultOk);
  EXPECT_EQ(script_->opens, 1);
  EXPECT_EQ(script_->closes, 1);
  EXPECT_TRUE(script_->chunks.empty());
}

TEST_F(DispatcherTest, SendRawBlockFailuresMapToTheirCodes) {
  const std::string bytes(3000, 'b');
  RawBlock block{std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())};
  script_->fail_write_at_chunk = 2;
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block),
            kResultTransmissionError);
  EXPECT_EQ(script_->closes, 1);
  EXPECT_FALSE(link_.progress().active());
  script_->fail_open = true;
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block),
            kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError);
  EXPECT_EQ(link_.LastFailure().os_error, ENOENT);
}

TEST(ResultMessageTest, FixedTexts) {
  EXPECT_EQ(ResultMessage(0), "");
  EXPECT_EQ(ResultMessage(1), "Port Open Error");
  EXPECT_EQ(ResultMessage(2), "Data Transmission Error");
  EXPECT_EQ(ResultMessage(3), "Data Receiving Error");
  EXPECT_EQ(ResultMessage(4), "File Open Error");
  EXPECT_EQ(ResultMessage(5), "Unknow Error");
  EXPECT_EQ(ResultMessage(6), "");
  EXPECT_EQ(ResultMessage(-1), "");
}

}  // namespace
}  // namespace vantrel
