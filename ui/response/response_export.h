// Writing what the response window shows to files: the plots as PNG or SVG with a caption,
// the curves as CSV, the circuit as a SPICE deck. Each takes the path; choosing it is the
// caller's. A file is written whole or not at all: an earlier one stays intact on failure.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H
#define KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H

#include <QSize>
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>

class QPainter;
class QWidget;

namespace ui {

// A file could not be written; the message, in Japanese, names it and says why.
class ExportError : public std::runtime_error {
 public:
  explicit ExportError(const QString& message);
  QString message() const { return QString::fromStdString(what()); }
};

enum class PictureFormat { kPng, kSvg };

// The format that the path's suffix names (".png" or ".svg", any case), else `otherwise`.
PictureFormat PictureFormatOf(const QString& path, PictureFormat otherwise);

// What a picture shows: `draw` paints an area of `size` logical pixels, and the caption is
// written under it. A PNG has `pixel_ratio` pixels per logical pixel.
struct Picture {
  QSize size;
  qreal pixel_ratio = 1.0;
  std::function<void(QPainter&)> draw;
  QString caption;
  QString title;  // the SVG's title
};

// Writes `picture` to `path` in `format`; throws ExportError.
void SavePicture(const Picture& picture, const QString& path, PictureFormat format);

// `text` as the file's whole content, byte for byte; throws ExportError.
void SaveText(const std::string& text, const QString& path);

// The path the user meant: `path` as it is when its name ends in a suffix that one of the
// dialog's `filters` offers ("PNG 画像 (*.png);;SVG 画像 (*.svg)", any case), else with the
// suffix of the filter chosen (the first when `chosen` is none of them) added.
//   WithSuffix("/tmp/plot", "PNG (*.png);;SVG (*.svg)", "SVG (*.svg)") -> "/tmp/plot.svg"
//   WithSuffix("/tmp/plot.PNG", "PNG (*.png);;SVG (*.svg)", "SVG (*.svg)") -> "/tmp/plot.PNG"
//   WithSuffix("/tmp/deck.v2", "SPICE (*.cir)", "") -> "/tmp/deck.v2.cir"
QString WithSuffix(const QString& path, const QString& filters, const QString& chosen);

// Tells the user in a box over `owner` that an export failed, with the error's message.
void ShowExportError(QWidget* owner, const ExportError& error);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H
