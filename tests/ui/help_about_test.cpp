// The manual window and the about box.

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QTimer>

#include "app/ui/qt_text.h"
#include "app/version.h"
#include "dialogs/ui/about_dlg.h"
#include "dialogs/ui/help_dlg.h"
#include "resources/command_ids.h"
#include "resources/language.h"
#include "resources/string_table.h"
#include "ui/app_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace palvex {
namespace {

// Qt's PDF view keeps a gesture scroller and a render thread it never frees: what it allocates
// while a test of the manual window runs is not leak-checked. Every other test is.
class HelpAboutTest : public test::AppFixture {
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler qtPdfView_;
#endif
};

TEST_F(HelpAboutTest, AboutBoxShowsTheHistoryTheVersionAndTheNotice) {
    ASSERT_TRUE(Start());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<ui::CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_EQ(about->windowTitle(), "バージョン情報");
        const QStringList lines = about->History()->toPlainText().split('\n');
        ASSERT_EQ(lines.size(), 7);  // six lines, the last followed by an empty one
        EXPECT_EQ(lines[0], "Ver. 1.05 2022.11.07 アニメポインターの速度調整機能追加");
        EXPECT_EQ(lines[5], "Ver. 1.00 2012.06.18 新規作成");
        EXPECT_EQ(lines[6], "");
        EXPECT_TRUE(about->History()->isReadOnly());
        EXPECT_EQ(about->History()->palette().color(QPalette::Base), QColor(255, 252, 181));
        EXPECT_EQ(about->findChild<QLabel*>("title")->text(), "Palvex\n（画像背景透過エディタ）");
        EXPECT_TRUE(about->findChild<QLabel*>("version")->text().contains(kVersion));
        const QString notice = about->findChild<QPlainTextEdit*>("notice")->toPlainText();
        for (const char* name : {"LGPL", "libpng", "libjpeg-turbo", "giflib", "libtiff", "zstd"}) {
            EXPECT_TRUE(notice.contains(name)) << name;
        }
        about->accept();
    });
    app->Router().Dispatch(cmd::ID_APP_ABOUT);
    EXPECT_TRUE(seen);
}

TEST_F(HelpAboutTest, MissingManualIsReportedAndNoWindowOpens) {
    ASSERT_TRUE(Start());
    // The tests run without a Manual.pdf beside them.
    for (const int command : {cmd::ID_HELP_DSP, cmd::ID_HELP}) {
        prompter.shown.clear();
        EXPECT_TRUE(app->Router().Dispatch(command));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].Text(), "実行ファイルと同じ場所にＰＤＦファイルがありません");
        EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Information);
    }
}

// Writes a PDF of `pages` pages.
void WritePdf(const std::filesystem::path& path, int pages) {
    QPdfWriter writer(ui::PathToQString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.drawText(100, 100, QString("page %1").arg(page + 1));
    }
}

// A language of its own, so that no other test looks for its manual.
class NoTranslations final : public TextTranslator {
public:
    bool Translate(std::string_view, std::string_view, std::string&) const override {
        return false;
    }
};

TEST_F(HelpAboutTest, HelpOpensTheManualOfTheLanguageTheTextsAreIn) {
    const auto manual = ui::ToPath(QCoreApplication::applicationDirPath()) / "Manual_zz.pdf";
    WritePdf(manual, 3);
    struct Cleanup {
        std::filesystem::path path;
        ~Cleanup() {
            InstallTextTranslator(nullptr, {});
            std::error_code error;
            std::filesystem::remove(path, error);
        }
    } cleanup{manual};
    ASSERT_TRUE(Start());

    // In Japanese the Japanese manual is wanted, and it is not there.
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_HELP_DSP));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kManualMissing);

    prompter.shown.clear();
    InstallTextTranslator(std::make_unique<NoTranslations>(), "zz");
    RunCommand<ui::CHelpDlg>(
        cmd::ID_HELP_DSP, [](ui::CHelpDlg& help) { EXPECT_EQ(help.Document()->pageCount(), 3); });
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HelpAboutTest, ManualWindowShowsAReadablePdfAndRefusesOthers) {
    const auto manual = temp.File("Manual.pdf");
    WritePdf(manual, 2);
    ui::CHelpDlg help;
    ASSERT_TRUE(help.Open(manual, prompter));
    EXPECT_EQ(help.windowTitle(), "Manual");
    EXPECT_TRUE(help.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(help.Document()->pageCount(), 2);
    EXPECT_TRUE(prompter.shown.empty());

    const auto broken = temp.File("broken.pdf");
    test::WriteFileBytes(broken, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'd', 'f'});
    ui::CHelpDlg refused;
    EXPECT_FALSE(refused.Open(broken, prompter));
    EXPECT_FALSE(refused.Open(temp.File("absent.pdf"), prompter));
    EXPECT_EQ(prompter.shown.size(), 2u);
}

}  // namespace
}  // namespace palvex
