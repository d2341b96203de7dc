// The serial link over a real pseudo-terminal: the test plays the printer on the master side.
#include "link/serial_transport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "engine/sim_printer.h"
#include "link/cancel_during.h"
#include "link/link_layer.h"
#include "link/pseudo_terminal.h"
#include "ops/status_control.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using testing::PseudoTerminal;
using testing::PtyResponder;

class SerialTransportTest : public ::testing::Test {
 protected:
  SerialTransportTest() {
    settings_.port_name = pty_.slave_path();
    link_.BindLinkSettings(&settings_, nullptr, nullptr);
    waits_.com_read = milliseconds(60);
    waits_.com_write = milliseconds(60);
    waits_.com_write_per_byte = milliseconds(1);
    link_.SetWaits(waits_);
  }

  std::unique_ptr<SerialTransport> Open() {
    auto port = SerialTransport::Open(settings_, waits_);
    EXPECT_NE(port.value, nullptr) << port.failure.detail;
    return std::move(port.value);
  }

  PseudoTerminal pty_;
  SerialSettings settings_;
  LinkWaits waits_;
  LinkLayer link_;
};

SerialSettings Settings(int baud, int data, int parity, int stop, int hardware, int software) {
  SerialSettings settings;
  settings.baud_rate_index = baud;
  settings.data_bits_index = data;
  settings.parity_index = parity;
  settings.stop_bits_index = stop;
  settings.hardware_handshake_index = hardware;
  settings.software_handshake_index = software;
  return settings;
}

struct LineCase {
  const char* label;
  SerialSettings settings;
  speed_t speed;
  tcflag_t cflag_on, cflag_off, iflag_on, iflag_off;
};

void PrintTo(const LineCase& line_case, std::ostream* out) {
  *out << line_case.label;
}

class SerialLineSettingsTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SerialLineSettingsTest, RecordGivesRawLineWithItsChoices) {
  const LineCase& line_case = GetParam();
  termios cooked{};
  cooked.c_iflag = ICRNL | IXON | INPCK;
  cooked.c_oflag = OPOST | ONLCR;
  cooked.c_cflag = CS7 | PARENB | CSTOPB | HUPCL;
  cooked.c_lflag = ICANON | ECHO | ISIG;
  const termios line = SerialLineSettings(line_case.settings, cooked);

