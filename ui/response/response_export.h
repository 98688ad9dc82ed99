// Writing what the response window shows to files: the plots as PNG or SVG, the curves
// as CSV, the circuit as a SPICE deck. Each takes the path; choosing it is the caller's.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H
#define KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H

#include <QString>
#include <stdexcept>
#include <string>

class QWidget;

namespace ui {

// A file could not be written; the message names it and says why.
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `widget` as drawn now: SVG when the path ends in ".svg" (any case), PNG otherwise.
void SavePicture(QWidget* widget, const QString& path);

// `text` as the file's whole content, byte for byte.
void SaveText(const std::string& text, const QString& path);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_EXPORT_H
