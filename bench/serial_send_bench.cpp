// A 4 MiB block sent with the raw-block operation over the serial link to a pseudo-terminal,
// against a plain loop of 64-byte writes on the same kind of descriptor.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

#include "ops/dispatcher.h"
#include "pty_drain.h"
#include "ratio_reporter.h"

namespace {

constexpr std::size_t kBlockSize = 4u << 20;

const std::vector<std::uint8_t>& Block() {
  static const std::vector<std::uint8_t> block(kBlockSize, 0x5A);
  return block;
}

vantrel::bench::PtyDrain& Drain() {
  static vantrel::bench::PtyDrain drain;
  return drain;
}

void BM_SerialSendRawBlock(benchmark::State& state) {
  vantrel::SerialSettings serial;
  serial.port_name = Drain().slave_path();
  vantrel::LinkLayer link;
  link.BindLinkSettings(&serial, nullptr, nullptr);
  link.progress().SetEndDelay(std::chrono::milliseconds(0));
  for (auto _ : state) {
    if (!vantrel::RunPrinterOperation(link, vantrel::kOpSendRawBlock, vantrel::kInterfaceCom,
                                      vantrel::RawBlock{Block()})
             .ok()) {
      state.SkipWithError("send failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockSize));
}

void BM_PlainPtyWriteLoop(benchmark::State& state) {
  for (auto _ : state) {
    const int fd = ::open(Drain().slave_path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    const auto& block = Block();
    for (std::size_t offset = 0; offset < block.size(); offset += 64) {
      if (::write(fd, block.data() + offset, 64) != 64) state.SkipWithError("write failed");
    }
    ::tcdrain(fd);
    ::close(fd);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlockSize));
}

BENCHMARK(BM_PlainPtyWriteLoop)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SerialSendRawBlock)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return vantrel::bench::RunWithRatios(argc, argv,
                                       {{"BM_SerialSendRawBlock", "BM_PlainPtyWriteLoop"}});
}
