#include "app/guard.h"

#include "app/operation_runner.h"
#include "app/widgets/number_text.h"

namespace vantrel::app {

void Guard(Prompts& prompts, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const ConversionError& error) {
    prompts.Message(QString::fromStdString(error.what()), QString::fromStdString(error.detail()));
  } catch (...) {
    prompts.Message(FailureText(std::current_exception()));
  }
}

}  // namespace vantrel::app
