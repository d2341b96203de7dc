// An untouched Read then Set, page by page, gives a printer back exactly what it reported.
#include <QTabWidget>
#include <QTest>
#include <set>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/widgets/radio_group.h"
#include "config/unit_conversions.h"
#include "engine/sim_profile.h"

namespace vantrel::app::testing {
namespace {

// Reports that no page writes: identity, resolution, the reference values, the cut piece
// (written only with CUTTER) and the intensities of the media modes not in use.
const std::set<std::string> kNeverWritten = {"DPI",        "VERSION",     "MILAGE",     "CHECKSUM",
                                             "EDITION",    "DENSITYBASE", "OFFSETBASE", "SHIFTBASE",
                                             "SHIFTXBASE", "CUTTERPIECE", "BLINEINTEN", "CONINTEN"};

using Reports = std::map<std::string, std::string, std::less<>>;

// Lengths that are no whole hundredths of an inch at the resolutions tested, so that a value
// shown rounded and converted back would come out a dot or a few hundredths off. The D page's
// lengths travel in hundredths of an inch, so only those the profiles hold can come back.
void UseAwkwardLengths(sim::SimState& state) {
  auto& reports = state.config.reports;
  reports["PAPERWIDTH"] = "800";
  reports["PAPERHEIGHT"] = "397";
  reports["GAPSIZE"] = "23";
  reports["GAPOFFSET"] = "11";
  reports["ZLABELWIDTH"] = "799";
}

QString Differences(const Reports& expected, const Reports& actual) {
  QString text;
  for (const auto& [name, value] : expected) {
    const auto found = actual.find(name);
    const std::string got = found == actual.end() ? "<none>" : found->second;
    if (got != value)
      text += QString("%1: %2 became %3; ").arg(name.c_str(), value.c_str(), got.c_str());
  }
  return text;
}

}  // namespace

class ConfigRoundTripTest : public QObject {
  Q_OBJECT

 private slots:
  void UntouchedReadThenSetWritesBackWhatWasRead_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("switched");
    for (const char* dpi : {"200", "203", "300", "600"}) {
      const QString profile = QString("printer-%1dpi.json").arg(dpi);
      for (bool switched : {false, true}) {
        const char* then = switched ? ", then switched" : "";
        QTest::addRow("%s dpi, inch%s", dpi, then) << profile << int(kUnitInch) << switched;
        QTest::addRow("%s dpi, mm%s", dpi, then) << profile << int(kUnitMm) << switched;
      }
    }
  }

  // Switching the unit after Read shows the same lengths in the other unit, so Set still
  // writes back what was read.
  void UntouchedReadThenSetWritesBackWhatWasRead() {
    QFETCH(QString, profile);
    QFETCH(int, unit);
    QFETCH(bool, switched);
    AppFixture app({}, sim::LoadSimProfile(VANTREL_SIM_PROFILES "/" + profile.toStdString()));
    app.printer.UpdateState(UseAwkwardLengths);
    ChooseUnit(app, unit);
    QVERIFY(app.ClickAndWait("ButtonRead"));
    if (switched) ChooseUnit(app, unit == kUnitInch ? kUnitMm : kUnitInch);
    ExpectSetWritesBackWhatWasRead(app);
  }

  // An edited length is converted from its text; one that is no number keeps the unit.
  void UnitSwitchConvertsEditedLengths() {
    AppFixture app({}, sim::LoadSimProfile(VANTREL_SIM_PROFILES "/printer-203dpi.json"));
    QVERIFY(app.ClickAndWait("ButtonRead"));
    app.Find<QLineEdit>("EditWidth").setText("3.00");
    ChooseUnit(app, kUnitMm);
    QCOMPARE(app.Find<QLineEdit>("EditWidth").text(), QString("76.20"));
    app.Find<QLineEdit>("EditHeight").setText("abc");
    ChooseUnit(app, kUnitInch);
    QCOMPARE(app.Find<RadioGroup>("RadioGroupUnit").ItemIndex(), int(kUnitMm));
    QCOMPARE(app.Find<QLineEdit>("EditWidth").text(), QString("76.20"));
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
  }

 private:
  static void ChooseUnit(AppFixture& app, int unit) {
    auto& units = app.Find<RadioGroup>("RadioGroupUnit");
    units.SetItemIndex(unit);
    emit units.Clicked(unit);
  }

  static void ExpectSetWritesBackWhatWasRead(AppFixture& app) {
    const Reports read = app.printer.state().config.reports;
    // Spoil everything a Set writes, so that only what the three pages send restores it.
    app.printer.UpdateState([](sim::SimState& state) {
      for (auto& [name, value] : state.config.reports) {
        if (!kNeverWritten.contains(name)) value = "spoilt";
      }
    });
    for (int page = 0; page < 3; ++page) {
      app.Find<QTabWidget>("PageControl2").setCurrentIndex(page);
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
    }
    QVERIFY(app.prompts.messages.empty());
    const Reports written = app.printer.state().config.reports;
    QVERIFY2(written == read, qPrintable(Differences(read, written)));
  }
};

VANTREL_APP_TEST(ConfigRoundTripTest);

}  // namespace vantrel::app::testing

#include "config_round_trip_test.moc"
