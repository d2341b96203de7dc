// Operations 16, 17 and 18: scripted for exact bytes and every failure, then against the
// simulated printer over loopback TCP.
#include "ops/network_operations.h"

#include <gtest/gtest.h>

#include <map>

#include "ops/dispatcher.h"
#include "support/frame.h"
#include "support/scripted_transport.h"
#include "support/sim_fixture.h"

namespace vantrel {
namespace {

using testing::Frame;
using testing::Script;
using testing::ScriptedOpener;

const std::string kAnnouncement = "\r\nDIAGNOSTIC INTERFACE NET\r\n";
const std::vector<std::string> kQuestions = {
    kAnnouncement,
    "DIAGNOSTIC REPORT CONFIGIP\r\n",
    "DIAGNOSTIC REPORT GATEWAY\r\n",
    "DIAGNOSTIC REPORT IPMASK\r\n",
    "DIAGNOSTIC REPORT LASTUSEDIP\r\n",
    "DIAGNOSTIC REPORT NETNAME\r\n",
    "DIAGNOSTIC REPORT MACADDR\r\n",
};

std::string Joined(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += kQuestions[i];
  return text;
}

class NetworkOperationsTest : public ::testing::Test {
 protected:
  NetworkOperationsTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    answers_ = {{kQuestions[0], "NET"},
                {kQuestions[1], "198.51.100.5"},
                {kQuestions[2], "198.51.100.1"},
                {kQuestions[3], "255.0.0.0"},
                {kQuestions[4], "198.51.100.5"},
                {kQuestions[5], "Dock 3"},
                {kQuestions[6], "00:1B:82:01:02:03"}};
    script_->on_write = [this](std::string_view chunk, Script& script) {
      if (auto answer = answers_.find(std::string(chunk)); answer != answers_.end()) {
        script.deliveries.push_back(Frame(answer->second));
      }
    };
  }

  // Texts that show whether a field was written.
  static NetSettings Marked() {
    NetSettings settings;
    settings.IpAddress = settings.SubnetMask = settings.Gateway = settings.LastUsedIp = "old";
    settings.PrinterName = settings.MacText = "old";
    settings.AddressMode = 7;
    settings.SetKind = 1;
    settings.Confirmed = 1;
    return settings;
  }

  static NetSettings Static(std::string ip, std::string mask, std::string gateway) {
    NetSettings settings;
    settings.IpAddress = std::move(ip);
    settings.SubnetMask = std::move(mask);
    settings.Gateway = std::move(gateway);
    return settings;
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
  std::map<std::string, std::string> answers_;
};

TEST_F(NetworkOperationsTest, ReadAsksEveryQuestionInOrderAndFillsTheRecord) {
  NetSettings settings = Marked();
  ASSERT_EQ(RunPrinterOperation(link_, kOpReadNetworkSettings, kInterfaceEthernet, &settings).code,
            kResultOk);
  EXPECT_EQ(script_->written, Joined(7));
  EXPECT_EQ(settings.AddressMode, kAddressModeStatic);
  EXPECT_EQ(settings.IpAddress, "198.51.100.5");
  EXPECT_EQ(settings.Gateway, "198.51.100.1");
  EXPECT_EQ(settings.SubnetMask, "255.0.0.0");
  EXPECT_EQ(settings.LastUsedIp, "198.51.100.5");
  EXPECT_EQ(settings.PrinterName, "Dock 3");
  EXPECT_EQ(settings.MacText, "00:1B:82:01:02:03");
  EXPECT_EQ(settings.SetKind, 1);
  EXPECT_EQ(settings.Confirmed, 1);
  EXPECT_EQ(script_->closes, 1);
}

TEST_F(NetworkOperationsTest, ZeroConfiguredAddressMeansDhcpAndTextsAreCut) {
  answers_[kQuestions[1]] = "0.0.0.0";
  answers_[kQuestions[5]] = std::string(200, 'n');
  answers_[kQuestions[6]] = std::string("00:1B:82:01:02:03\0junk", 22);
  NetSettings settings;
  ASSERT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultOk);
  EXPECT_EQ(settings.AddressMode, kAddressModeDhcp);
  EXPECT_EQ(settings.PrinterName, std::string(NetSettings::kTextCapacity, 'n'));
  EXPECT_EQ(settings.MacText, "00:1B:82:01:02:03");
}

TEST_F(NetworkOperationsTest, RequiredQuestionUnansweredEndsTheReadThere) {
  for (std::size_t failing = 0; failing < 5; ++failing) {
    answers_.erase(kQuestions[failing]);
    script_->written.clear();
    NetSettings settings = Marked();
    EXPECT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultReceivingError);
    EXPECT_EQ(script_->written, Joined(failing + 1)) << failing;
    EXPECT_EQ(settings.LastUsedIp, "old");
    EXPECT_EQ(settings.PrinterName, "old");
    EXPECT_EQ(settings.MacText, "old");
    answers_[kQuestions[failing]] = "x";
  }
}

