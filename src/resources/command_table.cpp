#include "resources/command_table.h"

#include <array>

#include "resources/command_ids.h"

namespace palvex {
namespace {

using enum CommandPlace;
using enum CommandKind;

constexpr std::array kCommands = {
    CommandInfo{cmd::ID_FILE_OPEN, "ID_FILE_OPEN", "開く(&O)", "既存のファイルを開きます\n開く",
                ApplicationMenu, "", Button},
    CommandInfo{cmd::ID_FILE_SAVE, "ID_FILE_SAVE", "上書き保存(&S)",
                "作業中のファイルを上書きして保存します\n上書き保存", ApplicationMenu, "", Button},
    CommandInfo{cmd::ID_AS_NORMAL, "ID_AS_NORMAL", "通常のイメージとして保存(&N)",
                "編集中のイメージを名前を付けて透過のないイメージとして保存します\n"
                "通常のイメージとして保存",
                ApplicationMenu, "", SplitButton},
    CommandInfo{cmd::ID_AS_JPEG, "ID_AS_JPEG", "JPEGファイル(&J)",
                "サイズが小さくWebでの使用に最適です\nJPEGファイルとして保存", ApplicationMenu,
                "ID_AS_NORMAL", Button},
    CommandInfo{cmd::ID_AS_BMP, "ID_AS_BMP", "BMPファイル(&B)",
                "高画質ですがサイズが大きくなります\nBMPファイルとして保存", ApplicationMenu,
                "ID_AS_NORMAL", Button},
    CommandInfo{cmd::ID_AS_GIF, "ID_AS_GIF", "GIFファイル(&G)",
                "図など色数の少ない場合に適しています\nGIFファイルとして保存", ApplicationMenu,
                "ID_AS_NORMAL", Button},
    CommandInfo{cmd::ID_AS_PNG, "ID_AS_PNG", "PNGファイル(&P)",
                "画質が劣化せずWeb使用に適しています\nPNGファイルとして保存", ApplicationMenu,
                "ID_AS_NORMAL", Button},
    CommandInfo{cmd::ID_AS_TIFF, "ID_AS_TIFF", "TIFFファイル(&T)",
                "画質が劣化せずWeb使用に適しています\nTIFFファイルとして保存", ApplicationMenu,
                "ID_AS_NORMAL", Button},
    CommandInfo{cmd::ID_AS_ALPHA, "ID_AS_ALPHA", "透過イメージとして保存(&T)",
                "編集中のイメージを名前を付けて透過イメージとして保存します\n"
                "透過イメージとして保存",
                ApplicationMenu, "", SplitButton},
    CommandInfo{cmd::ID_AS_A_BMP, "ID_AS_A_BMP", "透過BMPファイル(&B)",
                "透過のあるBMPファイルを作成します\n透過BMPファイル", ApplicationMenu,
                "ID_AS_ALPHA", Button},
    CommandInfo{cmd::ID_AS_A_GIF, "ID_AS_A_GIF", "透過GIFファイル(&G)",
                "透過のあるGIFファイルを作成します\n透過GIFファイル", ApplicationMenu,
                "ID_AS_ALPHA", Button},
    CommandInfo{cmd::ID_AS_A_PNG, "ID_AS_A_PNG", "透過PNGファイル(&P)",
                "透過のあるPNGファイルを作成します\n透過PNGファイル", ApplicationMenu,
                "ID_AS_ALPHA", Button},
    CommandInfo{cmd::ID_AS_A_TIFF, "ID_AS_A_TIFF", "透過TIFFファイル(&T)",
                "透過のあるTIFFファイルを作成します\n透過TIFFファイル", ApplicationMenu,
                "ID_AS_ALPHA", Button},
    CommandInfo{cmd::ID_APP_EXIT, "ID_APP_EXIT", "終了(&X)",
                "アプリケーションを終了し、ファイルの保存を指示\n終了", ApplicationMenu, "",
                Button},
    CommandInfo{cmd::ID_ZOOM1, "ID_ZOOM1", "50%", "表示倍率を0.5倍にします\n50%", Home, "倍率",
                Button},
    CommandInfo{cmd::ID_ZOOM2, "ID_ZOOM2", "100%", "表示倍率を等倍にします\n100%", Home, "倍率",
                Button},
    CommandInfo{cmd::ID_ZOOM3, "ID_ZOOM3", "200%", "表示倍率を2倍にします\n200%", Home, "倍率",
                Button},
    CommandInfo{cmd::ID_ZOOM4, "ID_ZOOM4", "400%", "表示倍率を4倍にします\n400%", Home, "倍率",
                Button},
    CommandInfo{cmd::ID_ZOOM5, "ID_ZOOM5", "800%", "表示倍率を8倍にします\n800%", Home, "倍率",
                Button},
    CommandInfo{cmd::ID_ZOOM_SLIDER, "ID_ZOOM_SLIDER", "",
                "スライドさせて表示倍率を変更します\n倍率変更", Home, "倍率", Slider},
    CommandInfo{cmd::ID_ZOOM_HERE, "ID_ZOOM_HERE", "ここを超ズーム(&Z)", "", None, "VIEW", Button},
    CommandInfo{cmd::ID_ZOOM_100_HERE, "ID_ZOOM_100_HERE", "倍率100%(&T)", "", None, "VIEW",
                Button},
    CommandInfo{cmd::ID_TRANS_COL, "ID_TRANS_COL", "透過色",
                "イメージ中のどの色を透過色とするかを指定します\n透過色", Home, "色", ColourButton},
    CommandInfo{cmd::ID_BK_COL, "ID_BK_COL", "透過後 の背景",
                "透過色になった部分が分かりやすいように置き換えて表示する色を設定します\n"
                "透過後の背景",
                Home, "色", ColourButton},
    CommandInfo{cmd::ID_ALPHA_0, "ID_ALPHA_0", "背景なし(&N)",
                "透過色になった部分を実際に透過させます\n背景なし", Home, "ID_BK_COL", Button},
    CommandInfo{cmd::ID_ALPHA1, "ID_ALPHA1", "チェッカーボード(&C)",
                "透過後の背景をチェッカーボードにします\nチェッカーボード", Home, "ID_BK_COL",
                Button},
    CommandInfo{cmd::ID_ALPHA2, "ID_ALPHA2", "システムアイコン(&S)",
                "透過後の背景をシステムアイコンにします\nシステムアイコン", Home, "ID_BK_COL",
                Button},
    CommandInfo{cmd::ID_ALPHA9, "ID_ALPHA9", "自由設定イメージ(&F)",
                "透過後の背景として任意のイメージを設定します\n自由設定イメージ", Home, "ID_BK_COL",
                Button},
    CommandInfo{cmd::ID_CHANGE_FREEBK, "ID_CHANGE_FREEBK", "自由設定イメージ変更(&M)",
                "自由設定イメージを変更します\n自由設定イメージ変更", Home, "ID_BK_COL", Button},
    CommandInfo{cmd::ID_TEST_TRANS, "ID_TEST_TRANS", "透過 テスト", "", Home, "表示", Button},
};

}  // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

std::string_view PromptDescription(const CommandInfo& command) {
    return command.prompt.substr(0, command.prompt.find('\n'));
}

std::string_view PromptTitle(const CommandInfo& command) {
    const std::size_t line = command.prompt.find('\n');
    return line == std::string_view::npos ? std::string_view{} : command.prompt.substr(line + 1);
}

}  // namespace palvex
