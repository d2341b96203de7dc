// Every status and control operation against the simulated printer over real loopback TCP.
#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "link/tcp_transport.h"
#include "ops/dispatcher.h"
#include "ops/status_control.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;

class StatusOpsOverSimTest : public testing::SimFixture {
 protected:
  void SetPrinterStatus(std::uint8_t status, std::uint8_t detail_fifth) {
    sim::SimState state;
    state.status_byte = status;
    state.detail[4] = detail_fifth;
    printer_.SetState(state);
  }
  StatusFlags flags_;
};

TEST_F(StatusOpsOverSimTest, QueryStatusSendsBothQueriesAndReadsTheAnswers) {
  SetPrinterStatus(0xA9, 0x0C);
  ASSERT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_).code,
            kResultOk);
  EXPECT_EQ(flags_.flags, (std::array<std::uint8_t, 10>{1, 0, 0, 1, 0, 1, 0, 1, 1, 0}));
  EXPECT_EQ(ReceivedAfter(1), "\x1b!?\x1b!S\r\n");
}

TEST_F(StatusOpsOverSimTest, SlowPrinterAnsweringByteByByteStillGivesTheStatus) {
  SetPrinterStatus(0x08, 0x04);
  sim::SimFaults faults;
  faults.byte_delay = 5ms;
  server_.SetFaults(faults);
  ASSERT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_).code,
            kResultOk);
  EXPECT_EQ(flags_.flags[3], 1);
  EXPECT_EQ(flags_.flags[9], 1);
}

TEST_F(StatusOpsOverSimTest, UnansweredDetailQueryIsToleratedAfterTheWait) {
  SetPrinterStatus(0x08, 0x0C);
  sim::SimFaults faults;
  faults.ignore_detail_query = true;
  server_.SetFaults(faults);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_).code,
            kResultOk);
  EXPECT_GE(std::chrono::steady_clock::now() - start, kShortWait);
  EXPECT_EQ(flags_.flags[3], 1);
  EXPECT_EQ(flags_.flags[8], 0);
  EXPECT_EQ(flags_.flags[9], 0);
}

TEST_F(StatusOpsOverSimTest, FixedCommandsArriveExactly) {
  ASSERT_EQ(RunPrinterOperation(link_, kOpFactoryDefault, kInterfaceEthernet, {}).code, kResultOk);
  ASSERT_EQ(RunPrinterOperation(link_, kOpPrintConfigurationPage, kInterfaceEthernet, {}).code,
            kResultOk);
  ASSERT_EQ(RunPrinterOperation(link_, kOpResetPrinter, kInterfaceEthernet, {}).code, kResultOk);
  ASSERT_EQ(RunPrinterOperation(link_, kOpIgnoreAutoBas, kInterfaceEthernet, {}).code, kResultOk);
  ASSERT_EQ(RunPrinterOperation(link_, kOpProbeLink, kInterfaceEthernet, {}).code, kResultOk);
  EXPECT_EQ(ReceivedAfter(5), "INITIALPRINTER\r\nSELFTEST\r\n\x1b!R\x1b!C");
  EXPECT_EQ(server_.ConnectionCount(), 5u);
}

TEST_F(StatusOpsOverSimTest, RawBlockArrivesUnchangedAndEmptyBlockOnlyConnects) {
  std::vector<std::uint8_t> block(200000);
  for (std::size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  ASSERT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, RawBlock{block}).code,
            kResultOk);
  ASSERT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, RawBlock{}).code,
            kResultOk);
  EXPECT_EQ(ReceivedAfter(2), std::string(block.begin(), block.end()));
  EXPECT_EQ(server_.ConnectionCount(), 2u);
}

