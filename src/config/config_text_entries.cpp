#include "config/config_text_entries.h"

#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

namespace vantrel {
namespace {

using Json = nlohmann::json;

// Walks the text for the parser and counts the lines it has passed.
class LineCountingIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  LineCountingIterator(const char* at, int* line) : at_(at), line_(line) {}

  reference operator*() const { return *at_; }
  LineCountingIterator& operator++() {
    if (*at_ == '\n') ++*line_;
    ++at_;
    return *this;
  }
  LineCountingIterator operator++(int) {
    LineCountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const LineCountingIterator& other) const { return at_ == other.at_; }

 private:
  const char* at_;
  int* line_;
};

// The parser's events into entries. A key arrives as soon as its closing quote is read, so the
// line counted then is the key's own.
class EntryCollector {
 public:
  explicit EntryCollector(const int* line) : line_(line) {}

  bool null() { return Add(TextEntryType::kNull, "null"); }
  bool boolean(bool value) { return Add(TextEntryType::kBool, value ? "true" : "false"); }
  bool number_integer(Json::number_integer_t value) {
    return Add(TextEntryType::kNumber, std::to_string(value));
  }
  bool number_unsigned(Json::number_unsigned_t value) {
    return Add(TextEntryType::kNumber, std::to_string(value));
  }
  bool number_float(Json::number_float_t, const std::string& text) {
    return Add(TextEntryType::kNumber, text);
  }
  bool string(std::string& value) { return Add(TextEntryType::kString, value); }
  bool binary(Json::binary_t&) { return Fail("binary values are not part of the document"); }
  bool start_object(std::size_t) {
    if (!seen_.empty() && !Add(TextEntryType::kObject, "")) return false;
    seen_.emplace_back();
    return true;
  }
  bool end_object() {
    seen_.pop_back();
    return true;
  }
  bool key(std::string& key) {
    keys_.resize(seen_.size() - 1);
    keys_.push_back(key);
    key_line_ = *line_;
    if (!seen_.back().insert(key).second) return Fail("the key \"" + key + "\" is given twice");
    return true;
  }
  bool start_array(std::size_t) { return Fail("a list is not expected here"); }
  bool end_array() { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
    // "[json.exception.parse_error.101] parse error at line 2, column 5: syntax error ...":
    // the line is counted here, the reason is what follows the position.
    const std::string what = error.what();
    const std::size_t column = what.find("column");
    const std::size_t reason = what.find(": ", column == std::string::npos ? 0 : column);
    result.error_line = *line_;
    result.error =
        "malformed JSON: " + (reason == std::string::npos ? what : what.substr(reason + 2));
    return false;
  }

  TextEntries result;

 private:
  bool Add(TextEntryType type, std::string text) {
    if (seen_.empty()) return Fail("the document is not a JSON object");
    result.entries.push_back({keys_, key_line_, type, std::move(text)});
    return true;
  }
  bool Fail(std::string reason) {
    result.error_line = *line_;
    result.error = std::move(reason);
    return false;
  }

  const int* line_;
  int key_line_ = 1;
  std::vector<std::string> keys_;
  std::vector<std::set<std::string>> seen_;  // the keys of each open object
};

}  // namespace

TextEntries ReadTextEntries(std::string_view json) {
  int line = 1;
  EntryCollector collector(&line);
  const LineCountingIterator begin(json.data(), &line);
  const LineCountingIterator end(json.data() + json.size(), &line);
  Json::sax_parse(begin, end, &collector);
  if (!collector.result.error.empty()) collector.result.entries.clear();
  return std::move(collector.result);
}

}  // namespace vantrel
