#pragma once

#include <optional>
#include <string>

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
  std::string family;
  bool embolden = false;
  // A shear or scale applied to every glyph (2 x 2, row major); identity when none.
  double matrix[4] = {1, 0, 0, 1};
};

// Asks the system's font configuration; nothing when it knows no font at all.
std::optional<InstalledFont> FindInstalledFont(const FontRequest& wanted);

}  // namespace vantrel