TEST_F(StatusOpsOverSimTest, TwoRepliesInOneSegmentNeedOneNetworkRead) {
  int refills = 0;
  // Counts the refills of the real TCP transport.
  class CountingTransport : public Transport {
   public:
    CountingTransport(std::unique_ptr<TcpTransport> inner, int& refills)
        : Transport(inner->shape()), inner_(std::move(inner)), refills_(refills) {}
    LinkFailure WriteChunk(std::span<const std::uint8_t> chunk, bool more) override {
      return inner_->WriteChunk(chunk, more);
    }
    Received Refill(std::span<std::uint8_t> into) override {
      ++refills_;
      return inner_->Refill(into);
    }

   private:
    std::unique_ptr<TcpTransport> inner_;
    int& refills_;
  };
  LinkLayer counting([&](InterfaceKind, const BoundLinkSettings& settings,
                         const LinkWaits& waits) -> OpenedTransport {
    auto tcp = TcpTransport::Connect(*settings.network, waits);
    if (tcp.value == nullptr) return {nullptr, std::move(tcp.failure)};
    return {std::make_unique<CountingTransport>(std::move(tcp.value), refills), {}};
  });
  counting.BindLinkSettings(nullptr, nullptr, &target_);
  LinkConnection connection(counting, kInterfaceEthernet);
  ASSERT_TRUE(connection.is_open());
  // Both questions in one write: the printer answers both in one send.
  const std::string twice = std::string(InterfaceAnnouncement(kInterfaceEthernet)) +
                            std::string(InterfaceAnnouncement(kInterfaceUsb));
  ASSERT_TRUE(counting.WriteLink(twice));
  ASSERT_TRUE(server_.WaitForReceived(twice.size(), 5s));
  std::this_thread::sleep_for(50ms);  // let the answer reach this side's socket
  ReplyBuffer first;
  ReplyBuffer second;
  ASSERT_TRUE(counting.ReadFramedReply(first));
  ASSERT_TRUE(counting.ReadFramedReply(second));
  EXPECT_EQ(refills, 1);
  EXPECT_NE(first.view(), second.view());
}

TEST_F(StatusOpsOverSimTest, RefusedConnectionIsPortOpenError) {
  sim::SimFaults faults;
  faults.refuse_connections = true;
  server_.SetFaults(faults);
  const LinkFailure refused =
      RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_);
  EXPECT_EQ(refused.code, kResultPortOpenError);
  EXPECT_EQ(refused.os_error, ECONNREFUSED);
  EXPECT_EQ(RunPrinterOperation(link_, kOpProbeLink, kInterfaceEthernet, {}).code,
            kResultPortOpenError);
}

TEST_F(StatusOpsOverSimTest, PrinterClosingBeforeTheStatusByteIsReceivingError) {
  sim::SimFaults faults;
  faults.close_after_bytes = 2;  // the status escape never completes
  server_.SetFaults(faults);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_).code,
            kResultReceivingError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kShortWait);  // at once, not after the wait
}

TEST_F(StatusOpsOverSimTest, SilentPrinterIsReceivingErrorAfterTheWait) {
  sim::SimFaults faults;
  faults.never_answer = true;
  server_.SetFaults(faults);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunPrinterOperation(link_, kOpQueryStatus, kInterfaceEthernet, &flags_).code,
            kResultReceivingError);
  EXPECT_GE(std::chrono::steady_clock::now() - start, kShortWait);
}

TEST_F(StatusOpsOverSimTest, MalformedFrameIsRefused) {
  sim::SimFaults faults;
  faults.malformed_frames = true;
  server_.SetFaults(faults);
  LinkConnection connection(link_, kInterfaceEthernet);
  ASSERT_TRUE(connection.is_open());
  ReplyBuffer reply;
  EXPECT_EQ(link_.QueryFramedReply(InterfaceAnnouncement(kInterfaceEthernet), reply),
            kResultReceivingError);
}

TEST_F(StatusOpsOverSimTest, PrinterClosingDuringALargeSendIsTransmissionErrorWithoutHanging) {
  sim::SimFaults faults;
  faults.close_after_bytes = 100000;
  server_.SetFaults(faults);
  std::vector<std::uint8_t> block(64u << 20, 'x');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunPrinterOperation(link_, kOpSendRawBlock, kInterfaceEthernet, RawBlock{block}).code,
            kResultTransmissionError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  EXPECT_FALSE(link_.progress().active());
}

}  // namespace
}  // namespace vantrel
