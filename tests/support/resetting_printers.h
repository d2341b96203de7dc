#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/sim_printer.h"
#include "servers/sim_tcp_server.h"

namespace vantrel::testing {

// Printers that, like a printer resetting, cut every connection once a command beginning with a
// given text reaches them: that command's own connection and every later one. The faults change
// on a thread of their own, as the server's thread (which sees the command) cannot wait for
// itself.
class ResettingPrinters {
 public:
  ~ResettingPrinters() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  void Watch(sim::SimPrinter& printer, sim::SimTcpServer& server, std::string trigger) {
    printer.SetCommandObserver([this, &server, trigger](std::string_view command) {
      if (!command.starts_with(trigger)) return;
      {
        std::lock_guard lock(mutex_);
        due_.push_back(&server);
      }
      changed_.notify_all();
    });
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return done_ || !due_.empty(); });
      if (done_) return;
      sim::SimTcpServer* server = due_.back();
      due_.pop_back();
      lock.unlock();
      sim::SimFaults faults;
      faults.close_after_bytes = 1;
      faults.reset_after_sent_bytes = 0;
      server->SetFaults(faults);
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<sim::SimTcpServer*> due_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace vantrel::testing
