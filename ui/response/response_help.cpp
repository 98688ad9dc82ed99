#include "ui/response/response_help.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/main_window/window_placement.h"

namespace ui {
namespace {

const QSize kHelpSize(620, 560);

// The sections, in the order of HelpTopic.
const char* const kAnchors[] = {"response", "zoom", "exports", "tolerance", "cli"};

// Paragraphs are one run of text: a line break in Japanese HTML shows as a blank.
const char kHelpHtml[] =
    "<h2>周波数特性ウィンドウ</h2>"
    "<p>メイン画面で最後に計算した回路 (設計またはR,Cからの計算) "
    "の周波数特性と、部品のばらつきによる"
    "特性の広がりを示します。メイン画面で計算し直すと、このウィンドウも新しい回路に変わります。</p>"
    "<h3><a name=\"response\"></a>応答ページ</h3>"
    "<p>上が利得 [dB]、下が位相 [°] のグラフで、横軸は周波数 [Hz] の対数目盛です。曲線は 3 "
    "本です。</p>"
    "<ul>"
    "<li><b>目標</b> (灰色の破線): メイン画面の fo、Q、H で求める理想的なバンドパスです。fo と Q "
    "が読めるときだけ表示します。</li>"
    "<li><b>回路 (理想オペアンプ)</b> (青): "
    "部品の値どおりの回路を、理想のオペアンプで動かしたときの特性です。</li>"
    "<li><b>回路 (オペアンプ)</b> (赤): 同じ回路を、右の欄の GBW と A0 "
    "のオペアンプで動かしたときの特性です。</li>"
    "</ul>"
    "<p>点はそれぞれの曲線で測ったピークと -3 dB の点です。右の表はその値 "
    "(ピーク周波数、帯域幅から求めた Q、"
    "ピーク利得、-3 dB の周波数、帯域幅) で、括弧の中は目標に対する誤差です。</p>"
    "<p>右上の欄にはオペアンプの GBW [Hz]、A0、スルーレート SR [V/µs]、入力振幅 [V] (ピーク値)、"
    "許容誤差を入れます。値はメイン画面と同じ書き方 (10M、4k7、1.5e6 など) で読みます。読めない値は"
    "警告を出し、計算は前の値のまま続けます。</p>"
    "<p><b>必要GBW</b> は、オペアンプを入れた回路の特性が許容誤差の中に収まる最小の GBW です。"
    "<b>必要SR</b> は、ピークの周波数で入力振幅の正弦波を出すのに要るスルーレートです。"
    "オペアンプが足りないときは赤字で知らせます。</p>"
    "<h3><a name=\"zoom\"></a>拡大と読み取り</h3>"
    "<ul>"
    "<li><b>マウスホイール</b>: "
    "ポインタの位置を中心に拡大・縮小します。グラフの中と周波数軸の上では周波数を、"
    "左の目盛 (利得・位相) の上ではその軸を拡大します。<b>Ctrl</b> を押しながらでは両方の軸です。"
    "利得の軸を拡大すると、ピーク付近で目標・理想・オペアンプの曲線とばらつきの範囲を見分けられます"
    "。</li>"
    "<li><b>ドラッグ</b>: 囲んだ周波数の範囲に拡大します。</li>"
    "<li><b>ダブルクリック</b>: 全体の表示に戻します。</li>"
    "<li><b>キーボード</b>: Tab でグラフに移ると枠が色付きになります。<b>+</b> / <b>-</b> "
    "で周波数を拡大・縮小し、"
    "Ctrl を押しながらでは利得 (位相) の軸も拡大・縮小します。矢印キーで表示を動かし、<b>0</b> "
    "で全体に戻します。</li>"
    "<li><b>読み取り</b>: "
    "グラフの上でポインタを動かすと、その周波数での各曲線の利得と位相をグラフの下に表示します。"
    "この行は選択してコピーできます。</li>"
    "</ul>"
    "<p>周波数の目盛は 100、1k、10k、1M のように SI 接頭語で書きます。10 "
    "倍の区切りが見えないほど拡大しても、"
    "1-2-5 などの刻みで目盛を付けます。</p>"
    "<h3><a name=\"exports\"></a>保存とコピー</h3>"
    "<ul>"
    "<li><b>図を保存 (PNG/SVG)</b>: 表示しているとおりのグラフを保存します。図の下には回路の部品値"
    "(メイン画面の表示と同じ書き方)、オペアンプの設定と作成日を書き添えます。SVG では曲線を 1 "
    "本ずつの"
    "パスで書き、実際に使った字体の名前を記録します。</li>"
    "<li><b>曲線を CSV で保存</b>: 列は frequency_hz と、曲線ごとの *_gain_db、*_phase_deg "
    "(target、ideal、opamp) です。"
    "数値は読み戻すと同じ値になる最短の形で書きます。</li>"
    "<li><b>ネットリストをコピー / 保存 (.cir)</b>: 回路とオペアンプのモデルを SPICE "
    "のネットリストにします。"
    "ngspice -b で同じ周波数範囲の AC 解析ができます。</li>"
    "</ul>"
    "<p>ファイル名に拡張子がないときは、選んだ種類の拡張子 (.png、.svg、.csv、.cir) を付けます。"
    "保存できなかったときは、ファイルの場所と理由を示します。前からあったファイルはそのまま残ります"
    "。</p>"
    "<h3><a name=\"tolerance\"></a>公差ページ</h3>"
    "<p>部品の公差による fo、Q、H のばらつきを調べます。R と C の公差 "
    "(部品ごとに変えることもできます)、分布"
    "(一様、または公差を 3σ "
    "とする正規分布)、試行回数、シード、歩留まりの許容差を入れて<b>実行</b>を押します。"
    "計算中は<b>中止</b>で止められます。</p>"
    "<ul>"
    "<li><b>感度</b>: 部品の値が 1 % 変わったとき fo、Q、H が何 % 変わるかです。(オペアンプ) の行は"
    "オペアンプを入れた回路で測った値で、GBW の列もあります。</li>"
    "<li><b>ワーストケース</b>: すべての部品を公差の端に置いたときの最小と最大です。</li>"
    "<li><b>モンテカルロ</b>: 試行ごとに部品の値をばらつかせた結果の分布 (百分位) と、fo、Q、H "
    "がすべて"
    "許容差に入った割合 (歩留まり) です。下のヒストグラムの赤い破線が許容差の範囲です。</li>"
    "</ul>"
    "<p>応答ページの利得のグラフには、試行の 5 % から 95 % "
    "の範囲を帯で示します。シードを空欄にすると毎回新しい"
    "シードで計算し、使ったシードを表示します。同じシードを入れると同じ試行を繰り返せます。試行と集"
    "計は"
    "CSV "
    "で保存できます。回路やオペアンプを変えると結果は消えますので、もう一度実行してください。</p>"
    "<h3><a name=\"cli\"></a>コマンドライン (korvane-cli)</h3>"
    "<p>同じ計算をスクリプトから行えます。結果はウィンドウと最後の桁まで同じです。</p>"
    "<pre>\n"
    "korvane-cli design --fo 1k --q 5 --h 2\n"
    "korvane-cli analyze --r1 10k --r2 1k --r3 100k --c1 10n --c2 10n --format json\n"
    "korvane-cli response --design --fo 1k --q 5 --gbw 1M --format csv &gt; curves.csv\n"
    "korvane-cli tolerance --design --fo 1k --q 5 --tol-c 2% --seed 1\n"
    "korvane-cli netlist --r1 10k --r2 1k --r3 100k --c1 10n --c2 10n &gt; filter.cir\n"
    "korvane-cli design --batch &lt; targets.csv &gt; designs.csv\n"
    "</pre>\n"
    "<p>出力は --format で text (報告)、json、csv から選びます。終了コードは 0 が正常、1 "
    "が警告またはエラー、"
    "2 が使い方の誤りです。詳しくは korvane-cli --help と、各コマンドの --help "
    "を見てください。</p>";

}  // namespace

QString HelpAnchor(HelpTopic topic) {
  return QString::fromLatin1(kAnchors[static_cast<int>(topic)]);
}

QString ResponseHelpHtml() { return QString::fromUtf8(kHelpHtml); }

ResponseHelp::ResponseHelp(QWidget* response_window)
    : QWidget(response_window, Qt::Window), response_window_(response_window) {
  setObjectName(QStringLiteral("FormResponseHelp"));
  setWindowTitle(QStringLiteral("周波数特性のヘルプ"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("ResponseHelpText"));
  browser_->setAccessibleName(QStringLiteral("ヘルプの本文"));
  browser_->setOpenLinks(false);
  browser_->setHtml(ResponseHelpHtml());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
}

void ResponseHelp::ShowTopic(HelpTopic topic) {
  if (!placed_) {
    placed_ = true;
    // Within the work area, over the response window; smaller when the screen is.
    const QRect area = MonitorWorkArea(response_window_);
    resize(kHelpSize.boundedTo(area.size()));
    const ScreenPoint corner =
        PlaceWarningBox(ScreenRectFromQRect(response_window_->frameGeometry()), width(), height(),
                        ScreenRectFromQRect(area));
    move(ToQPoint(corner));
  }
  browser_->scrollToAnchor(HelpAnchor(topic));
  show();
  raise();
  activateWindow();
}

}  // namespace ui