TEST_F(NetworkOperationsTest, FailedSendGivesTransmissionError) {
  script_->fail_write_at_chunk = 3;
  NetSettings settings;
  EXPECT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultTransmissionError);
  script_->fail_open = true;
  EXPECT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultPortOpenError);
}

TEST_F(NetworkOperationsTest, NameAndMacQuestionsAreTolerated) {
  answers_.erase(kQuestions[5]);
  NetSettings settings = Marked();
  ASSERT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultOk);
  EXPECT_EQ(script_->written, Joined(6)) << "no MAC question after an unanswered name";
  EXPECT_EQ(settings.PrinterName, "");
  EXPECT_EQ(settings.MacText, "");

  answers_[kQuestions[5]] = "Dock 3";
  answers_.erase(kQuestions[6]);
  settings = Marked();
  ASSERT_EQ(ReadNetworkSettings(link_, kInterfaceEthernet, settings), kResultOk);
  EXPECT_EQ(settings.PrinterName, "Dock 3");
  EXPECT_EQ(settings.MacText, "");
}

TEST_F(NetworkOperationsTest, ReadOnALinkThatCannotReceiveFailsAtTheFirstQuestion) {
  script_->can_receive = false;
  NetSettings settings;
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadNetworkSettings, kInterfaceLpt, &settings).code,
            kResultReceivingError);
  EXPECT_EQ(script_->written, "\r\nDIAGNOSTIC INTERFACE LPT\r\n");
}

// Leading zeros, which a printer could read as octal, are not sent.
TEST_F(NetworkOperationsTest, SetAddressSendsOneCommandWithNormalAddresses) {
  NetSettings settings = Static("198.051.100.005", "255.000.0.0", "198.51.100.1");
  ASSERT_EQ(RunPrinterOperation(link_, kOpSetNetworkAddress, kInterfaceEthernet, &settings).code,
            kResultOk);
  EXPECT_EQ(script_->written, "NET IP \"198.51.100.5\",\"255.0.0.0\",\"198.51.100.1\"\r\n");

  // DHCP carries no typed text, so whatever the address fields hold is not looked at.
  script_->written.clear();
  settings = Static("junk\"", "", "");
  settings.AddressMode = kAddressModeDhcp;
  ASSERT_EQ(SetNetworkAddress(link_, kInterfaceEthernet, settings), kResultOk);
  EXPECT_EQ(script_->written, "NET DHCP\r\n");
  EXPECT_EQ(script_->refills, 0);
}

TEST_F(NetworkOperationsTest, SetNameSendsOneCommand) {
  NetSettings settings = Static("junk", "", "");
  settings.PrinterName = "Dock 3";
  ASSERT_EQ(RunPrinterOperation(link_, kOpSetNetworkName, kInterfaceEthernet, &settings).code,
            kResultOk);
  EXPECT_EQ(script_->written, "NET NAME \"Dock 3\"\r\n");
}

TEST_F(NetworkOperationsTest, UnsafeTextsAreRefusedBeforeTheLinkOpens) {
  const std::vector<NetSettings> addresses = {
      Static("198.51.100.5\",\"0.0.0.0", "255.0.0.0", "198.51.100.1"),
      Static("198.51.100.5", "255.0.0.0\r\nNET DHCP", "198.51.100.1"),
      Static("198.51.100.500", "255.0.0.0", "198.51.100.1"),
      Static("198.51.100.5 x", "255.0.0.0", "198.51.100.1"),
  };
  for (const NetSettings& settings : addresses) {
    EXPECT_NE(AddressCommandRefusal(settings), "");
    EXPECT_EQ(SetNetworkAddress(link_, kInterfaceEthernet, settings), kResultUnknownError);
  }
  for (const std::string& name :
       std::vector<std::string>{"a\"b", "a\rb", "a\nNET DHCP", std::string(64, 'n')}) {
    NetSettings settings;
    settings.PrinterName = name;
    EXPECT_NE(NameCommandRefusal(settings), "");
    EXPECT_EQ(SetNetworkName(link_, kInterfaceEthernet, settings), kResultUnknownError);
  }
  EXPECT_EQ(script_->opens, 0);
}

