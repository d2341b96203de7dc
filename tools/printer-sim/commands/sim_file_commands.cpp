// The printer's memories: sizes and file lists, downloads, erasing a memory, loading a file.
#include <array>

#include "engine/sim_command_families.h"
#include "engine/sim_download_header.h"

namespace vantrel::sim {
namespace {

constexpr std::array<char, 3> kReportLetters = {'D', 'F', 'C'};

SimMemory& MemoryOf(SimCommandContext& context, std::size_t memory) {
  return context.state().memory.memories[memory];
}

void AddMemoryReports(SimCommandRegistry& registry, std::size_t memory) {
  const std::string report = std::string("DIAGNOSTIC REPORT ") + kReportLetters[memory];
  registry.AddExact(report + "PHYSPACE", [memory](SimCommandContext& context) {
    context.ReplyFrame(std::to_string(MemoryOf(context, memory).physical_kb));
  });
  // A memory card cannot tell its free space; the question goes unanswered.
  if (memory != 2) {
    registry.AddExact(report + "FREESPACE", [memory](SimCommandContext& context) {
      context.ReplyFrame(std::to_string(MemoryOf(context, memory).free_kb));
    });
  }
  registry.AddExact(report + "FILELIST", [memory](SimCommandContext& context) {
    for (const auto& file : MemoryOf(context, memory).files) context.ReplyFrame(file.first);
    context.ReplyFrame("");
  });
}

// KILL "*.*", KILL F,"*.*", KILL E,"*.*": every file of the memory goes.
void AddKill(SimCommandRegistry& registry) {
  constexpr std::array<std::string_view, 3> kPatterns = {"\"*.*\"", "F,\"*.*\"", "E,\"*.*\""};
  for (std::size_t memory = 0; memory < kPatterns.size(); ++memory) {
    registry.AddExact(
        "KILL " + std::string(kPatterns[memory]),
        [memory](SimCommandContext& context) { EraseFiles(MemoryOf(context, memory)); });
  }
}

// The stream parser has already taken the header apart from the data that follows it.
void OnDownload(SimCommandContext& context) {
  const auto header = ParseDownloadHeader(context.command());
  if (!header) return;
  BeginDownload(context.state().memory, header->memory, header->name, header->size);
}

// LOAD "NAME": the file's bytes, unframed; an unknown name is not answered.
void OnLoad(SimCommandContext& context) {
  const std::string_view argument = context.argument();
  if (argument.size() < 2 || argument.front() != '"' || argument.back() != '"') return;
  if (const std::string* bytes =
          FindFile(context.state().memory, argument.substr(1, argument.size() - 2))) {
    context.ReplyRaw(*bytes);
  }
}

}  // namespace

void RegisterFileCommands(SimCommandRegistry& registry) {
  for (std::size_t memory = 0; memory < kReportLetters.size(); ++memory) {
    AddMemoryReports(registry, memory);
  }
  AddKill(registry);
  registry.AddPrefix("DOWNLOAD ", OnDownload);
  registry.AddPrefix("LOAD ", OnLoad);
}

}  // namespace vantrel::sim
