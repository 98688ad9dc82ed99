#include "ui/response/picture_caption.h"

#include <cmath>

#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"

namespace ui {
namespace {

QString Displayed(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

}  // namespace

QString PictureCaption(const calc::Circuit& circuit, const OpAmpSettings& settings, QDate date) {
  const QString r2 = circuit.HasR2() ? Displayed(circuit.R2) : QStringLiteral("なし");
  return QStringLiteral("R1 = %1  R2 = %2  R3 = %3  C1 = %4  C2 = %5\n")
             .arg(Displayed(circuit.R1), r2, Displayed(circuit.R3), Displayed(circuit.C1),
                  Displayed(circuit.C2)) +
         QStringLiteral("オペアンプ: GBW = %1Hz  A0 = %2  SR = %3 V/µs\n")
             .arg(Displayed(settings.op_amp.Gbw), Displayed(settings.op_amp.A0),
                  QString::fromStdU16String(calc::FormatPrefixedUnit(settings.slew_v_per_us))) +
         QStringLiteral("作成日: %1").arg(date.toString(Qt::ISODate));
}

}  // namespace ui
