#include "ui/response/response_export.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace ui {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw ExportError(QStringLiteral("%1 に書き込めません: %2").arg(path, reason).toStdString());
}

void SaveSvg(QWidget* widget, const QString& path) {
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(widget->size());
  generator.setViewBox(QRect(QPoint(0, 0), widget->size()));
  generator.setTitle(widget->window()->windowTitle());
  QPainter painter;
  if (!painter.begin(&generator)) Fail(path, QStringLiteral("SVG を開けません"));
  widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  painter.end();
}

}  // namespace

void SavePicture(QWidget* widget, const QString& path) {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    SaveSvg(widget, path);
    return;
  }
  QImage image(widget->size() * widget->devicePixelRatio(), QImage::Format_ARGB32);
  image.setDevicePixelRatio(widget->devicePixelRatio());
  image.fill(Qt::white);
  widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  if (!image.save(path, "PNG")) Fail(path, QStringLiteral("PNG を保存できません"));
}

void SaveText(const std::string& text, const QString& path) {
  // Written whole or not at all: an earlier file stays intact when writing fails.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) Fail(path, file.errorString());
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    Fail(path, file.errorString());
  }
  if (!file.commit()) Fail(path, file.errorString());
}

}  // namespace ui
