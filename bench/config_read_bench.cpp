// Reading the whole configuration from the simulated printer over loopback TCP, against the same
// number of plain question-and-answer round trips on one socket to the same printer.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "config/printer_config.h"
#include "engine/sim_printer.h"
#include "ops/dispatcher.h"
#include "ratio_reporter.h"
#include "servers/sim_tcp_server.h"

namespace {

struct SimulatedPrinter {
  vantrel::sim::SimPrinter printer;
  vantrel::sim::SimTcpServer server{printer, 0};
  SimulatedPrinter() { server.Start("127.0.0.1", 0); }
};

SimulatedPrinter& Printer() {
  static SimulatedPrinter simulated;
  return simulated;
}

// The commands one configuration read sends, counted once.
std::size_t ExchangesPerRead() {
  static const std::size_t count = [] {
    const std::size_t before = Printer().printer.Commands().size();
    vantrel::NetworkTarget target{"127.0.0.1", Printer().server.port()};
    vantrel::LinkLayer link;
    link.BindLinkSettings(nullptr, nullptr, &target);
    vantrel::PrinterConfig config;
    vantrel::ResetConfig(config);
    vantrel::RunPrinterOperation(link, vantrel::kOpReadConfiguration, vantrel::kInterfaceEthernet,
                                 &config, 0);
    return Printer().printer.Commands().size() - before;
  }();
  return count;
}

void BM_ReadConfiguration(benchmark::State& state) {
  vantrel::NetworkTarget target{"127.0.0.1", Printer().server.port()};
  vantrel::LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &target);
  for (auto _ : state) {
    vantrel::PrinterConfig config;
    vantrel::ResetConfig(config);
    if (!vantrel::RunPrinterOperation(link, vantrel::kOpReadConfiguration,
                                      vantrel::kInterfaceEthernet, &config, 0)
             .ok()) {
      state.SkipWithError("read failed");
    }
  }
  state.counters["exchanges"] = static_cast<double>(ExchangesPerRead());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// One connection, one short question at a time, each answer read to its closing brace.
void BM_PlainRoundTrips(benchmark::State& state) {
  const std::size_t exchanges = ExchangesPerRead();
  const std::string question = "DIAGNOSTIC INTERFACE NET\r\n";
  for (auto _ : state) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(Printer().server.port());
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    for (std::size_t i = 0; i < exchanges; ++i) {
      ::send(fd, question.data(), question.size(), MSG_NOSIGNAL);
      char answer[4096];
      ssize_t got = 0;
      while ((got = ::recv(fd, answer, sizeof(answer), 0)) > 0 &&
             std::string_view(answer, static_cast<std::size_t>(got)).find('}') ==
                 std::string_view::npos) {
      }
    }
    ::close(fd);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_PlainRoundTrips)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ReadConfiguration)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWithRatios(argc, argv, {{"BM_ReadConfiguration", "BM_PlainRoundTrips"}},
                                       "items_per_second");
}