  EXPECT_EQ(cfgetospeed(&line), line_case.speed);
  EXPECT_EQ(cfgetispeed(&line), line_case.speed);
  EXPECT_EQ(line.c_cflag & line_case.cflag_on, line_case.cflag_on);
  EXPECT_EQ(line.c_cflag & line_case.cflag_off, 0u);
  EXPECT_EQ(line.c_iflag & line_case.iflag_on, line_case.iflag_on);
  EXPECT_EQ(line.c_iflag & line_case.iflag_off, 0u);
  EXPECT_EQ(line.c_cflag & (CREAD | CLOCAL | HUPCL), CREAD | CLOCAL | HUPCL);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(line.c_iflag & ICRNL, 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Records, SerialLineSettingsTest,
    ::testing::Values(
        // COM1 defaults: 9600 8N1, RTS handshake, no XON/XOFF.
        LineCase{"Defaults", SerialSettings{}, B9600, CS8 | CRTSCTS, PARENB | CSTOPB, 0,
                 INPCK | IXON | IXOFF},
        LineCase{"SevenOddTwoRtsCtsXon", Settings(3, 0, 1, 2, 2, 1), B19200,
                 CS7 | PARENB | PARODD | CSTOPB | CRTSCTS, CS8 & ~CS7, INPCK | IXON | IXOFF, 0},
        // Even parity transmits parity but does not check what it receives.
        LineCase{"EvenUncheckedOneAndAHalfNone", Settings(6, 1, 2, 1, 0, 0), B115200,
                 CS8 | PARENB | CSTOPB, PARODD | CRTSCTS, 0, INPCK | IXON | IXOFF},
        // Indexes outside the lists fall back: 9600, 8 bits, no parity, 1 stop, RTS/CTS, no XON.
        LineCase{"OutOfRange", Settings(7, 5, 9, -1, 4, 3), B9600, CS8 | CRTSCTS, PARENB | CSTOPB,
                 0, INPCK | IXON | IXOFF}),
    [](const ::testing::TestParamInfo<LineCase>& param_info) { return param_info.param.label; });

// A pseudo-terminal keeps all but the parity and character size, which it forces to 8N.
TEST_F(SerialTransportTest, SettingsReachTheLineAndClosingRestoresIt) {
  termios before = pty_.SlaveSettings();
  cfsetospeed(&before, B4800);
  cfsetispeed(&before, B4800);
  before.c_lflag |= ICANON | ECHO;
  pty_.SetSlaveSettings(before);
  before = pty_.SlaveSettings();

  settings_ = Settings(3, 0, 1, 2, 2, 1);
  settings_.port_name = pty_.slave_path();
  auto port = Open();
  ASSERT_NE(port, nullptr);
  const termios open = pty_.SlaveSettings();
  EXPECT_EQ(cfgetospeed(&open), B19200);
  EXPECT_EQ(open.c_cflag & (CSTOPB | CRTSCTS), CSTOPB | CRTSCTS);
  EXPECT_EQ(open.c_iflag & (INPCK | IXON | IXOFF), INPCK | IXON | IXOFF);
  EXPECT_EQ(open.c_lflag & (ICANON | ECHO), 0u);

  port.reset();
  const termios after = pty_.SlaveSettings();
  EXPECT_EQ(cfgetospeed(&after), B4800);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
}

TEST_F(SerialTransportTest, BytesCrossTheLineUnchangedBothWays) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  std::string block;
  for (int i = 0; i < 200; ++i) block += static_cast<char>(i);  // CR, LF, XON, XOFF, ^C among them
  ASSERT_TRUE(link_.WriteLink(block));
  EXPECT_EQ(pty_.ReadMaster(block.size(), milliseconds(1000)), block);

  const std::string reply("\r\n\x00\xff\x03\x11", 6);
  pty_.WriteMaster(reply);
  std::string got(reply.size(), '\0');
  ASSERT_TRUE(
      link_.ReadReplyBytes(std::span(reinterpret_cast<std::uint8_t*>(got.data()), got.size())));
  EXPECT_EQ(got, reply);
}

TEST_F(SerialTransportTest, StatusQueryAnsweredByTheSimulatedPrinter) {
  sim::SimPrinter printer;
  sim::SimState state;
  state.status_byte = 0x12;
  printer.SetState(state);
  PtyResponder responder(pty_.master(),
                         [&printer](std::string_view bytes) { return printer.Feed(bytes); });

  StatusFlags flags;
  ASSERT_EQ(QueryStatus(link_, kInterfaceCom, flags), kResultOk) << link_.LastFailure().detail;
  EXPECT_EQ(flags.flags[1], 1);
  EXPECT_EQ(flags.flags[4], 1);
  EXPECT_EQ(flags.flags[0], 0);
}

TEST_F(SerialTransportTest, SilentLineEndsTheReadAfterTheWait) {
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  const auto start = Clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, waits_.com_read);
  EXPECT_LT(took, milliseconds(1000));
  EXPECT_EQ(link_.LastFailure().os_error, ETIMEDOUT);
}

TEST_F(SerialTransportTest, HangUpEndsTheReadAtOnce) {
  waits_.com_read = milliseconds(10000);
  link_.SetWaits(waits_);
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  pty_.CloseMaster();
  const auto start = Clock::now();
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  EXPECT_LT(Clock::now() - start, milliseconds(1000));
  EXPECT_NE(link_.LastFailure().detail.find("hung up"), std::string::npos);
  EXPECT_TRUE(link_.ReadsBrokenOff()) << "a hang-up is a lost link, not the printer's last word";
}

