// Qt's standard dialogs speak Japanese once Qt's own translation is installed: the file
// dialog's labels and buttons, the print dialog's texts. The expected words are those of
// Qt's Japanese translation (qtbase_ja.qm).
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/main_window/qt_translations.h"

namespace {

struct DialogTexts {
  QString look_in;
  QString file_name;
  QString save;
  QString cancel;
};

// The labels and buttons of Qt's own save dialog, as a new one shows them now.
DialogTexts SaveDialogTexts() {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  return {dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
          dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
          buttons->button(QDialogButtonBox::Save) != nullptr
              ? buttons->button(QDialogButtonBox::Save)->text()
              : buttons->buttons().front()->text(),
          buttons->button(QDialogButtonBox::Cancel)->text()};
}

}  // namespace

class QtTranslationsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void StandardDialogsTurnJapanese() {
    // Before: Qt's English, as the window showed it.
    const DialogTexts english = SaveDialogTexts();
    QCOMPARE(english.look_in, QStringLiteral("Look in:"));
    QCOMPARE(english.cancel, QStringLiteral("Cancel"));

    QVERIFY(ui::InstallQtTranslations());
    QVERIFY(ui::InstallQtTranslations());  // once is enough; again changes nothing
    const DialogTexts japanese = SaveDialogTexts();
    QCOMPARE(japanese.look_in, QStringLiteral(u"アドレス:"));
    QCOMPARE(japanese.file_name, QStringLiteral(u"ファイル名(&N):"));
    QCOMPARE(japanese.save, QStringLiteral(u"保存(&S)"));
    QCOMPARE(japanese.cancel, QStringLiteral(u"キャンセル"));
    // The print dialog's own texts come from the same translation.
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral(u"印刷"));
  }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
