#include "ops/memory_operations.h"

#include <gtest/gtest.h>

#include <map>

#include "ops/dispatcher.h"
#include "support/frame.h"
#include "support/progress_recorder.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::Frame;
using testing::ProgressRecorder;
using testing::Script;
using testing::ScriptedOpener;

class MemoryOperationsTest : public ::testing::Test {
 protected:
  MemoryOperationsTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    LinkWaits waits;
    waits.list_frame_pause = std::chrono::milliseconds(0);
    link_.SetWaits(waits);
    link_.progress().SetView(&recorder_);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  // Answers each question with its scripted frames; a question without answer goes unanswered.
  void Answer(std::map<std::string, std::string> answers) {
    script_->on_write = [answers = std::move(answers)](std::string_view chunk, Script& script) {
      std::string question(chunk);
      if (question.ends_with("\r\n")) question.resize(question.size() - 2);
      if (const auto found = answers.find(question); found != answers.end()) {
        script.deliveries.push_back(found->second);
      }
    };
  }

  // A printer with two DRAM files, an empty FLASH whose numbers carry no digits, and a card.
  static std::map<std::string, std::string> FullPrinter() {
    return {
        {"\r\nDIAGNOSTIC INTERFACE NET", Frame("NET")},
        {"DIAGNOSTIC REPORT DPHYSPACE", Frame("2048")},
        {"DIAGNOSTIC REPORT DFREESPACE", Frame(" 1500 KB")},
        {"DIAGNOSTIC REPORT DFILELIST", Frame("LOGO.BMP") + Frame("AUTO.BAS") + Frame("")},
        {"DIAGNOSTIC REPORT FPHYSPACE", Frame("n/a")},
        {"DIAGNOSTIC REPORT FFREESPACE", Frame("")},
        {"DIAGNOSTIC REPORT FFILELIST", Frame("")},
        {"DIAGNOSTIC REPORT CPHYSPACE", Frame("-1")},
        {"DIAGNOSTIC REPORT CFILELIST", Frame("DATA1")},  // end frame added per test
    };
  }

  std::shared_ptr<Script> script_;
  ProgressRecorder recorder_;
  LinkLayer link_;
  MemoryInfo info_;
};

TEST_F(MemoryOperationsTest, AsksEveryMemoryInOrderAndStoresTheAnswers) {
  auto answers = FullPrinter();
  answers["DIAGNOSTIC REPORT CFILELIST"] += Frame("");
  Answer(answers);
  ASSERT_EQ(RunPrinterOperation(link_, kOpReadFileList, kInterfaceEthernet, &info_).code,
            kResultOk);

  EXPECT_EQ(script_->written,
            "\r\nDIAGNOSTIC INTERFACE NET\r\n"
            "DIAGNOSTIC REPORT DPHYSPACE\r\nDIAGNOSTIC REPORT DFREESPACE\r\n"
            "DIAGNOSTIC REPORT DFILELIST\r\n"
            "DIAGNOSTIC REPORT FPHYSPACE\r\nDIAGNOSTIC REPORT FFREESPACE\r\n"
            "DIAGNOSTIC REPORT FFILELIST\r\n"
            "DIAGNOSTIC REPORT CPHYSPACE\r\nDIAGNOSTIC REPORT CFILELIST\r\n");
  const DeviceMemoryBlock& dram = info_[kMemoryDram];
  EXPECT_EQ(dram.physical_space, 2048);
  EXPECT_EQ(dram.free_space, 1500);
  EXPECT_EQ(dram.file_list, "LOGO.BMP\r\nAUTO.BAS\r\n");
  EXPECT_EQ(FileListLines(dram), (std::vector<std::string>{"LOGO.BMP", "AUTO.BAS"}));

  const DeviceMemoryBlock& flash = info_[kMemoryFlash];
  EXPECT_TRUE(flash.physical_known && flash.free_known);
  EXPECT_EQ(flash.physical_space, 0);
  EXPECT_EQ(flash.free_space, 0);
  EXPECT_EQ(flash.file_list, "");

  const DeviceMemoryBlock& card = info_[kMemoryCard];
  EXPECT_TRUE(card.physical_known);
  EXPECT_EQ(card.physical_space, -1);
  EXPECT_FALSE(card.free_known);
  EXPECT_EQ(card.file_list, "DATA1\r\n");
  // The progress window in step mode, moved once per write.
  EXPECT_EQ(recorder_.shows, 1);
  EXPECT_EQ(recorder_.closes, 1);
}

TEST_F(MemoryOperationsTest, PrinterFallingSilentAfterFlashKeepsWhatWasRead) {
  auto answers = FullPrinter();
  answers.erase("DIAGNOSTIC REPORT CPHYSPACE");
  Answer(answers);
  EXPECT_EQ(ReadFileList(link_, kInterfaceEthernet, info_), kResultReceivingError);
  EXPECT_EQ(info_[kMemoryDram].file_list, "LOGO.BMP\r\nAUTO.BAS\r\n");
  EXPECT_TRUE(info_[kMemoryFlash].free_known);
  EXPECT_EQ(info_[kMemoryCard], DeviceMemoryBlock{});
  EXPECT_EQ(script_->closes, 1);
}

TEST_F(MemoryOperationsTest, ListPastItsCapacityFailsWithoutStoringAPart) {
  auto answers = FullPrinter();
  // 70 entries of 1000 bytes pass the 65,536-byte text.
  std::string frames;
  for (int i = 0; i < 70; ++i) frames += Frame(std::string(1000, 'A'));
  answers["DIAGNOSTIC REPORT DFILELIST"] = frames + Frame("");
  Answer(answers);
  EXPECT_EQ(ReadFileList(link_, kInterfaceEthernet, info_), kResultReceivingError);
  EXPECT_TRUE(info_[kMemoryDram].free_known);
  EXPECT_EQ(info_[kMemoryDram].file_list, "");
}

TEST_F(MemoryOperationsTest, ParallelPortCannotAnswerTheAnnouncement) {
  script_->can_receive = false;
  EXPECT_EQ(ReadFileList(link_, kInterfaceLpt, info_), kResultReceivingError);
  EXPECT_EQ(script_->written, "\r\nDIAGNOSTIC INTERFACE LPT\r\n");
}

TEST_F(MemoryOperationsTest, FormatSendsOneKillPerMemoryAndReadsNothing) {
  const std::map<MemoryDevice, std::string> kills = {{kMemoryDram, "KILL \"*.*\"\r\n"},
                                                     {kMemoryFlash, "KILL F,\"*.*\"\r\n"},
                                                     {kMemoryCard, "KILL E,\"*.*\"\r\n"}};
  for (const auto& [device, kill] : kills) {
    script_->written.clear();
    EXPECT_EQ(RunPrinterOperation(link_, kOpFormatMemory, kInterfaceLpt, device).code, kResultOk);
    EXPECT_EQ(script_->written, kill);
  }
  EXPECT_EQ(script_->refills, 0);
  EXPECT_EQ(FormatMemory(link_, kInterfaceEthernet, static_cast<MemoryDevice>(3)),
            kResultUnknownError);
  EXPECT_EQ(script_->opens, 3);
}

}  // namespace
}  // namespace vantrel
