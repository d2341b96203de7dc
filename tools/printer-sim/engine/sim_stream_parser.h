#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::sim {

// Splits the received byte stream into commands, whatever the segment
// boundaries: ESC '!' sequences (anywhere, even inside a line) and text
// lines ending in LF with a CR before it dropped. Empty lines are skipped.
// A line longer than kMaxLineBytes is bulk data, not a command: it is
// dropped up to the next LF so that memory stays bounded. DUMP_TEXT, which has no
// line end, ends with its last comma.
// A download header (`DOWNLOAD ... ,SIZE,`, no line end) is a command of its
// own; exactly SIZE bytes after it are file data, handed on as they arrive.
class SimStreamParser {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{64} * 1024;

  using CommandSink = std::function<void(std::string_view command)>;
  // Called with each piece of a download's data; `last` marks its end (a
  // zero-byte download gets one empty last piece).
  using DataSink = std::function<void(std::span<const std::uint8_t> piece, bool last)>;

  void Parse(std::span<const std::uint8_t> bytes, const CommandSink& sink,
             const DataSink& data_sink = {});
  void Reset();

 private:
  enum class Mode { kText, kEscape, kEscapeCode, kDetailEnd, kSkipLine, kDownloadData };

  std::size_t ScanText(std::span<const std::uint8_t> bytes, const CommandSink& sink,
                       const DataSink& data_sink);
  std::size_t DownloadHeaderEnd(std::span<const std::uint8_t> segment) const;
  void StartDownload(const CommandSink& sink, const DataSink& data_sink);
  std::size_t TakeDownloadData(std::span<const std::uint8_t> bytes, const DataSink& data_sink);
  std::size_t SkipLine(std::span<const std::uint8_t> bytes);
  // These return false when the byte does not belong to the escape and must
  // be parsed again as text.
  bool ParseEscapeByte(std::uint8_t byte, const CommandSink& sink);
  bool ParseEscapeIntro(char c);
  bool ParseEscapeCode(char c, const CommandSink& sink);
  bool ParseDetailEnd(char c, const CommandSink& sink);
  void AppendToLine(std::string_view text);
  void EmitDumpCommand(const CommandSink& sink);
  void EndLine(const CommandSink& sink);

  Mode mode_ = Mode::kText;
  std::string line_;
  std::size_t detail_end_matched_ = 0;
  std::uint64_t download_remaining_ = 0;
};

}  // namespace vantrel::sim
