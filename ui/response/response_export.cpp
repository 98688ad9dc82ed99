#include "ui/response/response_export.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

#include "ui/response/plot_fonts.h"

namespace ui {
namespace {

constexpr int kCaptionPixels = 11;
constexpr int kCaptionPadding = 6;

// Why `path` could not be written, in words a user acts on: the system's own message is
// English and says less.
QString Reason(const QString& path, QFileDevice::FileError error) {
  const QFileInfo file(path);
  const QFileInfo folder(file.absolutePath());
  if (!folder.exists()) return QStringLiteral("フォルダ「%1」がありません").arg(folder.filePath());
  if (!folder.isDir())
    return QStringLiteral("「%1」はフォルダではありません").arg(folder.filePath());
  if (file.isDir()) return QStringLiteral("同じ名前のフォルダがあります");
  if (!folder.isWritable() || (file.exists() && !file.isWritable())) {
    return QStringLiteral("書き込む権限がありません");
  }
  if (error == QFileDevice::WriteError || error == QFileDevice::ResourceError) {
    return QStringLiteral("書き込みが途中で失敗しました (空き容量を確認してください)");
  }
  return QStringLiteral("ファイルを作れませんでした");
}

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw ExportError(QStringLiteral("「%1」に保存できませんでした。%2。")
                        .arg(QDir::toNativeSeparators(path), reason));
}

// Opens `path` to be replaced on commit; throws ExportError.
void Open(QSaveFile& file) {
  if (!file.open(QIODevice::WriteOnly))
    Fail(file.fileName(), Reason(file.fileName(), file.error()));
}

void Commit(QSaveFile& file) {
  if (!file.commit()) Fail(file.fileName(), Reason(file.fileName(), file.error()));
}

// The caption's area under the drawing, as wide as the drawing.
QRect CaptionRect(const Picture& picture, const QFont& font) {
  if (picture.caption.isEmpty()) return {};
  const int width = picture.size.width() - 2 * kCaptionPadding;
  const QRect text = QFontMetrics(font).boundingRect(QRect(0, 0, std::max(width, 1), 10000),
                                                     Qt::TextWordWrap, picture.caption);
  return {kCaptionPadding, picture.size.height() + kCaptionPadding, std::max(width, 1),
          text.height() + kCaptionPadding};
}

// Qt's SVG writer opens a group for every change of the painter's state, most of them
// empty: left out, they are two thirds of the file.
QByteArray WithoutEmptyGroups(QByteArray svg) {
  static const QRegularExpression kEmptyGroup(QStringLiteral("<g\\b[^>]*>\\s*</g>\\s*"));
  QString text = QString::fromUtf8(svg);
  for (qsizetype before = -1; before != text.size();) {
    before = text.size();
    text.remove(kEmptyGroup);
  }
  return text.toUtf8();
}

void Draw(const Picture& picture, QPainter& painter, const QFont& font, const QRect& caption) {
  picture.draw(painter);
  if (caption.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(QColor(40, 40, 40));
  painter.drawText(caption, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, picture.caption);
}

}  // namespace

ExportError::ExportError(const QString& message) : std::runtime_error(message.toStdString()) {}

PictureFormat PictureFormatOf(const QString& path, PictureFormat otherwise) {
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) return PictureFormat::kSvg;
  if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return PictureFormat::kPng;
  return otherwise;
}

void SavePicture(const Picture& picture, const QString& path, PictureFormat format) {
  const QFont font = PlotFont(kCaptionPixels);
  const QRect caption = CaptionRect(picture, font);
  const QSize size(picture.size.width(),
                   caption.isEmpty() ? picture.size.height() : caption.bottom() + 1);
  QSaveFile file(path);
  Open(file);
  if (format == PictureFormat::kSvg) {
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&drawing);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(picture.title);
    QPainter painter(&generator);
    Draw(picture, painter, font, caption);
    painter.end();
    const QByteArray svg = WithoutEmptyGroups(drawing.data());
    if (file.write(svg) != svg.size()) Fail(path, Reason(path, file.error()));
  } else {
    QImage image(size * picture.pixel_ratio, QImage::Format_ARGB32);
    image.setDevicePixelRatio(picture.pixel_ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    Draw(picture, painter, font, caption);
    painter.end();
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) Fail(path, Reason(path, file.error()));
  }
  Commit(file);
}

void SaveText(const std::string& text, const QString& path) {
  QSaveFile file(path);
  Open(file);
  if (file.write(text.data(), static_cast<qint64>(text.size())) !=
      static_cast<qint64>(text.size())) {
    Fail(path, Reason(path, file.error()));
  }
  Commit(file);
}

QString WithSuffix(const QString& path, const QString& filters, const QString& chosen) {
  if (path.isEmpty()) return path;
  static const QRegularExpression kPattern(QStringLiteral("\\*\\.([^\\s;)]+)"));
  QStringList offered;
  QString wanted;
  for (const QString& filter : filters.split(QStringLiteral(";;"))) {
    for (const QRegularExpressionMatch& match : kPattern.globalMatch(filter)) {
      offered << match.captured(1);
      if (wanted.isEmpty() && filter == chosen) wanted = match.captured(1);
    }
  }
  if (offered.isEmpty()) return path;
  if (wanted.isEmpty()) wanted = offered.front();
  const QString name = QFileInfo(path).fileName();
  for (const QString& suffix : offered) {
    if (name.endsWith(u'.' + suffix, Qt::CaseInsensitive) && name.size() > suffix.size() + 1) {
      return path;
    }
  }
  return path.endsWith(u'.') ? path + wanted : path + u'.' + wanted;
}

void ShowExportError(QWidget* owner, const ExportError& error) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("保存できません"), error.message(),
                  QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

}  // namespace ui
