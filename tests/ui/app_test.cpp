#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <QtTest/QTest>

#include "app/app_settings.h"
#include "app/ui/qt_text.h"
#include "app/ui/vemmar_doc.h"
#include "canvas/ui/vemmar_view.h"
#include "image/image_loader.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "ui/app_fixture.h"

namespace palvex {
namespace {

using test::AppFixture;

TEST_F(AppFixture, StartsWithoutADocument) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->MainFrame()->windowTitle(), "(未セット) - Palvex");
    EXPECT_TRUE(app->Model().image.WorkImage.IsNull());
    EXPECT_TRUE(prompter.shown.empty());
    // Nothing to save yet.
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_FILE_SAVE).enabled);
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_AS_A_PNG).enabled);
}

TEST_F(AppFixture, OpensTheFileOnTheCommandLine) {
    const auto path = WriteImage("photo.png");
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    EXPECT_EQ(app->MainFrame()->windowTitle(), "photo.png - Palvex");
    EXPECT_EQ(app->Model().image.width, 4);
    EXPECT_EQ(app->Model().image.TransparentColor, Rgb(255, 255, 255));
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Model().recent.Entry(0), PathText(path));
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_FILE_SAVE).enabled);
}

TEST_F(AppFixture, StartUpEndsWhenTheCommandLineFileCannotBeUsed) {
    EXPECT_FALSE(Start({ui::PathToQString(temp.File("missing.png"))}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].Text(), "ドキュメントを開くことに失敗しました");
    EXPECT_EQ(app->MainFrame(), nullptr);

    prompter.shown.clear();
    const auto archive = temp.File("a.tar.gz");
    test::WriteFileBytes(archive, {1, 2, 3});
    EXPECT_FALSE(Start({ui::PathToQString(archive)}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30020);
}

TEST_F(AppFixture, StartUpEndsWithoutAPrinter) {
    printerWorks = false;
    EXPECT_FALSE(Start());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].Text(), "プリンタの初期化に失敗しました");
}

TEST_F(AppFixture, ReopensTheLastFileWhenAsked) {
    const auto path = WriteImage("last.png");
    setting::kFirstOpen.Write(store, 1);
    RecentFileList recent;
    recent.Add(PathText(path));
    recent.Save(store);
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->Document().PathName(), path);

    // A file given on the command line wins over the preference.
    const auto other = WriteImage("other.png");
    app.reset();
    ASSERT_TRUE(Start({ui::PathToQString(other)}));
    EXPECT_EQ(app->Document().PathName(), other);
}

TEST_F(AppFixture, AMissingLastFileIsOfferedForDeletion) {
    setting::kFirstOpen.Write(store, 1);
    RecentFileList recent;
    recent.Add(PathText(temp.File("gone.png")));
    recent.Save(store);
    prompter.answers = {Answer::Yes};
    ASSERT_TRUE(Start());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].Text(), PathText(temp.File("gone.png")) +
                                            "\nファイルが見つかりません\nこの履歴を削除しますか");
    EXPECT_EQ(app->Model().recent.Count(), 0);
    EXPECT_TRUE(app->Model().image.WorkImage.IsNull());
}

TEST_F(AppFixture, ShutdownWritesTheSettingsAndCleansTheWorkFolder) {
    ASSERT_TRUE(Start());
    app->Model().settings.zoomFactor = 4.0f;
    app->Model().settings.drawColour = Rgb(1, 2, 3);
    const auto folder = WorkFolder(temp.Path()).GetWorkFolder({}, prompter);
    test::WriteFileBytes(folder / "undo1.tmp", {1});
    app->ExitInstance();
    EXPECT_EQ(store.ReadInt("Last", "Zoom"), 40);
    EXPECT_EQ(store.ReadText("Last", "refPen"), std::to_string(Rgb(1, 2, 3)));
    EXPECT_FALSE(std::filesystem::exists(folder / "undo1.tmp"));
}

