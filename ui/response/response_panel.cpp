#include "ui/response/response_panel.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "calc/studies/response_study.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/diagnostic.h"
#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"
#include "ui/boxes/warning_box.h"
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

// A field of the panel. `setting` names it in its warning; a field without one is the
// tolerance, read by its own rule.
struct FieldRow {
  const char* name;
  const char* label;
  const char* text;
  const char* hint;
  const char* setting;
};

constexpr FieldRow kFields[] = {
    {"EditGbw", "GBW [Hz]", "10M", "オペアンプの利得帯域幅積", "GBW"},
    {"EditA0", "A0", "100k", "オペアンプの直流開ループ利得", "A0"},
    {"EditSlew", "SR [V/µs]", "13",
     "オペアンプのスルーレート。必要SRは実際に組む回路 (オペアンプを含む回路) のピークで求めます",
     "SR"},
    {"EditAmplitude", "入力振幅 [V]", "1", "入力正弦波の振幅 (ピーク値)", "入力振幅"},
    {"EditTolerance", "許容誤差", "1%",
     "必要GBW・必要A0の基準: ピーク、Q、利得、帯域幅、両側の -3 dB 点がすべて理想回路の値から"
     "この範囲に入ること。数字だけでも % です (\"1\" = \"1%\"、\"0.01\" = 0.01 %)",
     nullptr},
};

QString DiagnosticText(const calc::Diagnostic& diagnostic) {
  return QString::fromStdU16String(calc::WindowText(diagnostic));
}

}  // namespace

ResponsePanel::ResponsePanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  form_ = new QFormLayout;
  layout->addLayout(form_);
  for (const FieldRow& row : kFields) {
    AddField(row.name, QString::fromUtf8(row.label), QString::fromUtf8(row.text),
             QString::fromUtf8(row.hint));
  }

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
  warning_ = add_label("OpAmpWarning", QStringLiteral("オペアンプの不足"), QString());
  warning_->setWordWrap(true);
  warning_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  ReadFields();
  Clear();
}

QLineEdit* ResponsePanel::AddField(const char* name, const QString& label, const QString& text,
                                   const QString& hint) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAccessibleName(label);
  edit->setToolTip(hint);
  form_->addRow(label, edit);
  connect(edit, &QLineEdit::editingFinished, this, &ResponsePanel::ReadFields);
  return edit;
}

QLineEdit* ResponsePanel::field(const char* name) const {
  return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void ResponsePanel::ReadFields() {
  OpAmpSettings read;
  // Where each field's value goes, in the order of kFields.
  double* const targets[] = {&read.op_amp.Gbw, &read.op_amp.A0, &read.slew_v_per_us,
                             &read.input_amplitude_v, &read.tolerance};
  static_assert(std::size(targets) == std::size(kFields));
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const FieldRow& row = kFields[i];
    QLineEdit* edit = field(row.name);
    const std::u16string text = edit->text().toStdU16String();
    calc::Outcome<double> value = row.setting == nullptr ? calc::ParseResponseTolerance(text)
                                                         : calc::ParsePositiveQuantity(text);
    if (!value) {
      // The field keeps what was typed, to be corrected; the curves keep the last
      // readable settings. One warning per unreadable text: leaving the field again, or
      // closing the window, does not repeat it.
      if (!isVisible() || warned_text_ == edit->text()) return;
      warned_text_ = edit->text();
      const calc::Diagnostic warning =
          row.setting == nullptr ? value.diagnostic()
                                 : calc::Diagnostic{calc::Problem::kFieldNotPositive,
                                                    {row.setting, calc::Utf16ToUtf8(text)}};
      ShowWarning(window(), DiagnosticText(warning));
      edit->setFocus();
      edit->selectAll();
      return;
    }
    *targets[i] = *value;
  }
  warned_text_.clear();
  const bool changed = read.op_amp.Gbw != settings_.op_amp.Gbw ||
                       read.op_amp.A0 != settings_.op_amp.A0 ||
                       read.slew_v_per_us != settings_.slew_v_per_us ||
                       read.input_amplitude_v != settings_.input_amplitude_v ||
                       read.tolerance != settings_.tolerance;
  settings_ = read;
  if (changed) Q_EMIT SettingsChanged();
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
  warning_->clear();
  warning_->hide();
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
