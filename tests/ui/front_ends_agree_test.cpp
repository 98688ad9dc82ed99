// The response study through both front ends: `korvane-cli response` (its core library, as
// the executable runs it) and the response window on the offscreen platform, fed from the
// main window's fields by its own commands. For each circuit both must show the same
// figures: the JSON's full doubles against the window's values and its figures table, the
// requirements and shortfalls against the window's labels, and the CSV files byte for byte.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/design_command.h"
#include "calc/text/prefixed_unit.h"
#include "calc/text/quantity_format.h"
#include "calc/text/utf8.h"
#include "cli/response_run.h"
#include "tests/support/memory_form.h"
#include "tests/ui/support/modal_box_watch.h"
#include "ui/main_window/response_view.h"
#include "ui/response/response_panel.h"
#include "ui/response/response_window.h"

namespace {

using calc::CurveKind;
using calc::Field;

// One circuit as typed: the design's targets or the parts, and the op-amp. An empty gbw
// runs korvane-cli without an op-amp; the window keeps its own (10 MHz, A0 100k) and only
// the curves both have are compared.
struct Case {
  const char* name;
  bool design;
  const char* fo = "";
  const char* q = "";
  const char* h = "";
  const char* r1 = "";
  const char* r2 = "";
  const char* r3 = "";
  const char* c1 = "";
  const char* c2 = "";
  const char* gbw = "";
  const char* a0 = "100k";
  const char* tolerance = "1%";
};

Case Designed(const char* name, const char* fo, const char* q, const char* h, const char* gbw,
              const char* tolerance = "1%") {
  Case c{name, true};
  c.fo = fo, c.q = q, c.h = h, c.gbw = gbw, c.tolerance = tolerance;
  return c;
}

Case Parts(const char* name, const char* r1, const char* r2, const char* r3, const char* c1,
           const char* c2, const char* gbw, const char* a0 = "100k") {
  Case c{name, false};
  c.r1 = r1, c.r2 = r2, c.r3 = r3, c.c1 = c1, c.c2 = c2, c.gbw = gbw, c.a0 = a0;
  return c;
}

const Case kCases[] = {
    // A Q miss, R2, a target and an op-amp too slow for it.
    Designed("design Q 10 H 10, 1 MHz op-amp", "10k", "10", "10", "1M"),
    Designed("design without R2 (H = 2 Q^2)", "1k", "1", "2", "10M"),
    Designed("design Q 5, bare tolerance 5 (per cent)", "1k", "5", "2", "1M", "5"),
    // 0.01 is 0.01 %: no GBW holds it with an A0 of 100k.
    Designed("design, tolerance 0.01 %: A0 short", "10k", "10", "10", "1M", "0.01"),
    Parts("parts with R2, no target", "10k", "1k", "100k", "10n", "10n", "10M"),
    Parts("parts without R2, no op-amp on the command line", "10k", "", "100k", "10n", "10n", ""),
    Parts("high Q: A0 short at any GBW", "1.5k", "47", "300k", "1n", "1n", "100M"),
};

std::u16string Utf16(const char* text) { return *calc::Utf8ToUtf16(text); }

QString Displayed(double value) {
  return QString::fromStdU16String(calc::FormatDisplayed(value)).trimmed();
}

// The subject the main window hands over after its command on these fields.
std::optional<ui::ResponseSubject> WindowSubject(const Case& c) {
  testing_support::MemoryForm form;
  calc::CalcState state;
  if (c.design) {
    form.Set(Field::EditFo, Utf16(c.fo));
    form.Set(Field::EditQ, Utf16(c.q));
    form.Set(Field::EditH, Utf16(c.h));
    calc::ButtonCalcClick(form, state);
  } else {
    form.Set(Field::EditFo, u"");  // no target, as korvane-cli has none for parts
    const std::pair<Field, const char*> parts[] = {{Field::EditR1, c.r1},
                                                   {Field::EditR2, c.r2},
                                                   {Field::EditR3, c.r3},
                                                   {Field::EditC1, c.c1},
                                                   {Field::EditC2, c.c2}};
    for (const auto& [field, text] : parts) form.Set(field, Utf16(text));
    calc::ButtonTFClick(form, state);
  }
  return ui::CurrentSubject(form, state);
}

cli::ResponseInput CliInput(const Case& c) {
  cli::ResponseInput input;
  input.circuit.design = c.design;
  if (c.design) {
    input.circuit.design_input.fo = c.fo;
    input.circuit.design_input.q = c.q;
    input.circuit.design_input.h = c.h;
  } else {
    input.circuit.parts = {c.r1, c.r2, c.r3, c.c1, c.c2};
  }
  input.gbw = c.gbw;
  input.a0 = c.a0;
  input.slew = "13";  // the window's own
  input.tolerance = c.tolerance;
  return input;
}

struct CliRun {
  int exit_code;
  std::string out, errors;
};
CliRun RunCli(const Case& c, cli::Format format) {
  std::ostringstream out, errors;
  const int exit_code = cli::RunResponse(CliInput(c), format, out, errors);
  return {exit_code, out.str(), errors.str()};
}

// JSON's null is a figure without a value.
double Number(const nlohmann::json& value) {
  return value.is_null() ? calc::kNoValue : value.get<double>();
}

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The figure a table row shows: gains as ratios, like H.
double RowFigure(const calc::ResponseFigures& f, int row) {
  switch (row) {
    case ui::ResponsePanel::kPeak:
      return f.peak_hz;
    case ui::ResponsePanel::kQ:
      return f.q_bandwidth;
    case ui::ResponsePanel::kGain:
      return std::pow(10.0, f.peak_gain_db / 20.0);
    case ui::ResponsePanel::kLow3Db:
      return f.low_3db_hz;
    case ui::ResponsePanel::kHigh3Db:
      return f.high_3db_hz;
    default:
      return f.bandwidth_hz;
  }
}

calc::ResponseFigures FiguresOf(const nlohmann::json& json) {
  calc::ResponseFigures f;
  f.peak_hz = Number(json["peak_hz"]);
  f.peak_gain_db = Number(json["peak_gain_db"]);
  f.low_3db_hz = Number(json["low_3db_hz"]);
  f.high_3db_hz = Number(json["high_3db_hz"]);
  f.bandwidth_hz = Number(json["bandwidth_hz"]);
  f.q_bandwidth = Number(json["q_bandwidth"]);
  f.phase_at_peak_deg = Number(json["phase_at_peak_deg"]);
  return f;
}

QString LabelText(ui::ResponseWindow& window, const char* name) {
  return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class FrontEndsAgreeTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void SameFiguresForTheSameCircuit_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(std::size(kCases)); ++i) {
      QTest::newRow(kCases[i].name) << i;
    }
  }

  void SameFiguresForTheSameCircuit() {
    QFETCH(int, index);
    const Case& c = kCases[index];
    const bool cli_op_amp = *c.gbw != '\0';
    testing_support::ModalBoxWatch watch;

    ui::ResponseWindow window;
    window.show();
    const auto set_field = [&](const char* name, const char* text) {
      QLineEdit* edit = window.panel()->field(name);
      edit->setText(QString::fromUtf8(text));
      Q_EMIT edit->editingFinished();
    };
    if (cli_op_amp) set_field("EditGbw", c.gbw);
    set_field("EditA0", c.a0);
    set_field("EditTolerance", c.tolerance);
    const std::optional<ui::ResponseSubject> subject = WindowSubject(c);
    QVERIFY(subject.has_value());
    window.ShowSubject(subject);
    QVERIFY(window.data().has_value());
    const ui::ResponseData& shown = *window.data();

    const CliRun json_run = RunCli(c, cli::Format::kJson);
    QVERIFY2(json_run.exit_code == 0 || json_run.exit_code == 1, json_run.errors.c_str());
    const nlohmann::json json = nlohmann::json::parse(json_run.out);

    // The figures of every curve both have: the full doubles, and the table's texts.
    int compared = 0;
    for (const CurveKind kind : {CurveKind::kTarget, CurveKind::kIdeal, CurveKind::kOpAmp}) {
      const std::string name(calc::CurveName(kind));
      const calc::ResponseCurve* curve = shown.Find(kind);
      QCOMPARE(curve != nullptr && (kind != CurveKind::kOpAmp || cli_op_amp), json.contains(name));
      if (!json.contains(name)) continue;
      ++compared;
      const calc::ResponseFigures cli = FiguresOf(json[name]);
      const calc::ResponseFigures& own = curve->figures;
      for (const auto member :
           {&calc::ResponseFigures::peak_hz, &calc::ResponseFigures::peak_gain_db,
            &calc::ResponseFigures::low_3db_hz, &calc::ResponseFigures::high_3db_hz,
            &calc::ResponseFigures::bandwidth_hz, &calc::ResponseFigures::q_bandwidth,
            &calc::ResponseFigures::phase_at_peak_deg}) {
        QVERIFY2(Same(own.*member, cli.*member), name.c_str());
      }
      for (int row = 0; row < ui::ResponsePanel::kRowCount; ++row) {
        const QString cell =
            window.panel()->table()->item(row, static_cast<int>(kind))->text().section(u'\n', 0, 0);
        QCOMPARE(cell,
                 std::isnan(RowFigure(cli, row)) ? QString() : Displayed(RowFigure(cli, row)));
      }
    }
    QCOMPARE(compared, 1 + (subject->target ? 1 : 0) + (cli_op_amp ? 1 : 0));

    if (!cli_op_amp) return;  // the requirements are the op-amp's
    const double gbw = Number(json["required_gbw_hz"]);
    const double a0 = Number(json["required_a0"]);
    const double slew = Number(json["required_slew_v_per_us"]);
    QVERIFY(Same(shown.required_gbw_hz, gbw));
    QVERIFY(Same(shown.required_a0, a0));
    QVERIFY(Same(shown.required_slew_v_per_us, slew));
    QVERIFY(LabelText(window, "RequiredGbw")
                .startsWith(std::isnan(gbw) ? QStringLiteral("必要GBW: - ")
                                            : QStringLiteral("必要GBW: ") + Displayed(gbw) +
                                                  QStringLiteral("Hz")));
    QCOMPARE(LabelText(window, "RequiredA0"), QStringLiteral("必要A0: ") + Displayed(a0));
    QCOMPARE(LabelText(window, "RequiredSlew"),
             QStringLiteral("必要SR: ") +
                 QString::fromStdU16String(calc::FormatPrefixedUnit(slew)) +
                 QStringLiteral(" V/µs"));

    // The same shortfalls: one warning line each, naming the same required figure.
    const QStringList window_warnings =
        LabelText(window, "OpAmpWarning").split(u'\n', Qt::SkipEmptyParts);
    QStringList cli_warnings;
    for (const QString& line : QString::fromStdString(json_run.errors).split(u'\n')) {
      if (line.startsWith(QStringLiteral("warning: the op-amp"))) cli_warnings << line;
    }
    QCOMPARE(window_warnings.size(), cli_warnings.size());
    if (std::isnan(gbw)) {
      QVERIFY(window_warnings.contains(
          QStringLiteral("A0が不足しています (必要 %1 以上)").arg(Displayed(a0))));
      QVERIFY(cli_warnings.filter(QStringLiteral("A0")).filter(Displayed(a0) + u' ').size() == 1);
    }

    // The curves' files, byte for byte.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("curves.csv"));
    window.ExportCsv(path);
    const CliRun csv_run = RunCli(c, cli::Format::kCsv);
    QCOMPARE(ReadFile(path), QString::fromStdString(csv_run.out));
    QVERIFY(csv_run.out.find("\r\n") != std::string::npos);
    QVERIFY2(watch.unexpected().isEmpty(), qPrintable(watch.unexpected().join(u"; ")));
  }
};

QTEST_MAIN(FrontEndsAgreeTest)
#include "front_ends_agree_test.moc"
