// The serial checks on a pseudo-terminal playing the printer, with fake /proc, lock and sysfs
// trees: access, other holders, and the speed at which the printer really answers.
#include "doctor/serial_checks.h"

#include <gtest/gtest.h>

#include "doctor/fake_system_tree.h"
#include "link/pseudo_terminal.h"
#include "ops/status_control.h"

namespace vantrel {
namespace {

using std::chrono::milliseconds;
using testing::Find;
using testing::PseudoTerminal;
using testing::PtyResponder;

constexpr int k9600 = 2;
constexpr int k115200 = 6;

class SerialChecksTest : public ::testing::Test {
 protected:
  DoctorRequest Request(int baud_index = k9600) {
    DoctorRequest request;
    request.serial.port_name = pty_.slave_path();
    request.serial.baud_rate_index = baud_index;
    request.roots = tree_.Roots();
    request.user = {0, "root", {0}, {0}, false};
    request.timeout = milliseconds(700);
    request.own_pid = ::getpid();
    return request;
  }

  testing::FakeSystemTree tree_;
  PseudoTerminal pty_;
};

TEST_F(SerialChecksTest, PortThatIsNotWritableIsReportedAndNotAsked) {
  DoctorRequest request = Request();
  request.user = {60001, "tech", {60001}, {60001}, false};
  const DoctorReport report = CheckSerial(request);
  EXPECT_TRUE(Find(report, "port").ok);
  const DoctorCheck access = Find(report, "access");
  EXPECT_FALSE(access.ok);
  EXPECT_FALSE(access.fix.empty());
  EXPECT_EQ(report.back().check, "in use");
}

TEST_F(SerialChecksTest, PortHeldByADescriptorOrALockFileNamesTheHolder) {
  const std::string name = std::filesystem::path(pty_.slave_path()).filename().string();
  tree_.Write("proc/4242/comm", "minicom\n");
  tree_.Link("proc/4242/fd/3", pty_.slave_path());
  DoctorCheck held = Find(CheckSerial(Request()), "in use");
  EXPECT_FALSE(held.ok);
  EXPECT_EQ(held.detail, pty_.slave_path() + " is held by minicom (pid 4242)");

  std::filesystem::remove_all(tree_.Path("proc/4242"));
  tree_.Write("lock/LCK.." + name, "      " + std::to_string(::getpid()) + "\n");
  held = Find(CheckSerial(Request()), "in use");
  EXPECT_FALSE(held.ok);
  EXPECT_NE(held.detail.find("(pid " + std::to_string(::getpid()) + ")"), std::string::npos);
}

TEST_F(SerialChecksTest, PrinterAnsweringAt9600IsFoundWhenTheRecordSays115200) {
  // Master and slave share one line setting: the printer hears only at 9600 baud.
  const int master = pty_.master();
  PtyResponder printer(master, [master](std::string_view question) {
    termios line{};
    ::tcgetattr(master, &line);
    return question == kStatusQuery && ::cfgetospeed(&line) == B9600 ? std::string("\x04", 1)
                                                                     : std::string();
  });
  const DoctorCheck wrong = Find(CheckSerial(Request(k115200)), "line settings");
  EXPECT_FALSE(wrong.ok);
  EXPECT_NE(wrong.detail.find("at 115200 baud, but the printer answers at 9600 baud"),
            std::string::npos);
  EXPECT_TRUE(wrong.fix.starts_with("use --baud 9600"));

  const DoctorCheck right = Find(CheckSerial(Request(k9600)), "line settings");
  EXPECT_TRUE(right.ok);
  EXPECT_NE(right.detail.find("status 0x04"), std::string::npos);
}

TEST_F(SerialChecksTest, ComNameWithoutDeviceFailsWithTheKnownPorts) {
  tree_.Write("sys/class/tty/ttyUSB0/dev", "188:0\n");
  DoctorRequest request = Request();
  request.serial.port_name = "COM3";
  const DoctorReport report = CheckSerial(request);
  EXPECT_EQ(Find(report, "ports").detail, "COM1 is " + tree_.Path("dev") + "/ttyUSB0");
  const DoctorCheck port = Find(report, "port");
  EXPECT_FALSE(port.ok);
  EXPECT_EQ(port.detail, "COM3 maps to no serial device: this machine has 1 serial port");
}

}  // namespace
}  // namespace vantrel
