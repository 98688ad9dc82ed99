#include "ui/response/response_window.h"

#include <QCloseEvent>
#include <QDate>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/export/netlist.h"
#include "calc/export/response_csv.h"
#include "calc/text/diagnostic.h"
#include "data/opamp_catalogue.h"
#include "ui/boxes/error_box.h"
#include "ui/main_window/clipboard_copy.h"
#include "ui/main_window/window_placement.h"
#include "ui/response/optimize/optimize_page.h"
#include "ui/response/picture_caption.h"
#include "ui/response/response_help.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/tolerance/tolerance_page.h"

namespace ui {
namespace {

const QString kPictureFilters = QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)");
const QString kSvgFilter = QStringLiteral("SVG 画像 (*.svg)");

// The side column's width: the figures table's three columns and its row titles.
constexpr int kSideLeastWidth = 320;
constexpr int kSideMostWidth = 420;
// Room kept for the window's frame before the window system has drawn it.
const QSize kFrameAllowance(16, 40);

QString SourceText(SubjectSource source) {
  switch (source) {
    case SubjectSource::kDesign:
      return QStringLiteral("定数計算 (設計) の回路");
    case SubjectSource::kApplied:
      return QStringLiteral("適用した部品の回路");
    case SubjectSource::kAnalysis:
      break;
  }
  return QStringLiteral("伝達関数計算 (解析) の回路");
}

// "R1 = 11.000k  R2 = なし ..." with the fields' own texts, blanks trimmed.
QString PartsText(const calc::CircuitTexts& typed) {
  const std::pair<const char*, const std::u16string*> parts[] = {{"R1", &typed.R1},
                                                                 {"R2", &typed.R2},
                                                                 {"R3", &typed.R3},
                                                                 {"C1", &typed.C1},
                                                                 {"C2", &typed.C2}};
  QStringList texts;
  for (const auto& [name, text] : parts) {
    const QString value = QString::fromStdU16String(*text).trimmed();
    texts << QStringLiteral("%1 = %2").arg(QLatin1String(name),
                                           value.isEmpty() ? QStringLiteral("なし") : value);
  }
  return texts.join(QStringLiteral("   "));
}

PickedPath DialogPath(QWidget* parent, const QString& caption, const QString& filters,
                      const QString& suggested) {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(parent, caption, suggested, filters, &filter);
  return {path, filter};
}

QPushButton* AddButton(QLayout* layout, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(caption);
  layout->addWidget(button);
  return button;
}

}  // namespace

ResponseWindow::ResponseWindow(QWidget* parent) : QTabWidget(parent) {
  setWindowFlag(Qt::Window);
  setObjectName(QStringLiteral("FormResponse"));
  setWindowTitle(QStringLiteral("周波数特性"));
  pick_path_ = [this](const QString& caption, const QString& filters, const QString& suggested) {
    return DialogPath(this, caption, filters, suggested);
  };
  AddPage(CreateResponsePage(), QStringLiteral("応答"));
  tolerance_ = new TolerancePage(this);
  AddPage(tolerance_, QStringLiteral("公差"));
  optimize_ = new OptimizePage(this);
  AddPage(optimize_, QStringLiteral("最適化"));

  auto* help_button = new QPushButton(QStringLiteral("ヘルプ"), this);
  help_button->setObjectName(QStringLiteral("ButtonResponseHelp"));
  help_button->setAccessibleName(QStringLiteral("ヘルプ"));
  help_button->setToolTip(QStringLiteral("このウィンドウの使い方 (F1)"));
  setCornerWidget(help_button, Qt::TopRightCorner);
  connect(help_button, &QPushButton::clicked, this, &ResponseWindow::ShowHelp);
  auto* help_key = new QShortcut(QKeySequence::HelpContents, this);
  help_key->setContext(Qt::WindowShortcut);
  connect(help_key, &QShortcut::activated, this, &ResponseWindow::ShowHelp);

  setMinimumSize(kMinimumSize);
  resize(kDefaultSize);
  ShowSubject(std::nullopt);
}

