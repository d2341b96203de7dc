#include "doctor/usb_checks.h"

#include <filesystem>

#include "doctor/device_access.h"
#include "doctor/device_holders.h"
#include "doctor/usb_sysfs.h"
#include "link/usb_device_list.h"
#include "link/usb_printer_match.h"

namespace vantrel {
namespace {

const std::string kUsb = "usb";

std::string UdevRuleFix() {
  const std::string rule(kUsbUdevRuleFile);
  return "install the vantrel package, or: sudo cp packaging/udev/" + rule +
         " /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm trigger;"
         " then plug the printer in again";
}

std::string VendorList() {
  std::string list;
  for (std::string_view vendor : kUsbPrinterVendors) {
    list += (list.empty() ? "" : " or ") + std::string(vendor);
  }
  return list;
}

DoctorCheck CheckPresent(const std::vector<UsbSysfsPrinter>& printers,
                         const std::optional<std::size_t>& chosen) {
  DoctorCheck check{kUsb, "printer", chosen.has_value(), {}, {}};
  if (chosen) {
    const UsbSysfsPrinter& printer = printers[*chosen];
    check.detail = printer.path_text + " at " + printer.node;
  } else if (printers.empty()) {
    check.detail = "no USB printer-class device is connected";
    check.fix = "connect the printer with a USB cable and switch it on";
  } else {
    check.detail = printers.front().path_text + " is a printer, but not of vendor " + VendorList();
    check.fix = "use this printer over its serial, parallel or network interface";
  }
  return check;
}

DoctorCheck CheckUdevRule(const DoctorRoots& roots) {
  for (const std::string& dir : roots.udev_rule_dirs) {
    const std::filesystem::path rule = std::filesystem::path(dir) / kUsbUdevRuleFile;
    std::error_code error;
    if (std::filesystem::exists(rule, error)) {
      return {kUsb, "udev rule", true, rule.string() + " is installed", {}};
    }
  }
  return {kUsb, "udev rule", false, std::string(kUsbUdevRuleFile) + " is not installed",
          UdevRuleFix()};
}

DoctorCheck CheckKernelDriver(const UsbSysfsPrinter& printer, bool can_open) {
  DoctorCheck check{kUsb, "kernel driver", true, {}, {}};
  if (printer.driver.empty()) {
    check.detail = "no kernel driver holds the printer interface";
    return check;
  }
  check.detail = printer.driver + " holds the printer interface";
  if (!printer.lp_node.empty()) check.detail += " (as " + printer.lp_node + ")";
  if (can_open) {
    check.detail += "; Vantrel sets it aside while the link is open and gives it back at close";
    return check;
  }
  check.ok = false;
  check.detail += ", and setting it aside needs write access to " + printer.node;
  check.fix = "give the user access to " + printer.node + " (see the access check)";
  return check;
}

}  // namespace

DoctorReport CheckUsb(const DoctorRequest& request) {
  const std::vector<UsbSysfsPrinter> printers =
      ListUsbPrinters(request.roots.sys, request.roots.dev);
  std::vector<std::string> paths;
  paths.reserve(printers.size());
  for (const UsbSysfsPrinter& printer : printers) paths.push_back(printer.path_text);
  const std::optional<std::size_t> chosen = FindUsbPrinter(paths);
  DoctorReport report = {CheckPresent(printers, chosen), CheckUdevRule(request.roots)};
  if (!chosen) return report;

  const UsbSysfsPrinter& printer = printers[*chosen];
  const std::optional<DeviceNode> node = InspectDeviceNode(printer.node);
  if (!node) {
    report.push_back({kUsb, "access", false, printer.node + " is missing",
                      "plug the printer in again, so that udev makes its node"});
    return report;
  }
  report.push_back(CheckNodeAccess(kUsb, request.user, *node, UdevRuleFix()));
  report.push_back(CheckKernelDriver(printer, report.back().ok));
  std::vector<std::string> nodes = {printer.node};
  if (!printer.lp_node.empty()) nodes.push_back(printer.lp_node);
  report.push_back(CheckDeviceInUse(kUsb, request, nodes, false));
  return report;
}

}  // namespace vantrel
