// Runs one registered test class, named by the first argument, or all of them.
#include <QApplication>
#include <QTest>
#include <cstring>

#include "app/app_test_registry.h"

int main(int argc, char** argv) {
  // The offscreen platform's own screen (800 x 800) is smaller than a desktop: the windows are
  // tested on a 1920 x 1080 one unless a test names a screen of its own.
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
    qputenv("QT_QPA_PLATFORM",
            QByteArray("offscreen:configfile=") + VANTREL_TEST_SCREENS "/desktop.json");
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vantrel");
  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  int failures = 0;
  bool ran = false;
  for (const auto& [name, make] : vantrel::app::testing::TestRegistry()) {
    if (only != nullptr && std::strcmp(only, name) != 0) continue;
    ran = true;
    const auto test = make();
    failures += QTest::qExec(test.get(), only != nullptr ? argc - 1 : argc,
                             only != nullptr ? argv + 1 : argv);
  }
  return ran ? failures : 1;
}
