// The ribbon's layout against the command list: every command with its label and place, in
// order, shown by a real element in the right tab, panel or menu.

#include <QCheckBox>
#include <QMenu>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/accelerator_map.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/texts.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

struct Expected {
    int id;
    const char* label;
    const char* place;  // "menu", "menu:<parent>", "foot", "qat", "row", "row:<parent>",
                        // "<tab>/<panel>" or "<parent>" for the items of a tab's element
};

// The ribbon in its order, written out independently of the command table.
const Expected kLayout[] = {
    {57601, "開く(&O)", "menu"},
    {57603, "上書き保存(&S)", "menu"},
    {477, "通常のイメージとして保存(&N)", "menu"},
    {330, "JPEGファイル(&J)", "menu:ID_AS_NORMAL"},
    {333, "BMPファイル(&B)", "menu:ID_AS_NORMAL"},
    {331, "GIFファイル(&G)", "menu:ID_AS_NORMAL"},
    {334, "PNGファイル(&P)", "menu:ID_AS_NORMAL"},
    {335, "TIFFファイル(&T)", "menu:ID_AS_NORMAL"},
    {478, "透過イメージとして保存(&T)", "menu"},
    {479, "透過BMPファイル(&B)", "menu:ID_AS_ALPHA"},
    {480, "透過GIFファイル(&G)", "menu:ID_AS_ALPHA"},
    {481, "透過PNGファイル(&P)", "menu:ID_AS_ALPHA"},
    {482, "透過TIFFファイル(&T)", "menu:ID_AS_ALPHA"},
    {57607, "印刷(&P)", "menu"},
    {468, "設定(&M)", "menu"},
    {469, "最近使ったファイルの管理(&R)", "menu:ID_SETTEI_BTN"},
    {32791, "環境設定(&K)", "menu:ID_SETTEI_BTN"},
    {57664, "バージョン情報(&A)", "foot"},
    {57665, "終了(&X)", "foot"},
    {57600, "", "qat"},
    {57601, "開く(&O)", "qat"},
    {57603, "上書き保存(&S)", "qat"},
    {57608, "", "qat"},
    {325, "", "row"},
    {326, "", "row"},
    {329, "", "row"},
    {338, "", "row"},
    {337, "50%", "row:ID_ZOOM2"},
    {338, "100%", "row:ID_ZOOM2"},
    {339, "200%", "row:ID_ZOOM2"},
    {340, "400%", "row:ID_ZOOM2"},
    {341, "800%", "row:ID_ZOOM2"},
    {324, "", "row"},
    {205, "", "row"},
    {215, "Office 2007 (ブルー スタイル)(&B)", "row:ID_VIEW_APPLOOK_WIN_2000"},
    {216, "Office 2007 (ブラック スタイル)(&L)", "row:ID_VIEW_APPLOOK_WIN_2000"},
    {217, "Office 2007 (シルバー スタイル)(&S)", "row:ID_VIEW_APPLOOK_WIN_2000"},
    {218, "Office 2007 (アクア スタイル)(&A)", "row:ID_VIEW_APPLOOK_WIN_2000"},
    {219, "Windows 7(&D)", "row:ID_VIEW_APPLOOK_WIN_2000"},
    {328, "", "row"},
    {337, "50%", "ホーム/倍率"},
    {338, "100%", "ホーム/倍率"},
    {339, "200%", "ホーム/倍率"},
    {340, "400%", "ホーム/倍率"},
    {341, "800%", "ホーム/倍率"},
    {323, "", "ホーム/倍率"},
    {32771, "透過色", "ホーム/色"},
    {32778, "透過後 の背景", "ホーム/色"},
    {537, "背景なし(&N)", "ID_BK_COL"},
    {487, "チェッカーボード(&C)", "ID_BK_COL"},
    {488, "システムアイコン(&S)", "ID_BK_COL"},
    {496, "自由設定イメージ(&F)", "ID_BK_COL"},
    {497, "自由設定イメージ変更(&M)", "ID_BK_COL"},
    {32790, "範囲 選択", "ホーム/処理モード"},
    {345, "選択部分を中央へ", "ID_SELECT"},
    {346, "選択外周線色の変更", "ID_SELECT"},
    {378, "ペン", "ホーム/処理モード"},
    {312, "流し 込み", "ホーム/処理モード"},
    {377, "透過色と同じにする", "ID_PAINT"},
    {313, "スポ イト", "ホーム/処理モード"},
    {315, "バリア", "ホーム/処理モード"},
    {494, "回転 効果", "ホーム/表示"},
    {489, "左右逆転(&H)", "ID_ROT_BTN"},
    {490, "上下逆転(&V)", "ID_ROT_BTN"},
    {491, "右へ90度(&R)", "ID_ROT_BTN"},
    {492, "180度(&U)", "ID_ROT_BTN"},
    {493, "左へ90度(&L)", "ID_ROT_BTN"},
    {471, "任意角度(&F)", "ID_ROT_BTN"},
    {472, "サイズ50%(&H)", "ID_ROT_BTN"},
    {473, "サイズ75%(&Q)", "ID_ROT_BTN"},
    {474, "任意サイズ(&S)", "ID_ROT_BTN"},
    {388, "色反転(&I)", "ID_ROT_BTN"},
    {390, "グレースケール(&G)", "ID_ROT_BTN"},
    {329, "ナビ", "ホーム/表示"},
    {376, "ナビを左上に表示", "ID_NAVI_DSP"},
    {495, "透過 テスト", "ホーム/表示"},
    {317, "全範囲", "ペンモード/処理範囲"},
    {318, "指定範囲内", "ペンモード/処理範囲"},
    {426, "サイズ:", "ペンモード/処理範囲"},
    {427, "扁平率:", "ペンモード/処理範囲"},
    {434, "扁平方向:水平", "ペンモード/処理範囲"},
    {320, "すべての色", "ペンモード/対象色"},
    {319, "近似範囲　小-----大", "ペンモード/対象色"},
    {322, "", "ペンモード/対象色"},
    {423, "透過 ペン", "ペンモード/ペン"},
    {424, "実色 ペン", "ペンモード/ペン"},
    {425, "埋め 戻し", "ペンモード/ペン"},
    {419, "ペン 形状", "ペンモード/ペン"},
    {444, "読込み", "バリアモード/ファイル"},
    {447, "履歴1", "ID_BARI_LOAD"},
    {448, "履歴2", "ID_BARI_LOAD"},
    {449, "履歴3", "ID_BARI_LOAD"},
    {450, "履歴4", "ID_BARI_LOAD"},
    {451, "履歴5", "ID_BARI_LOAD"},
    {452, "最近使ったバリアをクリア(&C)", "ID_BARI_LOAD"},
    {443, "保存", "バリアモード/ファイル"},
    {369, "折点", "バリアモード/表示"},
    {370, "№", "バリアモード/表示"},
    {408, "バリア の色", "バリアモード/表示"},
    {350, "線色", "ID_COL_BTN"},
    {351, "折点色", "ID_COL_BTN"},
    {352, "折点№色", "ID_COL_BTN"},
    {353, "選択時の線色", "ID_COL_BTN"},
    {354, "選択時の折点色", "ID_COL_BTN"},
    {359, "選択時の折点№色", "ID_COL_BTN"},
    {401, "整列", "バリアモード/表示"},
    {406, "水平揃え(&H)", "ID_SEIRETU_BTN"},
    {407, "垂直揃え(&V)", "ID_SEIRETU_BTN"},
    {402, "水平均等揃え(&S)", "ID_SEIRETU_BTN"},
    {403, "垂直均等揃え(&T)", "ID_SEIRETU_BTN"},
    {379, "折点 追加", "バリアモード/作成"},
    {383, "折点右回り追加(&R)", "ID_BARRIER_POS_ADD"},
    {384, "折点左回り追加(&L)", "ID_BARRIER_POS_ADD"},
    {380, "60秒", "バリアモード/作成"},
    {446, "内側 透過", "バリアモード/透過処理"},
    {445, "外側 透過", "バリアモード/透過処理"},
    {398, "範囲 選択", "バリアモード/切替え"},
};