QWidget* ResponseWindow::CreateResponsePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ResponsePage"));
  header_ = new QLabel(page);
  header_->setObjectName(QStringLiteral("ResponseHeader"));
  header_->setAccessibleName(QStringLiteral("表示中の回路"));
  header_->setWordWrap(true);
  header_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  plot_ = new ResponsePlot(page);
  panel_ = new ResponsePanel(page);
  status_ = new QLabel(page);
  status_->setObjectName(QStringLiteral("ResponseStatus"));
  status_->setWordWrap(true);

  auto* side = new QVBoxLayout;
  side->addWidget(panel_, 1);
  side->addWidget(status_);
  auto* buttons = new QVBoxLayout;
  connect(AddButton(buttons, "ButtonSavePicture", QStringLiteral("図を保存 (PNG/SVG)...")),
          &QPushButton::clicked, this, &ResponseWindow::SavePictureAs);
  connect(AddButton(buttons, "ButtonSaveCsv", QStringLiteral("曲線を CSV で保存...")),
          &QPushButton::clicked, this, &ResponseWindow::SaveCsvAs);
  connect(AddButton(buttons, "ButtonCopyNetlist", QStringLiteral("ネットリストをコピー")),
          &QPushButton::clicked, this, &ResponseWindow::CopyNetlist);
  connect(AddButton(buttons, "ButtonSaveNetlist", QStringLiteral("ネットリストを保存 (.cir)...")),
          &QPushButton::clicked, this, &ResponseWindow::SaveNetlistAs);
  side->addLayout(buttons);

  // The side column scrolls rather than squeezing its fields when the window is low.
  auto* side_widget = new QWidget;
  side_widget->setLayout(side);
  auto* side_scroll = new QScrollArea(page);
  side_scroll->setObjectName(QStringLiteral("ResponseSide"));
  side_scroll->setWidget(side_widget);
  side_scroll->setWidgetResizable(true);
  side_scroll->setFrameShape(QFrame::NoFrame);
  side_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  side_scroll->setMinimumWidth(kSideLeastWidth);
  side_scroll->setMaximumWidth(kSideMostWidth);

  // Equal shares: the side column takes its full width in a wide window and gives way
  // first in a narrow one.
  auto* columns = new QHBoxLayout;
  columns->addWidget(plot_, 1);
  columns->addWidget(side_scroll, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(header_);
  layout->addLayout(columns, 1);

  connect(panel_, &ResponsePanel::SettingsChanged, this, &ResponseWindow::Recompute);
  return page;
}

void ResponseWindow::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    PlaceOnScreen();
    LoadCatalogue();
  }
  QTabWidget::showEvent(event);
}

void ResponseWindow::LoadCatalogue() {
  // Read when the window first opens, not at start-up; a few milliseconds (bench/), so on
  // this thread. What cannot be read is warned of beside the op-amp box.
  data::OpAmpCatalogue catalogue = data::LoadOpAmpCatalogue(data::DefaultCataloguePlaces());
  panel_->SetCatalogue(std::move(catalogue.parts), catalogue.warnings);
}

void ResponseWindow::PlaceOnScreen() {
  // At a scale factor of 2 the default size is larger than many screens: the window takes
  // what the work area has, down to its minimum. Where it opens stays the window system's
  // choice unless that would leave the work area; then it is pulled inside.
  QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : this;
  const QRect area = MonitorWorkArea(owner);
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize allowance = frame.isEmpty() ? kFrameAllowance : frame;
  // A screen smaller still lowers the minimum: the pages scroll rather than leave it.
  const QSize room = area.size() - allowance;
  setMinimumSize(kMinimumSize.boundedTo(room));
  resize(kDefaultSize.boundedTo(room).expandedTo(minimumSize()));
  const QRect outer(pos(), size() + allowance);
  if (!area.contains(outer)) {
    move(std::clamp(outer.left(), area.left(), area.right() + 1 - outer.width()),
         std::clamp(outer.top(), area.top(), area.bottom() + 1 - outer.height()));
  }
}

void ResponseWindow::ShowHelp() {
  if (help_ == nullptr) help_ = new ResponseHelp(this);
  help_->ShowTopic(currentWidget() == tolerance_ ? HelpTopic::kTolerance : HelpTopic::kResponse);
}

void ResponseWindow::ShowSubject(const std::optional<ResponseSubject>& subject) {
  subject_ = subject;
  stale_ = false;
  cleared_ = false;
  Recompute();
}

void ResponseWindow::ShowCommandFailed() {
  // The curves stay: the designer sees what the last good circuit did, told so.
  stale_ = subject_.has_value();
  UpdateHeader();
}

void ResponseWindow::ShowCleared() {
  subject_.reset();
  stale_ = false;
  cleared_ = true;
  Recompute();
}

void ResponseWindow::MarkSubjectApplied(const std::optional<calc::TransferFunction>& searched_for) {
  if (!subject_) return;
  subject_->MarkApplied(searched_for);
  Recompute();
}

QString ResponseWindow::HeaderText() const { return header_->text(); }

void ResponseWindow::UpdateHeader() {
  if (!subject_) {
    header_->setText(cleared_ ? QStringLiteral("クリアしました。定数計算または伝達関数計算を"
                                               "実行すると、その回路の曲線を表示します。")
                              : QStringLiteral("まだ結果がありません。定数計算または伝達関数"
                                               "計算を実行すると、その回路の曲線を表示します。"));
    return;
  }
  QString text = SourceText(subject_->source) + QStringLiteral(":   ") + PartsText(subject_->typed);
  if (stale_) {
    text += QStringLiteral(
        "\n直前の計算は結果を出せませんでした (警告またはエラー)。"
        "曲線と数値は最後に計算できた上の回路のものです。");
  }
  header_->setText(text);
}

