#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_layer.h"
#include "support/progress_recorder.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::ProgressRecorder;
using testing::Script;
using testing::ScriptedOpener;

class WriteLinkTest : public ::testing::Test {
 protected:
  WriteLinkTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    link_.progress().SetView(&recorder_);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
  }

  std::vector<std::size_t> ChunkSizes() const {
    std::vector<std::size_t> sizes;
    for (const auto& chunk : script_->chunks) sizes.push_back(chunk.size());
    return sizes;
  }

  std::shared_ptr<Script> script_;
  ProgressRecorder recorder_;
  LinkLayer link_;
};

TEST_F(WriteLinkTest, StepModeAdvancesByThreePerWriteAndStopsAt100) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  link_.progress().BeginProgress(kProgressStep, 3, 3);
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(link_.WriteLink(std::string(i * 100, 'q')));
  EXPECT_EQ(link_.progress().bar(), 100);
  ASSERT_GE(recorder_.bars.size(), 3u);
  EXPECT_EQ(recorder_.bars[0], 3);
  EXPECT_EQ(recorder_.bars[1], 6);
  EXPECT_EQ(recorder_.bars[2], 9);
  // 32 writes reach 99, the 33rd is held at 100; after that nothing changes and nothing is drawn.
  EXPECT_EQ(recorder_.bars.size(), 34u);
  EXPECT_EQ(recorder_.bars.back(), 100);
}

TEST_F(WriteLinkTest, NothingIsDrawnWhenNoWindowIsActive) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  ASSERT_TRUE(link_.WriteLink(std::string(3000, 'n')));
  EXPECT_TRUE(recorder_.bars.empty());
  EXPECT_EQ(recorder_.shows, 0);
}

TEST_F(WriteLinkTest, FirstFailingChunkStopsTheWrite) {
  script_->fail_write_at_chunk = 1;
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  EXPECT_FALSE(link_.WriteLink(std::string(3000, 'f')));
  EXPECT_EQ(ChunkSizes(), (std::vector<std::size_t>{1024}));
  EXPECT_EQ(link_.LastFailure().code, kResultTransmissionError);
  EXPECT_EQ(link_.LastFailure().os_error, EPIPE);
}

TEST_F(WriteLinkTest, EmptyWriteSendsNothingAndSucceeds) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet));
  EXPECT_TRUE(link_.WriteLink(std::string()));
  EXPECT_TRUE(script_->chunks.empty());
}

TEST(ProgressTest, EndCompletesTheBarAndClosesOnce) {
  ProgressRecorder recorder;
  Progress progress(&recorder, std::chrono::milliseconds(0));
  progress.SetProgressOrigin(330, 260);
  progress.BeginProgress(kProgressStep, 3, 3);
  EXPECT_EQ(recorder.last_caption, "Communicating...");
  EXPECT_EQ(recorder.last_origin.x, 330);
  progress.ReportProgress(kProgressPercent, 50);  // the other mode: ignored
  EXPECT_EQ(progress.bar(), 3);
  progress.EndProgress();
  progress.EndProgress();
  EXPECT_EQ(recorder.bars, (std::vector<int>{3, 100}));
  EXPECT_EQ(recorder.closes, 1);
  EXPECT_FALSE(progress.active());
}

TEST(ProgressTest, OriginIsAThirdIntoTheMainWindow) {
  const ProgressOrigin origin = ProgressOriginFor(100, 50, 692, 630);
  EXPECT_EQ(origin.x, 330);
  EXPECT_EQ(origin.y, 260);
}

}  // namespace
}  // namespace vantrel
