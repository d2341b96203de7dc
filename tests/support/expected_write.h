#pragma once

#include <memory>
#include <string>

#include "ops/write_configuration.h"
#include "support/scripted_transport.h"

namespace vantrel::testing {

// The bytes WriteConfiguration itself sends over ETHERNET for this record and block.
inline std::string ExpectedWrite(const PrinterConfig& config, int block) {
  auto script = std::make_shared<Script>();
  LinkLayer link(ScriptedOpener(script));
  if (WriteConfiguration(link, kInterfaceEthernet, config, block) != kResultOk) return "<failed>";
  return script->written;
}

}  // namespace vantrel::testing
