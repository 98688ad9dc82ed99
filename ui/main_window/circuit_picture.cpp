#include "ui/main_window/circuit_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

namespace ui {
namespace {

// Drawing coordinates, origin at the frame's top-left corner.
constexpr int kTopLine = 12;    // feedback line
constexpr int kSignal = 58;     // input line, C2 and the inverting input
constexpr int kNodeX = 70;      // summing node: R1, R2, C1, C2
constexpr int kInvertX = 124;   // inverting input node: C2, R3
constexpr int kAmpLeft = 140;   // op-amp's input side
constexpr int kAmpTip = 180;    // op-amp's output tip
constexpr int kOutput = 73;     // output line
constexpr int kPlusY = 88;      // non-inverting input
constexpr int kOutNodeX = 206;  // output node and the line up to the feedback line
constexpr int kGroundY = 96;    // top bar of both grounds

void Line(QPainter& p, int x1, int y1, int x2, int y2) { p.drawLine(x1, y1, x2, y2); }

// A resistor as a zigzag of six half-waves between two points on one axis.
void Zigzag(QPainter& p, QPointF from, QPointF to) {
  constexpr int kHalfWaves = 6;
  constexpr double kAmplitude = 4.0;
  const QPointF along = (to - from) / kHalfWaves;
  const QPointF across = QPointF(-along.y(), along.x()) *
                         (kAmplitude / std::max(std::abs(along.x()), std::abs(along.y())));
  QPainterPath path(from);
  for (int i = 0; i < kHalfWaves; ++i) {
    const double side = (i % 2 == 0) ? 1.0 : -1.0;
    path.lineTo(from + along * (i + 0.5) + across * side);
  }
  path.lineTo(to);
  // Slanted strokes are smoothed; the straight lines around stay one crisp device pixel.
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.drawPath(path);
  p.restore();
}

void Dot(QPainter& p, int x, int y) {
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(x + 0.5, y + 0.5), 2.5, 2.5);
  p.setBrush(Qt::NoBrush);
}

void Terminal(QPainter& p, int x, int y) {
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(x + 0.5, y + 0.5), 2.5, 2.5);
  p.setBrush(Qt::NoBrush);
}

// Three bars of decreasing width under (x, y).
void Ground(QPainter& p, int x, int y) {
  constexpr std::array<int, 3> kHalfWidths{8, 5, 2};
  for (std::size_t i = 0; i < kHalfWidths.size(); ++i) {
    const int bar_y = y + 3 * static_cast<int>(i);
    Line(p, x - kHalfWidths[i], bar_y, x + kHalfWidths[i], bar_y);
  }
}

void Text(QPainter& p, int x, int baseline, const QString& text) { p.drawText(x, baseline, text); }

}  // namespace

CircuitPicture::CircuitPicture(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CircuitPicture::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(QRect(QPoint(0, 0), kDrawingSize), Qt::white);
  p.setPen(QPen(Qt::black, 1));
  QFont label_font = font();
  label_font.setPixelSize(10);
  p.setFont(label_font);

  // Input: IN, R1 along the signal line to the summing node.
  Terminal(p, 8, kSignal);
  Text(p, 2, kSignal + 14, QStringLiteral("IN"));
  Line(p, 11, kSignal, 16, kSignal);
  Zigzag(p, QPointF(16, kSignal + 0.5), QPointF(46, kSignal + 0.5));
  Text(p, 24, kSignal - 8, QStringLiteral("R1"));
  Line(p, 46, kSignal, kNodeX, kSignal);

  // R2 from the summing node down to ground.
  Line(p, kNodeX, kSignal, kNodeX, 66);
  Zigzag(p, QPointF(kNodeX + 0.5, 66), QPointF(kNodeX + 0.5, 90));
  Line(p, kNodeX, 90, kNodeX, kGroundY);
  Ground(p, kNodeX, kGroundY);
  Text(p, kNodeX - 22, 82, QStringLiteral("R2"));

  // C1 from the summing node up to the feedback line.
  Line(p, kNodeX, kSignal, kNodeX, 38);
  Line(p, kNodeX - 8, 38, kNodeX + 8, 38);
  Line(p, kNodeX - 8, 33, kNodeX + 8, 33);
  Line(p, kNodeX, 33, kNodeX, kTopLine);
  Text(p, kNodeX + 11, 39, QStringLiteral("C1"));

  // C2 along the signal line to the inverting input.
  Line(p, kNodeX, kSignal, 94, kSignal);
  Line(p, 94, kSignal - 8, 94, kSignal + 8);
  Line(p, 99, kSignal - 8, 99, kSignal + 8);
  Line(p, 99, kSignal, kInvertX, kSignal);
  Text(p, 90, kSignal + 20, QStringLiteral("C2"));

  // R3 from the inverting input up to the feedback line.
  Line(p, kInvertX, kSignal, kInvertX, 48);
  Zigzag(p, QPointF(kInvertX + 0.5, 48), QPointF(kInvertX + 0.5, 22));
  Line(p, kInvertX, 22, kInvertX, kTopLine);
  Text(p, kInvertX + 8, 39, QStringLiteral("R3"));

  // The op-amp: minus input from the C2/R3 node, plus input down to ground.
  Line(p, kInvertX, kSignal, kAmpLeft, kSignal);
  // Smoothed like the zigzags; the half-pixel offsets keep its upright side on one pixel.
  const std::array<QPointF, 3> triangle{QPointF(kAmpLeft + 0.5, 46.5),
                                        QPointF(kAmpLeft + 0.5, 100.5),
                                        QPointF(kAmpTip + 0.5, kOutput + 0.5)};
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.drawPolygon(triangle.data(), static_cast<int>(triangle.size()));
  p.restore();
  Line(p, kAmpLeft + 3, kSignal, kAmpLeft + 8, kSignal);  // minus
  Line(p, kAmpLeft + 3, kPlusY, kAmpLeft + 9, kPlusY);    // plus
  Line(p, kAmpLeft + 6, kPlusY - 3, kAmpLeft + 6, kPlusY + 3);
  Line(p, kAmpLeft, kPlusY, 126, kPlusY);
  Line(p, 126, kPlusY, 126, kGroundY + 6);
  Ground(p, 126, kGroundY + 6);

  // Output: node, OUT terminal, the line up and the feedback line back over the stage.
  Line(p, kAmpTip, kOutput, 218, kOutput);
  Terminal(p, 221, kOutput);
  Text(p, 207, kOutput + 14, QStringLiteral("OUT"));
  Line(p, kOutNodeX, kOutput, kOutNodeX, kTopLine);
  Line(p, kNodeX, kTopLine, kOutNodeX, kTopLine);

  p.setRenderHint(QPainter::Antialiasing);
  Dot(p, kNodeX, kSignal);
  Dot(p, kInvertX, kSignal);
  Dot(p, kInvertX, kTopLine);
  Dot(p, kOutNodeX, kOutput);
}

}  // namespace ui