void ResponseWindow::Recompute() {
  data_.reset();
  if (subject_) {
    calc::Outcome<ResponseData> study = ComputeResponseData(*subject_, panel_->settings());
    if (study) {
      data_ = *std::move(study);
    } else {
      // The main window has shown its own result; the response stays blank with the
      // reason beside it rather than a second box.
      status_->setText(QStringLiteral("応答を計算できません: %1")
                           .arg(QString::fromStdU16String(calc::WindowText(study.diagnostic()))));
    }
  }
  if (data_) {
    plot_->Show(*data_);
    panel_->Show(*data_);
    panel_->ShowHeadroom(calc::RunHeadroomStudy(StageInputsOf(*subject_, panel_->settings())));
    status_->clear();
  } else {
    plot_->Clear(cleared_ ? QStringLiteral("クリアしました") : QStringLiteral("結果がありません"));
    panel_->Clear();
    if (!subject_) status_->setText(QStringLiteral("結果がありません"));
  }
  for (const char* name :
       {"ButtonSavePicture", "ButtonSaveCsv", "ButtonCopyNetlist", "ButtonSaveNetlist"}) {
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(data_.has_value());
  }
  UpdateHeader();
  // The tolerance results belong to the circuit and op-amp they were run with.
  if (tolerance_ != nullptr) tolerance_->SubjectChanged();
  if (optimize_ != nullptr) optimize_->SubjectChanged();
}

void ResponseWindow::closeEvent(QCloseEvent* event) {
  tolerance_->Cancel();
  optimize_->Cancel();
  QTabWidget::closeEvent(event);
}

std::string ResponseWindow::Netlist() const {
  if (!subject_ || !data_) return {};
  const calc::NetlistSweep sweep{data_->frequencies_hz.front(), data_->frequencies_hz.back(),
                                 static_cast<int>(data_->frequencies_hz.size())};
  const OpAmpSettings& settings = panel_->settings();
  const calc::NetlistNoise noise{calc::OpAmpNoiseOf(settings.figures),
                                 settings.conditions.temperature_c};
  return calc::SpiceNetlist(subject_->circuit, settings.op_amp, sweep, noise);
}

void ResponseWindow::ExportPicture(const QString& path) {
  ExportPicture(path, PictureFormat::kPng);
}

void ResponseWindow::ExportPicture(const QString& path, PictureFormat otherwise) {
  if (!subject_ || !data_) return;
  QWidget* plots = plot_->plots();
  const Picture picture{plots->size(), plots->devicePixelRatioF(),
                        [this](QPainter& painter) { plot_->DrawPicture(painter); },
                        PictureCaption(subject_->circuit, panel_->settings(), QDate::currentDate()),
                        windowTitle()};
  SavePicture(picture, path, PictureFormatOf(path, otherwise));
}

void ResponseWindow::ExportCsv(const QString& path) {
  if (data_) SaveText(calc::ResponseCurvesCsv(*data_), path);
}

void ResponseWindow::ExportNetlist(const QString& path) {
  if (data_) SaveText(Netlist(), path);
}

void ResponseWindow::SaveAs(const QString& caption, const QString& filters,
                            const QString& suggested, const Writer& write) {
  RunGuarded([&] {
    const PickedPath picked = pick_path_(caption, filters, suggested);
    if (picked.path.isEmpty()) return;
    try {
      write(WithSuffix(picked.path, filters, picked.filter), picked.filter);
    } catch (const ExportError& error) {
      ShowExportError(this, error);
    }
  });
}

void ResponseWindow::SavePictureAs() {
  SaveAs(QStringLiteral("図を保存"), kPictureFilters, QStringLiteral("response.png"),
         [this](const QString& path, const QString& filter) {
           ExportPicture(path, filter == kSvgFilter ? PictureFormat::kSvg : PictureFormat::kPng);
         });
}

void ResponseWindow::SaveCsvAs() {
  SaveAs(QStringLiteral("曲線を保存"), QStringLiteral("CSV (*.csv)"),
         QStringLiteral("response.csv"),
         [this](const QString& path, const QString&) { ExportCsv(path); });
}

void ResponseWindow::SaveNetlistAs() {
  SaveAs(QStringLiteral("ネットリストを保存"), QStringLiteral("SPICE ネットリスト (*.cir)"),
         QStringLiteral("bandpass.cir"),
         [this](const QString& path, const QString&) { ExportNetlist(path); });
}

void ResponseWindow::CopyNetlist() {
  RunGuarded([this] {
    if (data_) CopyTextToClipboard(QString::fromStdString(Netlist()));
  });
}

}  // namespace ui
