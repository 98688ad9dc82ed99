#include "ui/response/response_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "calc/studies/response_study.h"
#include "calc/studies/setting_texts.h"
#include "calc/studies/stage_settings.h"
#include "calc/text/diagnostic.h"
#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"
#include "ui/response/setting_fields.h"
#include "ui/response/settings_text.h"

namespace ui {
namespace {

QString Displayed(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

// V/µs has its prefix: no second one.
QString SlewRate(double v_per_us) {
  return QString::fromStdU16String(calc::FormatPrefixedUnit(v_per_us));
}

// The figure of `figures` that a table row shows; gains as ratios, like H.
double Figure(const calc::ResponseFigures& figures, int row) {
  switch (row) {
    case ResponsePanel::kPeak:
      return figures.peak_hz;
    case ResponsePanel::kQ:
      return figures.q_bandwidth;
    case ResponsePanel::kGain:
      return std::pow(10.0, figures.peak_gain_db / 20.0);
    case ResponsePanel::kLow3Db:
      return figures.low_3db_hz;
    case ResponsePanel::kHigh3Db:
      return figures.high_3db_hz;
    case ResponsePanel::kBandwidth:
      return figures.bandwidth_hz;
    default:
      return calc::kNoValue;
  }
}

// The panel's fields, in the order of the form. The op-amp's figures come first: picking a
// part fills them, and editing one of them makes the op-amp a typed one again.
enum PanelField {
  kGbw,
  kA0,
  kCin,
  kSlew,
  kEn,
  kEnCorner,
  kIn,
  kInCorner,
  kSwing,
  kOutputCurrent,
  kSupply,
  kAmplitude,
  kLoad,
  kTolerance,
  kPanelFieldCount
};
constexpr int kPartFigureCount = kOutputCurrent + 1;

struct FieldRow {
  const char* name;
  calc::StageSetting setting;
  const char* unit;
  const char* text;  // the start-up text
  const char* hint;
  bool optional;  // empty: not known, or no such limit
};

// In the order of PanelField, but for the tolerance, read by its own rule.
constexpr FieldRow kFields[] = {
    {"EditGbw", calc::StageSetting::kGbw, "Hz", "10M", "オペアンプの利得帯域幅積", false},
    {"EditA0", calc::StageSetting::kA0, "", "100k", "オペアンプの直流開ループ利得", false},
    {"EditCin", calc::StageSetting::kCin, "F", "0",
     "反転入力の入力容量 (差動 + 同相)。空欄は 0 とみなします", true},
    {"EditSlew", calc::StageSetting::kSlew, "V/µs", "13",
     "オペアンプのスルーレート。必要SRは実際に組む回路 (オペアンプを含む回路) のピークで求めます。"
     "空欄はスルーレートの制限なし",
     true},
    {"EditEn", calc::StageSetting::kEn, "V/√Hz", "", "入力換算電圧雑音 (白色部)。空欄は雑音なし",
     true},
    {"EditEnCorner", calc::StageSetting::kEnCorner, "Hz", "",
     "電圧雑音の 1/f コーナー周波数。空欄は白色のみ", true},
    {"EditIn", calc::StageSetting::kIn, "A/√Hz", "", "反転入力の電流雑音 (白色部)。空欄は雑音なし",
     true},
    {"EditInCorner", calc::StageSetting::kInCorner, "Hz", "",
     "電流雑音の 1/f コーナー周波数。空欄は白色のみ", true},
    {"EditSwing", calc::StageSetting::kSwing, "V", "",
     "出力が各電源レールにどこまで近づけるか。空欄はレール・ツー・レール", true},
    {"EditOutputCurrent", calc::StageSetting::kOutputCurrent, "A", "",
     "オペアンプの出力電流。空欄は確かめません", true},
    {"EditSupply", calc::StageSetting::kSupply, "V", "30", "電源電圧の全幅 (30 は ±15 V)", false},
    {"EditAmplitude", calc::StageSetting::kAmplitude, "V", "1", "入力正弦波の振幅 (ピーク値)",
     false},
    {"EditLoad", calc::StageSetting::kLoad, "Ω", "10k", "出力からグラウンドへの負荷抵抗", false},
};
static_assert(std::size(kFields) == kTolerance);

const char* const kToleranceHint =
    "必要GBW・必要A0の基準: ピーク、Q、利得、帯域幅、両側の -3 dB 点がすべて理想回路の値から"
    "この範囲に入ること。数字だけでも % です (\"1\" = \"1%\"、\"0.01\" = 0.01 %)";

QString FieldText(double value) { return QString::fromStdU16String(calc::StageSettingText(value)); }

QString DiagnosticText(const calc::Diagnostic& diagnostic) {
  return QString::fromStdU16String(calc::WindowText(diagnostic));
}

}  // namespace

ResponsePanel::ResponsePanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout;
  layout->addLayout(form_);
  op_amp_box_ = new QComboBox(this);
  op_amp_box_->setObjectName(QStringLiteral("ComboOpAmp"));
  op_amp_box_->setAccessibleName(QStringLiteral("オペアンプ"));
  op_amp_box_->setToolTip(QStringLiteral(
      "一覧のオペアンプを選ぶと、その値が下の欄に入ります。値を書き換えると (手入力) に戻ります"));
  op_amp_box_->addItem(QStringLiteral("(手入力)"));
  form_->addRow(QStringLiteral("オペアンプ"), op_amp_box_);
  catalogue_warning_ = new QLabel(this);
  catalogue_warning_->setObjectName(QStringLiteral("CatalogueWarning"));
  catalogue_warning_->setAccessibleName(QStringLiteral("オペアンプ一覧の警告"));
  catalogue_warning_->setWordWrap(true);
  catalogue_warning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  catalogue_warning_->hide();
  form_->addRow(catalogue_warning_);
  AddFields();
  connect(op_amp_box_, &QComboBox::activated, this, &ResponsePanel::PickPart);

