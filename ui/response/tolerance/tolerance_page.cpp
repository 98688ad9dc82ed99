#include "ui/response/tolerance/tolerance_page.h"

#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <span>

#include "calc/circuit/circuit_parts.h"
#include "calc/export/tolerance_csv.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/diagnostic.h"
#include "calc/text/quantity_format.h"
#include "ui/boxes/error_box.h"
#include "ui/boxes/warning_box.h"
#include "ui/response/response_export.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/response_window.h"
#include "ui/response/tolerance/tolerance_histogram.h"
#include "ui/response/tolerance/tolerance_runner.h"

namespace ui {
namespace {

constexpr std::string_view kFigureNames[] = {"fo", "Q", "H"};

// The sensitivity table: the formulas' fo, Q and H, then the ones measured on the curve
// with the op-amp model; a column per part, then GBW, which only the model's follow.
constexpr double calc::PartSensitivities::*kSensitivityColumns[] = {
    &calc::PartSensitivities::R1, &calc::PartSensitivities::R2, &calc::PartSensitivities::R3,
    &calc::PartSensitivities::C1, &calc::PartSensitivities::C2, &calc::PartSensitivities::Gbw};
constexpr int kR2Column = 1;

// The Monte Carlo table's columns: a figure's spread over the trials.
struct PercentileColumn {
  const char16_t* header;
  double calc::Percentiles::*value;
};
constexpr PercentileColumn kPercentileColumns[] = {
    {u"最小", &calc::Percentiles::min}, {u"0.5 %", &calc::Percentiles::p0_5},
    {u"5 %", &calc::Percentiles::p5},   {u"50 %", &calc::Percentiles::p50},
    {u"95 %", &calc::Percentiles::p95}, {u"99.5 %", &calc::Percentiles::p99_5},
    {u"最大", &calc::Percentiles::max}};

// The fields and buttons beside the results keep this width, however wide the window.
constexpr int kSideWidth = 300;

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString PartName(int part) { return Latin1(calc::kPartNames[static_cast<std::size_t>(part)]); }

QLineEdit* AddField(QFormLayout* form, const char* name, const QString& label,
                    const QString& text) {
  auto* edit = new QLineEdit(text);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAccessibleName(label);
  form->addRow(label, edit);
  return edit;
}

QTableWidget* CreateTable(const char* name, const QStringList& rows, const QStringList& columns) {
  auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()));
  table->setObjectName(QString::fromLatin1(name));
  table->setVerticalHeaderLabels(rows);
  table->setHorizontalHeaderLabels(columns);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setTabKeyNavigation(false);  // Tab moves on to the next control
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, column, item);
    }
  }
  return table;
}

void ClearTable(QTableWidget* table) {
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column)
      table->item(row, column)->setText({});
  }
}

QStringList Names(std::span<const std::string_view> names) {
  QStringList list;
  for (const std::string_view name : names) list << Latin1(name);
  return list;
}

// A quantity as the calculator shows it; blank without a value.
QString Quantity(double value) {
  if (std::isnan(value)) return {};
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

// A sensitivity: a plain number, three decimals, enough for -1/2 or 0.123.
QString Plain(double value) {
  if (std::isnan(value)) return {};
  const QString text = QString::number(value, 'f', 3);
  // A tiny negative sensitivity is no reason to print "-0.000".
  return text == QStringLiteral("-0.000") ? QStringLiteral("0.000") : text;
}

QString Percent(double fraction) { return QString::number(fraction * 100, 'f', 2); }

}  // namespace

TolerancePage::TolerancePage(ResponseWindow* window)
    : QWidget(window), window_(window), runner_(new ToleranceRunner(this)) {
  setObjectName(QStringLiteral("TolerancePage"));
  QFormLayout* fields = CreateFields();
  CreateRunControls();
  CreateTables();
  CreateHistograms();
  LayOut(fields);
  Connect();
  ClearResults();
  SetRunning(false);
}

