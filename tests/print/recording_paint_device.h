// A paint device that remembers the text drawn on it, page by page, for layout tests.
#ifndef KORVANE_TESTS_PRINT_RECORDING_PAINT_DEVICE_H
#define KORVANE_TESTS_PRINT_RECORDING_PAINT_DEVICE_H

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <vector>

namespace testing_support {

struct DrawnText {
  int page;        // 1 for the first page
  QPointF origin;  // the baseline start, in the painter's coordinates
  QString text;
};

class RecordingPaintDevice final : public QPaintDevice {
 public:
  RecordingPaintDevice() : engine_(this) {}
  ~RecordingPaintDevice() override = default;

  QPaintEngine* paintEngine() const override { return &engine_; }
  // What a layout's page-break callback calls.
  void NewPage() { ++page_; }
  int page() const { return page_; }
  const std::vector<DrawnText>& drawn() const { return drawn_; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
      case PdmHeight:
        return 1000;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 72;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
      default:
        return 1;
    }
  }

 private:
  class Engine final : public QPaintEngine {
   public:
    explicit Engine(RecordingPaintDevice* device)
        : QPaintEngine(QPaintEngine::AllFeatures), device_(device) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      device_->drawn_.push_back({device_->page_, p, item.text()});
    }
    Type type() const override { return QPaintEngine::User; }

   private:
    RecordingPaintDevice* device_;
  };

  mutable Engine engine_;
  int page_ = 1;
  std::vector<DrawnText> drawn_;
};

}  // namespace testing_support

#endif  // KORVANE_TESTS_PRINT_RECORDING_PAINT_DEVICE_H
