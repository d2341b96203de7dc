#pragma once

#include <CLI/CLI.hpp>
#include <map>
#include <optional>
#include <string>

#include "fonts/font_job.h"
#include "fonts/installed_font.h"

namespace vantrel::cli {

// The names of --encode, --language and --pitch.
inline const std::map<std::string, int> kFontEncodes = {{"standard", kStandardEncode},
                                                        {"asian", kAsianFontEncode},
                                                        {"table", kEncodeByTable},
                                                        {"asian-table", kEncodeByTableAsian}};
inline const std::map<std::string, int> kFontLanguages = {{"tc", kLanguageTraditionalChinese},
                                                          {"sc", kLanguageSimplifiedChinese},
                                                          {"ko", kLanguageKorean},
                                                          {"ja", kLanguageJapanese}};
inline const std::map<std::string, int> kFontPitches = {{"fixed", kPitchFixed},
                                                        {"variable", kPitchVariable}};

// The options of font make and font download as typed.
struct MakeOptions {
  FontRequest font;
  std::string encode;
  int first = 32;
  int last = 127;
  std::string language = "tc";
  std::string table_path;
  std::string pitch;
  std::optional<int> width;
  std::optional<int> height;
  std::optional<int> italic_width;
  std::string out;
  bool report = false;
  bool json = false;
};

// Everything but where the font goes, which make and download say differently.
void AddMakeOptions(CLI::App& command, MakeOptions& options);

// Which number is outside its range ("--dpi 0 is outside 1..2400"), or empty: codes are bytes,
// cell sides and the italic width are pixels within the largest cell.
std::string NumberRefusal(const MakeOptions& options);

}  // namespace vantrel::cli