// The run's settings, with their defaults; a part's own tolerance is blank until typed,
// and then replaces the one for its kind.
QFormLayout* TolerancePage::CreateFields() {
  const calc::ToleranceTexts defaults;
  auto* form = new QFormLayout;
  resistor_ = AddField(form, "EditTolR", QStringLiteral("R の公差"),
                       QString::fromStdU16String(defaults.resistor));
  capacitor_ = AddField(form, "EditTolC", QStringLiteral("C の公差"),
                        QString::fromStdU16String(defaults.capacitor));
  for (int part = 0; part < calc::kPartCount; ++part) {
    const QString name = PartName(part);
    parts_[part] = AddField(form, ("EditTol" + name.toStdString()).c_str(),
                            QStringLiteral("%1 の公差").arg(name), {});
    parts_[part]->setPlaceholderText(calc::IsResistor(part) ? QStringLiteral("R の公差")
                                                            : QStringLiteral("C の公差"));
  }
  distribution_ = new QComboBox;
  distribution_->setObjectName(QStringLiteral("ComboDistribution"));
  distribution_->addItem(QStringLiteral("一様"));
  distribution_->addItem(QStringLiteral("正規 (公差 = 3σ)"));
  distribution_->setAccessibleName(QStringLiteral("分布"));
  form->addRow(QStringLiteral("分布"), distribution_);
  trials_ = AddField(form, "EditTrials", QStringLiteral("試行回数"),
                     QString::fromStdU16String(defaults.trials));
  seed_ = AddField(form, "EditSeed", QStringLiteral("シード"), {});
  seed_->setPlaceholderText(QStringLiteral("空欄: 毎回新しいシード"));
  limit_fo_ = AddField(form, "EditLimitFo", QStringLiteral("fo の許容差"),
                       QString::fromStdU16String(defaults.limit_fo));
  limit_q_ = AddField(form, "EditLimitQ", QStringLiteral("Q の許容差"),
                      QString::fromStdU16String(defaults.limit_q));
  limit_h_ = AddField(form, "EditLimitH", QStringLiteral("H の許容差"),
                      QString::fromStdU16String(defaults.limit_h));
  yield_centre_ = new QLabel;
  yield_centre_->setObjectName(QStringLiteral("YieldCentre"));
  yield_centre_->setAccessibleName(QStringLiteral("許容差の中心"));
  yield_centre_->setWordWrap(true);
  form->addRow(QStringLiteral("許容差の中心"), yield_centre_);
  return form;
}

// 実行 and 中止, the progress of a run and its status, the exports.
void TolerancePage::CreateRunControls() {
  const auto make_button = [this](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    return button;
  };
  run_button_ = make_button("ButtonRunTolerance", QStringLiteral("実行"));
  cancel_button_ = make_button("ButtonCancelTolerance", QStringLiteral("中止"));
  save_trials_ = make_button("ButtonSaveTrials", QStringLiteral("試行を CSV で保存..."));
  save_summary_ = make_button("ButtonSaveSummary", QStringLiteral("集計を CSV で保存..."));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ToleranceProgress"));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("ToleranceStatus"));
  status_->setWordWrap(true);
}

// Sensitivities, worst case and the Monte Carlo spread, a row per figure, and the yield.
void TolerancePage::CreateTables() {
  const QStringList figures = Names(kFigureNames);
  QStringList sensitivity_rows = figures;
  for (const QString& figure : figures) {
    sensitivity_rows << QStringLiteral("%1 (オペアンプ)").arg(figure);
  }
  sensitivities_ = CreateTable("TableSensitivities", sensitivity_rows,
                               Names(calc::kPartNames) << QStringLiteral("GBW"));
  worst_case_ =
      CreateTable("TableWorstCase", figures, {QStringLiteral("最小"), QStringLiteral("最大")});
  QStringList percentiles;
  for (const PercentileColumn& column : kPercentileColumns) {
    percentiles << QString::fromUtf16(column.header);
  }
  monte_carlo_ = CreateTable("TableMonteCarlo", figures, percentiles);
  yield_ = new QLabel(this);
  yield_->setObjectName(QStringLiteral("LabelYield"));
  yield_->setWordWrap(true);  // the whole line at any width
}

