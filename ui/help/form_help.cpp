#include "ui/help/form_help.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <array>

#include "ui/boxes/warning_box.h"
#include "ui/main_window/window_fonts.h"
#include "ui/main_window/window_placement.h"

namespace ui {
namespace {

constexpr QSize kClientSize{495, 293};

constexpr std::array<const char16_t*, 22> kHelpLines{
    u"２次の多重帰還BPFの定数と伝達関数の計算を行います。",
    u"",
    u"【回路定数の計算】",
    u"数値の入力には補助単位 p,n,u,m,K,M,G,T を付けて入力できます( 1.2e-6 の様な指数表現も可)。",
    u"最初に目的の伝達関数のパラメータ fo, Q, H を入力します。",
    u"「参照Z」に回路インピーダンスの参照値を設定します。",
    u"「Lock」チェックボックスをチェックしている場合はC2の値を変更せず入力された値を用います。",
    u"「定数計算」ボタンをクリックすると回路定数を計算し、結果の伝達関数を逆算して表示します。",
    u"「印刷」ボタンで結果をテキストで印刷します。",
    u"「コピー」ボタンで結果をテキストでクリップボードにコピーします。",
    u"",
    u"伝達関数の結果の誤差を小さくしたい場合。",
    u"CRのE系列値を大きな値にするか「参照Z」を微調整して再計算します。",
    u"低Qの領域ではHを微調整することでQの誤差を低減できます。",
    u"E系列値に「∞」を指定した場合は計算値をそのまま出力します。",
    u"",
    u"【伝達関数の計算】",
    u"R1,R2,R3,C1,C2に値を入力して「伝達関数」ボタンをクリックすると結果の fo, Q, H を表示します。",
    u"",
    u"【使用上の注意】",
    u"オペアンプのゲインが高域で低下するため、ユニティゲイン近くの高域では減衰量が低下します。",
    u"",
};

}  // namespace

QStringList HelpTextLines() {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(kHelpLines.size()));
  for (const char16_t* line : kHelpLines) lines.append(QString::fromUtf16(line));
  return lines;
}

TFormHelp::TFormHelp(QWidget* main_window)
    : QWidget(main_window, Qt::Window), main_window_(main_window) {
  setObjectName(QStringLiteral("FormHelp"));
  setWindowTitle(QStringLiteral("Help"));
  setFont(HelpWindowFont());
  resize(kClientSize);
  // Only the main window's closing ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
}

void TFormHelp::ShowInFront() {
  if (memo_ == nullptr) BuildContents();
  if (!placed_) PlaceOverMainWindow();
  show();
  raise();
  activateWindow();
}

void TFormHelp::BuildContents() {
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setAccessibleName(QStringLiteral("Help"));
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo_->setTabChangesFocus(true);
  memo_->setPlainText(HelpTextLines().join(u'\n'));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo_);
  memo_->setFocus(Qt::OtherFocusReason);
}

void TFormHelp::PlaceOverMainWindow() {
  placed_ = true;
  if (main_window_ == nullptr) return;
  const QRect main_frame = main_window_->frameGeometry();
  // This window has no frame yet; the window manager gives it one like the main window's.
  const QSize outer = size() + (main_frame.size() - main_window_->size());
  const ScreenPoint corner =
      PlaceHelpWindow(ScreenRectFromQRect(main_frame), outer.width(), outer.height(),
                      ScreenRectFromQRect(MonitorWorkArea(main_window_)));
  move(ToQPoint(corner));
}

}  // namespace ui
