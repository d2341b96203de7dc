#include "app/app_fixture.h"

#include <QTest>
#include <stdexcept>

namespace vantrel::app::testing {

AppFixture::AppFixture(const std::function<void(MainWindowOptions&)>& adjust, sim::SimState state)
    : printer(state), server(printer) {
  if (const auto started = server.Start("127.0.0.1", 0); !started.ok()) {
    throw std::runtime_error(started.detail);
  }
  MainWindowOptions options;
  options.prompts = &prompts;
  options.interface = kInterfaceEthernet;
  options.network = {"127.0.0.1", server.port()};
  // No window test broadcasts: the network dialog's datagrams stay on loopback.
  options.datagrams.broadcast = {127, 0, 0, 1};
  options.datagrams.multicast.reset();
  options.datagrams.discovery_wait = std::chrono::milliseconds(100);
  options.datagrams.setup_wait = std::chrono::milliseconds(300);
  options.locale_name = "en_US";
  options.progress_end_delay = std::chrono::milliseconds(0);
  options.waits.net_read = kTestWait;
  options.waits.net_write = kTestWait;
  options.waits.net_connect = kTestWait;
  options.waits.list_frame_pause = std::chrono::milliseconds(0);
  if (adjust) adjust(options);
  window = std::make_unique<TFormMain>(options);
}

AppFixture::~AppFixture() {
  WaitIdle();
  window.reset();
}

void AppFixture::Choose(const char* list, int index) const {
  auto& combo = Find<QComboBox>(list);
  combo.setCurrentIndex(index);
  emit combo.activated(index);
}

bool AppFixture::ClickAndWait(const char* button) const {
  Find<QPushButton>(button).click();
  return WaitIdle();
}

bool AppFixture::WaitIdle() const {
  return QTest::qWaitFor([this] { return !window->busy(); }, 10000);
}

std::string AppFixture::Received(std::size_t connections) const {
  if (!server.WaitForConnectionsClosed(connections, std::chrono::seconds(10))) return "<timeout>";
  const std::vector<std::uint8_t> bytes = server.Received();
  return std::string(bytes.begin(), bytes.end());
}

bool Settled(TFormNetSetup& dialog) {
  return QTest::qWaitFor([&] { return !dialog.busy(); }, 10000);
}

void OpenNetSetup(AppFixture& app, const std::function<void(TFormNetSetup&)>& play,
                  const std::function<void(TFormEthernetSetup&)>& edit) {
  app.prompts.on_dialog = [play, edit](QDialog& dialog) {
    if (auto* net = qobject_cast<TFormNetSetup*>(&dialog)) {
      if (Settled(*net)) play(*net);
      Settled(*net);
    } else if (auto* ethernet = qobject_cast<TFormEthernetSetup*>(&dialog); ethernet && edit) {
      edit(*ethernet);
    }
  };
  app.Find<QPushButton>("ButtonInterFace").click();
}

}  // namespace vantrel::app::testing
