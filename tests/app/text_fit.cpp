// Whether a window shows its texts whole, measured in each control's own font.
#include "app/text_fit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <array>

#include "app/app_fixture.h"

namespace vantrel::app::testing {
namespace {

// Collects the texts that do not fit their controls; `where` names the window, language and font.
class FitCheck {
 public:
  explicit FitCheck(QString where) : where_(std::move(where)) {}

  void Window(QWidget& root) {
    for (QWidget* widget : root.findChildren<QWidget*>()) {
      if (!widget->isVisible()) continue;
      ScrollIntoView(*widget);
      Control(*widget);
    }
  }

  const QStringList& unfit() const { return unfit_; }

 private:
  void Control(QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget); label && label->pixmap().isNull()) {
      Need(widget, label->text(), label->minimumSizeHint().width());
    } else if (auto* push = qobject_cast<QPushButton*>(&widget)) {
      const QStyle& style = *push->style();
      Need(widget, push->text(),
           Advance(widget, push->text()) + style.pixelMetric(QStyle::PM_ButtonMargin) +
               2 * style.pixelMetric(QStyle::PM_DefaultFrameWidth));
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
      Need(widget, button->text(), button->sizeHint().width());  // with its indicator
    } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
      Need(widget, group->title(), group->minimumSizeHint().width());
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
      Items(*combo);
    } else if (auto* tabs = qobject_cast<QTabBar*>(&widget)) {
      Tabs(*tabs);
    } else if (auto* header = qobject_cast<QHeaderView*>(&widget)) {
      Columns(*header);
    } else if (auto* tree = qobject_cast<QTreeView*>(&widget)) {
      Cells(*tree);
    }
  }

  // A control that a scroll area holds is measured where the user scrolls to see it.
  static void ScrollIntoView(QWidget& widget) {
    for (QWidget* parent = widget.parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
      auto* area = qobject_cast<QScrollArea*>(parent);
      if (area != nullptr && area->widget() != nullptr && area->widget()->isAncestorOf(&widget)) {
        area->ensureWidgetVisible(&widget, 0, 0);
        return;
      }
    }
  }

  static int Advance(const QWidget& widget, QString text) {
    return widget.fontMetrics().horizontalAdvance(text.remove('&'));
  }

  // What a parent clips away is lost as much as what the control itself lacks.
  static int Shown(QWidget& widget) { return widget.visibleRegion().boundingRect().width(); }

  void Need(QWidget& widget, const QString& text, int needed, int shown = -1) {
    if (text.isEmpty()) return;
    if (shown < 0) shown = Shown(widget);
    if (needed <= shown) return;
    // A list's header is named for its list.
    const QString name = widget.objectName().isEmpty() && widget.parentWidget() != nullptr
                             ? widget.parentWidget()->objectName() + " header"
                             : widget.objectName();
    unfit_ << QStringLiteral("%1 %2: \"%3\" needs %4 px, shows %5")
                  .arg(where_, name, text)
                  .arg(needed)
                  .arg(shown);
  }

  // The text field beside the arrow is the room an item has.
  void Items(QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    const int shown = field.width() - (combo.width() - Shown(combo));
    QString widest = combo.currentText();
    for (int i = 0; i < combo.count(); ++i) {
      if (Advance(combo, combo.itemText(i)) > Advance(combo, widest)) widest = combo.itemText(i);
    }
    Need(combo, combo.currentText(), Advance(combo, combo.currentText()), shown);
    Need(combo, widest, Advance(combo, widest), shown);
  }

  void Tabs(QTabBar& tabs) {
    for (int i = 0; i < tabs.count(); ++i) {
      const QRect tab = tabs.tabRect(i).intersected(tabs.visibleRegion().boundingRect());
      Need(tabs, tabs.tabText(i), Advance(tabs, tabs.tabText(i)), tab.width());
    }
  }

  void Columns(QHeaderView& header) {
    const int margin = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int i = 0; i < header.count(); ++i) {
      const QString text = header.model()->headerData(i, header.orientation()).toString();
      const int left = header.sectionViewportPosition(i);
      const int shown = std::min(left + header.sectionSize(i), header.viewport()->width()) - left;
      Need(header, text, Advance(header, text) + margin, shown);
    }
  }

  // Each row's text beside the margins the item delegate draws it in.
  void Cells(QTreeView& tree) {
    const QAbstractItemModel& model = *tree.model();
    const int margins = 2 * (tree.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int row = 0; row < model.rowCount(); ++row) {
      for (int column = 0; column < model.columnCount(); ++column) {
        const QModelIndex index = model.index(row, column);
        const QString text = index.data().toString();
        const QRect cell = tree.visualRect(index).intersected(tree.viewport()->rect());
        Need(tree, text, Advance(tree, text) + margins, cell.width());
      }
    }
  }

  QString where_;
  QStringList unfit_;
};

constexpr std::array<const char*, kLanguageCount> kLanguageNames = {"en", "zh_tw", "zh_cn"};

}  // namespace

QString FitWhere(const QString& window, int language, double scale) {
  return QStringLiteral("%1 [%2, font x%3]").arg(window, kLanguageNames[language]).arg(scale);
}

QString FitPicture(const QString& window, int language, double scale) {
  return QStringLiteral("%1_%2%3").arg(window, kLanguageNames[language],
                                       scale > 1.0 ? "_large" : "");
}

void CheckMainWindowTextsFit(AppFixture& app, double scale, const QString& screen,
                             QStringList& unfit) {
  auto& pages = app.Find<QTabWidget>("PageControl1");
  auto& config_pages = app.Find<QTabWidget>("PageControl2");
  // The clock shows from the start, so that it is measured with the rest.
  QVERIFY(!app.Find<QLabel>("StatusBar1Panel3").text().isEmpty());
  for (int language = 0; language < kLanguageCount; ++language) {
    app.Choose("ComboBoxLanguage", language);
    for (int page = 0; page < pages.count(); ++page) {
      pages.setCurrentIndex(page);
      const int config_count = page == 0 ? config_pages.count() : 1;
      for (int config_page = 0; config_page < config_count; ++config_page) {
        config_pages.setCurrentIndex(config_page);
        const QString name =
            QStringLiteral("main_window%1_tab%2_%3").arg(screen).arg(page + 1).arg(config_page);
        CheckTextsFit(*app.window, FitWhere(name, language, scale),
                      FitPicture(name, language, scale), unfit);
      }
    }
  }
}

void Report(const QStringList& unfit) {
  if (!unfit.isEmpty()) QFAIL(qPrintable("cut texts:\n" + unfit.join('\n')));
}

void CheckTextsFit(QWidget& window, const QString& where, const QString& picture,
                   QStringList& unfit) {
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  FitCheck check(where);
  check.Window(window);
  unfit << check.unfit();
  const QString dir = qEnvironmentVariable("VANTREL_SCREENSHOT_DIR", QDir::tempPath());
  QVERIFY(window.grab().save(dir + "/" + picture + ".png"));
}

}  // namespace vantrel::app::testing
