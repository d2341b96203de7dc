// A 64 MiB block sent with the raw-block operation over loopback TCP, against a plain loop of
// 1024-byte sends of the same bytes on a default socket.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "loopback_sink.h"
#include "ops/dispatcher.h"
#include "ratio_reporter.h"

namespace {

constexpr std::size_t kBlockSize = 64u << 20;

const std::vector<std::uint8_t>& Block() {
  static const std::vector<std::uint8_t> block = [] {
    std::vector<std::uint8_t> bytes(kBlockSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131);
    return bytes;
  }();
  return block;
}

vantrel::bench::LoopbackSink& Sink() {
  static vantrel::bench::LoopbackSink sink;
  return sink;
}

void BM_SendRawBlock(benchmark::State& state) {
  vantrel::NetworkTarget target{"127.0.0.1", Sink().port()};
  vantrel::LinkLayer link;
  link.BindLinkSettings(nullptr, nullptr, &target);
  link.progress().SetEndDelay(std::chrono::milliseconds(0));
  for (auto _ : state) {
    const vantrel::LinkFailure sent = vantrel::RunPrinterOperation(
        link, vantrel::kOpSendRawBlock, vantrel::kInterfaceEthernet, vantrel::RawBlock{Block()});
    if (!sent.ok()) state.SkipWithError("send failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockSize));
}

void BM_PlainSendLoop(benchmark::State& state) {
  for (auto _ : state) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(Sink().port());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
      state.SkipWithError("connect failed");
    }
    const auto& block = Block();
    for (std::size_t offset = 0; offset < block.size(); offset += 1024) {
      std::size_t sent = 0;
      while (sent < 1024) {
        const ssize_t n = ::send(fd, block.data() + offset + sent, 1024 - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
      }
    }
    ::close(fd);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockSize));
}

BENCHMARK(BM_PlainSendLoop)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SendRawBlock)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWithRatios(argc, argv, {{"BM_SendRawBlock", "BM_PlainSendLoop"}});
}
