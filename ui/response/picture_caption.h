// The caption under an exported picture of the response: what a reader of the picture
// needs to know it by, the circuit, the op-amp and the day it was drawn.
#ifndef KORVANE_UI_RESPONSE_PICTURE_CAPTION_H
#define KORVANE_UI_RESPONSE_PICTURE_CAPTION_H

#include <QDate>
#include <QString>

#include "calc/circuit/circuit.h"
#include "ui/response/response_data.h"

namespace ui {

// Three lines: the parts as the main window's fields write them (FormatDisplayed; "なし"
// for a circuit without R2), the op-amp settings, and the date (ISO 8601).
//   "R1 = 10.000k  R2 = 1.000k  R3 = 200.000k  C1 = 10.000n  C2 = 10.000n\n"
//   "オペアンプ: GBW = 10.000MHz  A0 = 100.000k  SR = 13.000 V/µs\n"
//   "作成日: 2026-12-10"
QString PictureCaption(const calc::Circuit& circuit, const OpAmpSettings& settings, QDate date);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_PICTURE_CAPTION_H
