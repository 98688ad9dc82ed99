#include "ui/response/optimize/optimize_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "calc/export/search_csv.h"
#include "calc/export/search_report.h"
#include "calc/studies/response_study.h"
#include "calc/studies/tolerance_inputs.h"
#include "calc/text/diagnostic.h"
#include "calc/text/quantity_format.h"
#include "ui/boxes/warning_box.h"
#include "ui/response/optimize/optimize_runner.h"
#include "ui/response/response_export.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_plot.h"
#include "ui/response/response_window.h"
#include "ui/response/tolerance/tolerance_page.h"

namespace ui {
namespace {

// The table's headings, in the order of calc::SearchColumn.
const QStringList kHeadings = {
    QStringLiteral("R1"),       QStringLiteral("R2"),      QStringLiteral("R3"),
    QStringLiteral("C1"),       QStringLiteral("C2"),      QStringLiteral("fo"),
    QStringLiteral("Q"),        QStringLiteral("H"),       QStringLiteral("fo 誤差"),
    QStringLiteral("Q 誤差"),   QStringLiteral("H 誤差"),  QStringLiteral("スコア"),
    QStringLiteral("歩留まり"), QStringLiteral("95% 区間")};

// The fields and buttons beside the table keep this width, however wide the window.
constexpr int kSideWidth = 300;

QLineEdit* AddField(QFormLayout* form, const char* name, const QString& label,
                    const std::u16string& text) {
  auto* edit = new QLineEdit(QString::fromStdU16String(text));
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAccessibleName(label);
  form->addRow(label, edit);
  return edit;
}

QPushButton* MakeButton(const char* name, const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(caption);
  return button;
}

QCheckBox* MakeCheckBox(const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(QString::fromLatin1(name));
  box->setAccessibleName(caption);
  return box;
}

QString Quantity(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

bool SameOpAmp(const std::optional<calc::OpAmp>& a, const std::optional<calc::OpAmp>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return a->A0 == b->A0 && a->Gbw == b->Gbw && a->Cin == b->Cin;
}

}  // namespace

OptimizePage::OptimizePage(ResponseWindow* window)
    : QWidget(window), window_(window), runner_(new OptimizeRunner(this)) {
  setObjectName(QStringLiteral("OptimizePage"));
  CreateControls();

  connect(run_button_, &QPushButton::clicked, this, &OptimizePage::Run);
  connect(cancel_button_, &QPushButton::clicked, this, &OptimizePage::Cancel);
  connect(apply_button_, &QPushButton::clicked, this, &OptimizePage::ApplyChosen);
  connect(bom_button_, &QPushButton::clicked, this, &OptimizePage::SaveBomAs);
  connect(table_, &QTableWidget::itemSelectionChanged, this, &OptimizePage::RowChosen);
  connect(runner_, &OptimizeRunner::Progress, progress_, &QProgressBar::setValue);
  connect(runner_, &OptimizeRunner::Finished, this,
          [this](const calc::PreferredValueSearch& search) {
            Show(search);
            SetRunning(false);
            Q_EMIT RunEnded();
          });
  connect(runner_, &OptimizeRunner::Failed, this, [this](const QString& reason) {
    key_.reset();
    SetRunning(false);
    status_->setText(QStringLiteral("計算できません: %1").arg(reason));
    Q_EMIT RunEnded();
  });
  connect(runner_, &OptimizeRunner::Cancelled, this, [this] {
    key_.reset();
    SetRunning(false);
    progress_->setValue(0);
    status_->setText(QStringLiteral("中止しました"));
    Q_EMIT RunEnded();
  });
  ClearResults();
  SetRunning(false);
}

OptimizePage::~OptimizePage() = default;

void OptimizePage::CreateControls() {
  const calc::SearchTexts defaults;
  auto* form = new QFormLayout;
  allow_fo_ = AddField(form, "EditAllowFo", QStringLiteral("fo の許容誤差"), defaults.allow_fo);
  allow_q_ = AddField(form, "EditAllowQ", QStringLiteral("Q の許容誤差"), defaults.allow_q);
  allow_h_ = AddField(form, "EditAllowH", QStringLiteral("H の許容誤差"), defaults.allow_h);
  steps_ =
      AddField(form, "EditSearchSteps", QStringLiteral("探索幅 (各側の値の数)"), defaults.steps);
  top_ = AddField(form, "EditSearchTop", QStringLiteral("候補数"), defaults.top);
  ranking_ = new QComboBox;
  ranking_->setObjectName(QStringLiteral("ComboRanking"));
  ranking_->setAccessibleName(QStringLiteral("順位"));
  ranking_->addItem(QStringLiteral("スコア"));
  ranking_->addItem(QStringLiteral("歩留まり"));
  form->addRow(QStringLiteral("順位"), ranking_);
  yield_ = MakeCheckBox("CheckSearchYield", QStringLiteral("歩留まりを計算 (公差ページの設定)"));
  ideal_ = MakeCheckBox("CheckSearchIdeal", QStringLiteral("理想オペアンプで評価"));

  run_button_ = MakeButton("ButtonRunSearch", QStringLiteral("実行"));
  cancel_button_ = MakeButton("ButtonCancelSearch", QStringLiteral("中止"));
  apply_button_ = MakeButton("ButtonApplySet", QStringLiteral("適用"));
  apply_button_->setToolTip(QStringLiteral("選んだ組をメイン画面に書き込み、伝達関数を計算します"));
  bom_button_ = MakeButton("ButtonSaveBom", QStringLiteral("部品表を CSV で保存..."));
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("SearchProgress"));
  progress_->setAccessibleName(QStringLiteral("進行状況"));
  progress_->setRange(0, 100);
  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("SearchStatus"));
  status_->setWordWrap(true);

