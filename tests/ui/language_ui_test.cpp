// The editor in another language than Japanese: this executable runs with "--lang en". The
// choice of the language, the English texts on the real editor, Qt's own texts following the
// language, and a catalogue whose tab names start alike.

#include <QMessageBox>
#include <QtTest/QTest>
#include <map>

#include "app/ui/qt_text.h"
#include "app/ui/ui_language.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/language.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "ui/real_prompter_fixture.h"

namespace palvex {
namespace {

using test::AnswerBox;
using test::TypeInFileDialog;
using ui::UiLanguage;

TEST(UiLanguageChoice, TheCommandLineElseTheFirstPreferredLanguage) {
    const QStringList catalogues = {"en"};
    EXPECT_EQ(UiLanguage::Choose({}, {"ja-JP", "en-US"}, catalogues), "ja");
    EXPECT_EQ(UiLanguage::Choose({}, {"ja"}, catalogues), "ja");
    for (const char* other : {"en-GB", "en-US", "de", "de-DE", "fr", "zh-Hant-TW"}) {
        EXPECT_EQ(UiLanguage::Choose({}, {other, "ja-JP"}, catalogues), "en") << other;
    }
    EXPECT_EQ(UiLanguage::Choose({}, {}, catalogues), "en");
    EXPECT_EQ(UiLanguage::Choose("en", {"ja-JP"}, catalogues), "en");
    EXPECT_EQ(UiLanguage::Choose("ja", {"en-GB"}, catalogues), "ja");
    // A language with a catalogue of its own gets it.
    EXPECT_EQ(UiLanguage::Choose({}, {"fr-FR"}, {"en", "fr"}), "fr");
    // The build embeds the catalogues present in the sources.
    EXPECT_TRUE(UiLanguage::Catalogues().contains("en"))
        << ui::ToStdString(UiLanguage::Catalogues().join(","));
}

TEST(UiLanguageChoice, TheOptionIsTakenOutOfTheArguments) {
    QString error;
    QStringList arguments = {"--lang", "en", "photo.png"};
    EXPECT_EQ(UiLanguage::TakeLanguageOption(arguments, error), "en");
    EXPECT_EQ(arguments, QStringList{"photo.png"});
    arguments = {"photo.png", "--lang=ja"};
    EXPECT_EQ(UiLanguage::TakeLanguageOption(arguments, error), "ja");
    EXPECT_EQ(arguments, QStringList{"photo.png"});
    EXPECT_TRUE(error.isEmpty());
    // Left without its language, it is no file name either.
    arguments = {"photo.png", "--lang"};
    EXPECT_EQ(UiLanguage::TakeLanguageOption(arguments, error), "");
    EXPECT_EQ(arguments, QStringList{"photo.png"});
    EXPECT_FALSE(error.isEmpty());
}

class EnglishEditor : public test::RealPrompterFixture {
protected:
    void SetUp() override { ASSERT_EQ(TextLanguage(), "en") << "run with --lang en"; }
};

TEST_F(EnglishEditor, TitleRibbonAndStatusBarReadInEnglish) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->MainFrame()->windowTitle(), "(No Image) - Palvex");
    ui::CMyRibbonBar& ribbon = *app->MainFrame()->Ribbon();
    ASSERT_EQ(ribbon.TabCount(), 3);
    EXPECT_EQ(ribbon.TabName(1), "Pen Mode");
    EXPECT_EQ(ribbon.TabName(2), "Barrier Mode");
    const ui::RibbonElement* pen = ribbon.ElementFor(*FindCommand(cmd::ID_PEN));
    ASSERT_NE(pen, nullptr);
    auto* button = qobject_cast<ui::RibbonButton*>(pen->widget);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Label(), "Pen");
    EXPECT_TRUE(button->toolTip().contains("Pen")) << ui::ToStdString(button->toolTip());

    // The tab by its English name switches the tool mode, as the Japanese one does.
    ASSERT_TRUE(app->MainFrame()->ActivateRibbonTab("Barrier Mode"));
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(),
              ui::ToQString(LoadString(str::kGuideBarrierMode)));
    EXPECT_FALSE(app->MainFrame()->StatusBar()->Guide().isEmpty());
}

