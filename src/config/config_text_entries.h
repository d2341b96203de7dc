#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A JSON document read into its values, each with the keys that lead to it and the line it
// stands on, so that a refusal can name the line. Lists are not part of the documents read.
enum class TextEntryType { kNull, kBool, kNumber, kString, kObject };

struct TextEntry {
  std::vector<std::string> path;  // the keys from the top object down
  int line = 0;                   // of the entry's key
  TextEntryType type = TextEntryType::kNull;
  std::string text;  // a string's text (UTF-8), a number's text as written
};

struct TextEntries {
  std::vector<TextEntry> entries;  // in document order
  int error_line = 0;
  std::string error;  // empty when the document was read
};

// Refuses malformed JSON, a document that is not an object, a list and a key repeated within
// one object.
TextEntries ReadTextEntries(std::string_view json);

}  // namespace vantrel
