#include "app/dialogs/net_setup_dialog.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/dialogs/net_dialog_texts.h"
#include "app/guard.h"
#include "app/widgets/language.h"
#include "app/widgets/printer_text.h"
#include "net/network_target_entry.h"

namespace vantrel::app {
namespace {

enum Column { kNameColumn = 0, kMacColumn = 1, kIpColumn = 2, kModelColumn = 3, kStatusColumn = 4 };
// In average characters of the list's font; the last column takes the rest.
constexpr std::array<int, 4> kColumnCharacters = {12, 18, 15, 15};
constexpr int kDesignedWidth = 560;
constexpr int kDesignedHeight = 360;
constexpr std::array<const char*, 5> kButtons = {
    "ButtonDiscover", "ButtonChangeIP", "ButtonFactoryDefault", "ButtonBrowser", "ButtonExit"};

QString FromText(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* NewDialogButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QLabel* NewDialogLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

TFormNetSetup::TFormNetSetup(NetworkTarget& target, NetSetupEnvironment environment,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      target_(target),
      environment_(std::move(environment)),
      session_(environment_.datagrams) {
  BuildLayout();
  ConnectHandlers();
  ApplyLanguage();
  EditIPAddr->setText(FromText(target_.address));
  EditPort->setText(QString::number(target_.port));
  RunDiscovery([this](const Rows& rows) { OpeningDiscoveryDone(rows); });
}

void TFormNetSetup::BuildLayout() {
  setObjectName("TFormNetSetup");
  setWindowTitle("TCP/IP Setup");
  ListView1 = new QTreeWidget(this);
  ListView1->setObjectName("ListView1");
  ListView1->setColumnCount(5);
  ListView1->setRootIsDecorated(false);
  ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->header()->setSectionsClickable(false);
  auto* column = new QVBoxLayout(this);
  column->addWidget(ListView1, 1);
  auto* buttons = new QHBoxLayout;
  for (const char* name :
       {"ButtonDiscover", "ButtonChangeIP", "ButtonFactoryDefault", "ButtonBrowser"}) {
    buttons->addWidget(NewDialogButton(this, name));
  }
  column->addLayout(buttons);
  auto* group = new QGroupBox(this);
  group->setObjectName("GroupBoxIPSetting");
  auto* grid = new QGridLayout(group);
  grid->addWidget(NewDialogLabel(group, "LabelIPAddress"), 0, 0);
  EditIPAddr = new QLineEdit(group);
  EditIPAddr->setObjectName("EditIPAddr");
  EditIPAddr->setMaxLength(64);
  grid->addWidget(EditIPAddr, 1, 0);
  grid->addWidget(NewDialogLabel(group, "LabelPort"), 0, 1);
  EditPort = new QLineEdit(group);
  EditPort->setObjectName("EditPort");
  grid->addWidget(EditPort, 1, 1);
  grid->addWidget(NewDialogButton(group, "ButtonExit"), 1, 3);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  column->addWidget(group);
}

// Each column at least its designed share, and wide enough for its caption and its widest
// item in this language and font; the window at least its designed size.
void TFormNetSetup::FitToTexts() {
  QHeaderView& header = *ListView1->header();
  const QAbstractItemView& items = *ListView1;
  const auto needed = [&](int column) {
    return std::max(header.sectionSizeHint(column), items.sizeHintForColumn(column));
  };
  int columns_width = needed(kStatusColumn);
  for (std::size_t i = 0; i < kColumnCharacters.size(); ++i) {
    const int index = static_cast<int>(i);
    const int designed = kColumnCharacters[i] * ListView1->fontMetrics().averageCharWidth();
    ListView1->setColumnWidth(index, std::max(designed, needed(index)));
    columns_width += ListView1->columnWidth(index);
  }
  // Every caption shows without scrolling the list sideways.
  ListView1->setMinimumWidth(columns_width + 2 * ListView1->frameWidth() +
                             style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  setFixedSize(QSize(kDesignedWidth, kDesignedHeight).expandedTo(minimumSizeHint()));
}

void TFormNetSetup::ConnectHandlers() {
  Prompts& prompts = *environment_.prompts;
  OnClick(prompts, this, "ButtonDiscover", &TFormNetSetup::ButtonDiscoverClick);
  OnClick(prompts, this, "ButtonChangeIP", &TFormNetSetup::ButtonChangeIPClick);
  OnClick(prompts, this, "ButtonFactoryDefault", &TFormNetSetup::ButtonFactoryDefaultClick);
  OnClick(prompts, this, "ButtonBrowser", &TFormNetSetup::ButtonBrowserClick);
  OnClick(prompts, this, "ButtonExit", &TFormNetSetup::ButtonExitClick);
  connect(ListView1, &QTreeWidget::itemClicked, this,
          Guarded(prompts, this, &TFormNetSetup::ListView1Click));
}

void TFormNetSetup::ApplyLanguage() {
  ApplyLocalizedTexts(*this, NetSetupTexts(), environment_.language);
  // The column captions are the list's items in the table.
  for (const LocalizedEntry& entry : NetSetupTexts()) {
    if (entry.item == kCaption) continue;
    const std::string_view text = entry.text.In(environment_.language);
    ListView1->headerItem()->setText(
        entry.item, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  FitToTexts();
}

void TFormNetSetup::SetBusy(bool busy) {
  for (const char* name : kButtons) findChild<QPushButton*>(QLatin1String(name))->setEnabled(!busy);
}

void TFormNetSetup::RunExchange(std::function<void()> work, std::function<void()> done) {
  SetBusy(true);
  const bool started = runner_.Start(
      [work = std::move(work)] {
        work();
        return LinkFailure{};
      },
      [this, done = std::move(done)](const LinkFailure&, const std::exception_ptr& error) {
        SetBusy(false);
        // An exchange that threw has no outcome to show: say why instead.
        if (error) {
          environment_.prompts->Message(FailureText(error));
        } else {
          done();
        }
      });
  if (!started) SetBusy(false);
}

void TFormNetSetup::RunDiscovery(std::function<void(const Rows&)> then) {
  ListView1->clear();
  auto outcome = std::make_shared<DiscoveryOutcome>();
  RunExchange([this, outcome] { *outcome = session_.Discover(); },
              [this, outcome, then = std::move(then)] {
                ShowRows(outcome->rows);
                if (!outcome->failure.ok()) ShowFailure(outcome->failure);
                if (then) then(outcome->rows);
              });
}

void TFormNetSetup::ShowRows(const Rows& rows) {
  ListView1->clear();
  const AnsiCodec codec(environment_.code_page);
  for (const DeviceListRow& row : rows) {
    auto* item = new QTreeWidgetItem(
        ListView1,
        {DecodePrinterText(codec, row.printer_name), FromText(row.mac), FromText(row.ip_address),
         DecodePrinterText(codec, row.model_name), FromText(row.status)});
    // The caption may not round-trip (a name in an 8-bit code page); Change IP sends the name
    // back, so it keeps the bytes as received.
    item->setData(
        kNameColumn, Qt::UserRole,
        QByteArray(row.printer_name.data(), static_cast<qsizetype>(row.printer_name.size())));
  }
  FitToTexts();
}

// An empty target takes the first printer's address, or the fallback when none answered; the
// target changes here even if the dialog is then closed without "Exit".
void TFormNetSetup::OpeningDiscoveryDone(const Rows& rows) {
  if (!target_.address.empty()) return;
  ApplyOpeningTarget(target_, rows);
  if (!rows.empty()) ListView1->setCurrentItem(ListView1->topLevelItem(0));
  EditIPAddr->setText(FromText(target_.address));
}

// Nothing could be sent (no datagram socket): say so rather than leave the list unchanged, with
// a headline and the cause beneath it like every other box.
void TFormNetSetup::ShowFailure(const LinkFailure& failure) {
  const std::string_view headline = ResultMessage(failure.code);
  environment_.prompts->Message(
      QString::fromLatin1(headline.data(), static_cast<qsizetype>(headline.size())),
      FromText(failure.detail));
}

QTreeWidgetItem* TFormNetSetup::SelectedRow() const {
  // Several rows may be selected; the first in list order counts.
  for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
    if (ListView1->topLevelItem(i)->isSelected()) return ListView1->topLevelItem(i);
  }
  return nullptr;
}

void TFormNetSetup::reject() {
  if (!busy()) QDialog::reject();
}

void TFormNetSetup::ButtonDiscoverClick() {
  RunDiscovery();
}

void TFormNetSetup::ListView1Click() {
  if (const QTreeWidgetItem* row = SelectedRow()) EditIPAddr->setText(row->text(kIpColumn));
}

void TFormNetSetup::ButtonFactoryDefaultClick() {
  const QTreeWidgetItem* row = SelectedRow();
  if (row == nullptr) return;
  const std::optional<MacAddress> mac = ParseMacText(row->text(kMacColumn).toStdString());
  if (!mac) return;
  const QString printer =
      QStringLiteral("%1 (MAC %2, %3)")
          .arg(row->text(kNameColumn), row->text(kMacColumn), row->text(kIpColumn));
  if (!environment_.prompts->Question("Are you sure?", "The network settings of " + printer +
                                                           " go back to their factory values.")) {
    return;
  }
  // No answer is awaited, so the window thread is not held.
  if (const LinkFailure failure = session_.SendFactoryDefault(*mac); !failure.ok()) {
    ShowFailure(failure);
    return;
  }
  ListView1->clear();
}

void TFormNetSetup::ButtonChangeIPClick() {
  const QTreeWidgetItem* row = SelectedRow();
  if (row == nullptr) return;
  const std::optional<MacAddress> mac = ParseMacText(row->text(kMacColumn).toStdString());
  if (!mac) return;
  ChangeIpRun opened = session_.BeginChangeIp(*mac);
  if (!opened.is_open()) {
    ShowFailure(opened.failure());
    return;
  }
  auto run = std::make_shared<ChangeIpRun>(std::move(opened));
  auto settings = std::make_shared<NetSettings>();
  StoreNetText(settings->MacText, row->text(kMacColumn).toStdString());
  StoreNetText(settings->PrinterName,
               row->data(kNameColumn, Qt::UserRole).toByteArray().toStdString());
  RunExchange([run, settings] { run->ReadSettings(*settings); },
              [this, run, settings] { EditAndSend(run, settings); });
}

// The user edits the settings read; a confirmed edit is sent unless it would be refused.
void TFormNetSetup::EditAndSend(std::shared_ptr<ChangeIpRun> run,
                                std::shared_ptr<NetSettings> settings) {
  // The name goes into a NUL-terminated field, cut to fit: any name will do.
  TFormEthernetSetup dialog(
      *settings, {environment_.prompts, environment_.language, environment_.code_page, {}}, pos(),
      this);
  environment_.prompts->RunDialog(dialog);
  if (settings->Confirmed == 0) return;
  auto refusal = std::make_shared<std::string>();
  RunExchange(
      [this, run, settings, refusal] { *refusal = session_.FinishChangeIp(*run, *settings); },
      [this, refusal] {
        if (!refusal->empty()) {
          environment_.prompts->Message(FromText(*refusal));
          return;
        }
        // The list would show settings that were just changed.
        ListView1->clear();
      });
}

void TFormNetSetup::ButtonBrowserClick() {
  const QString url = "http://" + EditIPAddr->text();
  const bool opened = environment_.open_url
                          ? environment_.open_url(url)
                          : QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
  // Without a browser the click would do nothing at all.
  if (!opened) environment_.prompts->Message("No web browser could be started to open " + url);
}

void TFormNetSetup::ButtonExitClick() {
  const std::string refusal =
      StoreTargetEntry(target_, EditIPAddr->text().toStdString(), EditPort->text().toStdString());
  if (!refusal.empty()) {
    environment_.prompts->Message(FromText(refusal));
    return;
  }
  accept();
}

}  // namespace vantrel::app