std::string TabOf(CommandPlace place) {
    switch (place) {
        case CommandPlace::Home:
            return "ホーム";
        case CommandPlace::Pen:
            return "ペンモード";
        default:
            return "バリアモード";
    }
}

std::string PlaceOf(const CommandInfo& row) {
    const std::string panel(row.panel);
    switch (row.place) {
        case CommandPlace::ApplicationMenu:
            if (row.kind == CommandKind::FootButton) {
                return "foot";
            }
            return panel.empty() ? "menu" : "menu:" + panel;
        case CommandPlace::QuickAccess:
            return "qat";
        case CommandPlace::TabRow:
            return panel.empty() ? "row" : "row:" + panel;
        case CommandPlace::None:
            return "none";
        default:
            return panel.starts_with("ID_") ? panel : TabOf(row.place) + "/" + panel;
    }
}

TEST(CommandTable, HoldsTheRibbonInItsOrderWithLabelsAndPlaces) {
    std::vector<const CommandInfo*> shown;
    for (const CommandInfo& row : CommandTable()) {
        if (row.place != CommandPlace::None) {
            shown.push_back(&row);
        }
    }
    ASSERT_EQ(shown.size(), std::size(kLayout));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(shown[i]->name);
        EXPECT_EQ(shown[i]->id, kLayout[i].id);
        EXPECT_EQ(shown[i]->label.source, kLayout[i].label);
        EXPECT_EQ(PlaceOf(*shown[i]), kLayout[i].place);
    }
}

