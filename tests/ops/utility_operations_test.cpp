// The clock read and the one-write utility operations over a scripted link.
#include <gtest/gtest.h>

#include "ops/dispatcher.h"
#include "support/frame.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::Frame;
using testing::Script;
using testing::ScriptedOpener;

class UtilityOperationsTest : public ::testing::Test {
 protected:
  UtilityOperationsTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    LinkWaits waits;
    waits.net_read = std::chrono::milliseconds(50);
    link_.SetWaits(waits);
  }

  // Answers every question with the next of `answers`; none once they run out.
  void Answer(std::vector<std::string> answers) {
    auto queue = std::make_shared<std::deque<std::string>>(answers.begin(), answers.end());
    script_->on_write = [queue](std::string_view, Script& script) {
      if (queue->empty()) return;
      script.deliveries.push_back(queue->front());
      queue->pop_front();
    };
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
};

TEST_F(UtilityOperationsTest, ClockReadAsksSixQuestionsAfterTheAnnouncement) {
  Answer({Frame("NET"), Frame("24"), Frame(" 3"), Frame("+5x"), Frame("9"), Frame("7"), Frame("")});
  ClockSettings clock{1, 1, 1, 1, 1, 1, 0};
  ASSERT_EQ(RunPrinterOperation(link_, kOpReadClock, kInterfaceEthernet, &clock).code, kResultOk);
  EXPECT_EQ(script_->written,
            "\r\nDIAGNOSTIC INTERFACE NET\r\nDIAGNOSTIC REPORT YEAR\r\nDIAGNOSTIC REPORT MONTH\r\n"
            "DIAGNOSTIC REPORT DATE\r\nDIAGNOSTIC REPORT HOUR\r\nDIAGNOSTIC REPORT MINUTE\r\n"
            "DIAGNOSTIC REPORT SECOND\r\n");
  // No digits read as 0, as the printer's own conversion does.
  EXPECT_EQ(
      (std::array{clock.Year, clock.Month, clock.Day, clock.Hour, clock.Minute, clock.Second}),
      (std::array{24, 3, 5, 9, 7, 0}));
  EXPECT_EQ(script_->closes, 1);
}

TEST_F(UtilityOperationsTest, ClockReadStoppedPartWayKeepsTheLaterFields) {
  Answer({Frame("COM"), Frame("2024"), Frame("3"), "{9|x}"});
  ClockSettings clock{0, 0, 11, 12, 13, 14, 0};
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadClock, kInterfaceCom, &clock).code,
            kResultReceivingError);
  EXPECT_EQ(
      (std::array{clock.Year, clock.Month, clock.Day, clock.Hour, clock.Minute, clock.Second}),
      (std::array{2024, 3, 11, 12, 13, 14}));
  EXPECT_EQ(script_->chunks.size(), 4u);  // nothing asked after the failing question

  script_->fail_write_at_chunk = static_cast<int>(script_->chunks.size()) + 1;
  Answer({Frame("COM")});
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadClock, kInterfaceCom, &clock).code,
            kResultTransmissionError);
  EXPECT_EQ(clock.Year, 2024);
}

TEST_F(UtilityOperationsTest, ClockReadOnTheParallelPortFailsAfterTheAnnouncement) {
  script_->can_receive = false;
  ClockSettings clock;
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadClock, kInterfaceLpt, &clock).code,
            kResultReceivingError);
  EXPECT_EQ(script_->written, "\r\nDIAGNOSTIC INTERFACE LPT\r\n");
}

TEST_F(UtilityOperationsTest, OneWriteOperationsSendTheirWholeTextInOneChunk) {
  ClockSettings clock{2024, 3, 5, 9, 7, 3, 1};
  CalibrationRequest calibration;
  DumpRequest dump;
  TestPageRequest page{8, 100, 50};
  script_->can_receive = false;  // all four work on the parallel port
  for (const auto& [op, record] :
       std::vector<std::pair<int, OperationRecord>>{{kOpSetClock, &clock},
                                                    {kOpCalibrateSensor, &calibration},
                                                    {kOpDumpText, &dump},
                                                    {kOpPrintTestPage, &page}}) {
    script_->chunks.clear();
    EXPECT_EQ(RunPrinterOperation(link_, op, kInterfaceLpt, record).code, kResultOk) << op;
    EXPECT_EQ(script_->chunks.size(), 1u) << op;
  }
  EXPECT_EQ(script_->refills, 0);
  EXPECT_EQ(script_->opens, script_->closes);

  script_->fail_write_at_chunk = static_cast<int>(script_->chunks.size());
  EXPECT_EQ(RunPrinterOperation(link_, kOpSetClock, kInterfaceUsb, &clock).code,
            kResultTransmissionError);
  script_->fail_open = true;
  EXPECT_EQ(RunPrinterOperation(link_, kOpPrintTestPage, kInterfaceUsb, &page).code,
            kResultPortOpenError);
}

TEST_F(UtilityOperationsTest, RefusedValuesNeverOpenTheLink) {
  ClockSettings clock{2024, 13, 5, 9, 7, 3, 1};
  CalibrationRequest calibration;
  calibration.MediaType = kMediaGap;
  calibration.PaperHeight = -203;
  TestPageRequest page{8, 100, 0};
  DumpRequest dump{kDumpToCard, "LOG\".TXT", 1};
  EXPECT_EQ(RunPrinterOperation(link_, kOpDumpText, kInterfaceUsb, &dump).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpSetClock, kInterfaceUsb, &clock).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpCalibrateSensor, kInterfaceUsb, &calibration).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpPrintTestPage, kInterfaceUsb, &page).code,
            kResultUnknownError);
  EXPECT_EQ(script_->opens, 0);
}

}  // namespace
}  // namespace vantrel