  table_ = new QTableWidget(kRowCount, kCurveKinds, this);
  table_->setObjectName(QStringLiteral("FiguresTable"));
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("目標"), QStringLiteral("回路"), QStringLiteral("回路+オペアンプ")});
  table_->horizontalHeaderItem(static_cast<int>(CurveKind::kTarget))
      ->setToolTip(QStringLiteral("目標の値は fo、Q、H から式で厳密に求めます"));
  table_->setVerticalHeaderLabels({QStringLiteral("fo / ピーク [Hz]"), QStringLiteral("Q"),
                                   QStringLiteral("H / ピーク利得"),
                                   QStringLiteral("-3 dB 下 [Hz]"), QStringLiteral("-3 dB 上 [Hz]"),
                                   QStringLiteral("帯域幅 [Hz]")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setWordWrap(true);
  // Tab moves on to the next control rather than through the cells.
  table_->setTabKeyNavigation(false);
  layout->addWidget(table_, 1);

  const auto add_label = [this, layout](const char* name, const QString& accessible,
                                        const QString& hint) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(accessible);
    label->setToolTip(hint);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    return label;
  };
  required_gbw_ = add_label(
      "RequiredGbw", QStringLiteral("必要GBW"),
      QStringLiteral("ピーク、Q、利得、帯域幅、両側の -3 dB 点がすべて理想回路の値から許容誤差に"
                     "入る最小のGBW (それより上のGBWでも入ります)"));
  required_a0_ = add_label("RequiredA0", QStringLiteral("必要A0"),
                           QStringLiteral("GBW が十分に大きいとき、同じ基準を満たす最小のA0"));
  required_slew_ = add_label(
      "RequiredSlew", QStringLiteral("必要SR"),
      QStringLiteral("オペアンプを含む回路のピークで、入力振幅の正弦波が求めるスルーレート"));
  headroom_ = add_label(
      "Headroom", QStringLiteral("ヘッドルーム"),
      QStringLiteral("入力振幅でのピーク電圧 (出力、加算点、反転入力)、ピークでの出力電流 (C1、R3 "
                     "と負荷へ)、出力がクリップもスルーレート制限もしない最大の入力振幅"));
  headroom_->setWordWrap(true);
  warning_ = add_label("OpAmpWarning", QStringLiteral("オペアンプの不足"), QString());
  warning_->setWordWrap(true);
  warning_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  headroom_warning_ = add_label("HeadroomWarning", QStringLiteral("ヘッドルームの警告"), QString());
  headroom_warning_->setWordWrap(true);
  headroom_warning_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  ReadFields();
  Clear();
}

