#include "cli/fleet/fleet_run.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/common/progress_bar.h"

namespace vantrel::cli {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> g_interrupts{0};
std::atomic<bool> g_output_gone{false};

extern "C" void CountInterrupt(int) {
  g_interrupts.fetch_add(1, std::memory_order_relaxed);
}

extern "C" void NoteOutputGone(int) {
  g_output_gone.store(true, std::memory_order_relaxed);
}

// The signals that stop a run instead of ending the program: Ctrl-C, a kill, a terminal that
// hangs up. Each is counted.
constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// Counts the stop signals while it lives, and notes SIGPIPE: the reader of the output went
// away, which stops the run as one interrupt would however often later writes raise it.
class InterruptCounter {
 public:
  InterruptCounter() {
    g_interrupts = 0;
    g_output_gone = false;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
      Install(kStopSignals[i], CountInterrupt, old_[i]);
    }
    Install(SIGPIPE, NoteOutputGone, old_pipe_);
  }
  ~InterruptCounter() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
      sigaction(kStopSignals[i], &old_[i], nullptr);
    }
    sigaction(SIGPIPE, &old_pipe_, nullptr);
  }
  InterruptCounter(const InterruptCounter&) = delete;
  InterruptCounter& operator=(const InterruptCounter&) = delete;

  int count() const {
    const int counted = g_interrupts.load(std::memory_order_relaxed);
    return std::max(counted, g_output_gone.load(std::memory_order_relaxed) ? 1 : 0);
  }

 private:
  static void Install(int signal, void (*handler)(int), struct sigaction& old) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, &old);
  }

  std::array<struct sigaction, kStopSignals.size()> old_{};
  struct sigaction old_pipe_ {};
};

// Blocks the stop signals on this thread while it lives; threads started meanwhile keep them
// blocked. SIGPIPE stays: the workers' sockets never raise it.
class StopSignalsBlocked {
 public:
  StopSignalsBlocked() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : kStopSignals) sigaddset(&stops, signal);
    pthread_sigmask(SIG_BLOCK, &stops, &old_);
  }
  ~StopSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  StopSignalsBlocked(const StopSignalsBlocked&) = delete;
  StopSignalsBlocked& operator=(const StopSignalsBlocked&) = delete;

 private:
  sigset_t old_{};
};

// The state the workers share with the calling thread.
class FleetBoard {
 public:
  FleetBoard(const std::vector<FleetTarget>& targets, std::size_t workers,
             const FleetRunSettings& settings)
      : targets_(targets),
        links_(workers, nullptr),
        results_(targets.size()),
        canary_(std::min(settings.canary, targets.size())),
        canary_passed_(settings.canary_passed),
        max_failures_(settings.max_failures),
        gate_(canary_ > 0 ? canary_ : targets.size()) {}

  // The next printer to start, or none once all started or starting has stopped; waits while
  // the canary is out.
  std::optional<std::size_t> Take(std::size_t worker, LinkLayer& link) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || next_ < gate_ || next_ == targets_.size(); });
    if (stopped_ || next_ == targets_.size()) return std::nullopt;
    links_[worker] = &link;
    return next_++;
  }

  void Finish(std::size_t worker, std::size_t index, FleetResult result) {
    {
      std::lock_guard lock(mutex_);
      links_[worker] = nullptr;
      Judge(index, result.outcome);
      results_[index] = std::move(result);
      finished_.push_back(index);
    }
    changed_.notify_all();
  }

  void WorkerDone() {
    {
      std::lock_guard lock(mutex_);
      ++workers_done_;
    }
    changed_.notify_all();
  }

  void StopStarting() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  void CancelInFlight() {
    std::lock_guard lock(mutex_);
    for (LinkLayer* link : links_) {
      if (link != nullptr) link->Cancel();
    }
  }

  // Waits a moment for news; returns the printers finished since the last call, and whether
  // every worker has ended.
  std::vector<std::size_t> Wait(bool& all_done) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(100),
                      [&] { return !finished_.empty() || workers_done_ == links_.size(); });
    all_done = workers_done_ == links_.size() && finished_.empty();
    std::vector<std::size_t> finished;
    finished.swap(finished_);
    return finished;
  }

  FleetRunEnd End() {
    std::lock_guard lock(mutex_);
    FleetRunEnd end;
    end.not_started = targets_.size() - next_;
    end.stopped = stop_;
    results_.resize(next_);
    end.results = std::move(results_);
    return end;
  }

  const FleetResult& result(std::size_t index) const { return results_[index]; }

 private:
  // Opens the gate behind the canary once all of it passed, or stops at its first failure or
  // at the failure limit.
  void Judge(std::size_t index, FleetOutcome outcome) {
    if (index < canary_) {
      if (!canary_passed_(outcome)) Stop(FleetStop::kCanary);
      if (++canary_done_ == canary_) gate_ = targets_.size();
    }
    if (!FleetSucceeded(outcome)) ++failures_;
    if (max_failures_ > 0 && failures_ >= max_failures_) Stop(FleetStop::kMaxFailures);
  }

  // The first reason to stop is the one reported, and only when it leaves printers out.
  void Stop(FleetStop why) {
    if (!stopped_ && next_ < targets_.size()) stop_ = why;
    stopped_ = true;
  }

  const std::vector<FleetTarget>& targets_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<LinkLayer*> links_;  // each worker's printer in flight
  std::vector<FleetResult> results_;
  std::vector<std::size_t> finished_;  // not yet passed on
  const std::size_t canary_;
  const CanaryRule canary_passed_;
  const std::size_t max_failures_;
  std::size_t gate_;  // printers at and after it wait for the canary
  std::size_t canary_done_ = 0;
  std::size_t failures_ = 0;
  std::size_t next_ = 0;
  std::size_t workers_done_ = 0;
  bool stopped_ = false;
  FleetStop stop_ = FleetStop::kNone;
};

