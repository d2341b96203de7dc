#include "app/demo_printer.h"

namespace vantrel::app {
namespace {

// A printer that has been in use: a start-up program, a form and a log in its memories.
sim::SimState DemoState() {
  sim::SimState state;
  auto& [dram, flash, card] = state.memory.memories;
  sim::StoreFile(dram, "LABEL.TXT", "SIZE 4,2\r\nCLS\r\nTEXT 20,20,\"3\",0,1,1,\"DEMO\"\r\n");
  sim::StoreFile(flash, "AUTO.BAS", "CLS\r\nPRINT 1\r\n");
  sim::StoreFile(flash, "SHIPPING.DAT", std::string(3000, 'S'));
  sim::StoreFile(card, "LOG.TXT", "2026-12-07 ready\r\n");
  return state;
}

}  // namespace

DemoPrinter::DemoPrinter()
    : printer_(DemoState()),
      server_(printer_),
      responder_(sim::MakeSimFleet(printer_.state().net, 1), {&printer_}) {}

LinkFailure DemoPrinter::Start() {
  sim::SimFailure started = server_.Start("127.0.0.1", 0);
  if (started.ok()) started = responder_.Start({"127.0.0.1", 0});
  if (started.ok()) return {};
  return {kResultPortOpenError, 0, std::move(started.detail)};
}

DatagramTargets DemoPrinter::datagrams() const {
  DatagramTargets targets;
  targets.broadcast = {127, 0, 0, 1};
  targets.multicast.reset();
  targets.port = responder_.port();
  return targets;
}

}  // namespace vantrel::app
