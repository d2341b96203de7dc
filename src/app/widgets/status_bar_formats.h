#pragma once

#include <QDateTime>
#include <QString>

#include "common/network_target.h"
#include "link/link_settings.h"

namespace vantrel::app {

// The serial settings as the status bar shows them: "COM1 9600,N,8,1 RTS " (port, baud rate,
// parity letter, data bits, stop bits, hardware handshake, software handshake). An index
// outside its list shows what the link uses for it, so the empty eighth baud item reads 9600.
QString SerialSummary(const SerialSettings& serial);

// The printer the window works with, for the status bar: "192.0.2.7:9100" ("[2001:db8::7]:9100")
// on ETHERNET, the device a COM or LPT name stands for ("/dev/ttyUSB0"), "USB" on USB.
QString LinkTargetText(int interface, const NetworkTarget& network, const SerialSettings& serial,
                       const ParallelPortName& parallel);

// The clock panel: "2026/12/07 10:26:05" in every locale. A locale's short format can print
// its period marker as a stray letter ("2026/12/7 B10:26" in zh_TW).
QString ClockText(const QDateTime& now);

}  // namespace vantrel::app