TEST_F(AppFixture, ClosingAModifiedDocumentAsksToSave) {
    const auto path = WriteImage("edit.png");
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    ui::CMainFrame* frame = app->MainFrame();
    app->Document().SetModifiedFlag(true);

    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(prompter.shown.back().Text(), "edit.png への変更を保存しますか?");
    EXPECT_EQ(prompter.shown.back().buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(frame->isVisible());

    // Yes writes the edited image back (a PNG with transparent pixels stays transparent) and
    // closes.
    app->Model().image.WorkImage.WritePixel(2, 1, Rgb(0, 0, 255));
    setting::kMakeBackup.Write(store, 0);
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(app->Document().IsModified());
    const LoadResult saved = LoadImageFile(path, 0, prompter);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.facts.FileColorKey, Rgb(255, 255, 255));  // the file itself carries the key
    EXPECT_EQ(saved.image.ReadPixel(0, 1), Rgb(255, 255, 255));
    EXPECT_EQ(saved.image.ReadPixel(2, 1), Rgb(0, 0, 255));
    EXPECT_EQ(saved.image.ReadPixel(3, 1), Rgb(255, 0, 0));
}

TEST_F(AppFixture, NewAsksToSaveThenLeavesAnEmptyUntitledEditor) {
    const auto path = WriteImage("old.png");
    const auto bytes = test::ReadFileBytes(path);
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    app->Document().SetModifiedFlag(true);
    EXPECT_TRUE(app->Router().StateOf(cmd::ID_FILE_NEW).enabled);

    prompter.answers = {Answer::Cancel};
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_NEW));
    EXPECT_EQ(prompter.shown.back().Text(), "old.png への変更を保存しますか?");
    EXPECT_FALSE(app->Model().image.WorkImage.IsNull());
    EXPECT_EQ(app->MainFrame()->windowTitle(), "old.png - Palvex");

    prompter.answers = {Answer::No};
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_NEW));
    EXPECT_TRUE(app->Model().image.WorkImage.IsNull());
    EXPECT_EQ(app->MainFrame()->windowTitle(), "(未セット) - Palvex");
    EXPECT_TRUE(app->Document().PathName().empty());
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_FALSE(app->Router().StateOf(cmd::ID_FILE_SAVE).enabled);
    EXPECT_EQ(app->MainFrame()->StatusBar()->PaneText(cmd::ID_PANE_SIZE), "0×0");
    EXPECT_EQ(test::ReadFileBytes(path), bytes);              // No saved nothing
    EXPECT_EQ(app->Model().recent.Entry(0), PathText(path));  // the file stays in the list
}

TEST_F(AppFixture, ClosingWithNoDoesNotSave) {
    const auto path = WriteImage("keep.png");
    const auto bytes = test::ReadFileBytes(path);
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    app->Model().image.WorkImage.WritePixel(1, 1, Rgb(0, 0, 255));
    app->Document().SetModifiedFlag(true);
    prompter.answers = {Answer::No};
    EXPECT_TRUE(app->MainFrame()->close());
    EXPECT_EQ(test::ReadFileBytes(path), bytes);
}

