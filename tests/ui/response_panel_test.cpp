// The response panel's settings: every bad text of a field is refused with a message, the
// field marked and the last valid value kept (before, only GBW and A0 warned, and a refused
// field stopped the reading of those after it); and the op-amp box fills the op-amp's
// fields from a catalogue part and turns back to typed figures when one is edited.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "tests/ui/support/modal_box_watch.h"
#include "ui/response/response_panel.h"

namespace {

double Setting(const ui::OpAmpSettings& s, const char* field) {
  const QString name = QString::fromLatin1(field);
  if (name == u"EditGbw") return s.op_amp.Gbw;
  if (name == u"EditA0") return s.op_amp.A0;
  if (name == u"EditSlew") return s.slew_v_per_us;
  if (name == u"EditAmplitude") return s.input_amplitude_v;
  if (name == u"EditTolerance") return s.tolerance;
  if (name == u"EditEn") return s.figures.en_v_rthz;
  if (name == u"EditSupply") return s.conditions.supply_v;
  if (name == u"EditLoad") return s.conditions.load_ohm;
  return calc::kNoValue;
}

}  // namespace

class ResponsePanelTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void BadSettingsAreRefusedAndTheLastValidValueKept_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("kept");
    QTest::newRow("SR -1") << "EditSlew"
                           << "-1" << 13.0;
    QTest::newRow("SR with the minus sign") << "EditSlew" << QStringLiteral(u"\u22121") << 13.0;
    QTest::newRow("amplitude 1e308") << "EditAmplitude"
                                     << "1e308" << 1.0;
    QTest::newRow("tolerance abc") << "EditTolerance"
                                   << "abc" << 0.01;
    QTest::newRow("tolerance 200%") << "EditTolerance"
                                    << "200%" << 0.01;
    QTest::newRow("empty GBW") << "EditGbw"
                               << "" << 10e6;
    QTest::newRow("A0 0") << "EditA0"
                          << "0" << 100e3;
    QTest::newRow("en negative") << "EditEn"
                                 << "-1n" << calc::kNoValue;
    QTest::newRow("supply 0") << "EditSupply"
                              << "0" << 30.0;
    QTest::newRow("load text") << "EditLoad"
                               << "ten" << 10e3;
  }
  void BadSettingsAreRefusedAndTheLastValidValueKept() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(double, kept);
    testing_support::ModalBoxWatch watch;
    ui::ResponsePanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    const QByteArray name = field.toLatin1();
    QLineEdit* edit = panel.field(name.constData());
    QVERIFY(edit != nullptr);
    edit->setText(text);
    watch.Expect();
    Q_EMIT edit->editingFinished();
    QCOMPARE(watch.boxes().size(), std::size_t{1});
    const double now = Setting(panel.settings(), name.constData());
    QVERIFY2(now == kept || (std::isnan(now) && std::isnan(kept)),
             qPrintable(QString::number(now)));
    QVERIFY(!edit->accessibleDescription().isEmpty());  // the field is marked
    auto* messages = panel.findChild<QLabel*>(QStringLiteral("FieldWarning"));
    QVERIFY(messages->isVisibleTo(&panel));
    QCOMPARE(messages->text(), edit->accessibleDescription());
    // Leaving the field again does not repeat the box; a valid text clears the mark.
    Q_EMIT edit->editingFinished();
    QCOMPARE(watch.boxes().size(), std::size_t{1});
    edit->setText(name == "EditEn" ? QStringLiteral("5n") : QStringLiteral("2"));
    Q_EMIT edit->editingFinished();
    QVERIFY(edit->accessibleDescription().isEmpty());
    QVERIFY(!messages->isVisibleTo(&panel));
    QVERIFY2(watch.unexpected().isEmpty(), qPrintable(watch.unexpected().join(u"; ")));
  }

  // A refused GBW no longer stops the tolerance typed after it from counting.
  void ARefusedFieldDoesNotStopTheOthers() {
    testing_support::ModalBoxWatch watch;
    ui::ResponsePanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.field("EditGbw")->setText(QStringLiteral("fast"));
    panel.field("EditTolerance")->setText(QStringLiteral("5%"));
    watch.Expect();
    Q_EMIT panel.field("EditTolerance")->editingFinished();
    QCOMPARE(panel.settings().tolerance, 0.05);
    QCOMPARE(panel.settings().op_amp.Gbw, 10e6);
    QVERIFY(!panel.field("EditGbw")->accessibleDescription().isEmpty());
  }

  void PickingAPartFillsItsFiguresAndEditingTurnsBackToTyped() {
    testing_support::ModalBoxWatch watch;
    ui::ResponsePanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    calc::OpAmpPart part;
    part.name = "X1";
    part.gbw_hz = 3e6;
    part.a0 = 2e5;
    part.slew_v_per_s = 13e6;
    part.en_v_rthz = 18e-9;
    part.in_a_rthz = 1e-14;
    part.cin_diff_f = 2e-12;
    part.cin_cm_f = 5e-12;
    part.swing_low_v = 1.5;
    part.swing_high_v = 2;
    panel.SetCatalogue({part}, {calc::Diagnostic{calc::Problem::kCatalogueEmpty, {"user.csv"}}});
    QComboBox* box = panel.op_amp_box();
    QCOMPARE(box->itemText(0), QStringLiteral("(手入力)"));
    QCOMPARE(box->count(), 2);
    QVERIFY(panel.findChild<QLabel*>(QStringLiteral("CatalogueWarning"))
                ->text()
                .contains(QStringLiteral("user.csv")));

    box->setCurrentIndex(1);
    Q_EMIT box->activated(1);
    QCOMPARE(panel.field("EditGbw")->text(), QStringLiteral("3M"));
    QCOMPARE(panel.field("EditIn")->text(), QStringLiteral("10f"));
    QCOMPARE(panel.field("EditCin")->text(), QStringLiteral("7p"));
    QCOMPARE(panel.field("EditSwing")->text(), QStringLiteral("2"));  // the nearer rail's
    const calc::StageOpAmp picked = panel.CurrentOpAmp();
    QCOMPARE(picked.name, std::string("X1"));
    QCOMPARE(picked.gbw_hz, 3e6);
    QCOMPARE(picked.in_a_rthz, 1e-14);
    QCOMPARE(panel.settings().op_amp.Cin, 2e-12 + 5e-12);

    // Typing in a figure: the fields are typed figures again, the value taken.
    QLineEdit* gbw = panel.field("EditGbw");
    gbw->setFocus();
    gbw->selectAll();
    QTest::keyClicks(gbw, QStringLiteral("4M"));
    QCOMPARE(box->currentIndex(), 0);
    Q_EMIT gbw->editingFinished();
    QCOMPARE(panel.CurrentOpAmp().name, std::string());
    QCOMPARE(panel.CurrentOpAmp().gbw_hz, 4e6);
    QCOMPARE(panel.CurrentOpAmp().en_v_rthz, 18e-9);
    QVERIFY2(watch.unexpected().isEmpty(), qPrintable(watch.unexpected().join(u"; ")));
  }
};

QTEST_MAIN(ResponsePanelTest)
#include "response_panel_test.moc"