TEST(CommandTable, PromptsAndKeysOnlyCommands) {
    EXPECT_EQ(FindCommand(cmd::ID_BARI_OUT_TRANS)->prompt.source,
              "バリアの外の色をすべて透過色にします。※ "
              "透過色にならない部分が残るときは、ビューの右クリックメニュー"
              "「バリアの外を透過色にする」で処理してください\n外側透過");
    EXPECT_EQ(PromptTitle(*FindCommand(cmd::ID_CHANGE_SELECT)), "範囲選択");
    EXPECT_EQ(PromptDescription(*FindCommand(cmd::ID_CHANGE_SELECT)),
              "範囲選択モードに切り替えます。　　範囲を指定してバリアにしたいときに使用します");
    // 406 copies x: its tooltip speaks of the horizontal position, not 407's vertical one.
    EXPECT_EQ(FindCommand(cmd::ID_ALINE_H)->prompt.source,
              "主選択の水平位置に他の選択折点を揃えます\n【水平揃え】");
    EXPECT_EQ(PromptTitle(*FindCommand(cmd::ID_ALINE_V)), "【垂直揃え】");
    EXPECT_EQ(PromptTitle(*FindCommand(cmd::ID_SHOW_MENU)), "メニュー表示/非表示 (F11)");
    EXPECT_EQ(PromptTitle(*FindCommand(cmd::ID_VIEW_APPLOOK_WIN_2000)), "ウィンドウスタイル");
    // The tab-row zoom button and its "100%" item share a value; the item names it.
    EXPECT_EQ(FindCommand(cmd::ID_ZOOM2)->label.source, "100%");
    // Keys and frame handlers without an element are in the table too.
    for (const int id : {314, 416, 417, 32788, 437, 438, 439, 441, 442, 476, 483, 484, 57632, 57634,
                         57635, 57637, 57642, 57643, 57670}) {
        ASSERT_NE(FindCommand(id), nullptr) << id;
        EXPECT_EQ(FindCommand(id)->place, CommandPlace::None) << id;
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(Accelerators, TheFirstTableHoldingTheKeyDecides) {
    const ui::AcceleratorMap map;
    auto key = [](Qt::KeyboardModifiers modifiers, Qt::Key key) {
        return QKeyCombination(modifiers, key);
    };
    // The canvas's table only while the canvas has the focus.
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F2), true, false), 442);
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F2), false, false), std::nullopt);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_Z), true, false), 325);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_Z), false, false), 57643);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_Y), false, false), std::nullopt);
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_Delete), true, false), 57632);
    // The frame's keys work everywhere.
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F11), false, false), 324);
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F8), true, false), 329);
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F12), false, true), 484);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_P), false, false), 57607);
    // The standard keys, but not inside an edit, which keeps its own.
    EXPECT_EQ(map.CommandFor(key(Qt::ShiftModifier, Qt::Key_Delete), false, false), 57635);
    EXPECT_EQ(map.CommandFor(key(Qt::ShiftModifier, Qt::Key_Insert), false, false), 57637);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_Insert), false, false), 57634);
    EXPECT_EQ(map.CommandFor(key(Qt::AltModifier, Qt::Key_Backspace), false, false), 57643);
    EXPECT_EQ(map.CommandFor(key(Qt::ControlModifier, Qt::Key_C), false, true), std::nullopt);
    EXPECT_EQ(map.CommandFor(key(Qt::NoModifier, Qt::Key_F1), false, false), 57670);
}

