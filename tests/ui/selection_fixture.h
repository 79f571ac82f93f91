#pragma once

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QtTest/QTest>
#include <deque>

#include "app/ui/qt_text.h"
#include "canvas/ui/edit_history.h"
#include "canvas/ui/vemmar_view.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_status_bar.h"
#include "resources/command_ids.h"
#include "selection/ui/selection_tool.h"
#include "tools/ui/canvas_input.h"
#include "ui/app_fixture.h"
#include "undo/undo_history.h"

namespace palvex::test {

// A clipboard of the test's own: what was put there, and writes that fail on request.
class FakeClipboard final : public ui::ImageClipboard {
public:
    bool HasImage() const override { return offered; }
    QImage Image() const override { return image; }
    bool SetImage(const QImage& picture) override {
        ++writes;
        if (refuse) {
            return false;
        }
        image = picture;
        offered = true;
        return true;
    }
    QImage image;
    bool offered = false;
    bool refuse = false;
    int writes = 0;
};

// Answers for the angle and size dialogs; unset means Cancel.
class FakeAsker final : public ui::TransformAsker {
public:
    std::optional<int> AskAngle(AppSettings&) override {
        ++asked;
        return angle;
    }
    std::optional<Size> AskSize(const SizeDialogBase& base, AppSettings&) override {
        ++asked;
        askedBase = base;
        return size;
    }
    std::optional<int> angle;
    std::optional<Size> size;
    SizeDialogBase askedBase;
    int asked = 0;
};

// The editor on an image at zoom 1 with no scroll (window and image points agree), in the
// selection mode, with a test clipboard and test dialogs.
class SelectionFixture : public AppFixture {
protected:
    // Pixel (x, y) of the test image: a value that names it, opaque.
    static Pixel Named(int x, int y) { return 0xFF000000u | static_cast<Pixel>(y << 10 | x); }

    void StartWith(int width, int height) {
        Bitmap image;
        ASSERT_TRUE(image.Create(width, height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.Row(y)[x] = Named(x, y);
            }
        }
        const auto path = temp.File("picture.png");
        WriteFileBytes(path, EncodeRgbaPng(image));
        ASSERT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(800, 600);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        auto ownClipboard = std::make_unique<FakeClipboard>();
        auto ownAsker = std::make_unique<FakeAsker>();
        clipboard = ownClipboard.get();
        asker = ownAsker.get();
        Tool().SetClipboard(std::move(ownClipboard));
        Tool().SetAsker(std::move(ownAsker));
        app->MainFrame()->Input()->execMenu = [this](QMenu& menu, const QPoint&) {
            menus.push_back(menu.objectName());
            for (QAction* action : menu.actions()) {
                menuItems.emplace_back(action->data().toInt(), action->isEnabled());
            }
        };
        Run(cmd::ID_SELECT);
    }

    ui::SelectionTool& Tool() {
        return dynamic_cast<ui::SelectionTool&>(app->MainFrame()->Input()->Hooks().Selection());
    }
    const SelectionState& State() { return Tool().State(); }
    Rect Selected() { return State().rect; }
    ImageState& Image() { return app->Model().image; }
    Pixel PixelAt(int x, int y) { return Image().WorkImage.Row(y)[x]; }
    int UndoSteps() {
        return static_cast<ui::SnapshotHistory*>(app->View()->History())->Core().UndoCount();
    }
    QWidget* Viewport() { return app->View()->viewport(); }
    void Run(int id) { app->Router().Dispatch(id); }
    bool Enabled(int id) {
        app->Router().UpdateActions();
        return app->Router().StateOf(id).enabled;
    }
    QString SizePane() { return app->MainFrame()->StatusBar()->PaneText(cmd::ID_PANE_SIZE); }

    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(p), QPointF(Viewport()->mapToGlobal(p)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to);
    }
    void Click(QPoint p) {
        Mouse(QEvent::MouseButtonPress, p);
        Mouse(QEvent::MouseButtonRelease, p);
    }
    void RightClick(QPoint p) {
        Mouse(QEvent::MouseButtonPress, p, Qt::RightButton);
        Mouse(QEvent::MouseButtonRelease, p, Qt::RightButton);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(app->View(), key, modifiers);
    }
    // A picture whose every pixel differs from its neighbours and from the test image's.
    static QImage Distinct(int w, int h) {
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                picture.setPixel(x, y, qRgb(200 - x, 100 + y, (x * 7 + y * 3) & 0xFF));
            }
        }
        return picture;
    }
    // The first pixel of `picture` that `image` does not hold at `at`, or none.
    static std::optional<Point> Mismatch(const Bitmap& image, Point at, const QImage& picture) {
        if (at.x < 0 || at.y < 0 || at.x + picture.width() > image.Width() ||
            at.y + picture.height() > image.Height()) {
            return Point{-1, -1};  // not all of it on the image
        }
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if ((image.Row(at.y + y)[at.x + x] | kOpaqueAlpha) != picture.pixel(x, y)) {
                    return Point{x, y};
                }
            }
        }
        return std::nullopt;
    }
    // A selection made with the rubber band.
    void Select(const Rect& r) {
        Drag({r.left, r.top}, {r.right, r.bottom});
        ASSERT_EQ(Selected(), r);
    }

    FakeClipboard* clipboard = nullptr;
    FakeAsker* asker = nullptr;
    std::vector<QString> menus;
    std::vector<std::pair<int, bool>> menuItems;
};

}  // namespace palvex::test
