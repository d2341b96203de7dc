#pragma once

#include <QObject>
#include <QPushButton>
#include <functional>

#include "app/prompts.h"

namespace vantrel::app {

// Runs a handler of the window, a tab or a dialog; whatever it throws is shown through
// `prompts` and the program goes on. Window thread only.
void Guard(Prompts& prompts, const std::function<void()>& handler);

// A slot that runs `handler` of `object` through the guard.
template <typename Object, typename... Args>
auto Guarded(Prompts& prompts, Object* object, void (Object::*handler)(Args...)) {
  return [&prompts, object, handler](Args... args) {
    Guard(prompts, [&] { (object->*handler)(args...); });
  };
}

// Connects the click of `object`'s button `name` to `handler`, through the guard.
template <typename Object>
void OnClick(Prompts& prompts, Object* object, const char* name, void (Object::*handler)()) {
  QObject::connect(object->template findChild<QPushButton*>(QLatin1String(name)),
                   &QPushButton::clicked, object, Guarded(prompts, object, handler));
}

}  // namespace vantrel::app
