#pragma once

#include <span>

#include "app/widgets/localized_texts.h"

namespace vantrel::app {

// The network setup dialog's table (13 entries: 8 captions, then the 5 list columns as items
// of ListView1) and the Ethernet settings dialog's (11 entries).
std::span<const LocalizedEntry> NetSetupTexts();
std::span<const LocalizedEntry> EthernetSetupTexts();

}  // namespace vantrel::app
