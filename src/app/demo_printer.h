#pragma once

#include <string>

#include "link/link_settings.h"
#include "sim_printer.h"
#include "sim_tcp_server.h"

namespace vantrel::app {

// The simulated printer behind `vantrel --demo`: served in this process on a free loopback
// port, so the whole program can be tried without a printer.
class DemoPrinter {
 public:
  DemoPrinter() : server_(printer_) {}

  // False, with the reason in `error`, when no loopback port could be had.
  bool Start(std::string& error) { return server_.Start("127.0.0.1", 0, &error); }
  NetworkTarget target() const { return {"127.0.0.1", server_.port()}; }

 private:
  sim::SimPrinter printer_;
  sim::SimTcpServer server_;
};

}  // namespace vantrel::app
