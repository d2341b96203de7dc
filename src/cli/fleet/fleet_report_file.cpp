#include "cli/fleet/fleet_report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace vantrel::cli {
namespace {

// Lines written since are flushed to the disk at most this often: a power cut loses at most
// this much of the report, and a large fleet does not wait on the disk for every printer.
constexpr std::chrono::seconds kSyncEvery{1};

}  // namespace

HostFileResult FleetReportFile::Open(const std::filesystem::path& path) {
  path_ = path;
  // Not blocking: a FIFO without a reader is refused below instead of holding the run.
  fd_ =
      UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0666));
  if (fd_.get() < 0) return HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd_.get(), &info) != 0) {
    failure_ = HostFileFailure(HostFileError::kOpen, "cannot open", path, errno);
  } else if (!S_ISREG(info.st_mode)) {
    failure_ = {HostFileError::kOpen, 0, path.string() + " is not a regular file"};
  } else if (::ftruncate(fd_.get(), 0) != 0) {
    failure_ = HostFileFailure(HostFileError::kWrite, "cannot empty", path, errno);
  }
  if (!failure_.ok()) fd_ = UniqueFd();
  synced_ = std::chrono::steady_clock::now();
  return failure_;
}

void FleetReportFile::Append(std::string_view line) {
  if (fd_.get() < 0 || !failure_.ok()) return;
  const std::string whole = std::string(line) + '\n';
  const off_t before = ::lseek(fd_.get(), 0, SEEK_END);
  // One write in the normal case; a short one goes on, to learn why it stopped.
  for (std::string_view rest = whole; !rest.empty();) {
    const ssize_t written = ::write(fd_.get(), rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written < 0 ? errno : ENOSPC;
      // A piece of a line would break the reader of every line after it.
      if (before >= 0) static_cast<void>(::ftruncate(fd_.get(), before));
      Fail("cannot write", error);
      return;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  if (std::chrono::steady_clock::now() - synced_ >= kSyncEvery) {
    if (::fdatasync(fd_.get()) != 0) Fail("cannot write", errno);
    synced_ = std::chrono::steady_clock::now();
  }
}

HostFileResult FleetReportFile::Close() {
  if (fd_.get() < 0) return failure_;
  if (failure_.ok() && ::fsync(fd_.get()) != 0) Fail("cannot write", errno);
  if (!fd_.Close() && failure_.ok()) Fail("cannot write", errno);
  return failure_;
}

void FleetReportFile::Fail(std::string_view what, int error_number) {
  failure_ = HostFileFailure(HostFileError::kWrite, what, path_, error_number);
}

}  // namespace vantrel::cli
