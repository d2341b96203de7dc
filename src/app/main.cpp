// vantrel: the desktop service utility for label printers.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <optional>

#include "app/demo_printer.h"
#include "app/main_window.h"
#include "app/startup_report.h"

namespace {

struct StartOptions {
  bool demo = false;
  bool report_startup = false;
  std::optional<vantrel::NetworkTarget> host;
};

std::optional<StartOptions> ParseArguments(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Service utility for thermal label printers.");
  parser.addHelpOption();
  const QCommandLineOption demo("demo", "Open on a simulated printer on this machine.");
  const QCommandLineOption host("host", "Open on ETHERNET aimed at this printer.", "address");
  const QCommandLineOption port("port", "The printer's TCP port (default 9100).", "number", "9100");
  const QCommandLineOption report("report-startup",
                                  "Print when the window is shown and the memory used, then quit.");
  parser.addOptions({demo, host, port, report});
  parser.process(app);
  StartOptions options{parser.isSet(demo), parser.isSet(report), std::nullopt};
  if (parser.isSet(host)) {
    bool ok = false;
    const int number = parser.value(port).toInt(&ok);
    if (!ok || number < 1 || number > 65535) {
      std::fprintf(stderr, "vantrel: --port must be 1..65535\n");
      return std::nullopt;
    }
    options.host = vantrel::NetworkTarget{parser.value(host).toStdString(), number};
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vantrel");
  const std::optional<StartOptions> start = ParseArguments(app);
  if (!start) return 64;

  vantrel::app::MainWindowOptions options;
  vantrel::app::DemoPrinter demo_printer;
  if (start->demo) {
    std::string error;
    if (!demo_printer.Start(error)) {
      std::fprintf(stderr, "vantrel: the simulated printer cannot start: %s\n", error.c_str());
      return 1;
    }
    options.network = demo_printer.target();
    options.datagrams = demo_printer.datagrams();
    options.demo = true;
    options.interface = vantrel::kInterfaceEthernet;
  } else if (start->host) {
    options.network = *start->host;
    options.interface = vantrel::kInterfaceEthernet;
  }

  vantrel::app::TFormMain window(options);
  window.show();
  if (start->report_startup) vantrel::app::ReportWhenShown(window);
  window.StartUp();
  return QApplication::exec();
}
