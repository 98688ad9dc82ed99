#include "ui/response/response_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/export/netlist.h"
#include "calc/export/response_csv.h"
#include "calc/text/diagnostic.h"
#include "ui/boxes/error_box.h"
#include "ui/main_window/clipboard_copy.h"
#include "ui/response/response_export.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/tolerance/tolerance_page.h"

namespace ui {
namespace {

QString DialogPath(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& suggested) {
  return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
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
  pick_path_ = [this](const QString& caption, const QString& filter, const QString& suggested) {
    return DialogPath(this, caption, filter, suggested);
  };
  AddPage(CreateResponsePage(), QStringLiteral("応答"));
  tolerance_ = new TolerancePage(this);
  AddPage(tolerance_, QStringLiteral("公差"));
  resize(1000, 640);
  ShowSubject(std::nullopt);
}

QWidget* ResponseWindow::CreateResponsePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("ResponsePage"));
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

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(plot_, 1);
  auto* side_widget = new QWidget(page);
  side_widget->setLayout(side);
  side_widget->setFixedWidth(420);
  layout->addWidget(side_widget);

  connect(panel_, &ResponsePanel::SettingsChanged, this, &ResponseWindow::Recompute);
  return page;
}

void ResponseWindow::ShowSubject(const std::optional<ResponseSubject>& subject) {
  subject_ = subject;
  Recompute();
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
    status_->clear();
  } else {
    plot_->Clear();
    panel_->Clear();
    if (!subject_) status_->setText(QStringLiteral("結果がありません"));
  }
  for (const char* name :
       {"ButtonSavePicture", "ButtonSaveCsv", "ButtonCopyNetlist", "ButtonSaveNetlist"}) {
    findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(data_.has_value());
  }
  // The tolerance results belong to the circuit and op-amp they were run with.
  if (tolerance_ != nullptr) tolerance_->SubjectChanged();
}

void ResponseWindow::closeEvent(QCloseEvent* event) {
  tolerance_->Cancel();
  QTabWidget::closeEvent(event);
}

std::string ResponseWindow::Netlist() const {
  if (!subject_ || !data_) return {};
  const calc::NetlistSweep sweep{data_->frequencies_hz.front(), data_->frequencies_hz.back(),
                                 static_cast<int>(data_->frequencies_hz.size())};
  return calc::SpiceNetlist(subject_->circuit, panel_->settings().op_amp, sweep);
}

void ResponseWindow::ExportPicture(const QString& path) {
  if (data_) SavePicture(plot_->plots(), path);
}

void ResponseWindow::ExportCsv(const QString& path) {
  if (data_) SaveText(calc::ResponseCurvesCsv(*data_), path);
}

void ResponseWindow::ExportNetlist(const QString& path) {
  if (data_) SaveText(Netlist(), path);
}

void ResponseWindow::SavePictureAs() {
  RunGuarded([this] {
    const QString path =
        pick_path_(QStringLiteral("図を保存"), QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)"),
                   QStringLiteral("response.png"));
    if (!path.isEmpty()) ExportPicture(path);
  });
}

void ResponseWindow::SaveCsvAs() {
  RunGuarded([this] {
    const QString path = pick_path_(QStringLiteral("曲線を保存"), QStringLiteral("CSV (*.csv)"),
                                    QStringLiteral("response.csv"));
    if (!path.isEmpty()) ExportCsv(path);
  });
}

void ResponseWindow::SaveNetlistAs() {
  RunGuarded([this] {
    const QString path =
        pick_path_(QStringLiteral("ネットリストを保存"),
                   QStringLiteral("SPICE ネットリスト (*.cir)"), QStringLiteral("bandpass.cir"));
    if (!path.isEmpty()) ExportNetlist(path);
  });
}

void ResponseWindow::CopyNetlist() {
  RunGuarded([this] {
    if (data_) CopyTextToClipboard(QString::fromStdString(Netlist()));
  });
}

}  // namespace ui