  table_ = new QTableWidget(0, static_cast<int>(kHeadings.size()));
  table_->setObjectName(QStringLiteral("SearchTable"));
  table_->setAccessibleName(QStringLiteral("候補の組"));
  table_->setHorizontalHeaderLabels(kHeadings);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setTabKeyNavigation(false);

  auto* run_row = new QHBoxLayout;
  run_row->addWidget(run_button_);
  run_row->addWidget(cancel_button_);
  auto* side = new QVBoxLayout;
  side->addLayout(form);
  side->addWidget(yield_);
  side->addWidget(ideal_);
  side->addLayout(run_row);
  side->addWidget(progress_);
  side->addWidget(status_);
  side->addWidget(apply_button_);
  side->addWidget(bom_button_);
  side->addStretch(1);
  auto* side_widget = new QWidget(this);
  side_widget->setLayout(side);
  side_widget->setFixedWidth(kSideWidth);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(side_widget);
  layout->addWidget(table_, 1);
}

std::optional<OptimizePage::RunKey> OptimizePage::CurrentKey() const {
  const std::optional<ResponseSubject>& subject = window_->subject();
  if (!subject) return std::nullopt;
  RunKey key{subject->design, std::nullopt};
  // The op-amp the response page shows: the circuit as it will be built.
  if (!ideal_->isChecked()) key.op_amp = window_->panel()->settings().op_amp;
  return key;
}

bool OptimizePage::SameKey(const RunKey& a, const RunKey& b) {
  calc::DesignTexts first = a.design, second = b.design;
  // Without Lock, C2 is a result, not an input: 適用 changes it.
  if (!first.lock) first.c2.clear();
  if (!second.lock) second.c2.clear();
  return first == second && SameOpAmp(a.op_amp, b.op_amp);
}

void OptimizePage::SubjectChanged() {
  const std::optional<RunKey> key = CurrentKey();
  if (key_ && key && SameKey(*key_, *key)) {
    RowChosen();  // the chosen set's curve over the new grid
    return;
  }
  if (running()) runner_->Cancel();
  key_.reset();
  ClearResults();
}

void OptimizePage::Run() {
  const std::optional<RunKey> key = CurrentKey();
  if (!key) {
    ShowWarning(this, QStringLiteral("先にメイン画面で計算してください"));
    return;
  }
  calc::SearchTexts texts;
  texts.design = key->design;
  texts.allow_fo = allow_fo_->text().toStdU16String();
  texts.allow_q = allow_q_->text().toStdU16String();
  texts.allow_h = allow_h_->text().toStdU16String();
  texts.steps = steps_->text().toStdU16String();
  texts.top = top_->text().toStdU16String();
  texts.yield = yield_->isChecked();
  texts.ranking = ranking_->currentIndex() == 1 ? calc::Ranking::kYield : calc::Ranking::kScore;
  texts.tolerance = window_->tolerance_page()->Texts();
  const calc::Outcome<calc::SearchInputs> inputs =
      calc::ReadSearchTexts(texts, key->op_amp, calc::NewSeed());
  if (!inputs) {
    ShowWarning(this, QString::fromStdU16String(calc::WindowText(inputs.diagnostic())));
    return;
  }
  ClearResults();
  key_ = key;
  tolerances_ = inputs->tolerances;
  series_r_ = inputs->settings.design.SeriesR;
  series_c_ = inputs->settings.design.SeriesC;
  const calc::DesignRequest& design = inputs->settings.design;
  target_ = {design.Fo, design.Q, design.H};
  status_->setText(inputs->settings.yield
                       ? QStringLiteral("計算中... (シード %1)").arg(inputs->settings.yield->seed)
                       : QStringLiteral("計算中..."));
  SetRunning(true);
  runner_->Start(inputs->settings);
}

