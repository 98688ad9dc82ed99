// The response window as the calculator gets it: from the module beside the executable,
// loaded on the first click of its button. This test links no Qt Charts of its own.
#include <QLibrary>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "ui/main_window/form_main.h"
#include "ui/main_window/response_loader.h"

class ResponseModuleTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void ButtonLoadsTheModuleAndTheWindowFollowsCommands() {
    // Nothing of the module before the first click.
    QVERIFY(!QLibrary(ui::ResponseModulePath()).isLoaded());
    ui::TFormMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!QLibrary(ui::ResponseModulePath()).isLoaded());

    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("ButtonResponse")),
                      Qt::LeftButton);
    QVERIFY(form.response_view() != nullptr);
    QWidget* window = form.response_view()->Window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral(u"周波数特性"));

    auto* table = window->findChild<QTableWidget*>(QStringLiteral("FiguresTable"));
    QVERIFY(table != nullptr);
    QVERIFY(table->item(0, 1)->text().isEmpty());
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("ButtonCalc")), Qt::LeftButton);
    QVERIFY(!table->item(0, 1)->text().isEmpty());
  }
};

QTEST_MAIN(ResponseModuleTest)
#include "response_module_test.moc"
