#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace palvex {
namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by number.
constexpr std::array kEntries = {
    Entry{30001, "メモリの確保に失敗しました"},
    Entry{30002, "作業フォルダの取得に失敗しました"},
    Entry{30003, "「全範囲」「すべての色」を対象とした処理はできません"},
    Entry{30004, "バックアップファイルの作成に失敗しました"},
    Entry{30005, "イメージの反転に失敗しました"},
    Entry{30006, "イメージの回転に失敗しました"},
    Entry{30008, "３個より少なくなるときは削除できません\n『消去』で処理してください"},
    Entry{30009, "選択されているすべての折点が削除されます\n処理を継続してもよろしいですか"},
    Entry{30010, "これ以上追加できません"},
    Entry{30011, "ビットマップファイルの保存に失敗しました"},
    Entry{30012, "ビットマップファイルの情報取得に失敗しました"},
    Entry{30016, "ビットマップファイルの情報取得に失敗しました"},
    Entry{30017,
          "現在のイメージには256色以上が使用されています\n"
          "このまま保存すると透過色に近い色も透過されるおそれがあります\n"
          "このまま保存処理を実行してもよろしいですか"},
    Entry{30018, "サイズが、5,000pixelを超えないように再設定してください"},
    Entry{30019, "現在の描画色が透過色と同じになっています\n描画色を透過色以外の色にしてください"},
    Entry{30020, "このファイルタイプはセットできません"},
    Entry{30021,
          "OLE の初期化に失敗しました。OLE "
          "ライブラリのバージョンが正しいことを確認してください。"},
    Entry{30022, "背景イメージのセットに失敗しました"},
    Entry{30023,
          "JPEGで保存すると透過部分が変わることがあります\n"
          "このまま保存処理を実行してもよろしいですか"},
    Entry{30027, "イメージの貼り付けに失敗しました"},
    Entry{30033, "ファイルが見つかりません\nこの履歴を削除しますか"},
    Entry{30035,
          "書き込み場所にアクセス権がない可能性があります\n"
          "管理者として実行するか、アクセス権のある場所に保存してください"},
    Entry{30036, "ファイルの展開に失敗しました"},
    Entry{30048, "エクスプローラの起動に失敗しました"},
    Entry{30056, "指定したファイルは既に存在します\n上書きしてもよろしいですか"},
    Entry{30064, "プリンタＤＣの取得に失敗しました"},
    Entry{30069, "正常に保存しました\n保存場所を表示しますか"},
    Entry{30070, "正常に保存しました"},
    Entry{30075, "リボンメニューの初期化に失敗しました"},
    Entry{30077, "ファイルが見つかりません"},
    Entry{30082, "プリンタの初期化に失敗しました"},
    Entry{30088, "イメージのセットに失敗しました"},
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