// Nobody answers and nobody takes data: a cancel from another thread ends the 30 s wait.
TEST_F(SerialTransportTest, CancelEndsAReadOrAWriteLongBeforeItsWait) {
  waits_.com_read = std::chrono::seconds(30);
  waits_.com_write = std::chrono::seconds(30);
  link_.SetWaits(waits_);
  settings_.software_handshake_index = 1;
  for (const bool writing : {false, true}) {
    SCOPED_TRACE(writing ? "write held by XOFF" : "read of a silent line");
    link_.ResetCancel();
    ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
    if (writing) {
      ASSERT_TRUE(pty_.SendXoff());
    }
    const auto took = testing::CancelDuring(link_, [&] {
      std::uint8_t byte = 0;
      EXPECT_FALSE(writing ? link_.WriteLink(std::string(64, 'a')) : link_.ReadReplyByte(byte));
    });
    EXPECT_LT(took, std::chrono::seconds(20));
    EXPECT_EQ(link_.LastFailure().code, writing ? kResultTransmissionError : kResultReceivingError);
    EXPECT_EQ(link_.LastFailure().os_error, ECANCELED) << link_.LastFailure().detail;
    link_.CloseLink();
  }
}

// The printer's XOFF holds our output: a chunk fails once its write bound has passed, and XON
// lets the next one through.
// A command that opens the port twice must not lose what its first connection wrote and the
// printer has not read yet; only stale input from before the open is dropped.
TEST_F(SerialTransportTest, ReopeningKeepsUnreadOutputAndDropsStaleInput) {
  // More than the far side's line discipline holds, so part of it still waits in the pty.
  const std::string first(16384, 'f');
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  ASSERT_TRUE(link_.WriteLink(first));
  link_.CloseLink();
  pty_.WriteMaster("stale");
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  std::uint8_t byte = 0;
  EXPECT_FALSE(link_.ReadReplyByte(byte));
  link_.CloseLink();
  EXPECT_EQ(pty_.ReadMaster(first.size(), milliseconds(1000)).size(), first.size());
}

TEST_F(SerialTransportTest, XoffFailsAChunkAfterItsWriteBoundAndXonReleasesIt) {
  settings_.software_handshake_index = 1;
  ASSERT_TRUE(link_.OpenLink(kInterfaceCom));
  ASSERT_TRUE(pty_.SendXoff());
  const auto start = Clock::now();
  EXPECT_FALSE(link_.WriteLink(std::string(64, 'a')));
  EXPECT_GE(Clock::now() - start, milliseconds(60 + 64));
  EXPECT_EQ(link_.LastFailure().code, kResultTransmissionError);
  EXPECT_EQ(link_.LastFailure().os_error, ETIMEDOUT);

  std::thread release([this] {
    std::this_thread::sleep_for(milliseconds(30));
    pty_.WriteMaster("\x11");
  });
  EXPECT_TRUE(link_.WriteLink(std::string(64, 'b')));
  release.join();
  EXPECT_EQ(pty_.ReadMaster(64, milliseconds(1000)), std::string(64, 'b'));
}

TEST_F(SerialTransportTest, FailuresToOpenSayWhy) {
  const auto failure_for = [this](const std::string& name) {
    settings_.port_name = name;
    EXPECT_FALSE(link_.OpenLink(kInterfaceCom)) << name;
    EXPECT_EQ(link_.LastFailure().code, kResultPortOpenError) << name;
    return link_.LastFailure();
  };
  EXPECT_EQ(failure_for("/dev/no-such-tty").os_error, ENOENT);
  EXPECT_EQ(failure_for("/dev/null").os_error, ENOTTY);
  EXPECT_NE(failure_for("COM31").detail.find("is not a serial port name"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