ResponsePanel::~ResponsePanel() {
  // Deleting the children moves the focus out of a field, which finishes its editing: a
  // panel that is going away must not read its fields (or warn) from its base's destructor.
  if (fields_ != nullptr) disconnect(fields_, nullptr, this, nullptr);
}

void ResponsePanel::AddFields() {
  auto* messages = new QLabel(this);
  messages->setObjectName(QStringLiteral("FieldWarning"));
  messages->setAccessibleName(QStringLiteral("入力の警告"));
  fields_ = new SettingFields(this, form_, messages);
  for (const FieldRow& row : kFields) {
    fields_->Add(row.name, row.setting, QString::fromUtf8(row.unit), QString::fromUtf8(row.text),
                 QString::fromUtf8(row.hint), row.optional);
  }
  fields_->Add("EditTolerance", QStringLiteral("許容誤差"), QStringLiteral("1%"),
               QString::fromUtf8(kToleranceHint), calc::ParseResponseTolerance);
  form_->addRow(messages);
  connect(fields_, &SettingFields::Finished, this, [this](QLineEdit* edit) { ReadFields(edit); });
  connect(fields_, &SettingFields::Edited, this, &ResponsePanel::FigureEdited);
}

void ResponsePanel::SetCatalogue(std::vector<calc::OpAmpPart> parts,
                                 const std::vector<calc::Diagnostic>& warnings) {
  parts_ = std::move(parts);
  while (op_amp_box_->count() > 1) op_amp_box_->removeItem(op_amp_box_->count() - 1);
  for (const calc::OpAmpPart& part : parts_) {
    op_amp_box_->addItem(QString::fromStdString(part.name));
  }
  QStringList texts;
  for (const calc::Diagnostic& warning : warnings) texts << DiagnosticText(warning);
  catalogue_warning_->setText(texts.join(u'\n'));
  catalogue_warning_->setVisible(!texts.isEmpty());
}

void ResponsePanel::PickPart(int index) {
  if (index <= 0 || index > static_cast<int>(parts_.size())) {
    ReadFields();
    return;
  }
  const calc::StageOpAmp part = calc::StageOpAmpOf(parts_[static_cast<std::size_t>(index - 1)]);
  // One field for the swing: the nearer rail bounds the output, so the larger swing counts.
  const double swing = std::fmax(part.swing_low_v, part.swing_high_v);
  const double figures[kPartFigureCount] = {part.gbw_hz,    part.a0,
                                            part.cin_f,     part.slew_v_per_s / 1e6,
                                            part.en_v_rthz, part.en_corner_hz,
                                            part.in_a_rthz, part.in_corner_hz,
                                            swing,          part.output_current_a};
  for (int i = 0; i < kPartFigureCount; ++i) fields_->edit(i)->setText(FieldText(figures[i]));
  ReadFields();
}

void ResponsePanel::FigureEdited(int field) {
  if (field < kPartFigureCount && op_amp_box_->currentIndex() != 0) {
    // The fields no longer hold the part's figures.
    op_amp_box_->setCurrentIndex(0);
    ReadFields();
  }
}

