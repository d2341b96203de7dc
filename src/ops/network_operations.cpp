#include "ops/network_operations.h"

#include <array>

#include "net/ipv4_text.h"
#include "ops/command_writer.h"

namespace vantrel {
namespace {

constexpr std::string_view kDhcpConfiguredIp = "0.0.0.0";

struct NetReport {
  std::string_view question;
  std::string NetSettings::*field;
};

constexpr NetReport kConfiguredIpReport = {"DIAGNOSTIC REPORT CONFIGIP\r\n",
                                           &NetSettings::IpAddress};
// Asked after the configured address; the first failure ends the read.
constexpr std::array<NetReport, 3> kRequiredReports = {{
    {"DIAGNOSTIC REPORT GATEWAY\r\n", &NetSettings::Gateway},
    {"DIAGNOSTIC REPORT IPMASK\r\n", &NetSettings::SubnetMask},
    {"DIAGNOSTIC REPORT LASTUSEDIP\r\n", &NetSettings::LastUsedIp},
}};
// Older printers do not know these; no answer leaves the text empty.
constexpr NetReport kNameReport = {"DIAGNOSTIC REPORT NETNAME\r\n", &NetSettings::PrinterName};
constexpr NetReport kMacReport = {"DIAGNOSTIC REPORT MACADDR\r\n", &NetSettings::MacText};

// Stores the answer, up to its first NUL as every text of the record ends, into the report's
// field; a failed question leaves the field as it was.
ResultCode Ask(LinkLayer& link, const NetReport& report, NetSettings& settings) {
  ReplyBuffer reply;
  const ResultCode result = link.QueryFramedReply(report.question, reply);
  if (result == kResultOk) {
    const std::string_view text = reply.view();
    StoreNetText(settings.*report.field, text.substr(0, text.find('\0')));
  }
  return result;
}

// The address as the printer must read it: "010.000.000.005" goes as "10.0.0.5", since a
// leading zero could be taken for an octal number. The text was checked to be complete.
std::string NormalAddress(const std::string& text) {
  return FormatIPv4(*TryParseIPv4(text));
}

ResultCode ReadRequiredReports(LinkLayer& link, InterfaceKind interface, NetSettings& settings) {
  ReplyBuffer announcement;
  // The announcement's answer is required, but what it says is not used.
  if (const ResultCode r = link.QueryFramedReply(InterfaceAnnouncement(interface), announcement);
      r != kResultOk) {
    return r;
  }
  if (const ResultCode r = Ask(link, kConfiguredIpReport, settings); r != kResultOk) return r;
  // A printer on DHCP reports its configured address as all zeros.
  settings.AddressMode =
      settings.IpAddress == kDhcpConfiguredIp ? kAddressModeDhcp : kAddressModeStatic;
  for (const NetReport& report : kRequiredReports) {
    if (const ResultCode r = Ask(link, report, settings); r != kResultOk) return r;
  }
  return kResultOk;
}

}  // namespace

std::string AddressCommandRefusal(const NetSettings& settings) {
  // "NET DHCP" carries none of the typed texts.
  if (settings.AddressMode == kAddressModeDhcp) return {};
  return AddressTextsRefusal(settings);
}

std::string NameCommandRefusal(const NetSettings& settings) {
  return FieldTextRefusal("The printer name", settings.PrinterName);
}

ResultCode SetNetworkAddress(LinkLayer& link, InterfaceKind interface,
                             const NetSettings& settings) {
  if (!AddressCommandRefusal(settings).empty()) return kResultUnknownError;
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  CommandWriter writer(link);
  if (settings.AddressMode == kAddressModeDhcp) {
    writer.SendText(kNetDhcpCommand);
  } else {
    writer.Send("NET IP \"%s\",\"%s\",\"%s\"\r\n", NormalAddress(settings.IpAddress).c_str(),
                NormalAddress(settings.SubnetMask).c_str(),
                NormalAddress(settings.Gateway).c_str());
  }
  return writer.result();
}

ResultCode SetNetworkName(LinkLayer& link, InterfaceKind interface, const NetSettings& settings) {
  if (!NameCommandRefusal(settings).empty()) return kResultUnknownError;
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  CommandWriter writer(link);
  writer.Send("NET NAME \"%s\"\r\n", settings.PrinterName.c_str());
  return writer.result();
}

ResultCode ReadNetworkSettings(LinkLayer& link, InterfaceKind interface, NetSettings& settings) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  if (const ResultCode result = ReadRequiredReports(link, interface, settings); result != 0) {
    return result;
  }
  // Without a name answer the MAC question is not asked, and its text is empty too. A lost
  // link is no missing answer.
  if (const ResultCode name = Ask(link, kNameReport, settings); name != kResultOk) {
    settings.PrinterName.clear();
    settings.MacText.clear();
    return link.AnswerMissing(name) ? kResultOk : name;
  }
  if (const ResultCode mac = Ask(link, kMacReport, settings); mac != kResultOk) {
    settings.MacText.clear();
    return link.AnswerMissing(mac) ? kResultOk : mac;
  }
  return kResultOk;
}

}  // namespace vantrel
