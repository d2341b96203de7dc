#include "engine/sim_stream_parser.h"

#include <algorithm>
#include <cstring>

#include "engine/sim_download_header.h"
#include "engine/sim_escapes.h"

namespace vantrel::sim {
namespace {

constexpr std::string_view kEscapeStart = kEscapePrefix.substr(0, 1);
constexpr auto kEscapeByte = static_cast<std::uint8_t>(kEscapeStart[0]);
constexpr std::string_view kDetailQueryStart = kDetailQuery.substr(0, 3);  // ESC ! S
constexpr std::string_view kDetailQueryEnd = kDetailQuery.substr(3);       // CR LF
constexpr std::string_view kDownloadStart = "DOWNLOAD ";
// A header longer than this is not looked for: it would not be one.
constexpr std::size_t kMaxDownloadHeaderBytes = 300;

std::size_t IndexOf(std::span<const std::uint8_t> bytes, std::uint8_t wanted) {
  const void* found = std::memchr(bytes.data(), wanted, bytes.size());
  if (found == nullptr) return bytes.size();
  return static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes.data());
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// DUMP_TEXT comes without a line end: it ends with the comma after "PRINT" or after its
// quoted file name. The length of such a complete command at the start of `line`, or 0.
std::size_t DumpCommandLength(std::string_view line) {
  constexpr std::string_view kDump = "DUMP_TEXT ";
  constexpr std::string_view kPrint = "DUMP_TEXT PRINT,";
  if (!line.starts_with(kDump)) return 0;
  if (line.starts_with(kPrint)) return kPrint.size();
  const std::size_t open = line.find('"');
  if (open == std::string_view::npos) return 0;
  const std::size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != ',') {
    return 0;
  }
  return close + 2;
}

}  // namespace

void SimStreamParser::Parse(std::span<const std::uint8_t> bytes, const CommandSink& sink,
                            const DataSink& data_sink) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (mode_ == Mode::kText) {
      at += ScanText(bytes.subspan(at), sink, data_sink);
    } else if (mode_ == Mode::kDownloadData) {
      at += TakeDownloadData(bytes.subspan(at), data_sink);
    } else if (mode_ == Mode::kSkipLine) {
      at += SkipLine(bytes.subspan(at));
    } else if (ParseEscapeByte(bytes[at], sink)) {
      ++at;
    }
  }
}

void SimStreamParser::Reset() {
  mode_ = Mode::kText;
  line_.clear();
  download_remaining_ = 0;
}

std::size_t SimStreamParser::ScanText(std::span<const std::uint8_t> bytes, const CommandSink& sink,
                                      const DataSink& data_sink) {
  const std::size_t line_end = IndexOf(bytes, '\n');
  const std::size_t stop = IndexOf(bytes.first(line_end), kEscapeByte);
  if (const std::size_t header_end = DownloadHeaderEnd(bytes.first(stop)); header_end != 0) {
    AppendToLine(AsText(bytes.first(header_end)));
    StartDownload(sink, data_sink);
    return header_end;
  }
  AppendToLine(AsText(bytes.first(stop)));
  EmitDumpCommand(sink);
  if (stop == bytes.size() || mode_ == Mode::kSkipLine) return stop;
  if (stop == line_end) {
    EndLine(sink);
  } else {
    mode_ = Mode::kEscape;
  }
  return stop + 1;
}

// Where in `segment` a download header that began on the current line ends (just past its last
// comma), or 0. Only lines starting with "DOWNLOAD " are searched.
std::size_t SimStreamParser::DownloadHeaderEnd(std::span<const std::uint8_t> segment) const {
  if (line_.size() >= kMaxDownloadHeaderBytes) return 0;
  std::string candidate = line_;
  for (std::size_t at = 0; at < segment.size(); ++at) {
    if (candidate.size() >= kMaxDownloadHeaderBytes) return 0;
    const std::size_t compared = std::min(candidate.size(), kDownloadStart.size());
    if (candidate.compare(0, compared, kDownloadStart, 0, compared) != 0) return 0;
    candidate.push_back(static_cast<char>(segment[at]));
    if (segment[at] == ',' && ParseDownloadHeader(candidate)) return at + 1;
  }
  return 0;
}

void SimStreamParser::StartDownload(const CommandSink& sink, const DataSink& data_sink) {
  download_remaining_ = ParseDownloadHeader(line_)->size;
  sink(line_);
  line_.clear();
  mode_ = Mode::kDownloadData;
  if (download_remaining_ == 0) TakeDownloadData({}, data_sink);
}

std::size_t SimStreamParser::TakeDownloadData(std::span<const std::uint8_t> bytes,
                                              const DataSink& data_sink) {
  const auto taken =
      static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), download_remaining_));
  download_remaining_ -= taken;
  const bool last = download_remaining_ == 0;
  if (data_sink) data_sink(bytes.first(taken), last);
  if (last) mode_ = Mode::kText;
  return taken;
}

std::size_t SimStreamParser::SkipLine(std::span<const std::uint8_t> bytes) {
  const std::size_t line_end = IndexOf(bytes, '\n');
  if (line_end == bytes.size()) return line_end;
  mode_ = Mode::kText;
  return line_end + 1;
}

bool SimStreamParser::ParseEscapeByte(std::uint8_t byte, const CommandSink& sink) {
  const char c = static_cast<char>(byte);
  if (mode_ == Mode::kEscape) return ParseEscapeIntro(c);
  if (mode_ == Mode::kEscapeCode) return ParseEscapeCode(c, sink);
  return ParseDetailEnd(c, sink);
}

bool SimStreamParser::ParseEscapeIntro(char c) {
  if (c == kEscapePrefix[1]) {
    mode_ = Mode::kEscapeCode;
    return true;
  }
  mode_ = Mode::kText;
  AppendToLine(kEscapeStart);
  return false;
}

bool SimStreamParser::ParseEscapeCode(char c, const CommandSink& sink) {
  if (c == kDetailQueryStart.back()) {
    mode_ = Mode::kDetailEnd;
    detail_end_matched_ = 0;
    return true;
  }
  mode_ = Mode::kText;
  sink(std::string(kEscapePrefix) + c);
  return true;
}

bool SimStreamParser::ParseDetailEnd(char c, const CommandSink& sink) {
  if (c == kDetailQueryEnd[detail_end_matched_]) {
    if (++detail_end_matched_ < kDetailQueryEnd.size()) return true;
    mode_ = Mode::kText;
    sink(kDetailQuery);
    return true;
  }
  // An incomplete detail query is still recorded; the bytes after it are text.
  mode_ = Mode::kText;
  sink(kDetailQueryStart);
  AppendToLine(kDetailQueryEnd.substr(0, detail_end_matched_));
  return false;
}

void SimStreamParser::AppendToLine(std::string_view text) {
  if (line_.size() + text.size() > kMaxLineBytes) {
    line_.clear();
    mode_ = Mode::kSkipLine;
    return;
  }
  line_.append(text);
}

void SimStreamParser::EmitDumpCommand(const CommandSink& sink) {
  for (std::size_t length = DumpCommandLength(line_); length != 0;
       length = DumpCommandLength(line_)) {
    sink(std::string_view(line_).substr(0, length));
    line_.erase(0, length);
  }
}

void SimStreamParser::EndLine(const CommandSink& sink) {
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  if (!line_.empty()) sink(line_);
  line_.clear();
}

}  // namespace vantrel::sim
