#include "app/demo_printer.h"

namespace vantrel::app {

DemoPrinter::DemoPrinter()
    : server_(printer_), responder_(sim::MakeSimFleet(printer_.state().net, 1), &printer_) {}

bool DemoPrinter::Start(std::string& error) {
  return server_.Start("127.0.0.1", 0, &error) && responder_.Start({"127.0.0.1", 0}, &error);
}

DatagramTargets DemoPrinter::datagrams() const {
  DatagramTargets targets;
  targets.broadcast = {127, 0, 0, 1};
  targets.multicast.reset();
  targets.port = responder_.port();
  return targets;
}

}  // namespace vantrel::app