QLineEdit* ResponsePanel::field(const char* name) const {
  return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void ResponsePanel::ReadFields(const QLineEdit* finished) {
  const bool changed = fields_->Read(finished);
  OpAmpSettings read;
  calc::StageOpAmp& f = read.figures;
  const auto value = [this](int field) { return fields_->value(field); };
  const int picked = op_amp_box_->currentIndex();
  if (picked > 0 && picked <= static_cast<int>(parts_.size())) {
    f = calc::StageOpAmpOf(parts_[static_cast<std::size_t>(picked - 1)]);
  }
  f.gbw_hz = value(kGbw);
  f.a0 = value(kA0);
  f.cin_f = value(kCin);
  f.slew_v_per_s = value(kSlew) * 1e6;
  f.en_v_rthz = value(kEn);
  f.en_corner_hz = value(kEnCorner);
  f.in_a_rthz = value(kIn);
  f.in_corner_hz = value(kInCorner);
  f.swing_low_v = f.swing_high_v = value(kSwing);
  f.output_current_a = value(kOutputCurrent);
  read.conditions = settings_.conditions;  // the temperature and band are the noise page's
  read.conditions.supply_v = value(kSupply);
  read.conditions.input_amplitude_v = value(kAmplitude);
  read.conditions.load_ohm = value(kLoad);
  // GBW and A0 are never empty: their last valid values stand for a refused text.
  read.op_amp = *calc::OpAmpModelOf(f);
  read.slew_v_per_us = value(kSlew);
  read.input_amplitude_v = read.conditions.input_amplitude_v;
  read.tolerance = value(kTolerance);
  const bool named = read.figures.name != settings_.figures.name;
  settings_ = read;
  if (changed || named) Q_EMIT SettingsChanged();
}

void ResponsePanel::Clear() {
  for (int row = 0; row < kRowCount; ++row) {
    for (int column = 0; column < kCurveKinds; ++column) {
      table_->setItem(row, column, new QTableWidgetItem(QString()));
    }
  }
  required_gbw_->setText(QStringLiteral("必要GBW: -"));
  required_a0_->setText(QStringLiteral("必要A0: -"));
  required_slew_->setText(QStringLiteral("必要SR: -"));
  headroom_->setText(QStringLiteral("最大入力振幅: -"));
  for (QLabel* label : {warning_, headroom_warning_}) {
    label->clear();
    label->hide();
  }
}

void ResponsePanel::ShowHeadroom(const calc::Outcome<calc::Headroom>& headroom) {
  if (!headroom) {
    headroom_->setText(
        QStringLiteral("最大入力振幅: - (%1)").arg(DiagnosticText(headroom.diagnostic())));
    headroom_warning_->hide();
    return;
  }
  const calc::Headroom& h = *headroom;
  const QString limit = h.limit == calc::HeadroomLimit::kSlew ? QStringLiteral("スルーレート")
                                                              : QStringLiteral("出力振幅");
  QString text = QStringLiteral("最大入力振幅: %1V (ピーク、%2で制限)\n")
                     .arg(Displayed(h.max_input_v), limit) +
                 QStringLiteral("ピーク電圧: 出力 %1V、加算点 %2V、反転入力 %3V\n")
                     .arg(Displayed(h.peak_output_v), Displayed(h.peak_summing_node_v),
                          Displayed(h.peak_inverting_input_v)) +
                 QStringLiteral("ピークでの出力電流: %1A").arg(Displayed(h.peak_output_current_a));
  headroom_->setText(text);
  QStringList warnings;
  for (const calc::Diagnostic& warning : h.warnings) warnings << DiagnosticText(warning);
  headroom_warning_->setText(warnings.join(u'\n'));
  headroom_warning_->setVisible(!warnings.isEmpty());
}

void ResponsePanel::Show(const ResponseData& data) {
  Clear();
  const Curve* target = data.Find(CurveKind::kTarget);
  for (const Curve& curve : data.curves) {
    const int column = static_cast<int>(curve.kind);
    for (int row = 0; row < kRowCount; ++row) {
      const double value = Figure(curve.figures, row);
      QString text = Displayed(value);
      if (target != nullptr && curve.kind != CurveKind::kTarget) {
        const std::u16string error = PercentError(value, Figure(target->figures, row));
        if (!error.empty()) text += QStringLiteral("\n(") + QString::fromStdU16String(error) + u')';
      }
      auto* item = new QTableWidgetItem(text);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(row, column, item);
    }
  }
  // A figure without a value reads "-": the warning below says why.
  const auto figure = [](double value, const QString& unit) {
    return std::isnan(value) ? QStringLiteral("-") : Displayed(value) + unit;
  };
  required_gbw_->setText(QStringLiteral("必要GBW: %1 (許容誤差 %2 %)")
                             .arg(figure(data.required_gbw_hz, QStringLiteral("Hz")),
                                  QString::number(settings_.tolerance * 100.0, 'g', 6)));
  required_a0_->setText(QStringLiteral("必要A0: %1").arg(figure(data.required_a0, QString())));
  required_slew_->setText(
      QStringLiteral("必要SR: %1 V/µs").arg(SlewRate(data.required_slew_v_per_us)));
  QStringList shortfalls;
  for (const calc::Diagnostic& shortfall : data.shortfalls) shortfalls << DiagnosticText(shortfall);
  warning_->setText(shortfalls.join(u'\n'));
  warning_->setVisible(!shortfalls.isEmpty());
}

}  // namespace ui
