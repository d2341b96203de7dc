#include "ops/dispatcher.h"

#include <gtest/gtest.h>

#include <cerrno>

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
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceLpt, &flags).code,
            kResultReceivingError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceLpt, {}, 1).code,
            kResultReceivingError);
  EXPECT_EQ(script_->opens, 0);
  // Everything else is attempted on the parallel port.
  EXPECT_EQ(RunPrinterOperation(link_, kOpResetPrinter, kInterfaceLpt, {}).code, kResultOk);
  EXPECT_EQ(script_->written, "\x1b!R");
}

TEST_F(DispatcherTest, NumbersOutsideTheTableAreUnknown) {
  for (int op : {-1, 21, 1000}) {
    EXPECT_EQ(RunPrinterOperation(link_, op, kInterfaceEthernet, {}).code, kResultUnknownError)
        << op;
    EXPECT_EQ(ResultMessage(RunPrinterOperation(link_, op, kInterfaceEthernet, {}).code),
              "Unknow Error");
  }
  EXPECT_EQ(script_->opens, 0);
}

TEST_F(DispatcherTest, WrongRecordIsRefusedBeforeOpening) {
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, {}).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, {}).code,
            kResultUnknownError);
  EXPECT_EQ(script_->opens, 0);
}

TEST_F(DispatcherTest, SendRawBlockShowsPercentProgressAndSendsUnchanged) {
  const std::string bytes = std::string(2048, 'a') + std::string("\0\x1b\xff", 3);
  RawBlock block{std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())};
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block).code, kResultOk);
  EXPECT_EQ(script_->written, bytes);
  EXPECT_EQ(recorder_.shows, 1);
  EXPECT_EQ(recorder_.closes, 1);
  EXPECT_EQ(recorder_.bars.back(), 100);
  EXPECT_EQ(script_->closes, script_->opens);
}

TEST_F(DispatcherTest, SendRawBlockOfNothingOpensClosesAndSucceeds) {
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, RawBlock{}).code,
            kResultOk);
  EXPECT_EQ(script_->opens, 1);
  EXPECT_EQ(script_->closes, 1);
  EXPECT_TRUE(script_->chunks.empty());
}

TEST_F(DispatcherTest, SendRawBlockFailuresMapToTheirCodes) {
  const std::string bytes(3000, 'b');
  RawBlock block{std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())};
  script_->fail_write_at_chunk = 2;
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block).code,
            kResultTransmissionError);
  EXPECT_EQ(script_->closes, 1);
  EXPECT_FALSE(link_.progress().active());
  script_->fail_open = true;
  const LinkFailure refused =
      RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, block);
  EXPECT_EQ(refused.code, kResultPortOpenError);
  EXPECT_EQ(refused.os_error, ENOENT);
  EXPECT_EQ(refused.detail, "scripted open failure");
}

// Each run reports its own failure: a host file that cannot be opened after a refused
// connection says nothing of the connection.
TEST_F(DispatcherTest, AFailureCarriesOnlyItsOwnDetail) {
  script_->fail_open = true;
  ASSERT_EQ(RunPrinterOperation(link_, kOpProbeLink, kInterfaceEthernet, {}).detail,
            "scripted open failure");
  DownloadRequest missing{"/nonexistent/file", "NONE", kMemoryFlash};
  const LinkFailure failure =
      RunPrinterOperation(link_, kOpDownloadFile, kInterfaceEthernet, &missing);
  EXPECT_EQ(failure.code, kResultFileOpenError);
  EXPECT_EQ(failure.os_error, ENOENT);
  EXPECT_EQ(failure.detail, "cannot open /nonexistent/file: No such file or directory");
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
