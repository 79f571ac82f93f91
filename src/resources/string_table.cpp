#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/language.h"

namespace palvex {
namespace {

struct Entry {
    int id;
    Text text;
};

// Sorted by number.
constexpr std::array kEntries = {
    Entry{30001, PALVEX_TEXT("Messages", "メモリの確保に失敗しました")},
    Entry{30002, PALVEX_TEXT("Messages", "作業フォルダの取得に失敗しました")},
    Entry{30003, PALVEX_TEXT("Messages", "「全範囲」「すべての色」を対象とした処理はできません")},
    Entry{30004, PALVEX_TEXT("Messages", "バックアップファイルの作成に失敗しました")},
    Entry{30005, PALVEX_TEXT("Messages", "イメージの反転に失敗しました")},
    Entry{30006, PALVEX_TEXT("Messages", "イメージの回転に失敗しました")},
    Entry{30008, PALVEX_TEXT("Messages",
                             "３個より少なくなるときは削除できません\n『消去』で処理してください")},
    Entry{30009,
          PALVEX_TEXT("Messages",
                      "選択されているすべての折点が削除されます\n処理を継続してもよろしいですか")},
    Entry{30010, PALVEX_TEXT("Messages", "これ以上追加できません")},
    Entry{30011, PALVEX_TEXT("Messages", "ビットマップファイルの保存に失敗しました")},
    Entry{30012, PALVEX_TEXT("Messages", "ビットマップファイルの情報取得に失敗しました")},
    Entry{30016, PALVEX_TEXT("Messages", "ビットマップファイルの情報取得に失敗しました")},
    Entry{30017, PALVEX_TEXT("Messages",
                             "現在のイメージには256色以上が使用されています\n"
                             "このまま保存すると透過色に近い色も透過されるおそれがあります\n"
                             "このまま保存処理を実行してもよろしいですか")},
    Entry{30018, PALVEX_TEXT("Messages", "サイズが、5,000pixelを超えないように再設定してください")},
    Entry{30019,
          PALVEX_TEXT(
              "Messages",
              "現在の描画色が透過色と同じになっています\n描画色を透過色以外の色にしてください")},
    Entry{30020, PALVEX_TEXT("Messages", "このファイルタイプはセットできません")},
    Entry{30021, PALVEX_TEXT("Messages",
                             "OLE の初期化に失敗しました。OLE "
                             "ライブラリのバージョンが正しいことを確認してください。")},
    Entry{30022, PALVEX_TEXT("Messages", "背景イメージのセットに失敗しました")},
    Entry{30023, PALVEX_TEXT("Messages",
                             "JPEGで保存すると透過部分が変わることがあります\n"
                             "このまま保存処理を実行してもよろしいですか")},
    Entry{30027, PALVEX_TEXT("Messages", "イメージの貼り付けに失敗しました")},
    Entry{30033, PALVEX_TEXT("Messages", "ファイルが見つかりません\nこの履歴を削除しますか")},
    Entry{30035, PALVEX_TEXT("Messages",
                             "書き込み場所にアクセス権がない可能性があります\n"
                             "管理者として実行するか、アクセス権のある場所に保存してください")},
    Entry{30036, PALVEX_TEXT("Messages", "ファイルの展開に失敗しました")},
    Entry{30048, PALVEX_TEXT("Messages", "エクスプローラの起動に失敗しました")},
    Entry{30056,
          PALVEX_TEXT("Messages", "指定したファイルは既に存在します\n上書きしてもよろしいですか")},
    Entry{30064, PALVEX_TEXT("Messages", "プリンタＤＣの取得に失敗しました")},
    Entry{30069, PALVEX_TEXT("Messages", "正常に保存しました\n保存場所を表示しますか")},
    Entry{30070, PALVEX_TEXT("Messages", "正常に保存しました")},
    Entry{30075, PALVEX_TEXT("Messages", "リボンメニューの初期化に失敗しました")},
    Entry{30077, PALVEX_TEXT("Messages", "ファイルが見つかりません")},
    Entry{30082, PALVEX_TEXT("Messages", "プリンタの初期化に失敗しました")},
    Entry{30088, PALVEX_TEXT("Messages", "イメージのセットに失敗しました")},
    Entry{30089, PALVEX_TEXT("Messages",
                             "元に戻す（やり直す）ためのデータが壊れているか、見つかりません\nこの"
                             "操作は実行できません")},
    Entry{30090, PALVEX_TEXT(
                     "Messages",
                     "元に戻すためのデータを作業フォルダに保存できませんでした\n処理を中止します")},
    Entry{30091, PALVEX_TEXT("Messages", "このファイルはバリアファイルとして読み込めません")},
    Entry{30092, PALVEX_TEXT("Messages",
                             "元に戻すためのデータを作業フォルダに保存できませんでした\n"
                             "メモリに保持できるのは最新の１手順分だけです")},
    Entry{30093, PALVEX_TEXT("Messages", "バリアの内側に透過色にできる部分がありません")},
    Entry{30094,
          PALVEX_TEXT("Messages",
                      "選択されたファイルの種類を判別できませんでした\n保存は行われていません")},
    Entry{30173, PALVEX_TEXT("Messages", "実行ファイルと同じ場所にＰＤＦファイルがありません")},
    Entry{30174, PALVEX_TEXT("Messages", "Manual")},
    Entry{30200, PALVEX_TEXT("Messages", "Ver. 1.00 2012.06.18 新規作成")},
    Entry{30201, PALVEX_TEXT("Messages", "Ver. 1.01 2012.11.21 PNG,TIFFの読込みを追加")},
    Entry{30202, PALVEX_TEXT("Messages", "Ver. 1.02 2013.02.09 透過後の背景パターンを追加")},
    Entry{30203,
          PALVEX_TEXT("Messages", "Ver. 1.03 2013.04.17 透過状態表示用背景に自由設定を追加")},
    Entry{30204, PALVEX_TEXT("Messages", "Ver. 1.04 2014.08.14 64bit版を追加")},
    Entry{30205,
          PALVEX_TEXT("Messages", "Ver. 1.05 2022.11.07 アニメポインターの速度調整機能追加")},
    Entry{30300, PALVEX_TEXT("Messages",
                             "方向キーにより10ピクセルずつの移動ができます。("
                             "Ctrlキー押しながらのときは、1ピクセル)")},
    Entry{30301, PALVEX_TEXT("Messages",
                             "選択四角形の辺をクリックすると『選択辺』となり太線で表示されます")},
    Entry{30302,
          PALVEX_TEXT(
              "Messages",
              "選択四角形をＷクリックするクリップボードにコピーされ、貼り付けモードになります")},
    Entry{30303,
          PALVEX_TEXT("Messages", "選択四角形以外の場所をクリックする貼り付けが実行されます")},
    Entry{30304,
          PALVEX_TEXT("Messages",
                      "クリックした「処理範囲」内の指定された「近似範囲」の色を描画色にします")},
    Entry{30305, PALVEX_TEXT("Messages", "F3キーを押して、RGB値の表示と非表示の切替えができます")},
    Entry{30306,
          PALVEX_TEXT("Messages", "クリックした位置の色が連続する範囲内すべてを描画色にします")},
    Entry{30307, PALVEX_TEXT("Messages", "クリックした位置の色を描画色にします")},
    Entry{30308,
          PALVEX_TEXT("Messages", "クリックした「処理範囲」内の透過色を直近の色に埋め戻します")},
    Entry{30309, PALVEX_TEXT("Messages", "バリア内をクリックすると処理が選択できます")},
    Entry{
        30310,
        PALVEX_TEXT(
            "Messages",
            "『選択辺』は、TABキーで右回りに変更できます。(Shiftキー押しながらのときは、左回り)")},
    Entry{30311,
          PALVEX_TEXT("Messages",
                      "『選択辺』は、Shiftキーを押しながら方向キーを押すことで辺の移動ができます")},
    Entry{30312, PALVEX_TEXT("Messages", "F4キーを押して、扁平方向の切替えができます")},
    Entry{30313,
          PALVEX_TEXT("Messages",
                      "Ctrlキーを押しながらマウスの右ボタンを押して、扁平方向の切替えができます")},
    Entry{30314, PALVEX_TEXT("Messages", "ステータスバーに操作ガイドを表示するように設定しました")},
    Entry{30315, PALVEX_TEXT("Messages", "マウスカーソル位置にRGB値を表示するように設定しました")},
    Entry{30316, PALVEX_TEXT(
                     "Messages",
                     "F2キーを押して、ステータスバーへの操作ガイド表示と非表示の切替えができます")},
    Entry{30317, PALVEX_TEXT(
                     "Messages",
                     "F9キーを押して、非描画色上でカーソルを止めるか止めないかの切替えができます")},
    Entry{30318, PALVEX_TEXT("Messages",
                             "ペンモードのとき、非描画色上でカーソルを止めるように設定しました")},
    Entry{30319, PALVEX_TEXT("Messages", "アニメポインタを表示するように設定しました")},
    Entry{30320, PALVEX_TEXT("Messages",
                             "「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示"
                             "するように設定しま"
                             "した")},
    Entry{30353,
          PALVEX_TEXT("Messages",
                      "Ctrlキーを押しながらマウスホィールを回転させて　倍率の変更ができます")},
    Entry{30354, PALVEX_TEXT("Messages",
                             "クリック位置に折点が追加されます。Shiftキーを押しながらクリックしたと"
                             "きは、1つ削除されま"
                             "す")},
    Entry{30355, PALVEX_TEXT("Messages", "折点をドラッグ＆ドロップして自由に位置を変更できます")},
    Entry{30356,
          PALVEX_TEXT("Messages", "ESCキーを押して、最後に追加した折点を削除することができます")},
    Entry{30357, PALVEX_TEXT("Messages",
                             "マウスの右ボタンを押しながらマウスカーソルを上下移動させて範囲矩形の"
                             "扁平率変更ができます")},
    Entry{30358, PALVEX_TEXT("Messages",
                             "マウスの右ボタンを押しながらマウスカーソルを左右移動させて範囲矩形の"
                             "サイズ変更ができます")},
    Entry{30359, PALVEX_TEXT("Messages",
                             "マウスの右ボタンを押しながらマウスホィールを回転させて範囲矩形の角度"
                             "の変更ができます")},
    Entry{30360,
          PALVEX_TEXT("Messages",
                      "Ctrlキー押下＋マウス右ボタン押下＋マウスホィール回転⇒範囲矩形の角度微調整")},
    Entry{30361, PALVEX_TEXT("Messages",
                             "マウスの右ボタンをＷクリックして、ペンスタイルの変更ができます")},
    Entry{30362,
          PALVEX_TEXT(
              "Messages",
              "Ctrlキーを押しながらの移動のときは、枠線を描画せず、イメージのみを描画します")},
};

static_assert(std::is_sorted(kEntries.begin(), kEntries.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

std::string_view LoadString(int id) {
    const auto it = std::lower_bound(kEntries.begin(), kEntries.end(), id,
                                     [](const Entry& e, int value) { return e.id < value; });
    return it != kEntries.end() && it->id == id ? it->text : std::string_view{};
}

std::string MessageText(int id, std::string_view prefix) {
    std::string text(prefix);
    text += LoadString(id);
    return text;
}

}  // namespace palvex