// A histogram per figure with its yield limits.
void TolerancePage::CreateHistograms() {
  for (int figure = 0; figure < kFigureCount; ++figure) {
    const QString name = Latin1(kFigureNames[figure]);
    histograms_[figure] = CreateHistogramView(QStringLiteral("Histogram") + name,
                                              figure == 0 ? name + QStringLiteral(" [Hz]") : name);
  }
}

// The fields and buttons on the left; the tables above the histograms on the right.
void TolerancePage::LayOut(QFormLayout* fields) {
  auto* run_row = new QHBoxLayout;
  run_row->addWidget(run_button_);
  run_row->addWidget(cancel_button_);
  auto* side = new QVBoxLayout;
  side->addLayout(fields);
  side->addLayout(run_row);
  side->addWidget(progress_);
  side->addWidget(status_);
  side->addWidget(save_trials_);
  side->addWidget(save_summary_);
  side->addStretch(1);
  auto* side_widget = new QWidget(this);
  side_widget->setLayout(side);
  side_widget->setFixedWidth(kSideWidth);

  auto* tables = new QGridLayout;
  tables->addWidget(new QLabel(QStringLiteral("感度 (d ln y / d ln x)")), 0, 0);
  tables->addWidget(new QLabel(QStringLiteral("ワーストケース")), 0, 1);
  tables->addWidget(sensitivities_, 1, 0);
  tables->addWidget(worst_case_, 1, 1);
  tables->addWidget(new QLabel(QStringLiteral("モンテカルロ")), 2, 0, 1, 2);
  tables->addWidget(monte_carlo_, 3, 0, 1, 2);
  tables->addWidget(yield_, 4, 0, 1, 2);
  auto* charts = new QHBoxLayout;
  for (QChartView* histogram : histograms_) charts->addWidget(histogram);
  auto* results = new QVBoxLayout;
  results->addLayout(tables);
  results->addLayout(charts, 1);

  // The page scrolls rather than squeezing its fields and tables in a small window.
  auto* content = new QWidget;
  auto* layout = new QHBoxLayout(content);
  layout->addWidget(side_widget);
  layout->addLayout(results, 1);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("ToleranceScroll"));
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* page_layout = new QVBoxLayout(this);
  page_layout->setContentsMargins(0, 0, 0, 0);
  page_layout->addWidget(scroll);
}

void TolerancePage::Connect() {
  connect(run_button_, &QPushButton::clicked, this, [this] { RunGuarded([this] { Run(); }); });
  connect(cancel_button_, &QPushButton::clicked, this, &TolerancePage::Cancel);
  connect(save_trials_, &QPushButton::clicked, this, &TolerancePage::SaveTrialsAs);
  connect(save_summary_, &QPushButton::clicked, this, &TolerancePage::SaveSummaryAs);
  connect(runner_, &ToleranceRunner::Progress, progress_, &QProgressBar::setValue);
  connect(runner_, &ToleranceRunner::Finished, this, [this](const calc::ToleranceAnalysis& result) {
    Show(result);
    SetRunning(false);  // after Show: the export buttons need the results
    Q_EMIT RunEnded();
  });
  connect(runner_, &ToleranceRunner::Failed, this, [this](const QString& reason) {
    SetRunning(false);
    status_->setText(QStringLiteral("計算できません: %1").arg(reason));
    Q_EMIT RunEnded();
  });
  connect(runner_, &ToleranceRunner::Cancelled, this,
          [this](const std::optional<calc::ToleranceAnalysis>& partial) {
            // Stopped for a new circuit, the results belong to the old one: SubjectChanged
            // clears them and says why.
            if (partial && !discard_stopped_) Show(*partial);
            SetRunning(false);
            progress_->setValue(0);
            status_->setText(partial ? QStringLiteral("中止しました: 感度と最悪値は計算済み、"
                                                      "モンテカルロ解析は途中で止めました")
                                     : QStringLiteral("中止しました"));
            Q_EMIT RunEnded();
          });
}

TolerancePage::~TolerancePage() = default;

bool TolerancePage::running() const { return runner_->running(); }

void TolerancePage::SetRunning(bool running) {
  run_button_->setEnabled(!running);
  cancel_button_->setEnabled(running);
  // A stopped run has no trials to export.
  const bool whole = analysis_.has_value() && !analysis_->monte_carlo_stopped;
  save_trials_->setEnabled(!running && whole);
  save_summary_->setEnabled(!running && whole);
}

