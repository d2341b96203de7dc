// vantrel: the desktop service utility for label printers.
#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <variant>

#include "app/demo_printer.h"
#include "app/main_window.h"
#include "app/startup_report.h"
#include "net/address_port.h"

namespace {

struct StartOptions {
  bool demo = false;
  bool report_startup = false;
  std::optional<vantrel::NetworkTarget> host;
};

// Exit codes of a start that opens no window.
constexpr int kHelpShown = 0;
constexpr int kUsageError = 64;

// The window system's own options, which the application object takes. --help leaves them out;
// --help-all lists them.
struct WindowSystemOption {
  const char* name;
  const char* value;  // nullptr for a switch
  const char* description;
};

constexpr WindowSystemOption kWindowSystemOptions[] = {
    {"platform", "name", "The window system plugin: xcb, wayland, offscreen."},
    {"platformpluginpath", "path", "Where to look for window system plugins."},
    {"platformtheme", "name", "The platform theme."},
    {"style", "name", "The widget style: Fusion, Windows."},
    {"stylesheet", "file", "A style sheet for the whole window."},
    {"display", "name", "The X display to open (xcb)."},
    {"qwindowgeometry", "geometry", "The main window's geometry, as WIDTHxHEIGHT+X+Y."},
    {"qwindowtitle", "title", "The main window's title."},
    {"qwindowicon", "file", "The main window's icon."},
    {"reverse", nullptr, "Lays the window out right to left."},
    {"widgetcount", nullptr, "Prints how many widgets were left at exit."},
    {"nograb", nullptr, "Never grabs the mouse or keyboard."},
    {"dograb", nullptr, "Grabs the mouse and keyboard even under a debugger."},
    {"sync", nullptr, "Runs X in synchronous mode (xcb)."},
};

void AddWindowSystemOptions(QCommandLineParser& parser, bool listed) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const WindowSystemOption& entry : kWindowSystemOptions) {
    QCommandLineOption option(entry.name, entry.description);
    if (entry.value != nullptr) option.setValueName(entry.value);
    if (!listed) option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
}

constexpr char kDescription[] =
    "Service utility for thermal label printers.\n\n"
    "Without options it looks for a printer on USB and, when one answers, reads its "
    "configuration; the interface and its settings can then be changed in the window. "
    "--host opens it on a network printer instead, --demo on a simulated printer on this "
    "machine.";

constexpr char kUsage[] =
    "usage: vantrel [--demo | --host ADDRESS [--port NUMBER]] [--report-startup]\n"
    "Try 'vantrel --help' for more.\n";

int UsageError(const QString& why) {
  std::fprintf(stderr, "vantrel: %s\n%s", qPrintable(why), kUsage);
  return kUsageError;
}

// Read before the application object exists: --help and usage errors must not need a display.
std::variant<StartOptions, int> ParseArguments(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption demo("demo", "Open on a simulated printer on this machine.");
  const QCommandLineOption host("host", "Open on ETHERNET aimed at this printer.", "address");
  const QCommandLineOption port("port", "The printer's TCP port with --host (default 9100).",
                                "number", "9100");
  const QCommandLineOption report("report-startup",
                                  "Print when the window is shown and the memory used, then quit.");
  parser.addOptions({demo, host, port, report});
  AddWindowSystemOptions(parser,
                         arguments.contains("--help-all") || arguments.contains("-help-all"));
  if (!parser.parse(arguments)) return UsageError(parser.errorText());
  if (parser.isSet(help) || parser.isSet("help-all")) {
    std::fputs(qPrintable(parser.helpText().replace("<executable_name>", "vantrel")), stdout);
    return kHelpShown;
  }
  // "--host 10.0.0.5 9211" would otherwise open on port 9100 without a word.
  if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty()) {
    return UsageError("unexpected argument '" + extra.front() +
                      "' (a port goes with --port NUMBER)");
  }
  if (parser.isSet(port) && !parser.isSet(host)) return UsageError("--port needs --host");
  StartOptions options{parser.isSet(demo), parser.isSet(report), std::nullopt};
  if (parser.isSet(host)) {
    const vantrel::PortNumber number = vantrel::ParsePort(parser.value(port).toStdString());
    if (!number.error.empty()) return UsageError("--port: " + QString::fromStdString(number.error));
    vantrel::AddressPort address = vantrel::ParseAddress(parser.value(host).toStdString());
    if (!address.ok()) return UsageError("--host: " + QString::fromStdString(address.error));
    options.host = vantrel::NetworkTarget{std::move(address.address), number.port};
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const std::variant<StartOptions, int> parsed = ParseArguments(arguments);
  if (const int* exit_code = std::get_if<int>(&parsed)) return *exit_code;
  const StartOptions* start = &std::get<StartOptions>(parsed);

  QApplication app(argc, argv);
  QApplication::setApplicationName("Vantrel");

  vantrel::app::MainWindowOptions options;
  vantrel::app::DemoPrinter demo_printer;
  if (start->demo) {
    if (const vantrel::LinkFailure failure = demo_printer.Start(); !failure.ok()) {
      std::fprintf(stderr, "vantrel: the simulated printer cannot start: %s\n",
                   failure.detail.c_str());
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