class RibbonLayoutTest : public test::AppFixture {
protected:
    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }

    // The element of the row that heads a menu item's place.
    const ui::RibbonElement* ParentOf(const CommandInfo& row) {
        for (const ui::RibbonElement& element : Ribbon().Elements()) {
            if (element.row->name == row.panel.source && element.row->place == row.place &&
                element.widget != nullptr) {
                return &element;
            }
        }
        return nullptr;
    }
};

TEST_F(RibbonLayoutTest, EveryRowHasItsElementInItsPlace) {
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = Ribbon();
    ui::ApplicationMenu& menu = *ribbon.AppMenu();
    for (const CommandInfo& row : CommandTable()) {
        if (row.place == CommandPlace::None) {
            continue;
        }
        SCOPED_TRACE(row.name);
        const ui::RibbonElement* element = ribbon.ElementFor(row);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->action, app->Router().Action(row.id));
        // The flattening direction's button names the direction in use: vertical by default.
        const QString label = ui::DisplayText(
            ui::ToQString(row.id == cmd::ID_FLAT_HV ? texts::kFlatVerticalLabel : row.label));
        const std::string place = PlaceOf(row);
        if (place == "menu" || place == "foot") {
            auto* button = qobject_cast<ui::RibbonButton*>(element->widget);
            ASSERT_NE(button, nullptr);
            const auto& list = place == "menu" ? menu.Entries() : menu.FootButtons();
            EXPECT_NE(std::find(list.begin(), list.end(), button), list.end());
            EXPECT_EQ(button->Label(), label);
        } else if (place.starts_with("menu:")) {
            const ui::RibbonElement* parent = ParentOf(row);
            ASSERT_NE(parent, nullptr);
            const auto items = menu.ItemsOf(qobject_cast<ui::RibbonButton*>(parent->widget));
            EXPECT_NE(std::find(items.begin(), items.end(), element->widget), items.end());
            EXPECT_EQ(qobject_cast<ui::RibbonButton*>(element->widget)->Label(), label);
        } else if (place == "qat" || place == "row") {
            ASSERT_NE(element->widget, nullptr);
            EXPECT_EQ(element->widget->parentWidget(), &ribbon);
            EXPECT_TRUE(element->widget->isVisible());
        } else if (row.panel.source.starts_with("ID_")) {
            // An item of an element's menu: in that element's menu, in the same panel.
            const ui::RibbonElement* parent = ParentOf(row);
            ASSERT_NE(parent, nullptr);
            ASSERT_NE(element->menu, nullptr);
            auto* parentButton = qobject_cast<ui::RibbonButton*>(parent->widget);
            EXPECT_EQ(parentButton->Menu(), element->menu);
            EXPECT_EQ(element->panel, parent->panel);
            QAction* shown =
                element->colours != nullptr ? element->colours->menuAction() : element->action;
            EXPECT_TRUE(element->menu->actions().contains(shown));
            if (element->colours != nullptr) {
                EXPECT_EQ(element->colours->title(), label);
            } else {
                EXPECT_EQ(ui::DisplayText(element->action->text()), label);
            }
        } else {
            ASSERT_NE(element->panel, nullptr);
            ASSERT_GE(element->tab, 0);
            const std::string tabAndPanel =
                ui::ToStdString(ribbon.TabName(element->tab)).substr(0, TabOf(row.place).size()) +
                "/" + ui::ToStdString(element->panel->Title());
            EXPECT_EQ(tabAndPanel, place);
            EXPECT_TRUE(element->panel->isAncestorOf(element->widget));
            if (auto* button = qobject_cast<ui::RibbonButton*>(element->widget)) {
                EXPECT_EQ(button->Label(), label);
            } else if (auto* box = qobject_cast<QCheckBox*>(element->widget)) {
                EXPECT_EQ(box->text(), label);
            } else if (auto* edit = qobject_cast<ui::RibbonSpinEdit*>(element->widget)) {
                EXPECT_EQ(edit->Label(), label);
            }
        }
    }
}

