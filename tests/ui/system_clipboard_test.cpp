// The real QClipboard: pictures copied out and pasted in land exactly, and a file URL that is
// no regular file is never opened.

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ui/selection_fixture.h"

namespace palvex {
namespace {

using test::SelectionFixture;

// Notices any reader of a FIFO: a writer's non-blocking open succeeds only while one has it
// open or waits in its open (and then releases that reader with an end of file).
class FifoWatch {
public:
    explicit FifoWatch(std::filesystem::path fifo)
        : thread_([this, fifo] {
              while (!stop_) {
                  const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) {
                      opened_ = true;
                      ::close(fd);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          }) {}
    ~FifoWatch() {
        stop_ = true;
        thread_.join();
    }
    bool Opened() const { return opened_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

class SystemClipboardTest : public SelectionFixture {
protected:
    void StartOnSystemClipboard(int width, int height) {
        StartWith(width, height);
        Tool().SetClipboard(std::make_unique<ui::SystemClipboard>());
        System()->clear();
    }
    static QClipboard* System() { return QGuiApplication::clipboard(); }
    static void OfferFiles(const std::vector<std::filesystem::path>& paths) {
        QList<QUrl> urls;
        for (const auto& path : paths) {
            urls.push_back(QUrl::fromLocalFile(ui::PathToQString(path)));
        }
        auto* data = new QMimeData;
        data->setUrls(urls);
        System()->setMimeData(data);
    }
    std::filesystem::path WritePicture(const QImage& picture, const std::string& name) {
        const auto path = temp.File(name);
        EXPECT_TRUE(picture.save(ui::PathToQString(path), "PNG"));
        return path;
    }
    bool PasteItemEnabled() {
        menuItems.clear();
        RightClick({5, 140});
        for (const auto& [id, enabled] : menuItems) {
            if (id == cmd::ID_PASTE_HERE) {
                return enabled;
            }
        }
        ADD_FAILURE() << "no paste item in " << menus.back().toStdString();
        return false;
    }
    // Ctrl+V, then a click outside the picture puts it down; where it landed.
    std::optional<Point> PasteAndPutDown() {
        Key(Qt::Key_V, Qt::ControlModifier);
        if (!State().pasteMode) {
            return std::nullopt;
        }
        const Point at{Selected().left, Selected().top};
        Click({1, 1});
        return at;
    }
};

TEST_F(SystemClipboardTest, CopiesAndPastesLandExactly) {
    StartOnSystemClipboard(1000, 800);
    // Pictures up to our own pixel limit are not refused by Qt first.
    EXPECT_EQ(QImageReader::allocationLimit(), 1024);
    Select({10, 20, 61, 47});
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage copied = System()->image();
    if (copied.isNull()) {
        GTEST_SKIP() << "this platform has no clipboard";
    }
    ASSERT_EQ(copied.size(), QSize(51, 27));
    EXPECT_EQ(Mismatch(Image().WorkImage, {10, 20}, copied.convertToFormat(QImage::Format_RGB32)),
              std::nullopt);
    Run(cmd::ID_EDIT_CLEAR);

    // A picture from another program.
    const QImage picture = Distinct(37, 23);
    System()->setImage(picture);
    const std::optional<Point> at = PasteAndPutDown();
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(Mismatch(Image().WorkImage, *at, picture), std::nullopt);

    // A file a file manager copied.
    const QImage filed = Distinct(13, 7).mirrored(true, false);
    OfferFiles({WritePicture(filed, "copied.png")});
    EXPECT_TRUE(PasteItemEnabled());
    const std::optional<Point> fileAt = PasteAndPutDown();
    ASSERT_TRUE(fileAt.has_value());
    EXPECT_EQ(Mismatch(Image().WorkImage, *fileAt, filed), std::nullopt);
    EXPECT_TRUE(prompter.shown.empty());
}

// Over an image smaller than the window the window's centre lies beside the image: the picture
// must float on the image, or putting it down would drop it.
TEST_F(SystemClipboardTest, APasteOverASmallImageLandsOnIt) {
    StartOnSystemClipboard(300, 200);
    const QImage picture = Distinct(40, 30);
    System()->setImage(picture);
    if (System()->image().isNull()) {
        GTEST_SKIP() << "this platform has no clipboard";
    }
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(State().pasteMode);
    const Rect placed = Selected();
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.right, 300);
    EXPECT_LE(placed.bottom, 200);
    EXPECT_EQ(placed.Width(), 40);
    Click({1, 1});
    ASSERT_FALSE(State().pasteMode);
    EXPECT_EQ(Mismatch(Image().WorkImage, {placed.left, placed.top}, picture), std::nullopt);
}

TEST_F(SystemClipboardTest, OnlyRegularFilesAmongTheFirstUrlsAreOffered) {
    StartOnSystemClipboard(1000, 800);
    System()->setText("probe");
    if (System()->text() != "probe") {
        GTEST_SKIP() << "this platform has no clipboard";
    }
    const auto fifo = temp.File("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto folder = temp.File("folder.png");
    std::filesystem::create_directory(folder);
    const auto empty = temp.File("empty.png");
    test::WriteFileBytes(empty, {});
    const QImage picture = Distinct(13, 7);
    const auto real = WritePicture(picture, "real.png");
    {
        FifoWatch watch(fifo);
        // A FIFO would hold the editor for good at its first open.
        OfferFiles({fifo, folder, empty});
        EXPECT_FALSE(PasteItemEnabled());
        EXPECT_EQ(PasteAndPutDown(), std::nullopt);
        EXPECT_TRUE(prompter.shown.empty());

        OfferFiles({fifo, folder, empty, real});
        EXPECT_TRUE(PasteItemEnabled());
        const std::optional<Point> at = PasteAndPutDown();
        ASSERT_TRUE(at.has_value());
        EXPECT_EQ(Mismatch(Image().WorkImage, *at, picture), std::nullopt);

        // The real popup, its paste item clicked: pasted where the right button went up.
        auto& execMenu = app->MainFrame()->Input()->execMenu;
        const auto recordMenu =
            std::exchange(execMenu, [](QMenu& menu, const QPoint& global) { menu.exec(global); });
        QTimer::singleShot(0, [] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            for (QAction* action : popup->actions()) {
                if (action->data().toInt() == cmd::ID_PASTE_HERE && action->isEnabled()) {
                    QTest::mouseClick(popup, Qt::LeftButton, {},
                                      popup->actionGeometry(action).center());
                    return;
                }
            }
            popup->close();
            ADD_FAILURE() << "no enabled paste item";
        });
        RightClick({400, 300});
        execMenu = recordMenu;
        ASSERT_TRUE(State().pasteMode);
        EXPECT_EQ(Selected(), (Rect{394, 297, 407, 304}));
        Click({1, 1});
        EXPECT_EQ(Mismatch(Image().WorkImage, {394, 297}, picture), std::nullopt);
        EXPECT_FALSE(watch.Opened()) << "the FIFO was opened";
    }
    // Only the first few URLs are looked at, however many a copied folder brings.
    std::vector<std::filesystem::path> many(100, empty);
    many.push_back(real);
    OfferFiles(many);
    EXPECT_FALSE(PasteItemEnabled());
}

}  // namespace
}  // namespace palvex