TEST_F(AppFixture, OpeningAnotherImageOverEditsAsksToSaveFirst) {
    const auto one = WriteImage("one.png");
    const auto two = WriteImage("two.png");
    setting::kMakeBackup.Write(store, 0);
    // The ways a person opens another image: the dialog, a recent entry, a drop.
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"dialog",
         [&] {
             prompter.openChoice = SaveFileChoice{two, 1};
             app->Router().Dispatch(cmd::ID_FILE_OPEN);
         }},
        {"recent",
         [&] {
             app->Model().recent.Add(PathText(two));
             app->Router().Dispatch(cmd::ID_FILE_MRU_FIRST);
         }},
        {"drop", [&] {
             QMimeData mime;
             mime.setUrls({QUrl::fromLocalFile(ui::PathToQString(two))});
             QWidget* viewport = app->View()->viewport();
             QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton,
                                   Qt::NoModifier);
             QCoreApplication::sendEvent(viewport, &enter);
             QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(viewport, &drop);
         }}};
    for (const auto& [name, open] : ways) {
        SCOPED_TRACE(name);
        WriteImage("one.png");
        app.reset();
        ASSERT_TRUE(Start({ui::PathToQString(one)}));
        const Colour edit = Rgb(0, 0, 255);
        app->Model().image.WorkImage.WritePixel(2, 1, edit);
        app->ImageEdited({2, 1, 3, 2});

        // Cancel: everything as it was.
        prompter.shown.clear();
        prompter.answers = {Answer::Cancel};
        open();
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].Text(), "one.png への変更を保存しますか?");
        EXPECT_EQ(app->Document().PathName(), one);
        EXPECT_TRUE(app->Document().IsModified());
        EXPECT_EQ(app->Model().image.WorkImage.ReadPixel(2, 1), edit);

        // No: the edit is dropped, the other image opens unmodified.
        prompter.answers = {Answer::No};
        open();
        EXPECT_EQ(app->Document().PathName(), two);
        EXPECT_FALSE(app->Document().IsModified());
        EXPECT_NE(LoadImageFile(one, 0, prompter).image.ReadPixel(2, 1), edit);

        // Yes: the edit is written to its file before the other image opens.
        ASSERT_TRUE(app->OpenImageFile(one));
        app->Model().image.WorkImage.WritePixel(2, 1, edit);
        app->ImageEdited({2, 1, 3, 2});
        prompter.answers = {Answer::Yes};
        open();
        EXPECT_EQ(app->Document().PathName(), two);
        EXPECT_FALSE(app->Document().IsModified());
        EXPECT_EQ(LoadImageFile(one, 0, prompter).image.ReadPixel(2, 1), edit);
    }
    // Closing now asks nothing: the opened file is untouched.
    prompter.shown.clear();
    EXPECT_TRUE(app->MainFrame()->close());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(AppFixture, ARelativeCommandLineFileIsListedByItsFullPath) {
    const auto path = WriteImage("relative.png");
    const QString before = QDir::currentPath();
    QDir::setCurrent(ui::PathToQString(temp.Path()));
    const bool started = Start({"./relative.png"});
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_EQ(app->Model().recent.Entry(0), PathText(path));
    EXPECT_EQ(app->Document().PathName(), path);
}

TEST_F(AppFixture, FileDialogsStartInTheImagesFolder) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_OPEN));
    ASSERT_TRUE(prompter.openRequest);
    EXPECT_TRUE(prompter.openRequest->folder.empty());  // no image: the last folder used

    std::filesystem::create_directory(temp.File("pictures"));
    const auto path = temp.File("pictures") / "p.png";
    std::filesystem::copy_file(WriteImage(), path);
    ASSERT_TRUE(app->OpenImageFile(path));
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_OPEN));
    EXPECT_EQ(prompter.openRequest->folder, temp.File("pictures"));
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_AS_A_PNG));
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->folder, temp.File("pictures"));
}

TEST_F(AppFixture, SavingOverAReadOnlyFileProposesItsOwnNameFolderAndFormat) {
    const auto path = WriteImage("locked.png");
    ASSERT_TRUE(Start({ui::PathToQString(path)}));
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_SAVE));
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->initialName, PathText(path));
    EXPECT_EQ(prompter.saveRequest->folder, temp.Path());
    EXPECT_EQ(prompter.saveRequest->defaultExtension, "png");
    ASSERT_FALSE(prompter.saveRequest->filters.empty());
    EXPECT_EQ(prompter.saveRequest->filters[0].patterns, "*.png");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(AppFixture, ARefusedFileLeavesTheOpenDocumentsFileFacts) {
    // The open PNG carries a key, so its overwrite save must stay transparent.
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage("keyed.png"))}));
    ASSERT_EQ(app->Model().image.facts.FileColorKey, Rgb(255, 255, 255));
    // PNG bytes under a BMP name: decoded, then refused by the BMP header check.
    const auto fake = temp.File("fake.bmp");
    std::filesystem::copy_file(WriteImage("other.png"), fake);
    EXPECT_FALSE(app->OpenImageFile(fake));
    EXPECT_EQ(prompter.shown.back().id, 30012);
    EXPECT_EQ(app->Model().image.facts.FileColorKey, Rgb(255, 255, 255));
    EXPECT_EQ(app->Model().image.facts.SourceBmpFormat, BmpFormat{});
    EXPECT_EQ(app->MainFrame()->windowTitle(), "keyed.png - Palvex");
}

