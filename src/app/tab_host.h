#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/guard.h"
#include "app/prompts.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/operation_texts.h"
#include "common/result_code.h"
#include "link/link_layer.h"
#include "ops/operation_record.h"

namespace vantrel::app {

// What the tabs take from the main window that holds them. Window thread only; the host
// outlives its tabs.
class TabHost {
 public:
  using LinkWork = std::function<ResultCode(LinkLayer& link, InterfaceKind interface)>;

  virtual Prompts& prompts() = 0;
  virtual LanguageIndex language() const = 0;
  // Runs an operation by the calling pattern (off the window thread, the window disabled
  // meanwhile); a non-zero result is shown, `on_success` runs otherwise. The record must stay
  // alive until then. `extra` is the operation's own argument (a page, the progress window);
  // `afterwards`, when given, runs last whatever the result.
  virtual void StartOperation(int op, OperationRecord record, int extra,
                              std::function<void()> on_success,
                              std::function<void()> afterwards) = 0;
  // As StartOperation, for other work with the host's link layer and selected interface;
  // `on_success` says whether the work did what `texts.done` names.
  virtual void StartLinkWork(WorkTexts texts, LinkWork work, std::function<bool()> on_success) = 0;

 protected:
  ~TabHost() = default;
};

// An `on_success` that does nothing but hold `record` until the operation has ended.
template <typename Record>
std::function<void()> KeepAlive(std::shared_ptr<Record> record) {
  return [record = std::move(record)] {};
}

}  // namespace vantrel::app
