#include "fonts/glyph_pipeline.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "fonts/font_job.h"

namespace vantrel {
namespace {

// Large enough that threads rarely meet at the counter, small enough that the first glyphs
// reach the file (and the progress bar) at once.
constexpr std::size_t kChunkGlyphs = 128;

struct ChunkGlyph {
  std::size_t offset = 0;
  int byte_count = 0;
  int width = 0;
  int height = 0;
  bool missing = false;
};

struct Chunk {
  std::vector<std::uint8_t> bytes;
  std::vector<ChunkGlyph> glyphs;
  bool done = false;
};

class Pipeline {
 public:
  Pipeline(const GlyphRendererFactory& factory, AnsiCodePage code_page, int pitch, int cell_height,
           std::span<const GlyphRequest> requests, const CancelRequest& cancelled)
      : factory_(factory),
        cancelled_(cancelled),
        code_page_(code_page),
        pitch_(pitch),
        cell_height_(cell_height),
        requests_(requests),
        chunks_((requests.size() + kChunkGlyphs - 1) / kChunkGlyphs) {}

  bool Run(const GlyphSink& sink) {
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::jthread> workers;
    for (std::size_t i = 0; i < std::min(cores, chunks_.size()); ++i) {
      workers.emplace_back([this] { Work(); });
    }
    const bool taken = TakeAll(sink);
    stop_ = true;
    workers.clear();  // joins
    return taken && !failed_;
  }

 private:
  void Work() {
    try {
      std::unique_ptr<GlyphRenderer> renderer = factory_();
      if (!renderer) return Fail();
      const AnsiCodec codec(code_page_);
      std::vector<std::uint8_t> buffer(kMaxGlyphBytes);
      for (std::size_t k = next_++; k < chunks_.size() && !stop_; k = next_++) {
        if (!RenderChunk(*renderer, codec, k, buffer)) return Fail();
      }
    } catch (const std::exception&) {
      Fail();
    }
  }

  // False when the run was cancelled before the chunk was done.
  bool RenderChunk(GlyphRenderer& renderer, const AnsiCodec& codec, std::size_t k,
                   std::span<std::uint8_t> buffer) {
    Chunk& chunk = chunks_[k];
    const std::size_t end = std::min(requests_.size(), (k + 1) * kChunkGlyphs);
    for (std::size_t i = k * kChunkGlyphs; i < end; ++i) {
      if (Cancelled()) return false;
      GlyphCell cell{.pitch = pitch_,
                     .cell_width = requests_[i].cell_width,
                     .cell_height = cell_height_,
                     .code = requests_[i].code,
                     .text = codec.DecodeCode(requests_[i].code)};
      const int count = renderer.RenderGlyph(cell, buffer);
      chunk.glyphs.push_back(
          {chunk.bytes.size(), count, cell.produced_width, cell.produced_height, cell.missing});
      chunk.bytes.insert(chunk.bytes.end(), buffer.begin(), buffer.begin() + count);
    }
    const std::lock_guard lock(mutex_);
    chunk.done = true;
    ready_.notify_all();
    return true;
  }

  bool Cancelled() const { return cancelled_ && cancelled_(); }

  void Fail() {
    const std::lock_guard lock(mutex_);
    failed_ = true;
    ready_.notify_all();
  }

  bool TakeAll(const GlyphSink& sink) {
    std::size_t number = 0;
    for (Chunk& chunk : chunks_) {
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return chunk.done || failed_; });
        if (failed_) return false;
      }
      for (const ChunkGlyph& glyph : chunk.glyphs) {
        if (Cancelled()) return false;
        const RenderedGlyph rendered{
            glyph.width, glyph.height, glyph.missing,
            std::span(chunk.bytes)
                .subspan(glyph.offset, static_cast<std::size_t>(glyph.byte_count))};
        if (!sink(number++, rendered)) return false;
      }
      chunk = Chunk{};  // the written glyphs are no longer needed
    }
    return true;
  }

  const GlyphRendererFactory& factory_;
  const CancelRequest& cancelled_;
  AnsiCodePage code_page_;
  int pitch_;
  int cell_height_;
  std::span<const GlyphRequest> requests_;
  std::vector<Chunk> chunks_;
  std::atomic<std::size_t> next_ = 0;
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::condition_variable ready_;
  bool failed_ = false;
};

}  // namespace

bool RenderInOrder(const GlyphRendererFactory& factory, AnsiCodePage code_page, int pitch,
                   int cell_height, std::span<const GlyphRequest> requests, const GlyphSink& sink,
                   const CancelRequest& cancelled) {
  Pipeline pipeline(factory, code_page, pitch, cell_height, requests, cancelled);
  return pipeline.Run(sink);
}

}  // namespace vantrel
