#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "config/config_items.h"

namespace vantrel::testing {

// The item of the record's field `name`; a name no page carries is a fault in the test.
inline const ConfigItem& ItemNamed(std::string_view name) {
  for (const ConfigPage page : kConfigPages) {
    for (const ConfigItem& item : ConfigPageItems(page)) {
      if (item.name == name) return item;
    }
  }
  throw std::invalid_argument(std::string(name));
}

}  // namespace vantrel::testing
