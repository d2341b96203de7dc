#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "common/interface_kind.h"
#include "link/link_settings.h"

namespace vantrel::cli {

// The link options as typed; turned into the settings records once parsing is done.
struct LinkOptions {
  std::string interface = "usb";
  std::string host;
  int port = NetworkTarget::kDefaultPort;
  std::string com = "COM1";
  int baud = 9600;
  int data_bits = 8;
  std::string parity = "none";
  std::string stop_bits = "1";
  std::string handshake = "rts";
  bool xonxoff = false;
  std::string lpt = "LPT1";
};

struct LinkSettingsRecords {
  InterfaceKind interface = kInterfaceUsb;
  SerialSettings serial;
  ParallelPortName parallel;
  NetworkTarget network;
};

// Registers the link options on the top-level command; subcommands let them through.
void AddLinkOptions(CLI::App& app, LinkOptions& options);

// Builds the records; returns an empty string or the reason a value cannot be used.
std::string ToLinkSettings(const LinkOptions& options, LinkSettingsRecords& records);

}  // namespace vantrel::cli