void Work(FleetBoard& board, std::size_t worker, const std::vector<FleetTarget>& targets,
          const FleetJob& job, std::chrono::milliseconds read_wait) {
  while (true) {
    LinkLayer link;
    if (read_wait.count() > 0) {
      LinkWaits waits = link.waits();
      waits.net_read = read_wait;
      link.SetWaits(waits);
    }
    const std::optional<std::size_t> index = board.Take(worker, link);
    if (!index) break;
    const auto start = Clock::now();
    FleetResult result = job(targets[*index], link);
    result.overrides = targets[*index].overrides;
    result.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    board.Finish(worker, *index, std::move(result));
  }
  board.WorkerDone();
}

void DrawProgress(std::size_t done, std::size_t total, std::size_t failed, int interrupts) {
  const char* stopping = interrupts == 0 ? ""
                         : interrupts == 1
                             ? " - stopping: finishing those in flight (Ctrl-C again ends them)"
                             : " - ending those in flight";
  DrawBarLine(BarLine("", done, total,
                      std::to_string(done) + "/" + std::to_string(total) + " printers, " +
                          std::to_string(failed) + " failed" + stopping));
}

}  // namespace

FleetRunEnd RunFleet(const std::vector<FleetTarget>& targets, const FleetJob& job,
                     const FleetRunSettings& settings) {
  const auto start = Clock::now();
  InterruptCounter interrupts;
  const std::size_t workers = std::max<std::size_t>(1, std::min(settings.parallel, targets.size()));
  FleetBoard board(targets, workers, settings);
  std::vector<std::thread> threads;
  threads.reserve(workers);
  {
    // The workers block the stop signals, so that this thread alone counts them and no
    // printer exchange is interrupted by one.
    const StopSignalsBlocked blocked;
    for (std::size_t worker = 0; worker < workers; ++worker) {
      threads.emplace_back(Work, std::ref(board), worker, std::cref(targets), std::cref(job),
                           settings.read_wait);
    }
  }
  std::size_t done = 0;
  std::size_t failed = 0;
  bool all_done = false;
  while (!all_done) {
    for (const std::size_t index : board.Wait(all_done)) {
      const FleetResult& result = board.result(index);
      ++done;
      if (!FleetSucceeded(result.outcome)) ++failed;
      if (settings.progress) ClearBarLine();
      if (settings.on_result) settings.on_result(result);
    }
    const int count = interrupts.count();
    if (count >= 1) board.StopStarting();
    // Again each time: a printer may have started just before the stop.
    if (count >= 2) board.CancelInFlight();
    if (settings.progress) DrawProgress(done, targets.size(), failed, count);
  }
  for (std::thread& thread : threads) thread.join();
  if (settings.progress) ClearBarLine();
  FleetRunEnd end = board.End();
  end.interrupted = interrupts.count() > 0;
  end.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  return end;
}

}  // namespace vantrel::cli
