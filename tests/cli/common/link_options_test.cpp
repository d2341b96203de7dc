// --host and --port read as the window's network fields read them.
#include "cli/common/link_options.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

struct Parsed {
  std::string refusal;  // the usage error or the link settings' refusal
  NetworkTarget network;
};

Parsed ParseLink(const std::vector<std::string>& args) {
  CLI::App app;
  LinkOptions options;
  AddLinkOptions(app, options);
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return {e.what(), {}};
  }
  LinkSettingsRecords records;
  return {ToLinkSettings(options, records), records.network};
}

TEST(LinkOptionsTest, HostAndPortFollowTheCoreAddressRule) {
  const struct {
    std::vector<std::string> args;
    std::string address;
    int port;
    std::string refusal;  // part of it; empty when accepted
  } rows[] = {
      {{}, "", 9100, ""},
      {{"--host", "[::1]", "--port", "09101"}, "::1", 9101, ""},
      {{"--host", "010.0.0.1"}, "10.0.0.1", 9100, ""},
      {{"--port", "0x2383"}, "", 0, "--port: '0x2383' is not a valid integer value"},
      {{"--port", "65536"}, "", 0, "--port: Port 65536 is not from 1 to 65535"},
      {{"--host", "h:9101"}, "", 0, "--host: \"h:9101\" carries a port"},
      {{"--host", "a b\x1b"}, "", 0, "--host: \"a b\\x1B\" is neither"},
      {{"--host", std::string(64, 'a')}, "", 0, "--host: The address is longer than 63"},
  };
  for (const auto& row : rows) {
    const Parsed parsed = ParseLink(row.args);
    if (row.refusal.empty()) {
      EXPECT_EQ(parsed.refusal, "");
      EXPECT_EQ(parsed.network.address, row.address);
      EXPECT_EQ(parsed.network.port, row.port);
    } else {
      EXPECT_NE(parsed.refusal.find(row.refusal), std::string::npos) << parsed.refusal;
    }
  }
}

}  // namespace
}  // namespace vantrel::cli
