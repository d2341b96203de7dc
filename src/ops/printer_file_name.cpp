#include "ops/printer_file_name.h"

#include "common/quoted_text.h"

namespace vantrel {

std::string PrinterFileNameRefusal(std::string_view name, std::size_t max_length) {
  if (name.empty()) return "The printer file name is empty";
  if (name.size() > max_length) {
    return "The printer file name \"" + std::string(name) + "\" is longer than " +
           std::to_string(max_length) + " characters";
  }
  if (BreaksQuotedField(name)) {
    return "The printer file name must not contain a double quote or a control character";
  }
  return {};
}

}  // namespace vantrel
