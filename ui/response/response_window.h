// The response window: a tabbed window whose first page plots the circuit's frequency
// response beside its figures; further pages (AddPage) show other studies of the same
// circuit. It follows the main window through ResponseView::ShowSubject.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H
#define KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H

#include <QTabWidget>
#include <functional>
#include <optional>
#include <string>

#include "ui/main_window/response_view.h"
#include "ui/response/response_data.h"

class QLabel;

namespace ui {

class ResponsePanel;
class ResponsePlot;
class TolerancePage;

class ResponseWindow : public QTabWidget, public ResponseView {
  Q_OBJECT

 public:
  explicit ResponseWindow(QWidget* parent = nullptr);

  QWidget* Window() override { return this; }
  void ShowSubject(const std::optional<ResponseSubject>& subject) override;

  // Adds a page after the existing ones; the window owns it.
  int AddPage(QWidget* page, const QString& title) { return addTab(page, title); }

  // Picks a path to save to: (caption, filter, suggested name) -> path, empty to cancel.
  // The file dialog by default; tests put their own.
  using PathPicker = std::function<QString(const QString& caption, const QString& filter,
                                           const QString& suggested)>;
  void SetPathPicker(PathPicker picker) { pick_path_ = std::move(picker); }
  QString PickPath(const QString& caption, const QString& filter, const QString& suggested) {
    return pick_path_(caption, filter, suggested);
  }

  // What is shown now: nothing without a result.
  const std::optional<ResponseSubject>& subject() const { return subject_; }
  const std::optional<ResponseData>& data() const { return data_; }
  ResponsePlot* plot() const { return plot_; }
  ResponsePanel* panel() const { return panel_; }
  TolerancePage* tolerance_page() const { return tolerance_; }

  // The exports, to a given path; they throw ExportError. Without a result there is
  // nothing to export and they do nothing.
  void ExportPicture(const QString& path);
  void ExportCsv(const QString& path);
  void ExportNetlist(const QString& path);
  // The deck for the circuit and op-amp shown, over the plotted range; empty without a
  // result.
  std::string Netlist() const;

 protected:
  // A closed window computes nothing: a tolerance run under way stops.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Recompute();
  void SavePictureAs();
  void SaveCsvAs();
  void SaveNetlistAs();
  void CopyNetlist();
  QWidget* CreateResponsePage();

  std::optional<ResponseSubject> subject_;
  std::optional<ResponseData> data_;
  ResponsePlot* plot_ = nullptr;
  ResponsePanel* panel_ = nullptr;
  TolerancePage* tolerance_ = nullptr;
  QLabel* status_ = nullptr;
  PathPicker pick_path_;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H
