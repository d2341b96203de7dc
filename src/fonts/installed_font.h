#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A font as the user chooses it: family, style and point size; `dpi` turns points into pixels
// (the screen's resolution in the app, 96 in the command-line tool).
struct FontRequest {
  std::string family;
  double points = 10;
  bool bold = false;
  bool italic = false;
  int dpi = 96;
};

// The installed font file that best matches a FontRequest, and what the match asks the renderer
// to synthesise when the family has no such style.
struct InstalledFont {
  std::string file;
  int face_index = 0;
  // Every family name the font answers to (a Chinese font has its English and Chinese names).
  std::vector<std::string> families;
  bool embolden = false;
  // A shear or scale applied to every glyph (2 x 2, row major); identity when none.
  double matrix[4] = {1, 0, 0, 1};
};

// Asks the system's font configuration; nothing when it knows no font at all. For a family it
// does not know it offers the nearest font of another family.
std::optional<InstalledFont> FindInstalledFont(const FontRequest& wanted);

// True when `family` is one of the font's family names, letters in any case.
bool AnswersToFamily(const InstalledFont& font, std::string_view family);

}  // namespace vantrel
