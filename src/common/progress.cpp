#include "common/progress.h"

#include <algorithm>
#include <thread>

namespace vantrel {

ProgressOrigin ProgressOriginFor(int left, int top, int width, int height) {
  return {left + width / 3, top + height / 3};
}

void Progress::BeginProgress(int mode, int first_step, int step, std::string_view caption) {
  mode_ = mode;
  step_ = step;
  active_ = true;
  bar_ = 0;
  if (view_ != nullptr) view_->Show(origin_, caption);
  MoveBar(first_step);
}

void Progress::ReportProgress(int mode, int value) {
  if (!active_ || mode != mode_) return;
  MoveBar(mode == kProgressStep ? bar_ + step_ : value);
}

void Progress::EndProgress() {
  if (!active_) return;
  // The short pause lets a fast operation's window be seen at all.
  if (end_delay_.count() > 0) std::this_thread::sleep_for(end_delay_);
  MoveBar(100);
  active_ = false;
  if (view_ != nullptr) view_->Close();
}

void Progress::MoveBar(int value) {
  const int clamped = std::clamp(value, 0, 100);
  if (clamped == bar_) return;
  bar_ = clamped;
  if (view_ != nullptr) view_->SetBar(bar_);
}

}  // namespace vantrel