TEST_F(RibbonLayoutTest, TabsPanelsAndTooltips) {
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = Ribbon();
    ASSERT_EQ(ribbon.TabCount(), 3);
    EXPECT_EQ(ribbon.TabName(0), "ホーム   WClick , Ctrl+F1");
    EXPECT_EQ(ribbon.TabName(1), "ペンモード");
    EXPECT_EQ(ribbon.TabName(2), "バリアモード");
    const std::vector<std::vector<QString>> panels = {
        {"倍率", "色", "処理モード", "表示"},
        {"処理範囲", "対象色", "ペン"},
        {"ファイル", "表示", "作成", "透過処理", "切替え"}};
    for (int tab = 0; tab < 3; ++tab) {
        for (std::size_t i = 0; i < panels[tab].size(); ++i) {
            ASSERT_NE(ribbon.Panel(tab, static_cast<int>(i)), nullptr);
            EXPECT_EQ(ribbon.Panel(tab, static_cast<int>(i))->Title(), panels[tab][i]);
        }
        EXPECT_EQ(ribbon.Panel(tab, static_cast<int>(panels[tab].size())), nullptr);
    }
    // The title in bold over the description, both from the command's prompt.
    const QString tip = ribbon.Button(cmd::ID_UNDO)->toolTip();
    EXPECT_TRUE(tip.contains("<b>アンドゥ (Ctrl+Z)</b>")) << ui::ToStdString(tip);
    EXPECT_TRUE(tip.contains("操作した結果を一つ前に戻します"));
    EXPECT_LT(tip.indexOf("アンドゥ"), tip.indexOf("操作した"));
    // The application menu's items carry their descriptions.
    ui::RibbonButton* asNormal = ribbon.Button(cmd::ID_AS_NORMAL);
    const auto items = ribbon.AppMenu()->ItemsOf(asNormal);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0]->Label(), "JPEGファイル(J)");
}

TEST_F(RibbonLayoutTest, EveryShownCommandHasAPictureOrALabel) {
    ASSERT_TRUE(Start());
    for (const ui::RibbonElement& element : Ribbon().Elements()) {
        auto* button = qobject_cast<ui::RibbonButton*>(element.widget);
        if (button == nullptr || button->ButtonStyle() == ui::RibbonButton::Style::Group) {
            continue;
        }
        SCOPED_TRACE(element.row->name);
        EXPECT_FALSE(button->Picture().isNull() && button->Label().isEmpty());
        if (button->ButtonStyle() == ui::RibbonButton::Style::Large ||
            button->ButtonStyle() == ui::RibbonButton::Style::IconOnly) {
            EXPECT_FALSE(button->Picture().isNull());
        }
    }
}

}  // namespace
}  // namespace palvex
