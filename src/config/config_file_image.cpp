#include "config/config_file_image.h"

#include <algorithm>
#include <string_view>

#include "common/byte_order.h"

namespace vantrel {
namespace {

// The position of the next field: fields follow one another with no padding.
class FieldCursor {
 protected:
  std::size_t Advance(std::size_t width) {
    const std::size_t at = offset_;
    offset_ += width;
    return at;
  }

 private:
  std::size_t offset_ = 0;
};

// Writes the record's fields one after another, in record order.
class RecordWriter : FieldCursor {
 public:
  explicit RecordWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

  void operator()(std::string_view, std::int32_t value) { PutI32LE(bytes_, Advance(4), value); }
  void operator()(std::string_view, float value) { PutF32LE(bytes_, Advance(4), value); }
  void operator()(std::string_view, char value) {
    bytes_[Advance(1)] = static_cast<std::uint8_t>(value);
  }
  template <typename T>
  void operator()(std::string_view name, const Item<T>& item) {
    bytes_[Advance(1)] = item.flag;
    (*this)(name, item.value);
  }
  template <std::size_t N>
  void operator()(std::string_view, const Text<N>& text) {
    const auto at = static_cast<std::ptrdiff_t>(Advance(N));
    std::transform(text.begin(), text.end(), bytes_.begin() + at,
                   [](char c) { return static_cast<std::uint8_t>(c); });
  }

 private:
  std::span<std::uint8_t> bytes_;
};

// The reverse of RecordWriter, over the same field list.
class RecordReader : FieldCursor {
 public:
  explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  void operator()(std::string_view, std::int32_t& value) { value = GetI32LE(bytes_, Advance(4)); }
  void operator()(std::string_view, float& value) { value = GetF32LE(bytes_, Advance(4)); }
  void operator()(std::string_view, char& value) { value = static_cast<char>(bytes_[Advance(1)]); }
  template <typename T>
  void operator()(std::string_view name, Item<T>& item) {
    item.flag = bytes_[Advance(1)];
    (*this)(name, item.value);
  }
  template <std::size_t N>
  void operator()(std::string_view, Text<N>& text) {
    const auto from = bytes_.subspan(Advance(N), N);
    std::transform(from.begin(), from.end(), text.begin(),
                   [](std::uint8_t b) { return static_cast<char>(b); });
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Counts the bytes of the record image at compile time, so a field added to the record without
// its place in the file breaks the build rather than the files.
struct ImageSizeCounter {
  std::size_t size = 0;

  constexpr void operator()(std::string_view, std::int32_t) { size += 4; }
  constexpr void operator()(std::string_view, float) { size += 4; }
  constexpr void operator()(std::string_view, char) { size += 1; }
  template <typename T>
  constexpr void operator()(std::string_view name, const Item<T>& item) {
    size += 1;
    (*this)(name, item.value);
  }
  template <std::size_t N>
  constexpr void operator()(std::string_view, const Text<N>&) {
    size += N;
  }
};

constexpr std::size_t RecordImageSize() {
  const PrinterConfig config{};
  ImageSizeCounter counter;
  ForEachField(config, counter);
  return counter.size;
}
static_assert(RecordImageSize() == kPrinterConfigImageSize);

}  // namespace

ConfigFileImage BuildConfigFileImage(const ConfigFileContents& contents) {
  ConfigFileImage image{};
  PutU32LE(image, 0, kConfigFileMagic);
  PutU32LE(image, 4, kConfigFileVersion);
  PutI32LE(image, 8, contents.unit);
  RecordWriter writer{std::span(image).subspan(kConfigImageOffset, kPrinterConfigImageSize)};
  ForEachField(contents.config, writer);
  std::copy(contents.status.flags.begin(), contents.status.flags.end(),
            image.begin() + kStatusOffset);
  return image;
}

std::optional<ConfigFileContents> ParseConfigFileImage(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kConfigFileSize || GetU32LE(bytes, 0) != kConfigFileMagic) {
    return std::nullopt;
  }
  ConfigFileContents contents;
  contents.unit = GetI32LE(bytes, 8);
  RecordReader reader(bytes.subspan(kConfigImageOffset, kPrinterConfigImageSize));
  ForEachField(contents.config, reader);
  const auto status = bytes.subspan(kStatusOffset, StatusFlags::kCount);
  std::copy(status.begin(), status.end(), contents.status.flags.begin());
  return contents;
}

}  // namespace vantrel