TEST_F(NetworkOperationsTest, SetFailuresGiveTheirCodes) {
  NetSettings settings;
  settings.AddressMode = kAddressModeDhcp;
  script_->fail_write_at_chunk = 0;
  EXPECT_EQ(SetNetworkAddress(link_, kInterfaceEthernet, settings), kResultTransmissionError);
  EXPECT_EQ(SetNetworkName(link_, kInterfaceEthernet, settings), kResultTransmissionError);
  script_->fail_open = true;
  EXPECT_EQ(SetNetworkName(link_, kInterfaceEthernet, settings), kResultPortOpenError);
  EXPECT_EQ(script_->closes, script_->opens);
}

TEST_F(NetworkOperationsTest, DispatcherWantsANetSettingsRecord) {
  StatusFlags flags;
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadNetworkSettings, kInterfaceEthernet, &flags).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpSetNetworkName, kInterfaceEthernet,
                                static_cast<NetSettings*>(nullptr))
                .code,
            kResultUnknownError);
  EXPECT_EQ(script_->opens, 0);
}

class NetworkOperationsOverSimTest : public testing::SimFixture {
 protected:
  void ChangeNet(const std::function<void(sim::SimNetState&)>& change) {
    printer_.UpdateState([&](sim::SimState& state) { change(state.net); });
  }
  NetSettings Read(ResultCode expected = kResultOk) {
    NetSettings settings;
    EXPECT_EQ(
        RunPrinterOperation(link_, kOpReadNetworkSettings, kInterfaceEthernet, &settings).code,
        expected);
    return settings;
  }
};

TEST_F(NetworkOperationsOverSimTest, StaticAddressNameAndDhcpRoundTrip) {
  NetSettings settings;
  settings.IpAddress = "198.51.100.5";
  settings.SubnetMask = "255.0.0.0";
  settings.Gateway = "198.51.100.1";
  settings.PrinterName = "Dock 3";
  ASSERT_EQ(RunPrinterOperation(link_, kOpSetNetworkAddress, kInterfaceEthernet, &settings).code,
            0);
  ASSERT_EQ(RunPrinterOperation(link_, kOpSetNetworkName, kInterfaceEthernet, &settings).code, 0);
  NetSettings read = Read();
  EXPECT_EQ(read.AddressMode, kAddressModeStatic);
  EXPECT_EQ(read.IpAddress, "198.51.100.5");
  EXPECT_EQ(read.SubnetMask, "255.0.0.0");
  EXPECT_EQ(read.Gateway, "198.51.100.1");
  EXPECT_EQ(read.LastUsedIp, "198.51.100.5");
  EXPECT_EQ(read.PrinterName, "Dock 3");
  EXPECT_EQ(read.MacText, "02:11:22:33:44:5A");

  settings.AddressMode = kAddressModeDhcp;
  ASSERT_EQ(RunPrinterOperation(link_, kOpSetNetworkAddress, kInterfaceEthernet, &settings).code,
            0);
  read = Read();
  EXPECT_EQ(read.AddressMode, kAddressModeDhcp);
  EXPECT_EQ(read.IpAddress, "0.0.0.0");
  EXPECT_EQ(read.LastUsedIp, "198.51.100.5");
}

TEST_F(NetworkOperationsOverSimTest, PrinterWithoutNameOrMacAnswersStillReads) {
  ChangeNet([](sim::SimNetState& net) { net.answers_mac_question = false; });
  NetSettings read = Read();
  EXPECT_EQ(read.PrinterName, "SIM-PRINTER");
  EXPECT_EQ(read.MacText, "");

  ChangeNet([](sim::SimNetState& net) { net.answers_name_question = false; });
  read = Read();
  EXPECT_EQ(read.PrinterName, "");
  EXPECT_EQ(read.MacText, "");
  EXPECT_EQ(read.IpAddress, "127.0.0.1");
}

TEST_F(NetworkOperationsOverSimTest, SilentPrinterFailsTheRead) {
  sim::SimFaults faults;
  faults.never_answer = true;
  server_.SetFaults(faults);
  Read(kResultReceivingError);
}

}  // namespace
}  // namespace vantrel
