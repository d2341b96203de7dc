#include "link/serial_port_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// A sysfs tty class of our own: each device a folder, built-in ports with their UART type.
class SerialPortNamesTest : public ::testing::Test {
 protected:
  SerialPortNamesTest() {
    root_ = fs::temp_directory_path() /
            ("vantrel-ports-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    roots_.sys_class_tty = root_ / "class";
    roots_.dev = "/dev";
    fs::create_directories(roots_.sys_class_tty);
  }
  ~SerialPortNamesTest() override { fs::remove_all(root_); }

  void AddDevice(const std::string& name, const char* uart_type = nullptr) {
    fs::create_directories(roots_.sys_class_tty / name);
    if (uart_type != nullptr)
      std::ofstream(roots_.sys_class_tty / name / "type") << uart_type << "\n";
  }

  std::string Resolve(const std::string& name) {
    Outcome<std::string> resolved = ResolveSerialPort(name, roots_);
    return resolved.failure.ok() ? resolved.value : "error: " + resolved.failure.detail;
  }

  fs::path root_;
  SerialDeviceRoots roots_;
};

TEST_F(SerialPortNamesTest, BuiltInPortsThenUsbAdaptersThenModemAdaptersInNumberOrder) {
  AddDevice("ttyACM0");
  AddDevice("ttyUSB10");
  AddDevice("ttyUSB2");
  AddDevice("ttyS1", "0");  // placeholder without a UART
  AddDevice("ttyS3", "4");
  AddDevice("ttyS0", "4");
  AddDevice("ttyS2");  // no type attribute: not a probed port
  AddDevice("tty0");
  AddDevice("console");
  AddDevice("ttySAC0");

  const std::vector<SerialPortEntry> ports = ListSerialPorts(roots_);
  std::vector<std::string> listed;
  for (const auto& port : ports) listed.push_back(port.name + "=" + port.device);
  EXPECT_EQ(listed,
            (std::vector<std::string>{"COM1=/dev/ttyS0", "COM2=/dev/ttyS3", "COM3=/dev/ttyUSB2",
                                      "COM4=/dev/ttyUSB10", "COM5=/dev/ttyACM0"}));
  EXPECT_EQ(Resolve("COM4"), "/dev/ttyUSB10");
  EXPECT_EQ(Resolve("com5"), "/dev/ttyACM0");
}

TEST_F(SerialPortNamesTest, NamesWithoutADeviceSayWhy) {
  AddDevice("ttyUSB0");
  EXPECT_EQ(Resolve("COM2"),
            "error: COM2 maps to no serial device: this machine has 1 serial port");
  for (const char* bad : {"COM0", "COM31", "COM", "COMx", "COM-1", "LPT1", "ttyUSB0", ""}) {
    EXPECT_NE(Resolve(bad).find("is not a serial port name"), std::string::npos) << bad;
  }
}

TEST_F(SerialPortNamesTest, AtMostThirtyNames) {
  for (int i = 0; i < 35; ++i) AddDevice("ttyUSB" + std::to_string(i));
  const auto ports = ListSerialPorts(roots_);
  ASSERT_EQ(ports.size(), 30u);
  EXPECT_EQ(ports.back().name, "COM30");
  EXPECT_EQ(ports.back().device, "/dev/ttyUSB29");
}

}  // namespace
}  // namespace vantrel
