// Every dialog under every language: each label, button and group shows its whole text, and no
// two of them lie over each other.

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/ui/qt_text.h"
#include "dialogs/ui/about_dlg.h"
#include "dialogs/ui/insatu_dlg.h"
#include "dialogs/ui/kanset_dlg.h"
#include "dialogs/ui/printer_setup_dlg.h"
#include "dialogs/ui/recent_dlg.h"
#include "image/ui/assuku_dlg.h"
#include "mainwindow/ui/application_menu.h"
#include "mainwindow/ui/colour_menu.h"
#include "mainwindow/ui/colour_palette.h"
#include "mainwindow/ui/key_help_tip.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "resources/command_ids.h"
#include "resources/texts.h"
#include "selection/transform_dialogs.h"
#include "selection/ui/rot_dlg.h"
#include "selection/ui/size_dlg.h"
#include "ui/app_fixture.h"
#include "ui/language_fixture.h"
#include "ui/pseudo_language.h"

namespace palvex {
namespace {

bool ShowsText(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QGroupBox*>(widget) != nullptr;
}

// Widgets that lay out their own insides (edits, lists, spin boxes): their parts are theirs.
bool InsideComposite(const QWidget* widget, const QWidget* window) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window;
         up = up->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(up) != nullptr ||
            qobject_cast<const QAbstractSpinBox*>(up) != nullptr ||
            qobject_cast<const QComboBox*>(up) != nullptr) {
            return true;
        }
    }
    return false;
}

std::string Describe(const QWidget* widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
    } else if (const auto* ribbon = qobject_cast<const ui::RibbonButton*>(widget)) {
        text = ribbon->Label();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        text = group->title();
    }
    return std::string(widget->metaObject()->className()) + " '" +
           ui::ToStdString(widget->objectName()) + "' " + ui::ToStdString(text);
}

// `window` as shown: every text element at least as large as its text, none over a sibling.
void ExpectTextsWhole(QWidget& window) {
    if (!window.isVisible()) {
        window.show();
    }
    QApplication::processEvents();
    SCOPED_TRACE(window.metaObject()->className());
    std::vector<QWidget*> shown;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&window) && !widget->isWindow() &&
            !InsideComposite(widget, &window)) {
            shown.push_back(widget);
        }
    }
    int checked = 0;
    for (QWidget* widget : shown) {
        if (!ShowsText(widget)) {
            continue;
        }
        ++checked;
        const auto* label = qobject_cast<const QLabel*>(widget);
        if (label != nullptr && label->wordWrap()) {
            EXPECT_GE(widget->height(), widget->heightForWidth(widget->width()))
                << Describe(widget);
        } else {
            EXPECT_GE(widget->width(), widget->sizeHint().width()) << Describe(widget);
            EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << Describe(widget);
        }
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry()))
            << Describe(widget) << " reaches past its parent";
        for (const QWidget* other : shown) {
            if (other != widget && other->parentWidget() == widget->parentWidget()) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << Describe(widget) << " overlaps " << Describe(other);
            }
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(KeyHelpTip, WrapsOnlyTextTooWideForItAndShowsItWhole) {
    QWidget owner;
    ui::KeyHelpTip tip(&owner);
    const QString shortLines = "F1 - a\nF2 - b";
    tip.SetHelpText(shortLines);
    EXPECT_FALSE(tip.wordWrap());
    EXPECT_GE(tip.width(), tip.sizeHint().width());
    QString longLines = "F1 -";
    while (tip.fontMetrics().horizontalAdvance(longLines) < 2 * ui::KeyHelpTip::kMaxWidth) {
        longLines += " word";
    }
    tip.SetHelpText(longLines + "\nF2 - b");
    EXPECT_LE(tip.width(), ui::KeyHelpTip::kMaxWidth);
    EXPECT_GE(tip.height(), tip.heightForWidth(tip.width()));
    EXPECT_GE(tip.height(), 3 * tip.fontMetrics().height());
    // Back to short lines: one line a key again.
    tip.SetHelpText(shortLines);
    EXPECT_FALSE(tip.wordWrap());
    EXPECT_LT(tip.height(), 3 * tip.fontMetrics().height());
}

class DialogLayoutTest : public test::LanguageFixture {};

std::string LanguageName(const ::testing::TestParamInfo<test::TestLanguage>& info) {
    return info.param.name;
}