void OptimizePage::Cancel() { runner_->Cancel(); }

bool OptimizePage::running() const { return runner_->running(); }

void OptimizePage::Show(const calc::PreferredValueSearch& search) {
  search_ = search;
  const bool yield = search.reference.yield.has_value();
  const int rows = 1 + static_cast<int>(search.sets.size());
  table_->setRowCount(rows);
  QStringList names{QStringLiteral("基準")};
  for (int row = 1; row < rows; ++row) names << QString::number(row);
  table_->setVerticalHeaderLabels(names);
  for (int row = 0; row < rows; ++row) {
    const calc::ScoredSet& set = row == 0 ? search.reference : search.sets[row - 1];
    const calc::SearchRowTexts cells = calc::SearchRow(set);
    for (int column = 0; column < calc::kSearchColumns; ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdU16String(cells[column]));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
  for (const calc::SearchColumn column :
       {calc::SearchColumn::kYield, calc::SearchColumn::kYieldInterval}) {
    table_->setColumnHidden(static_cast<int>(column), !yield);
  }

  QStringList lines{QStringLiteral("%1 組を探索しました").arg(search.searched)};
  if (search.continuous) {
    const calc::PartValues parts = calc::PartsOf(*search.continuous);
    QStringList values;
    for (int part = 0; part < calc::kPartCount; ++part) {
      if (!calc::HasPart(*search.continuous, part)) continue;
      values << QStringLiteral("%1 %2").arg(QString::fromLatin1(calc::kPartNames[part].data(), 2),
                                            Quantity(parts[part]));
    }
    lines << QStringLiteral("設計の C1, C2 での連続値: %1").arg(values.join(QStringLiteral(", ")));
  }
  if (search.lowest_gbw_hz) {
    lines << QStringLiteral("補償できる最小の GBW: %1Hz").arg(Quantity(*search.lowest_gbw_hz));
  }
  for (const calc::Diagnostic& warning : search.warnings) {
    lines << QString::fromStdU16String(calc::WindowText(warning));
  }
  status_->setText(lines.join(QLatin1Char('\n')));
}

void OptimizePage::ClearResults() {
  search_.reset();
  table_->clearSelection();
  table_->setRowCount(0);
  window_->plot()->ClearOverlayCurve();
  status_->clear();
  progress_->setValue(0);
}

void OptimizePage::SetRunning(bool running) {
  run_button_->setEnabled(!running);
  cancel_button_->setEnabled(running);
  const bool chosen = !running && ChosenSet() != nullptr;
  apply_button_->setEnabled(chosen);
  bom_button_->setEnabled(chosen);
}

const calc::ScoredSet* OptimizePage::ChosenSet() const {
  if (!search_) return nullptr;
  const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
  if (ranges.isEmpty()) return nullptr;
  const int row = ranges.front().topRow();
  if (row == 0) return &search_->reference;
  if (row < 1 || row > static_cast<int>(search_->sets.size())) return nullptr;
  return &search_->sets[static_cast<std::size_t>(row - 1)];
}

void OptimizePage::RowChosen() {
  SetRunning(running());
  const calc::ScoredSet* set = ChosenSet();
  const std::optional<ResponseData>& data = window_->data();
  if (set == nullptr || !data || !key_) {
    window_->plot()->ClearOverlayCurve();
    return;
  }
  const calc::ResponseCurve curve =
      calc::BuiltCurve(set->parts, key_->op_amp, data->frequencies_hz);
  const int row = table_->selectedRanges().front().topRow();
  const QString name = row == 0 ? QStringLiteral("基準の組") : QStringLiteral("候補 %1").arg(row);
  window_->plot()->SetOverlayCurve(name, data->frequencies_hz, curve.gain_db);
}

void OptimizePage::ApplyChosen() {
  const calc::ScoredSet* set = ChosenSet();
  const CircuitApplier& apply = window_->circuit_applier();
  if (set == nullptr || !apply) return;
  const calc::TransferFunction target = target_;
  apply(set->texts);
  // The main window's analysis has no target of its own: the set is judged against the
  // one it was found for.
  window_->MarkSubjectApplied(target);
}

void OptimizePage::ExportBom(const QString& path) {
  const calc::ScoredSet* set = ChosenSet();
  if (set == nullptr) return;
  SaveText(calc::BomCsv(*set, series_r_, series_c_, tolerances_), path);
}

void OptimizePage::SaveBomAs() {
  window_->SaveAs(QStringLiteral("部品表を保存"), QStringLiteral("CSV (*.csv)"),
                  QStringLiteral("bom.csv"),
                  [this](const QString& path, const QString&) { ExportBom(path); });
}

}  // namespace ui
