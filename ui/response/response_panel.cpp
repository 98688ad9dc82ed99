#include "ui/response/response_panel.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"
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

struct FieldRow {
  const char* name;
  const char* label;
  const char* text;
  const char* hint;
};

constexpr FieldRow kFields[] = {
    {"EditGbw", "GBW [Hz]", "10M", "オペアンプの利得帯域幅積"},
    {"EditA0", "A0", "100k", "オペアンプの直流開ループ利得"},
    {"EditSlew", "SR [V/µs]", "13", "オペアンプのスルーレート"},
    {"EditAmplitude", "入力振幅 [V]", "1", "入力正弦波の振幅 (ピーク値)"},
    {"EditTolerance", "許容誤差", "1%", "必要GBWの基準: \"1%\" または \"0.01\""},
};

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

  required_gbw_ = new QLabel(this);
  required_gbw_->setObjectName(QStringLiteral("RequiredGbw"));
  required_slew_ = new QLabel(this);
  required_slew_->setObjectName(QStringLiteral("RequiredSlew"));
  warning_ = new QLabel(this);
  warning_->setObjectName(QStringLiteral("OpAmpWarning"));
  warning_->setWordWrap(true);
  warning_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  for (QLabel* label : {required_gbw_, required_slew_, warning_}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
  }
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
  struct Check {
    const char* name;
    double* target;
    const char* warning;
    bool tolerance;
  };
  const Check checks[] = {
      {"EditGbw", &read.op_amp.Gbw, "GBWに正の値を入力してください", false},
      {"EditA0", &read.op_amp.A0, "A0に正の値を入力してください", false},
      {"EditSlew", &read.slew_v_per_us, "SRに正の値を入力してください", false},
      {"EditAmplitude", &read.input_amplitude_v, "入力振幅に正の値を入力してください", false},
      {"EditTolerance", &read.tolerance, "許容誤差を 1% または 0.01 の形で入力してください", true},
  };
  for (const Check& check : checks) {
    QLineEdit* edit = field(check.name);
    const std::u16string text = edit->text().toStdU16String();
    const double value = check.tolerance ? ParseTolerance(text) : ParsePositive(text);
    if (std::isnan(value)) {
      // The field keeps what was typed, to be corrected; the curves keep the last
      // readable settings. One warning per unreadable text: leaving the field again, or
      // closing the window, does not repeat it.
      if (!isVisible() || warned_text_ == edit->text()) return;
      warned_text_ = edit->text();
      ShowWarning(window(), QString::fromUtf8(check.warning));
      edit->setFocus();
      edit->selectAll();
      return;
    }
    *check.target = value;
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
  required_gbw_->setText(QStringLiteral("必要GBW: %1Hz (許容誤差 %2 %)")
                             .arg(Displayed(data.required_gbw_hz),
                                  QString::number(settings_.tolerance * 100.0, 'g', 6)));
  required_slew_->setText(
      QStringLiteral("必要SR: %1 V/µs").arg(SlewRate(data.required_slew_v_per_us)));
  QStringList shortfalls;
  if (data.gbw_short) {
    shortfalls << QStringLiteral("オペアンプのGBWが不足しています (必要 %1Hz 以上)")
                      .arg(Displayed(data.required_gbw_hz));
  }
  if (data.slew_short) {
    shortfalls << QStringLiteral("オペアンプのスルーレートが不足しています (必要 %1 V/µs 以上)")
                      .arg(SlewRate(data.required_slew_v_per_us));
  }
  warning_->setText(shortfalls.join(u'\n'));
  warning_->setVisible(!shortfalls.isEmpty());
}

}  // namespace ui
