// The response window's tolerance page: the tolerance run's fields, its tables of
// sensitivities, worst case and Monte Carlo figures, histograms of fo, Q and H with the
// yield limits, the 5-95 % gain envelope on the first page's plot, and CSV exports.
// A new circuit or op-amp clears the results; the user runs again with 実行.
#ifndef KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_PAGE_H
#define KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_PAGE_H

#include <QWidget>
#include <array>
#include <optional>

#include "calc/circuit/circuit_parts.h"
#include "calc/studies/tolerance_analysis.h"
#include "calc/studies/tolerance_inputs.h"

class QChartView;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace ui {

class ResponseWindow;
class ToleranceRunner;

class TolerancePage : public QWidget {
  Q_OBJECT

 public:
  explicit TolerancePage(ResponseWindow* window);
  ~TolerancePage() override;

  // The circuit or op-amp of the window changed: stops a run and clears the results.
  void SubjectChanged();
  // Reads the fields and starts a run; a warning box for unusable fields.
  void Run();
  void Cancel();
  // The run's settings as typed (the optimisation page's yield run uses them too).
  calc::ToleranceTexts Texts() const;

  const std::optional<calc::ToleranceAnalysis>& analysis() const { return analysis_; }
  bool running() const;

  // The exports, to a given path; they throw ExportError and do nothing without results.
  void ExportTrials(const QString& path);
  void ExportSummary(const QString& path);

 Q_SIGNALS:
  // A run ended: with results, a fault, or cancelled.
  void RunEnded();

 private:
  // fo, Q and H: the rows of the tables and the histograms.
  static constexpr int kFigureCount = 3;

  // The constructor's steps, in order.
  QFormLayout* CreateFields();
  void CreateRunControls();
  void CreateTables();
  void CreateHistograms();
  void LayOut(QFormLayout* fields);
  void Connect();

  void Show(const calc::ToleranceAnalysis& analysis);
  void ClearResults();
  // Where the yield limits are centred for the circuit shown: its design's target, or the
  // nominal circuit's figures for a typed circuit.
  QString YieldCentreText() const;
  void SetRunning(bool running);
  void SaveTrialsAs();
  void SaveSummaryAs();

  ResponseWindow* window_;
  ToleranceRunner* runner_;
  std::optional<calc::ToleranceAnalysis> analysis_;
  bool discard_stopped_ = false;  // a run stopped for a new circuit shows nothing
  QLineEdit* resistor_;
  QLineEdit* capacitor_;
  std::array<QLineEdit*, calc::kPartCount> parts_;
  QComboBox* distribution_;
  QLineEdit* trials_;
  QLineEdit* seed_;
  QLineEdit* limit_fo_;
  QLineEdit* limit_q_;
  QLineEdit* limit_h_;
  QLabel* yield_centre_;
  QPushButton* run_button_;
  QPushButton* cancel_button_;
  QPushButton* save_trials_;
  QPushButton* save_summary_;
  QProgressBar* progress_;
  QLabel* status_;
  QTableWidget* sensitivities_;
  QTableWidget* worst_case_;
  QTableWidget* monte_carlo_;
  QLabel* yield_;
  std::array<QChartView*, kFigureCount> histograms_;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_TOLERANCE_TOLERANCE_PAGE_H
