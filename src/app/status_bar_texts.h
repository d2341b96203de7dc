#pragma once

#include <QString>

#include "link/link_settings.h"

namespace vantrel::app {

// The serial settings as the status bar shows them: "COM1 9600,N,8,1 RTS " (port, baud rate,
// parity letter, data bits, stop bits, hardware handshake, software handshake). An index
// outside its list shows what the link uses for it, so the empty eighth baud item reads 9600.
QString SerialSummary(const SerialSettings& serial);

}  // namespace vantrel::app
