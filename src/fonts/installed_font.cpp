#include "fonts/installed_font.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace vantrel {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* Text(const char* text) {
  return reinterpret_cast<const FcChar8*>(text);
}

}  // namespace

std::optional<InstalledFont> FindInstalledFont(const FontRequest& wanted) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern.get(), FC_FAMILY, Text(wanted.family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, wanted.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, wanted.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(pattern.get(), FC_SIZE, wanted.points);
  FcPatternAddDouble(pattern.get(), FC_DPI, wanted.dpi);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    return std::nullopt;
  }
  InstalledFont font;
  font.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &font.face_index);
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    font.families.emplace_back(reinterpret_cast<const char*>(family));
  }
  FcBool embolden = FcFalse;
  FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
  font.embolden = embolden == FcTrue;
  FcMatrix* matrix = nullptr;
  if (FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch) {
    font.matrix[0] = matrix->xx;
    font.matrix[1] = matrix->xy;
    font.matrix[2] = matrix->yx;
    font.matrix[3] = matrix->yy;
  }
  return font;
}

bool AnswersToFamily(const InstalledFont& font, std::string_view family) {
  const auto same_letter = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  return std::ranges::any_of(font.families, [&](const std::string& name) {
    return std::ranges::equal(name, family, same_letter);
  });
}

}  // namespace vantrel
