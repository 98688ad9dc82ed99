// The response window: a tabbed window whose first page plots the circuit's frequency
// response beside its figures; further pages (AddPage) show other studies of the same
// circuit. It follows the main window through ResponseView::ShowSubject. It opens within
// the screen's work area, has a minimum size that keeps its fields usable (the pages
// scroll below it), and its own help (the ヘルプ button, F1).
#ifndef KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H
#define KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H

#include <QTabWidget>
#include <functional>
#include <optional>
#include <string>

#include "ui/main_window/response_view.h"
#include "ui/response/response_data.h"
#include "ui/response/response_export.h"

class QLabel;

namespace ui {

class OptimizePage;
class ResponseHelp;
class ResponsePanel;
class ResponsePlot;
class TolerancePage;

// A path chosen in a save dialog and the filter it was chosen under (none: the first).
struct PickedPath {
  PickedPath(QString chosen_path = {}, QString chosen_filter = {})
      : path(std::move(chosen_path)), filter(std::move(chosen_filter)) {}
  QString path;
  QString filter;
};

class ResponseWindow : public QTabWidget, public ResponseView {
  Q_OBJECT

 public:
  explicit ResponseWindow(QWidget* parent = nullptr);

  QWidget* Window() override { return this; }
  void ShowSubject(const std::optional<ResponseSubject>& subject) override;
  void SetCircuitApplier(CircuitApplier apply) override { apply_ = std::move(apply); }
  // How a page writes a set of parts into the main window; empty when there is none.
  const CircuitApplier& circuit_applier() const { return apply_; }
  void ShowCommandFailed() override;
  void ShowCleared() override;
  // The 適用 path: marks the circuit shown now (the one the analysis of an applied set
  // gave) as applied for `searched_for`, and shows it so (ResponseSubject::MarkApplied).
  void MarkSubjectApplied(const std::optional<calc::TransferFunction>& searched_for);

  // The line above the plots: where the circuit shown came from and its parts, or why
  // nothing is shown; and whether the curves are those of the last good circuit after a
  // command that gave no result.
  QString HeaderText() const;
  bool ShowsLastGoodCircuit() const { return stale_; }

  // Adds a page after the existing ones; the window owns it.
  int AddPage(QWidget* page, const QString& title) { return addTab(page, title); }

  // Picks a path to save to: (caption, filters, suggested name) -> path and the filter
  // chosen, an empty path to cancel. The file dialog by default; tests put their own.
  using PathPicker = std::function<PickedPath(const QString& caption, const QString& filters,
                                              const QString& suggested)>;
  void SetPathPicker(PathPicker picker) { pick_path_ = std::move(picker); }

  // Asks for a path, adds the chosen filter's suffix when the name has none of the
  // filters' (WithSuffix), and hands it to `write` with the filter chosen. An export that
  // fails (ExportError) is shown in a box; the user may choose again.
  using Writer = std::function<void(const QString& path, const QString& filter)>;
  void SaveAs(const QString& caption, const QString& filters, const QString& suggested,
              const Writer& write);

  // The window's help, at the topic of the page in front; nullptr until first shown.
  void ShowHelp();
  ResponseHelp* help() const { return help_; }

  // The size the window opens at where the screen has room, and the least it shrinks to
  // (less on a screen without room for it).
  static constexpr QSize kDefaultSize{1000, 640};
  static constexpr QSize kMinimumSize{720, 480};

  // What is shown now: nothing without a result.
  const std::optional<ResponseSubject>& subject() const { return subject_; }
  const std::optional<ResponseData>& data() const { return data_; }
  ResponsePlot* plot() const { return plot_; }
  ResponsePanel* panel() const { return panel_; }
  TolerancePage* tolerance_page() const { return tolerance_; }
  OptimizePage* optimize_page() const { return optimize_; }

  // The exports, to a given path; they throw ExportError. Without a result there is
  // nothing to export and they do nothing. The picture is SVG for a path ending in ".svg",
  // else `otherwise`'s format; it carries a caption (PictureCaption) dated today.
  void ExportPicture(const QString& path);
  void ExportPicture(const QString& path, PictureFormat otherwise);
  void ExportCsv(const QString& path);
  void ExportNetlist(const QString& path);
  // The deck for the circuit and op-amp shown, over the plotted range; empty without a
  // result.
  std::string Netlist() const;

 protected:
  // A closed window computes nothing: a tolerance run or a search under way stops.
  void closeEvent(QCloseEvent* event) override;
  // The first show fits the window into the work area of the main window's screen.
  void showEvent(QShowEvent* event) override;

 private:
  void Recompute();
  void UpdateHeader();
  void SavePictureAs();
  void SaveCsvAs();
  void SaveNetlistAs();
  void CopyNetlist();
  QWidget* CreateResponsePage();
  void PlaceOnScreen();
  void LoadCatalogue();

  std::optional<ResponseSubject> subject_;
  std::optional<ResponseData> data_;
  ResponsePlot* plot_ = nullptr;
  ResponsePanel* panel_ = nullptr;
  TolerancePage* tolerance_ = nullptr;
  OptimizePage* optimize_ = nullptr;
  CircuitApplier apply_;
  QLabel* status_ = nullptr;
  QLabel* header_ = nullptr;
  bool stale_ = false;    // the last command failed; subject_ is the last good circuit
  bool cleared_ = false;  // クリア emptied the fields since the last good circuit
  ResponseHelp* help_ = nullptr;
  PathPicker pick_path_;
  bool placed_ = false;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_WINDOW_H
