#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vantrel::app::testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<std::pair<const char*, TestFactory>>& TestRegistry() {
  static std::vector<std::pair<const char*, TestFactory>> registry;
  return registry;
}

template <typename Test>
struct RegisterTest {
  explicit RegisterTest(const char* name) {
    TestRegistry().emplace_back(name, [] { return std::make_unique<Test>(); });
  }
};

}  // namespace vantrel::app::testing

// Registers a QObject test class under its own name.
#define VANTREL_APP_TEST(Class) \
  static const ::vantrel::app::testing::RegisterTest<Class> kRegister##Class(#Class)
