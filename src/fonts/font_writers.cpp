#include "fonts/font_writers.h"

#include <functional>
#include <limits>

#include "common/host_file.h"
#include "fonts/font_encodings.h"
#include "fonts/font_header.h"
#include "fonts/glyph_pipeline.h"

namespace vantrel {
namespace {

// Everything a writer decides; WriteFontFile does the rest the same way for all three.
struct FontLayout {
  FontJob header_job;
  std::vector<GlyphRequest> glyphs = {};
  bool width_fields = false;
  // The percentage to show after glyph i, or -1 for none.
  std::function<int(std::size_t)> progress_after = {};
};

void PutIndexEntry(std::span<std::uint8_t> index, std::size_t number, std::uint16_t code,
                   bool double_byte, std::uint32_t offset) {
  const std::size_t at = number * kGlyphIndexEntrySize;
  index[at] = static_cast<std::uint8_t>(double_byte ? code >> 8 : code);
  index[at + 1] = static_cast<std::uint8_t>(double_byte ? code & 0xFF : 0);
  for (std::size_t i = 0; i < 4; ++i)
    index[at + 2 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
}

// False, with the writer's cause in the report when the writer failed; a writer still sound is
// dropped uncommitted.
bool Failed(HostFileWriter& out, FontReport* report) {
  if (report != nullptr && !out.ok()) report->failure = out.Commit().detail;
  return false;
}

bool WriteFontFile(const FontLayout& layout, const GlyphRendererFactory& factory,
                   Progress* progress, FontReport* report) {
  const FontJob& job = layout.header_job;
  if (!CellFits(job.cell_width, job.cell_height)) return false;
  HostFileWriter out(job.output_path);
  std::vector<std::uint8_t> index(job.index ? layout.glyphs.size() * kGlyphIndexEntrySize : 0);
  if (!out.Write(BuildFontHeader(job)) || !out.Write(index)) return Failed(out, report);

  std::uint64_t offset = kFontHeaderSize + index.size();
  FontReport made;
  const auto take = [&](std::size_t number, const RenderedGlyph& glyph) {
    const GlyphRequest& request = layout.glyphs[number];
    // The index holds 32-bit offsets: a font that outgrows them cannot be addressed.
    if (job.index && offset > std::numeric_limits<std::uint32_t>::max()) return false;
    if (job.index) {
      PutIndexEntry(index, number, request.code, request.double_byte,
                    static_cast<std::uint32_t>(offset));
    }
    if (layout.width_fields) {
      std::uint8_t width[2];
      PutFontField16(width, 0, glyph.width);
      if (!out.Write(width)) return false;
      offset += 2;
    }
    if (!out.Write(glyph.bytes)) return false;
    offset += glyph.bytes.size();
    ++made.glyphs;
    if (glyph.missing) made.missing_codes.push_back(request.code);
    const int percent = layout.progress_after(number);
    if (progress != nullptr && percent >= 0) progress->ReportProgress(kProgressPercent, percent);
    return true;
  };
  if (!RenderInOrder(factory, job.code_page, job.pitch, job.cell_height, layout.glyphs, take,
                     job.cancel_requested) ||
      (job.index && !out.WriteAt(kFontHeaderSize, index)) || !out.Commit().ok()) {
    return Failed(out, report);
  }
  if (report != nullptr) *report = std::move(made);
  return true;
}

std::function<int(std::size_t)> EvenProgress(std::size_t count) {
  return [count](std::size_t i) { return static_cast<int>(i * 100 / count); };
}

bool TableFits(const FontJob& job, std::size_t bytes_per_code) {
  return job.table_count > 0 &&
         static_cast<std::size_t>(job.table_count) * bytes_per_code <= job.table.size();
}

}  // namespace

bool WriteSingleByteFont(const FontJob& job, const GlyphRendererFactory& factory,
                         Progress* progress, FontReport* report) {
  if (!job.index && (job.first_code < 0 || job.last_code > 255)) return false;
  if (job.last_code < job.first_code) return false;
  const bool by_table = !job.table.empty();
  if (by_table && !TableFits(job, 1)) return false;
  FontLayout layout;
  layout.header_job = job;
  if (by_table) {
    for (int i = 0; i < job.table_count; ++i) {
      layout.glyphs.push_back({job.table[static_cast<std::size_t>(i)], false, job.cell_width});
    }
  } else {
    for (int code = job.first_code; code <= job.last_code; ++code) {
      layout.glyphs.push_back({static_cast<std::uint16_t>(code), false, job.cell_width});
    }
  }
  layout.width_fields = job.pitch == kPitchVariable;
  // The printer finds a variable-width glyph only through the index.
  layout.header_job.index = job.index || layout.width_fields;
  layout.header_job.glyph_count = static_cast<int>(layout.glyphs.size());
  layout.progress_after = EvenProgress(layout.glyphs.size());
  return WriteFontFile(layout, factory, progress, report);
}

bool WriteAsianTableFont(const FontJob& job, const GlyphRendererFactory& factory,
                         Progress* progress, FontReport* report) {
  if (!TableFits(job, 2)) return false;
  FontLayout layout;
  layout.header_job = job;
  for (int i = 0; i < job.table_count; ++i) {
    const std::size_t at = 2 * static_cast<std::size_t>(i);
    const auto code = static_cast<std::uint16_t>(job.table[at] << 8 | job.table[at + 1]);
    layout.glyphs.push_back({code, true, job.cell_width});
  }
  layout.width_fields = job.pitch == kPitchVariable;
  layout.header_job.index = true;
  layout.header_job.glyph_count = job.table_count;
  layout.progress_after = EvenProgress(layout.glyphs.size());
  return WriteFontFile(layout, factory, progress, report);
}

bool WriteAsianFont(const FontJob& job, const GlyphRendererFactory& factory, Progress* progress,
                    FontReport* report) {
  if (job.pitch != kPitchFixed || job.language < 0 || job.language >= kAsianLanguageCount) {
    return false;
  }
  const AsianCodeSpace& space = AsianCodeSpaceOf(job.language);
  FontLayout layout;
  layout.header_job = job;
  // Half-width characters take half the cell, truncated.
  for (const std::uint8_t code : ExpandRanges(space.single_bytes)) {
    layout.glyphs.push_back({code, false, job.cell_width / 2});
  }
  const std::size_t single_count = layout.glyphs.size();
  const std::vector<std::uint8_t> trails = ExpandRanges(space.trail_bytes);
  const std::vector<std::uint8_t> leads = ExpandRanges(space.lead_bytes);
  for (const std::uint8_t lead : leads) {
    for (const std::uint8_t trail : trails) {
      layout.glyphs.push_back(
          {static_cast<std::uint16_t>(lead << 8 | trail), true, job.cell_width});
    }
  }
  // Progress is shown after each lead byte's last glyph; the single bytes show none.
  layout.progress_after = [&space, leads, single_count, row = trails.size()](std::size_t i) {
    if (i < single_count || (i - single_count + 1) % row != 0) return -1;
    return AsianProgressAfterLead(space, leads[(i - single_count) / row]);
  };
  return WriteFontFile(layout, factory, progress, report);
}

bool MakeBitmapFont(const FontJob& job, const GlyphRendererFactory& factory, Progress* progress,
                    FontReport* report) {
  if (progress != nullptr) {
    progress->SetProgressOrigin(100, 100);
    progress->BeginProgress(kProgressPercent, 0, 0, kFontProgressCaption);
  }
  bool made = false;
  if (!job.double_byte) {
    made = WriteSingleByteFont(job, factory, progress, report);
  } else if (!job.index) {
    made = WriteAsianFont(job, factory, progress, report);
  } else {
    made = WriteAsianTableFont(job, factory, progress, report);
  }
  if (progress != nullptr) progress->EndProgress();
  return made;
}

}  // namespace vantrel
