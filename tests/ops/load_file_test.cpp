#include "ops/load_file.h"

#include <gtest/gtest.h>

#include "ops/dispatcher.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using testing::Script;
using testing::ScriptedOpener;

class LoadFileTest : public ::testing::Test {
 protected:
  LoadFileTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    request_.printer_name = "DUMP.TXT";
    request_.settle_pause = milliseconds(40);
    request_.command_pause = milliseconds(20);
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
  LoadRequest request_;
};

TEST_F(LoadFileTest, WakesThePrinterPausesThenAsksAndStoresUntilTheReadWait) {
  std::vector<std::chrono::steady_clock::time_point> writes;
  script_->on_write = [&writes](std::string_view chunk, Script& script) {
    writes.push_back(std::chrono::steady_clock::now());
    if (chunk.starts_with("LOAD")) {
      script.deliveries.push_back(std::string("line 1\r\n\0", 9));
      script.deliveries.push_back("line 2");
    }
  };
  ASSERT_EQ(RunPrinterOperation(link_, kOpLoadFile, kInterfaceEthernet, &request_).code, kResultOk);
  EXPECT_EQ(script_->chunks, (std::vector<std::string>{"\r\n", "LOAD \"DUMP.TXT\"\r\n\r\n"}));
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_GE(writes[1] - writes[0], milliseconds(60));
  const std::string received(request_.received.begin(), request_.received.end());
  EXPECT_EQ(received, std::string("line 1\r\n\0line 2", 15));
  EXPECT_EQ(script_->closes, 1);
}

TEST_F(LoadFileTest, StopsAtTheCapacity) {
  request_.capacity = 5;
  script_->deliveries.push_back("0123456789");
  ASSERT_EQ(LoadFile(link_, kInterfaceEthernet, request_), kResultOk);
  EXPECT_EQ(std::string(request_.received.begin(), request_.received.end()), "01234");
}

TEST_F(LoadFileTest, NothingReceivedOnTheParallelPortIsSuccess) {
  script_->can_receive = false;
  request_.received.assign(3, 'x');
  ASSERT_EQ(LoadFile(link_, kInterfaceLpt, request_), kResultOk);
  EXPECT_TRUE(request_.received.empty());
}

TEST_F(LoadFileTest, FailuresAndRefusals) {
  script_->fail_write_at_chunk = 1;
  EXPECT_EQ(LoadFile(link_, kInterfaceEthernet, request_), kResultTransmissionError);
  EXPECT_EQ(script_->closes, 1);

  for (std::string name : {"SIXTEEN_CHARS.TX", "A\"B", ""}) {
    request_.printer_name = name;
    EXPECT_EQ(LoadFile(link_, kInterfaceEthernet, request_), kResultUnknownError) << name;
  }
  EXPECT_EQ(script_->opens, 1);
}

}  // namespace
}  // namespace vantrel
