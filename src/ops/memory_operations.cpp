#include "ops/memory_operations.h"

#include <array>
#include <string_view>
#include <vector>

#include "ops/decimal_reply.h"

namespace vantrel {
namespace {

struct MemoryQuestions {
  std::string_view physical;
  std::string_view free;  // empty: the memory cannot tell its free space
  std::string_view files;
};

constexpr std::array<MemoryQuestions, kMemoryDeviceCount> kQuestions = {{
    {"DIAGNOSTIC REPORT DPHYSPACE\r\n", "DIAGNOSTIC REPORT DFREESPACE\r\n",
     "DIAGNOSTIC REPORT DFILELIST\r\n"},
    {"DIAGNOSTIC REPORT FPHYSPACE\r\n", "DIAGNOSTIC REPORT FFREESPACE\r\n",
     "DIAGNOSTIC REPORT FFILELIST\r\n"},
    {"DIAGNOSTIC REPORT CPHYSPACE\r\n", "", "DIAGNOSTIC REPORT CFILELIST\r\n"},
}};

constexpr std::array<std::string_view, kMemoryDeviceCount> kKillCommands = {
    "KILL \"*.*\"\r\n", "KILL F,\"*.*\"\r\n", "KILL E,\"*.*\"\r\n"};

// Asks one number; a payload without digits stores 0, still marked as known.
ResultCode AskNumber(LinkLayer& link, std::string_view question, bool& known, std::int32_t& value) {
  ReplyBuffer reply;
  const ResultCode result = link.QueryFramedReply(question, reply);
  if (result != kResultOk) return result;
  known = true;
  value = ParseDecimalInteger(reply.view());
  return kResultOk;
}

// A list that would pass the text's capacity fails the read (the link layer refuses to cut
// it): a list cut short would look complete and hide files from the technician.
ResultCode AskFileList(LinkLayer& link, std::string_view question, std::string& file_list) {
  std::vector<char> text(DeviceMemoryBlock::kFileListCapacity);
  std::uint32_t total = 0;
  const ResultCode result = link.QueryFramedList(question, text, total);
  if (result == kResultOk) file_list.assign(text.data(), total);
  return result;
}

ResultCode ReadBlock(LinkLayer& link, const MemoryQuestions& questions, DeviceMemoryBlock& block) {
  ResultCode result =
      AskNumber(link, questions.physical, block.physical_known, block.physical_space);
  if (result == kResultOk && !questions.free.empty()) {
    result = AskNumber(link, questions.free, block.free_known, block.free_space);
  }
  if (result == kResultOk) result = AskFileList(link, questions.files, block.file_list);
  return result;
}

}  // namespace

ResultCode ReadFileList(LinkLayer& link, InterfaceKind interface, MemoryInfo& info) {
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  ReplyBuffer announcement;
  // The announcement's answer is required, but what it says is not used.
  if (const ResultCode r = link.QueryFramedReply(InterfaceAnnouncement(interface), announcement);
      r != kResultOk) {
    return r;
  }
  for (std::size_t device = 0; device < kQuestions.size(); ++device) {
    if (const ResultCode r = ReadBlock(link, kQuestions[device], info.blocks[device]);
        r != kResultOk) {
      return r;
    }
  }
  return kResultOk;
}

ResultCode FormatMemory(LinkLayer& link, InterfaceKind interface, MemoryDevice device) {
  if (!IsValidMemoryDevice(device)) return kResultUnknownError;
  LinkConnection connection(link, interface);
  if (!connection.is_open()) return kResultPortOpenError;
  return link.SendCommandText(kKillCommands[static_cast<std::size_t>(device)]);
}

}  // namespace vantrel
