#pragma once

#include <string>

#include "common/failure.h"
#include "engine/sim_printer.h"
#include "link/link_settings.h"
#include "net/datagram_targets.h"
#include "servers/sim_tcp_server.h"
#include "servers/sim_udp_responder.h"

namespace vantrel::app {

// The simulated printer behind `vantrel --demo`, served in this process on loopback: the
// command language on a free TCP port and the discovery and setup datagrams on a free UDP
// port, so the whole program can be tried without a printer and nothing leaves the machine.
// Its memories hold a few files and its clock runs from the host's.
class DemoPrinter {
 public:
  DemoPrinter();

  // Fails (code 1) when no loopback port could be had.
  LinkFailure Start();
  NetworkTarget target() const { return {"127.0.0.1", server_.port()}; }
  // Where the network dialogs send: straight to the responder, never a broadcast or a group.
  DatagramTargets datagrams() const;
  // What reached the printer, for the walk-through of the demo.
  const sim::SimPrinter& printer() const { return printer_; }
  const sim::SimUdpResponder& responder() const { return responder_; }

 private:
  sim::SimPrinter printer_;
  sim::SimTcpServer server_;
  sim::SimUdpResponder responder_;
};

}  // namespace vantrel::app
