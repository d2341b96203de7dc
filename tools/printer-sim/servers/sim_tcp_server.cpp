#include "servers/sim_tcp_server.h"

#include <algorithm>

namespace vantrel::sim {

SimTcpServer::SimTcpServer(SimPrinter& printer, std::size_t received_limit)
    : printer_(printer), received_limit_(received_limit) {}

SimFailure SimTcpServer::Start(const std::string& host, std::uint16_t port) {
  if (thread_.joinable()) return {"already started"};
  SimFailure failure = ResolveListenAddress(host, port, address_);
  if (failure.ok() && !SharesWake()) failure = own_wake_.Open();
  if (failure.ok()) failure = OpenListener(address_, listener_);
  if (!failure.ok()) return failure;
  {
    std::lock_guard lock(mutex_);
    running_ = true;
    stop_requested_ = false;
    port_ = PortOf(address_);
  }
  // Faults set before Start, a refusal above all, hold from the first moment.
  ApplyFaultChanges();
  thread_ = std::thread(&SimTcpServer::Run, this);
  return {};
}

std::uint16_t SimTcpServer::port() const {
  std::lock_guard lock(mutex_);
  return port_;
}

void SimTcpServer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stop_requested_ = true;
  }
  wake_->Notify();
  thread_.join();
  {
    std::lock_guard lock(mutex_);
    running_ = false;
  }
  changed_.notify_all();
}

void SimTcpServer::SetFaults(const SimFaults& faults) {
  std::unique_lock lock(mutex_);
  faults_ = faults;
  const std::uint64_t version = ++faults_version_;
  // The serving thread itself (a command observer) cannot wait for itself: the faults take
  // effect before its next wait, once the bytes in hand are dealt with.
  if (!running_ || std::this_thread::get_id() == thread_.get_id() || SharesWake()) return;
  wake_->Notify();
  changed_.wait(lock, [&] { return applied_version_ >= version || !running_; });
}

std::vector<std::uint8_t> SimTcpServer::Received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void SimTcpServer::ClearReceived() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

std::size_t SimTcpServer::ConnectionCount() const {
  std::lock_guard lock(mutex_);
  return connection_count_;
}

bool SimTcpServer::WaitForConnectionsClosed(std::size_t count,
                                            std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return closed_count_ >= count; });
}

bool SimTcpServer::WaitForReceived(std::size_t bytes, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return received_.size() >= bytes; });
}

void SimTcpServer::Record(std::span<const std::uint8_t> bytes) {
  {
    std::lock_guard lock(mutex_);
    const std::size_t room = received_limit_ - std::min(received_limit_, received_.size());
    const auto kept = bytes.first(std::min(room, bytes.size()));
    received_.insert(received_.end(), kept.begin(), kept.end());
  }
  changed_.notify_all();
}

}  // namespace vantrel::sim
