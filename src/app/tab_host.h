#pragma once

#include <QPushButton>
#include <QString>
#include <functional>

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
  // alive until then. `afterwards`, when given, runs last whatever the result.
  virtual void StartOperation(int op, OperationRecord record, std::function<void()> on_success,
                              std::function<void()> afterwards) = 0;
  // As StartOperation, for other work with the host's link layer and selected interface;
  // `on_success` says whether the work did what `texts.done` names.
  virtual void StartLinkWork(WorkTexts texts, LinkWork work, std::function<bool()> on_success) = 0;
  // Runs a handler; whatever it throws is shown and the program goes on.
  virtual void Guard(const std::function<void()>& handler) = 0;

 protected:
  ~TabHost() = default;
};

// A slot that runs `handler` of `tab` through the host's guard.
template <typename Tab, typename... Args>
auto Guarded(TabHost& host, Tab* tab, void (Tab::*handler)(Args...)) {
  return [&host, tab, handler](Args... args) { host.Guard([&] { (tab->*handler)(args...); }); };
}

// Connects the click of `tab`'s button `name` to `handler`, through the host's guard.
template <typename Tab>
void OnClick(TabHost& host, Tab* tab, const char* name, void (Tab::*handler)()) {
  QObject::connect(tab->template findChild<QPushButton*>(name), &QPushButton::clicked, tab,
                   Guarded(host, tab, handler));
}

}  // namespace vantrel::app