TEST_F(EnglishEditor, MessagesComeInEnglishThroughTheRealMessageBox) {
    const auto folder = temp.File("pictures");
    std::filesystem::create_directory(folder);
    test::WriteFileBytes(folder / "a.png", test::EncodeRgbaPng(test::SolidBitmap(4, 2, ~0u)));
    std::filesystem::copy_file(folder / "a.png", folder / "b.png");
    ASSERT_TRUE(Start({ui::PathToQString(folder / "a.png")}));
    app->Model().image.WorkImage.WritePixel(1, 1, Rgb(0, 0, 255));
    app->ImageEdited({1, 1, 2, 2});

    Run(cmd::ID_FILE_OPEN, {TypeInFileDialog("b.png"), [](QWidget& window) {
                                auto* box = qobject_cast<QMessageBox*>(&window);
                                ASSERT_NE(box, nullptr);
                                EXPECT_EQ(box->windowTitle(), "Palvex");
                                // Qt's own buttons are in English too.
                                ASSERT_NE(box->button(QMessageBox::No), nullptr);
                                EXPECT_EQ(box->button(QMessageBox::No)->text(), "&No");
                                AnswerBox("Save changes to a.png?", QMessageBox::No)(window);
                            }});
    EXPECT_EQ(app->Document().PathName(), folder / "b.png");

    // A broken picture: the loader's English message.
    test::WriteFileBytes(folder / "broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
    Run(cmd::ID_FILE_OPEN, {TypeInFileDialog("broken.png"),
                            AnswerBox(ui::ToStdString(ui::PathToQString(folder / "broken.png")) +
                                          "\nThe file could not be read as an image.",
                                      QMessageBox::Ok)});
    EXPECT_EQ(app->Document().PathName(), folder / "b.png");
}

TEST_F(EnglishEditor, ATestCanSwitchTheLanguageForItsOwnWindows) {
    {
        test::ScopedUiLanguage japanese("ja");
        EXPECT_EQ(japanese.Installed(), "ja");
        ASSERT_TRUE(Start());
        EXPECT_EQ(app->MainFrame()->windowTitle(), "(未セット) - Palvex");
        EXPECT_EQ(app->MainFrame()->Ribbon()->TabName(1), "ペンモード");
        app.reset();
    }
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->MainFrame()->windowTitle(), "(No Image) - Palvex");
}

TEST(UiLanguageInstall, QtsOwnTextsFollowTheEditorsLanguage) {
    const auto yes = [] {
        QMessageBox box(QMessageBox::Question, "Palvex", "?", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    EXPECT_EQ(UiLanguage::Install("ja"), "ja");
    EXPECT_EQ(UiLanguage::Current(), "ja");
    EXPECT_EQ(yes(), "はい(&Y)");
    EXPECT_EQ(LoadString(str::kFileNotFound), "ファイルが見つかりません");
    // A language without a catalogue: English, with Qt's English.
    EXPECT_EQ(UiLanguage::Install("de"), "en");
    EXPECT_EQ(UiLanguage::Current(), "en");
    EXPECT_EQ(yes(), "&Yes");
    EXPECT_EQ(LoadString(str::kFileNotFound), "The file cannot be found.");
    EXPECT_EQ(QCoreApplication::translate("Texts", "ペンモード"), "Pen Mode");
}

// A catalogue whose tab names all start alike, as in many languages ("Mode ..."): each tab is
// still told apart by its whole name.
class MapTranslator final : public TextTranslator {
public:
    explicit MapTranslator(std::map<std::string_view, std::string> texts)
        : texts_(std::move(texts)) {}
    bool Translate(std::string_view /*context*/, std::string_view source,
                   std::string& translation) const override {
        const auto found = texts_.find(source);
        if (found == texts_.end()) {
            return false;
        }
        translation = found->second;
        return true;
    }

private:
    std::map<std::string_view, std::string> texts_;
};

class AlikeTabNames : public test::AppFixture {
protected:
    void SetUp() override {
        InstallTextTranslator(
            std::make_unique<MapTranslator>(std::map<std::string_view, std::string>{
                {texts::kHomeTab.source, "Mode accueil"},
                {texts::kPenTab.source, "Mode stylo"},
                {texts::kBarrierTab.source, "Mode barrière"}}),
            "xx");
    }
    void TearDown() override {
        AppFixture::TearDown();
        app.reset();
        UiLanguage::InstallTexts("en");
    }
};

TEST_F(AlikeTabNames, EachTabIsFoundAndSwitchesItsOwnMode) {
    for (const auto& [mode, tab] : {std::pair{5, 2}, {1, 1}, {0, 0}}) {
        setting::kMode.Write(store, mode);
        ASSERT_TRUE(Start()) << mode;
        EXPECT_EQ(app->MainFrame()->Ribbon()->ActiveTab(), tab) << mode;
        app.reset();
    }
    ASSERT_TRUE(Start());
    ui::CMyRibbonBar& ribbon = *app->MainFrame()->Ribbon();
    ASSERT_EQ(ribbon.TabName(1), "Mode stylo");
    EXPECT_TRUE(ribbon.ActivateRibbonTab("Mode barrière"));
    EXPECT_EQ(ribbon.ActiveTab(), 2);
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_TRUE(ribbon.ActivateRibbonTab("Mode stylo"));
    EXPECT_EQ(ribbon.ActiveTab(), 1);
    EXPECT_EQ(app->Model().settings.toolMode, 1);
    // A start alone still finds the first tab that has it.
    EXPECT_TRUE(ribbon.ActivateRibbonTab("Mo"));
    EXPECT_EQ(ribbon.ActiveTab(), 0);
}

}  // namespace
}  // namespace palvex