QString TolerancePage::YieldCentreText() const {
  const std::optional<ResponseSubject>& subject = window_->subject();
  if (!subject) return {};
  if (!subject->target) {
    return QStringLiteral("公称回路の fo, Q, H (入力した部品の回路: 目標なし)");
  }
  const auto shown = [](double value) {
    return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
  };
  return QStringLiteral("設計の目標 fo = %1  Q = %2  H = %3")
      .arg(shown(subject->target->Fo), shown(subject->target->Q), shown(subject->target->H));
}

void TolerancePage::SubjectChanged() {
  yield_centre_->setText(YieldCentreText());
  // Cancel first: the cancelled signal writes its own status, which the clearing replaces.
  const bool was_running = runner_->running();
  discard_stopped_ = true;
  runner_->Cancel();
  discard_stopped_ = false;
  ClearResults();
  QString status = window_->subject() ? QStringLiteral("「実行」で解析します")
                                      : QStringLiteral("結果がありません");
  if (was_running) {
    status =
        QStringLiteral("回路またはオペアンプの設定が変わったため、実行中の解析を中止しました。") +
        status;
  }
  status_->setText(status);
  SetRunning(false);
}

void TolerancePage::ClearResults() {
  analysis_.reset();
  ClearTable(sensitivities_);
  ClearTable(worst_case_);
  ClearTable(monte_carlo_);
  yield_->clear();
  for (QChartView* view : histograms_) ClearHistogram(view->chart());
  window_->plot()->ClearGainBand();
  progress_->setValue(0);
}

void TolerancePage::Run() {
  if (running()) return;
  const auto& subject = window_->subject();
  if (!subject || !window_->data()) {
    ShowWarning(this, QStringLiteral("先にメイン画面で計算してください"));
    return;
  }
  const calc::ToleranceTexts texts = Texts();
  calc::Outcome<calc::ToleranceSettings> settings =
      calc::ReadToleranceTexts(subject->circuit, texts, calc::NewSeed());
  if (!settings) {
    ShowWarning(this, QString::fromStdU16String(calc::WindowText(settings.diagnostic())));
    return;
  }
  // A designed circuit is judged against the target it was designed for.
  settings->yield_centre = subject->target;
  ClearResults();
  // The seed in use, so that the run can be repeated by typing it.
  seed_->setPlaceholderText(QStringLiteral("空欄: 新しいシード (前回 %1)").arg(settings->seed));
  status_->setText(QStringLiteral("計算中... (シード %1)").arg(settings->seed));
  SetRunning(true);
  runner_->Start(subject->circuit, *settings, window_->panel()->settings().op_amp,
                 window_->data()->frequencies_hz);
}

void TolerancePage::Cancel() { runner_->Cancel(); }

calc::ToleranceTexts TolerancePage::Texts() const {
  calc::ToleranceTexts texts;
  texts.resistor = resistor_->text().toStdU16String();
  texts.capacitor = capacitor_->text().toStdU16String();
  for (int part = 0; part < calc::kPartCount; ++part) {
    texts.part[part] = parts_[part]->text().toStdU16String();
  }
  texts.distribution = distribution_->currentIndex() == 1 ? calc::Distribution::kNormal
                                                          : calc::Distribution::kUniform;
  texts.trials = trials_->text().toStdU16String();
  texts.seed = seed_->text().toStdU16String();
  texts.limit_fo = limit_fo_->text().toStdU16String();
  texts.limit_q = limit_q_->text().toStdU16String();
  texts.limit_h = limit_h_->text().toStdU16String();
  return texts;
}

