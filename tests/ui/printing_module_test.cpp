// Printing as the calculator gets it: from its module, loaded at the first print. This
// test links no Qt Print Support of its own, so whatever of it the process maps, the
// window loaded.
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "tests/ui/support/modal_box_watch.h"
#include "ui/main_window/form_main.h"
#include "ui/main_window/module_loader.h"
#include "ui/main_window/printing_loader.h"

using testing_support::ModalBoxWatch;

namespace {

// Whether the process has a file whose path contains `name` mapped (/proc/self/maps).
bool Mapped(const QString& name) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  if (!maps.open(QIODevice::ReadOnly)) qFatal("cannot read /proc/self/maps");
  return QString::fromLocal8Bit(maps.readAll()).contains(name);
}

const QString kPrintSupport = QStringLiteral("libQt6PrintSupport.so");

// The message of the ModuleError that `load` throws; empty when it throws none.
template <typename Load>
QString ModuleErrorOf(Load load) {
  try {
    load();
  } catch (const ui::ModuleError& error) {
    return QString::fromStdString(error.what());
  }
  return QString();
}

}  // namespace

class PrintingModuleTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void FirstPrintLoadsTheModuleAndShowsTheDialog() {
    ModalBoxWatch watch;
    ui::TFormMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!Mapped(kPrintSupport));
    QVERIFY(!Mapped(ui::PrintingModulePath()));

    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("ButtonCalc")), Qt::LeftButton);
    QStringList dialogs;
    const auto cancel = [&dialogs](QWidget& box) {
      dialogs << QString::fromLatin1(box.metaObject()->className());
      if (box.inherits("QPrintDialog")) static_cast<QDialog&>(box).reject();
    };
    watch.Expect(cancel);
    watch.Expect(cancel);
    auto* print = form.findChild<QPushButton*>(QStringLiteral("ButtonPrint"));
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(Mapped(kPrintSupport));
    QVERIFY(Mapped(ui::PrintingModulePath()));
    // The second print uses the loaded module: the dialog again, nothing else.
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(dialogs, QStringList(2, QStringLiteral("QPrintDialog")));
    QVERIFY2(watch.unexpected().isEmpty(), qPrintable(watch.unexpected().join(u"; ")));
  }

  // A missing module or factory is an error that names the file, for the error box.
  void LoadFailuresNameTheFile() {
    const QString missing_path = ui::ModulePath(QStringLiteral("korvane_no_such_module.so"));
    QVERIFY(!QFile::exists(missing_path));
    const QString missing_error = ModuleErrorOf(
        [] { ui::ModuleFactory(QStringLiteral("korvane_no_such_module.so"), "any"); });
    QVERIFY2(missing_error.startsWith(QStringLiteral("Cannot load ") + missing_path + u':'),
             qPrintable(missing_error));

    const QString no_factory = ModuleErrorOf([] {
      ui::ModuleFactory(QStringLiteral("korvane_printing.so"), "korvane_no_such_factory");
    });
    QCOMPARE(no_factory,
             QStringLiteral("No korvane_no_such_factory in ") + ui::PrintingModulePath());
  }
};

QTEST_MAIN(PrintingModuleTest)
#include "printing_module_test.moc"