TEST_P(DialogLayoutTest, TransformAndQualityDialogs) {
    AppSettings settings;
    ui::CRotDlg angle(settings, store);
    ExpectTextsWhole(angle);
    ui::CSizeDlg size(SizeDialogBaseFor(Size{120, 80}), settings, store, prompter);
    ExpectTextsWhole(size);
    ui::CAssukuDlg quality(75);
    ExpectTextsWhole(quality);
}

TEST_P(DialogLayoutTest, SettingsRecentFilesAndAbout) {
    ASSERT_TRUE(Start());
    app->Model().recent.Add(temp.File("a.png").string());
    RunCommand<ui::CKansetDlg>(cmd::ID_KAN_SET,
                               [](ui::CKansetDlg& dialog) { ExpectTextsWhole(dialog); });
    RunCommand<ui::CRecentDlg>(cmd::ID_RECENT_KANRI,
                               [](ui::CRecentDlg& dialog) { ExpectTextsWhole(dialog); });
    RunCommand<ui::CAboutDlg>(cmd::ID_APP_ABOUT,
                              [](ui::CAboutDlg& dialog) { ExpectTextsWhole(dialog); });
}

TEST_P(DialogLayoutTest, PageLayoutAndPrinterSetUp) {
    const auto path = WriteImage();
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    RunCommand<ui::CInsatuDlg>(cmd::ID_FILE_PRINT, [](ui::CInsatuDlg& dialog) {
        ExpectTextsWhole(dialog);
        bool seen = false;
        QTimer::singleShot(0, [&seen] {
            auto* setup = qobject_cast<ui::CPrinterSetupDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(setup, nullptr);
            seen = true;
            ExpectTextsWhole(*setup);
            setup->reject();
        });
        auto* button = dialog.findChild<QPushButton*>("printerSetup");
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(seen);
    });
}

TEST_P(DialogLayoutTest, KeyHelpAndApplicationMenu) {
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = *app->MainFrame()->Ribbon();
    ribbon.CreateKeyHelp();
    ui::KeyHelpTip& tip = *ribbon.KeyHelp();
    tip.SetHelpText(ui::CMyRibbonBar::KeyHelpText());
    tip.show();
    QApplication::processEvents();
    EXPECT_LE(tip.width(), ui::KeyHelpTip::kMaxWidth);
    if (tip.wordWrap()) {
        EXPECT_GE(tip.height(), tip.heightForWidth(tip.width()));
    } else {
        EXPECT_GE(tip.width(), tip.sizeHint().width());
    }
    tip.hide();
    // Every page of the application menu, entries and items.
    ui::ApplicationMenu& menu = *ribbon.AppMenu();
    ribbon.ShowApplicationMenu();
    QApplication::processEvents();
    ExpectTextsWhole(menu);
    for (ui::RibbonButton* entry : menu.Entries()) {
        if (menu.ItemsOf(entry).empty()) {
            continue;
        }
        menu.ShowItemsOf(entry);
        QApplication::processEvents();
        ExpectTextsWhole(menu);
    }
    menu.hide();
}

TEST_P(DialogLayoutTest, ColourPalettesHoldTheirTexts) {
    ASSERT_TRUE(Start());
    int palettes = 0;
    for (const ui::RibbonElement& element : app->MainFrame()->Ribbon()->Elements()) {
        if (element.colours == nullptr) {
            continue;
        }
        auto* palette = element.colours->findChild<ui::ColourPalette*>();
        ASSERT_NE(palette, nullptr);
        ++palettes;
        SCOPED_TRACE(element.row->name);
        const QFontMetrics metrics = palette->fontMetrics();
        // The entries' texts start right of their swatch.
        for (const auto& [area, text] :
             {std::pair{palette->AutomaticRect(), texts::kAutomaticColour},
              std::pair{palette->MoreRect(), texts::kMoreColours}}) {
            if (!area.isEmpty()) {
                EXPECT_LE(26 + metrics.horizontalAdvance(ui::ToQString(text)), area.width())
                    << ui::ToStdString(ui::ToQString(text));
            }
        }
        QFont bold = palette->font();
        bold.setBold(true);
        for (const Text& heading : {texts::kSuggestedColours, texts::kStandardColours}) {
            EXPECT_LE(QFontMetrics(bold).horizontalAdvance(ui::ToQString(heading)) + 12,
                      palette->sizeHint().width())
                << ui::ToStdString(ui::ToQString(heading));
        }
    }
    EXPECT_GT(palettes, 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogLayoutTest, ::testing::ValuesIn(test::TestLanguages()),
                         LanguageName);

}  // namespace
}  // namespace palvex