void TolerancePage::Show(const calc::ToleranceAnalysis& analysis) {
  analysis_ = analysis;
  const bool has_r2 = analysis.circuit.HasR2();
  // The formulas' rows, then the model's, which stay blank without an op-amp.
  const calc::Sensitivities* blocks[] = {
      &analysis.sensitivities,
      analysis.model_sensitivities ? &*analysis.model_sensitivities : nullptr};
  int table_row = 0;
  for (const calc::Sensitivities* block : blocks) {
    if (block == nullptr) continue;
    for (const calc::PartSensitivities* figure : {&block->Fo, &block->Q, &block->H}) {
      int column = 0;
      for (const auto value : kSensitivityColumns) {
        const bool absent = column == kR2Column && !has_r2;
        sensitivities_->item(table_row, column++)
            ->setText(absent ? QString() : Plain(figure->*value));
      }
      ++table_row;
    }
  }
  const calc::Range* ranges[kFigureCount] = {&analysis.worst_case.Fo, &analysis.worst_case.Q,
                                             &analysis.worst_case.H};
  const calc::MonteCarloResult& run = analysis.monte_carlo;
  const calc::Percentiles* spreads[kFigureCount] = {&run.Fo, &run.Q, &run.H};
  for (int row = 0; row < kFigureCount; ++row) {
    worst_case_->item(row, 0)->setText(Quantity(ranges[row]->min));
    worst_case_->item(row, 1)->setText(Quantity(ranges[row]->max));
  }
  if (analysis.monte_carlo_stopped) {
    yield_->setText(QStringLiteral("モンテカルロ解析は中止しました (歩留まりなし)"));
    return;
  }
  for (int row = 0; row < kFigureCount; ++row) {
    int column = 0;
    for (const PercentileColumn& percentile : kPercentileColumns) {
      monte_carlo_->item(row, column++)->setText(Quantity(spreads[row]->*percentile.value));
    }
  }
  yield_->setText(
      QStringLiteral("歩留まり %1 % (95 % 区間 %2 - %3 %)、%4 / %5 試行、シード %6、%7の周り")
          .arg(Percent(run.yield.fraction), Percent(run.yield.low), Percent(run.yield.high))
          .arg(run.yield.count)
          .arg(run.yield.trials)
          .arg(run.seed)
          .arg(run.CentredOnTarget() ? QStringLiteral("設計の目標")
                                     : QStringLiteral("公称回路の値")));

  std::array<std::vector<double>, kFigureCount> samples;
  for (auto& sample : samples) sample.reserve(run.trials.size());
  for (const calc::Trial& trial : run.trials) {
    samples[0].push_back(trial.figures.Fo);
    samples[1].push_back(trial.figures.Q);
    samples[2].push_back(trial.figures.H);
  }
  const double centres[kFigureCount] = {run.centre.Fo, run.centre.Q, run.centre.H};
  const double limits[kFigureCount] = {run.settings.limits.Fo, run.settings.limits.Q,
                                       run.settings.limits.H};
  for (int figure = 0; figure < kFigureCount; ++figure) {
    ShowHistogram(histograms_[figure]->chart(), samples[figure], centres[figure], limits[figure]);
  }
  if (!analysis.envelope.frequencies_hz.empty()) {
    window_->plot()->SetGainBand(QStringLiteral("5-95 % 範囲"), analysis.envelope.frequencies_hz,
                                 analysis.envelope.low_db, analysis.envelope.high_db);
  }
  progress_->setValue(100);
  status_->setText(QStringLiteral("完了 (シード %1)").arg(run.seed));
}

void TolerancePage::ExportTrials(const QString& path) {
  if (analysis_) SaveText(calc::TrialsCsv(analysis_->monte_carlo), path);
}

void TolerancePage::ExportSummary(const QString& path) {
  if (analysis_) {
    SaveText(calc::SummaryCsv(analysis_->sensitivities, analysis_->model_sensitivities,
                              analysis_->worst_case, analysis_->monte_carlo),
             path);
  }
}

void TolerancePage::SaveTrialsAs() {
  window_->SaveAs(QStringLiteral("試行を保存"), QStringLiteral("CSV (*.csv)"),
                  QStringLiteral("tolerance_trials.csv"),
                  [this](const QString& path, const QString&) { ExportTrials(path); });
}

void TolerancePage::SaveSummaryAs() {
  window_->SaveAs(QStringLiteral("集計を保存"), QStringLiteral("CSV (*.csv)"),
                  QStringLiteral("tolerance_summary.csv"),
                  [this](const QString& path, const QString&) { ExportSummary(path); });
}

}  // namespace ui
