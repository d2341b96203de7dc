#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vantrel {

enum ProgressMode : int {
  kProgressStep = 0,     // the bar advances by the step on every WriteLink
  kProgressPercent = 1,  // the bar shows the percentage of the block sent
};

inline constexpr std::string_view kProgressCaption = "Communicating...";

struct ProgressOrigin {
  int x = 100;
  int y = 100;
};

// Where a handler places the progress window: a third into the main window's outer bounds.
ProgressOrigin ProgressOriginFor(int left, int top, int width, int height);

// Draws the progress window: the app's window, the CLI's terminal bar, a test recorder.
// Called on the thread that runs the operation; an implementation hands over to its own thread.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void Show(ProgressOrigin origin, std::string_view caption) = 0;
  // Only called when the shown value changes.
  virtual void SetBar(int value) = 0;
  virtual void Close() = 0;
};

// The state of the one progress window of a program. Without a view it keeps the state only.
class Progress {
 public:
  explicit Progress(ProgressView* view = nullptr,
                    std::chrono::milliseconds end_delay = std::chrono::milliseconds(200))
      : view_(view), end_delay_(end_delay) {}

  void SetView(ProgressView* view) { view_ = view; }
  void SetEndDelay(std::chrono::milliseconds delay) { end_delay_ = delay; }

  void SetProgressOrigin(int x, int y) { origin_ = {x, y}; }
  void BeginProgress(int mode, int first_step, int step,
                     std::string_view caption = kProgressCaption);
  void ReportProgress(int mode, int value);
  void EndProgress();

  bool active() const { return active_; }
  int mode() const { return mode_; }
  int bar() const { return bar_; }
  ProgressOrigin origin() const { return origin_; }

 private:
  void MoveBar(int value);

  ProgressView* view_;
  std::chrono::milliseconds end_delay_;
  ProgressOrigin origin_;
  bool active_ = false;
  int mode_ = kProgressStep;
  int step_ = 3;
  int bar_ = 0;
};

}  // namespace vantrel