TEST_F(AppFixture, DroppingThreeFilesOpensOnlyTheFirst) {
    ASSERT_TRUE(Start());
    const auto first = WriteImage("first.png");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(ui::PathToQString(first)),
                  QUrl::fromLocalFile(ui::PathToQString(WriteImage("second.png"))),
                  QUrl::fromLocalFile(ui::PathToQString(WriteImage("third.png")))});
    QWidget* viewport = app->View()->viewport();
    // A drop goes to the widget that accepted the drag when it entered.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(app->Document().PathName(), first);
    EXPECT_EQ(app->Model().recent.Count(), 1);
}

TEST_F(AppFixture, OpenCommandRemembersTheFilter) {
    ASSERT_TRUE(Start());
    const auto path = WriteImage("dialog.png");
    prompter.openChoice = SaveFileChoice{path, 5};
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_OPEN));
    ASSERT_TRUE(prompter.openRequest);
    EXPECT_EQ(prompter.openRequest->title, "ファイルを指定");
    EXPECT_EQ(prompter.openRequest->selectedFilter, 1);
    EXPECT_EQ(prompter.openRequest->filters.size(), 6u);
    EXPECT_EQ(store.ReadInt("Last", "OpenType"), 5);
    EXPECT_EQ(app->Document().PathName(), path);

    // A filter the dialog could not tell leaves the remembered one.
    prompter.openChoice = SaveFileChoice{path, 0};
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_FILE_OPEN));
    EXPECT_EQ(store.ReadInt("Last", "OpenType"), 5);
}

TEST_F(AppFixture, SaveAsCommandsPreselectTheirFormat) {
    ASSERT_TRUE(Start({ui::PathToQString(WriteImage())}));
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_AS_ALPHA));
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->selectedFilter, 15);
    EXPECT_TRUE(app->Router().Dispatch(cmd::ID_AS_BMP));
    EXPECT_EQ(prompter.saveRequest->selectedFilter, 7);
}

}  // namespace
}  // namespace palvex

namespace palvex {
namespace {

// Records the keys read, in order, over an in-memory store.
class LoggingStore final : public SettingsStore {
public:
    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override {
        reads.push_back(std::string(section) + "\\" + std::string(key));
        return inner.ReadInt(section, key);
    }
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override {
        reads.push_back(std::string(section) + "\\" + std::string(key));
        return inner.ReadText(section, key);
    }
    void WriteInt(std::string_view section, std::string_view key, int value) override {
        inner.WriteInt(section, key, value);
    }
    void WriteText(std::string_view section, std::string_view key,
                   std::string_view value) override {
        inner.WriteText(section, key, value);
    }

    MemorySettings inner;
    mutable std::vector<std::string> reads;
};

std::ptrdiff_t IndexOf(const std::vector<std::string>& reads, const std::string& key) {
    const auto it = std::find(reads.begin(), reads.end(), key);
    return it == reads.end() ? -1 : it - reads.begin();
}

TEST(StartUpOrder, PrinterThenSettingsThenWindowThenFirstOpen) {
    test::TempDir temp;
    test::RecordingPrompter prompter;
    LoggingStore store;
    test::NullShell shell;
    std::ptrdiff_t readsBeforePrinter = -1;
    ui::CVemmarApp app({prompter, store, shell, WorkFolder(temp.Path()), [&](const AppSettings&) {
                            readsBeforePrinter = static_cast<std::ptrdiff_t>(store.reads.size());
                            return true;
                        }});
    ASSERT_TRUE(app.InitInstance({}));
    const auto& reads = store.reads;
    // The paper size and orientation are the last keys read before the printer is set up.
    ASSERT_GE(readsBeforePrinter, 2);
    EXPECT_EQ(reads[readsBeforePrinter - 1], "Insatu\\Orientation");
    EXPECT_EQ(reads[readsBeforePrinter - 2], "Insatu\\PaperSize");
    EXPECT_LT(IndexOf(reads, "Insatu\\Orientation"), IndexOf(reads, "Last\\DspRGB"));
    EXPECT_LT(IndexOf(reads, "Last\\RoundR"), IndexOf(reads, "Last\\DspGuide"));
    EXPECT_EQ(reads.back(), "Last\\FirstOpen");
    app.Document().SetModifiedFlag(false);
    app.MainFrame()->close();
}

}  // namespace
}  // namespace palvex
