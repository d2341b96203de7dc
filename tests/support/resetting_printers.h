#pragma once

#include <string>
#include <string_view>

#include "engine/sim_printer.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::testing {

// Printers that, like a printer resetting, cut every connection once a command beginning with a
// given text reaches them: that command's own connection and every later one.
class ResettingPrinters {
 public:
  void Watch(sim::SimPrinter& printer, sim::SimTcpServer& server, std::string trigger) {
    printer.SetCommandObserver([&server, trigger](std::string_view command) {
      if (!command.starts_with(trigger)) return;
      sim::SimFaults faults;
      faults.close_after_bytes = 1;
      faults.reset_after_sent_bytes = 0;
      server.SetFaults(faults);
    });
  }
};

}  // namespace vantrel::testing
