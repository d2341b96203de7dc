#include <gtest/gtest.h>

#include <string>

#include "link/link_layer.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::Script;
using testing::ScriptedOpener;

class ReplyReadersTest : public ::testing::Test {
 protected:
  ReplyReadersTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    LinkWaits waits;
    waits.list_frame_pause = std::chrono::milliseconds(0);
    link_.SetWaits(waits);
  }
  void Deliver(std::string bytes) { script_->deliveries.push_back(std::move(bytes)); }
  void Open() { ASSERT_TRUE(link_.OpenLink(kInterfaceEthernet)); }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
  ReplyBuffer reply_;
};

struct FrameCase {
  const char* name;
  std::string received;
  bool ok;
  std::string payload;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
  *os << c.name;
}

class FramedReplyTest : public ReplyReadersTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(FramedReplyTest, ParsesOrRefuses) {
  Open();
  Deliver(GetParam().received);
  EXPECT_EQ(link_.ReadFramedReply(reply_), GetParam().ok);
  if (GetParam().ok) {
    EXPECT_EQ(reply_.view(), GetParam().payload);
    EXPECT_EQ(reply_.length, GetParam().payload.size());
    EXPECT_EQ(reply_.text[reply_.length], '\0');
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FramedReplyTest,
    ::testing::Values(
        FrameCase{"noise_before_brace", "xy{3|abc}", true, "abc"},
        FrameCase{"length_mismatch", "{3|ab}", false, ""},
        FrameCase{"non_digit", "{x|a}", false, ""}, FrameCase{"no_bar", "{12}", false, ""},
        FrameCase{"empty_frame", "{|}", true, ""}, FrameCase{"zero_length", "{0|}", true, ""},
        FrameCase{"no_closing_brace", "{5|hello", true, "hello"},
        FrameCase{"opening_brace_in_payload", "{3|a{b}", true, "a{b"},
        FrameCase{"bar_in_payload", "{3|a|b}", true, "a|b"},
        FrameCase{"31_digit_length", "{" + std::string(30, '0') + "3|abc}", true, "abc"},
        FrameCase{"32_digit_length", "{" + std::string(31, '0') + "3|abc}", false, ""},
        // A huge length must not wrap around to the payload's size.
        FrameCase{"overflowing_length", "{18446744073709551619|abc}", false, ""},
        FrameCase{"nothing_arrives", "", false, ""}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST_F(ReplyReadersTest, FrameContentLimitIs1024Bytes) {
  Open();
  const std::string payload_1019(1019, 'p');  // "1019|" + 1019 bytes = 1024 between the braces
  Deliver("{1019|" + payload_1019 + "}");
  ASSERT_TRUE(link_.ReadFramedReply(reply_));
  EXPECT_EQ(reply_.length, 1019u);

  Deliver("{1020|" + std::string(1020, 'p') + "}");  // 1025 between the braces
  EXPECT_FALSE(link_.ReadFramedReply(reply_));
}

TEST_F(ReplyReadersTest, NoiseBeforeAFrameIsBounded) {
  Open();
  Deliver(std::string(65536, 'x') + "{1|A}");
  ASSERT_TRUE(link_.ReadFramedReply(reply_));
  EXPECT_EQ(reply_.view(), "A");
  // A peer that keeps streaming without a brace ends the read instead of holding it forever.
  for (int i = 0; i < 40; ++i) Deliver(std::string(4096, 'x'));
  EXPECT_FALSE(link_.ReadFramedReply(reply_));
  EXPECT_EQ(link_.LastFailure().code, kResultReceivingError);
  EXPECT_EQ(link_.LastFailure().detail, "no reply frame in the data received");
}

TEST_F(ReplyReadersTest, BytesLeftInTheRingServeTheNextReaderWithoutARefill) {
  Open();
  Deliver("{2|AB}{3|CDE}\r\n");
  ASSERT_TRUE(link_.ReadFramedReply(reply_));
  EXPECT_EQ(reply_.view(), "AB");
  ASSERT_TRUE(link_.ReadFramedReply(reply_));
  EXPECT_EQ(reply_.view(), "CDE");
  EXPECT_EQ(script_->refills, 1);
}

TEST_F(ReplyReadersTest, LinesDropCarriageReturnsAndEndAtTimeOut) {
  Open();
  Deliver("\r\nSERIAL\r\nA\rB");
  ASSERT_TRUE(link_.ReadReplyLine(reply_));
  EXPECT_EQ(reply_.length, 0u);
  ASSERT_TRUE(link_.ReadReplyLine(reply_));
  EXPECT_EQ(reply_.view(), "SERIAL");
  // No line feed comes: the line ends with what arrived.
  ASSERT_TRUE(link_.ReadReplyLine(reply_));
  EXPECT_EQ(reply_.view(), "AB");
  ASSERT_TRUE(link_.ReadReplyLine(reply_));
  EXPECT_EQ(reply_.length, 0u);
}

TEST_F(ReplyReadersTest, LineLimitIs1024Bytes) {
  Open();
  Deliver(std::string(1024, 'a') + "\n" + std::string(1025, 'b') + "\n");
  ASSERT_TRUE(link_.ReadReplyLine(reply_));
  EXPECT_EQ(reply_.length, 1024u);
  EXPECT_FALSE(link_.ReadReplyLine(reply_));
}

TEST_F(ReplyReadersTest, ReadReplyBytesStopsAtTheFirstMissingByte) {
  Open();
  Deliver("abc");
  std::array<std::uint8_t, 5> buffer{};
  EXPECT_FALSE(link_.ReadReplyBytes(buffer));
  EXPECT_EQ(buffer[2], 'c');
  EXPECT_EQ(buffer[3], 0);
}

TEST_F(ReplyReadersTest, ParallelLinkFailsReadsWithoutWaiting) {
  script_->can_receive = false;
  ASSERT_TRUE(link_.OpenLink(kInterfaceLpt));
  Deliver("x");
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_EQ(script_->refills, 0);
}

TEST_F(ReplyReadersTest, RingIsEmptiedAtEveryOpen) {
  Open();
  Deliver("leftover{1|Z}");
  std::uint8_t byte = 0;
  ASSERT_TRUE(link_.ReadReplyByte(byte));
  link_.CloseLink();
  Open();
  EXPECT_FALSE(link_.ReadFramedReply(reply_));
}

TEST_F(ReplyReadersTest, FramedListJoinsPayloadsWithLineEnds) {
  Open();
  Deliver("{3|A.B}{2|CD}{0|}");
  std::array<char, 64> list{};
  std::uint32_t total = 99;
  ASSERT_EQ(link_.QueryFramedList("DIR\r\n", list, total), kResultOk);
  EXPECT_EQ(total, 9u);
  EXPECT_EQ(std::string(list.data()), "A.B\r\nCD\r\n");
  EXPECT_EQ(script_->written, "DIR\r\n");
}

TEST_F(ReplyReadersTest, FramedListThatWouldOverflowFailsWithinItsCapacity) {
  Open();
  Deliver("{3|A.B}{2|CD}{0|}");
  // Guard bytes after the capacity the list may use.
  std::array<char, 16> area;
  area.fill('#');
  std::uint32_t total = 0;
  EXPECT_EQ(link_.QueryFramedList("DIR\r\n", std::span(area.data(), 9), total),
            kResultReceivingError);
  EXPECT_EQ(std::string(area.data() + 9, 7), "#######");
  EXPECT_EQ(link_.LastFailure().code, kResultReceivingError);
}

TEST_F(ReplyReadersTest, FramedListFailsOnABrokenFrame) {
  Open();
  Deliver("{3|A.B}{2|C}");
  std::array<char, 64> list{};
  std::uint32_t total = 0;
  EXPECT_EQ(link_.QueryFramedList("DIR\r\n", list, total), kResultReceivingError);
}

TEST_F(ReplyReadersTest, QueryFramedReplyMapsWriteAndReadFailures) {
  Open();
  Deliver("{2|OK}");
  EXPECT_EQ(link_.QueryFramedReply(InterfaceAnnouncement(kInterfaceEthernet), reply_), kResultOk);
  EXPECT_EQ(script_->written, "\r\nDIAGNOSTIC INTERFACE NET\r\n");
  EXPECT_EQ(link_.QueryFramedReply("X\r\n", reply_), kResultReceivingError);
  script_->fail_write_at_chunk = static_cast<int>(script_->chunks.size());
  EXPECT_EQ(link_.QueryFramedReply("Y\r\n", reply_), kResultTransmissionError);
}

// An old printer's unanswered question may be passed over; an operation out of time may not.
TEST_F(ReplyReadersTest, ReplyPastTheOperationsBoundIsNoMissingAnswer) {
  LinkWaits waits = link_.waits();
  waits.operation_read = std::chrono::milliseconds(0);
  link_.SetWaits(waits);
  Open();
  Deliver("{1|a}");
  EXPECT_FALSE(link_.ReadFramedReply(reply_));
  EXPECT_FALSE(link_.AnswerMissing(kResultReceivingError));
  EXPECT_TRUE(link_.ReadsBrokenOff());
  EXPECT_EQ(script_->refills, 0);
}

// A printer that closes its side has said all it will say, and a reset breaks the link: either
// way a later read on the connection fails at once, without asking the transport again; only the
// reset makes a missing answer a lost link.
TEST_F(ReplyReadersTest, AfterACloseOrAResetLaterReadsFailAtOnce) {
  for (const StreamEnd end : {StreamEnd::kEnded, StreamEnd::kLost}) {
    Open();
    script_->when_drained = end;
    Deliver("{5|ab");
    EXPECT_FALSE(link_.ReadFramedReply(reply_));
    const int refills = script_->refills;
    std::uint8_t byte = 0;
    EXPECT_FALSE(link_.ReadReplyByte(byte));
    EXPECT_EQ(script_->refills, refills);
    EXPECT_EQ(link_.AnswerMissing(kResultReceivingError), end == StreamEnd::kEnded);
  }
}

// Only the time spent waiting for the printer counts against the read bound, not the pauses a
// long list takes between its frames.
TEST_F(ReplyReadersTest, PausesBetweenFramesDoNotCountAgainstTheReadBound) {
  LinkWaits waits = link_.waits();
  waits.operation_read = std::chrono::milliseconds(100);
  waits.list_frame_pause = std::chrono::milliseconds(20);
  link_.SetWaits(waits);
  Open();
  for (int i = 0; i < 10; ++i) Deliver("{5|F.DAT}");
  Deliver("{0|}");
  std::array<char, 128> list{};
  std::uint32_t total = 0;
  EXPECT_EQ(link_.QueryFramedList("DIR\r\n", list, total), kResultOk) << link_.LastFailure().detail;
  EXPECT_EQ(total, 70u);
}

TEST(InterfaceAnnouncementTest, NamesEachInterface) {
  EXPECT_EQ(InterfaceAnnouncement(kInterfaceUsb), "\r\nDIAGNOSTIC INTERFACE USB\r\n");
  EXPECT_EQ(InterfaceAnnouncement(kInterfaceCom), "\r\nDIAGNOSTIC INTERFACE COM\r\n");
  EXPECT_EQ(InterfaceAnnouncement(kInterfaceLpt), "\r\nDIAGNOSTIC INTERFACE LPT\r\n");
  EXPECT_EQ(InterfaceAnnouncement(kInterfaceEthernet), "\r\nDIAGNOSTIC INTERFACE NET\r\n");
  EXPECT_EQ(InterfaceAnnouncement(static_cast<InterfaceKind>(4)), "");
}

}  // namespace
}  // namespace vantrel
