// The barrier on the real editor: placing by clicks with its timer, dragging, the context menus,
// the inside and outside commands with their undo steps, barrier files and their history.

#include "barrier/ui/barrier_tool.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest/QTest>

#include "app/ui/qt_text.h"
#include "barrier/barrier_history.h"
#include "canvas/image_layer.h"
#include "canvas/ui/vemmar_view.h"
#include "image/image_loader.h"
#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "tools/ui/canvas_input.h"
#include "ui/app_fixture.h"
#include "ui/refusing_history.h"
#include "undo/undo_history.h"

namespace palvex {
namespace {

constexpr Pixel kBlue = 0xFF0000FFu;
constexpr Colour kBlueColour = 0xFF0000;  // 0x00BBGGRR
constexpr Colour kKey = 0xFFFFFF;         // the flattened transparent pixel

std::vector<Point> Points(std::span<const Point> span) {
    return {span.begin(), span.end()};
}

std::string ReadText(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = test::ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// A selection tool stand-in with a fixed rectangle.
class FixedSelection final : public ui::SelectionHooks {
public:
    Rect SelectionRect() const override { return rect; }
    bool HasSelection() const override { return !rect.IsEmpty(); }
    bool RemoveSelection() override {
        ++removed;
        rect = {};
        return true;
    }
    Rect rect{10, 10, 50, 40};
    int removed = 0;
};

class BarrierToolTest : public test::AppFixture {
protected:
    // A blue image, one transparent pixel in the corner (the key becomes white), zoom 1 and no
    // scroll, so window and image points agree.
    void StartWithImage(int width = 100, int height = 80) {
        const auto path = WriteBlueImage(width, height, "barrier.png");
        ASSERT_TRUE(Start({ui::PathToQString(path)}));
        app->MainFrame()->resize(800, 600);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        app->MainFrame()->Input()->execMenu = [this](QMenu& menu, const QPoint&) {
            shownMenus.push_back(menu.objectName());
            menuStates.clear();
            Collect(menu);
        };
    }

    std::filesystem::path WriteBlueImage(int width, int height, const std::string& name) {
        Bitmap image = test::SolidBitmap(width, height, kBlue);
        image.Row(height - 1)[width - 1] = 0x00FFFFFFu;
        const auto path = temp.File(name);
        test::WriteFileBytes(path, test::EncodeRgbaPng(image));
        return path;
    }

    void Collect(const QMenu& menu) {
        for (QAction* action : menu.actions()) {
            if (action->menu() != nullptr) {
                Collect(*action->menu());
            } else if (action->data().isValid()) {
                menuStates[action->data().toInt()] = action->isEnabled();
            }
        }
    }

    ui::BarrierTool& Tool() {
        return dynamic_cast<ui::BarrierTool&>(app->MainFrame()->Input()->Hooks().Barrier());
    }
    const Barrier& Model() { return Tool().Model(); }
    QWidget* Viewport() { return app->View()->viewport(); }
    void Run(int id) { app->Router().Dispatch(id); }
    ui::CommandUiState State(int id) { return app->Router().StateOf(id); }
    Colour PixelAt(int x, int y) { return app->Model().image.WorkImage.ReadPixel(x, y); }
    ui::EditHistory& History() { return *app->View()->History(); }

    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, QPointF(p), QPointF(Viewport()->mapToGlobal(p)), button, held,
                          modifiers);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void Drag(QPoint from, QPoint to) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void RightClick(QPoint p) {
        Send(QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
        Send(QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::NoButton);
    }
    void Key(Qt::Key key) { QTest::keyClick(Viewport(), key); }

    // A square barrier placed through the core, as a loaded file would be.
    void PlaceSquare(int left = 20, int top = 20, int right = 80, int bottom = 60) {
        const std::vector<Point> square{{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        ASSERT_TRUE(Tool().Model().ReplaceVertices(square));
        Run(cmd::ID_BARRIER);
    }

    std::vector<QString> shownMenus;
    std::map<int, bool> menuStates;
};

TEST_F(BarrierToolTest, PlacingByClicksSnapsToTheBorderAndClosesAlongIt) {
    StartWithImage();
    // With an image and no barrier: placing and loading are offered, the fills and saving not.
    EXPECT_TRUE(State(cmd::ID_BARRIER_POS_ADD).enabled);
    EXPECT_TRUE(State(cmd::ID_BARI_LOAD).enabled);
    EXPECT_FALSE(State(cmd::ID_BARI_IN_TRANS).enabled);
    EXPECT_FALSE(State(cmd::ID_BARI_OUT_TRANS).enabled);
    EXPECT_FALSE(State(cmd::ID_BARI_SAVE).enabled);
    Run(cmd::ID_BARRIER_POS_ADD);
    EXPECT_TRUE(Model().Adding());
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(),
              ui::ToQString(LoadString(str::kGuideAddingVertices)));
    EXPECT_TRUE(State(cmd::ID_BARRIER_POS_ADD).checked);
    EXPECT_EQ(State(cmd::ID_BARRIER_POS_ADD).text, ui::ToQString(texts::kEndAddingLabel));
    EXPECT_FALSE(State(cmd::ID_BARI_SAVE).enabled);
    EXPECT_FALSE(State(cmd::ID_CHANGE_SELECT).enabled);

    Click({50, 40});
    Click({5, 30});  // 1..9 snaps onto the left edge
    EXPECT_EQ(Points(Model().Vertices()), (std::vector<Point>{{50, 40}, {0, 30}}));
    Click({120, 30});  // beside the image: nothing
    EXPECT_EQ(Model().Count(), 2);

    // Placing cannot leave the barrier tab.
    app->MainFrame()->ActivateRibbonTab(ui::ToQString(texts::kHomeTab));
    EXPECT_EQ(app->MainFrame()->Ribbon()->TabName(app->MainFrame()->Ribbon()->ActiveTab()),
              ui::ToQString(texts::kBarrierTab));

    Run(cmd::ID_BARRIER_POS_ADD);
    EXPECT_FALSE(Model().Adding());
    EXPECT_FALSE(Tool().PlacingTimer().isActive());
    EXPECT_EQ(Points(Model().Vertices()),
              (std::vector<Point>{{99, 40}, {50, 40}, {0, 30}, {0, 0}, {99, 0}}));
    EXPECT_EQ(Model().MainVertex(), 4);
    EXPECT_TRUE(State(cmd::ID_BARI_SAVE).enabled);

    // The other direction replaces the corners of the last closing.
    Run(cmd::ID_ROUND_L);
    EXPECT_EQ(Points(Model().Vertices()),
              (std::vector<Point>{{99, 40}, {50, 40}, {0, 30}, {0, 79}, {99, 79}}));
    EXPECT_TRUE(State(cmd::ID_ROUND_L).checked);
}

TEST_F(BarrierToolTest, EscapeAndShiftClickDropTheLastVertexAndNothingWithoutOne) {
    StartWithImage();
    Run(cmd::ID_BARRIER_POS_ADD);
    Key(Qt::Key_Escape);
    Click({30, 30}, Qt::ShiftModifier);
    EXPECT_EQ(Model().Count(), 0);
    Click({30, 30});
    Click({40, 30});
    Click({50, 50});
    Key(Qt::Key_Escape);
    EXPECT_EQ(Points(Model().Vertices()), (std::vector<Point>{{30, 30}, {40, 30}}));
    Click({60, 60}, Qt::ShiftModifier);
    EXPECT_EQ(Points(Model().Vertices()), (std::vector<Point>{{30, 30}}));
    EXPECT_TRUE(Model().Adding());
}

TEST_F(BarrierToolTest, TheTimerCountsDownRestartsAndEndsPlacingAtSixtySeconds) {
    StartWithImage();
    Run(cmd::ID_BARRIER_POS_ADD);
    EXPECT_TRUE(Tool().PlacingTimer().isActive());
    EXPECT_EQ(Tool().PlacingTimer().interval(), 5000);
    EXPECT_EQ(State(cmd::ID_TOKEI).text, "60秒");
    Click({50, 40});
    Click({0, 30});
    for (int tick = 0; tick < 11; ++tick) {
        Tool().TimerTick();
    }
    EXPECT_EQ(State(cmd::ID_TOKEI).text, "5秒");
    Run(cmd::ID_TOKEI);  // back to 60 seconds, still running
    EXPECT_EQ(State(cmd::ID_TOKEI).text, "60秒");
    EXPECT_TRUE(Tool().PlacingTimer().isActive());
    for (int tick = 0; tick < 11; ++tick) {
        Tool().TimerTick();
    }
    EXPECT_TRUE(Model().Adding());
    Tool().TimerTick();
    EXPECT_FALSE(Model().Adding());
    EXPECT_FALSE(Tool().PlacingTimer().isActive());
    EXPECT_EQ(State(cmd::ID_TOKEI).text, "60秒");
    EXPECT_EQ(Model().Count(), 5);  // closed along the border
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(),
              ui::ToQString(LoadString(str::kGuideDragVertices)));
}

TEST_F(BarrierToolTest, DraggingAVertexMovesItOnReleaseAsOneUndoStep) {
    StartWithImage();
    PlaceSquare();
    const int steps = History().UndoCount();
    Drag({80, 20}, {90, 30});
    EXPECT_EQ(Model().Vertex(1), (Point{90, 30}));
    EXPECT_EQ(Model().Vertex(0), (Point{20, 20}));
    EXPECT_EQ(History().UndoCount(), steps + 1);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(Model().Vertex(1), (Point{80, 20}));
    EXPECT_EQ(Model().SelectedCount(), 0);
    Run(cmd::ID_REDO);
    EXPECT_EQ(Model().Vertex(1), (Point{90, 30}));
    // A drag that ends where it began changes nothing and stores nothing.
    const int before = History().UndoCount();
    Drag({90, 30}, {90, 30});
    EXPECT_EQ(History().UndoCount(), before);
}

TEST_F(BarrierToolTest, TheBarrierIsDrawnOnlyInTheBarrierMode) {
    StartWithImage();
    PlaceSquare();
    const auto colourAt = [this](int x, int y) { return app->View()->Rendered().pixelColor(x, y); };
    EXPECT_EQ(colourAt(50, 60), QColor(189, 231, 189));  // a side in the line colour
    EXPECT_EQ(colourAt(80, 60), QColor(255, 255, 123));  // a vertex marker
    Run(cmd::ID_POS_CHECK);                              // markers off
    EXPECT_EQ(colourAt(80, 60), QColor(189, 231, 189));
    RightClick({50, 60});  // the side and its ends selected: drawn wider in the selected colour
    EXPECT_EQ(colourAt(50, 61), QColor(57, 148, 57));
    // The colour buttons take effect at once.
    app->MainFrame()->Ribbon()->SetColour(cmd::ID_BARRIER_LINE_COL, 0x0000FF);
    Run(cmd::ID_BARRIER_LINE_COL);
    EXPECT_EQ(colourAt(20, 40), QColor(255, 0, 0));
    Run(cmd::ID_SELECT);
    EXPECT_EQ(colourAt(50, 60), QColor(0, 0, 255));
}

TEST_F(BarrierToolTest, AWholeMoveRepaintsWhereTheBarrierWasAndWhereItIs) {
    StartWithImage(200, 150);
    PlaceSquare();
    Drag({50, 40}, {110, 90});
    EXPECT_EQ(Model().Vertex(0), (Point{80, 70}));
    // The composed frame as the release left it (a rendering would draw everything anew).
    const Bitmap& frame = app->View()->ScreenBuffer();
    EXPECT_EQ(frame.ReadPixel(20, 40), kBlueColour);       // the old left side is gone
    EXPECT_EQ(frame.ReadPixel(80, 90), Colour{0x399439});  // the new one, selected
}

TEST_F(BarrierToolTest, ARubberBandSelectsTheVerticesItEncloses) {
    StartWithImage();
    PlaceSquare();
    Drag({10, 10}, {90, 30});
    EXPECT_TRUE(Model().IsSelected(0));
    EXPECT_TRUE(Model().IsSelected(1));
    EXPECT_EQ(Model().SelectedCount(), 2);
    // Tab steps the selected side on.
    Key(Qt::Key_Tab);
    EXPECT_TRUE(Model().IsSelected(1) && Model().IsSelected(2));
    EXPECT_EQ(Model().SelectedCount(), 2);
}

TEST_F(BarrierToolTest, APressInsideSelectsTheWholeAndItsFrameHandleResizesIt) {
    StartWithImage(200, 150);
    PlaceSquare(20, 20, 80, 60);
    Click({50, 40});
    ASSERT_TRUE(Model().WholeSelection());
    EXPECT_EQ(*Model().Frame(), (Rect{20, 20, 80, 60}));
    Drag({80, 60}, {140, 100});  // the bottom-right handle
    EXPECT_EQ(*Model().Frame(), (Rect{20, 20, 140, 100}));
    EXPECT_EQ(Model().Vertex(2), (Point{140, 100}));
    EXPECT_EQ(Model().Vertex(0), (Point{20, 20}));
    // Over the selected frame side the guide tells how to turn it.
    Send(QEvent::MouseMove, {100, 20}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(app->MainFrame()->StatusBar()->Guide(),
              ui::ToQString(LoadString(str::kGuideTabTurnsSide)));
    // The wheel turned backwards inside grows the barrier by 10 pixels a side.
    QWheelEvent wheel(QPointF(50, 50), QPointF(Viewport()->mapToGlobal(QPoint(50, 50))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewport(), &wheel);
    EXPECT_EQ(*Model().Frame(), (Rect{10, 10, 150, 110}));
    Run(cmd::ID_BARI_SHRINK_10);
    EXPECT_EQ(*Model().Frame(), (Rect{20, 20, 140, 100}));
    // The whole barrier moves by the arrow keys, 10 pixels, 1 with Ctrl.
    Key(Qt::Key_Right);
    EXPECT_EQ(Model().Vertex(0), (Point{30, 20}));
    QTest::keyClick(Viewport(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Model().Vertex(0), (Point{30, 21}));
    // Delete erases the barrier selected as a whole.
    Run(cmd::ID_EDIT_CLEAR);
    EXPECT_EQ(Model().Count(), 0);
}

TEST_F(BarrierToolTest, TheContextMenuFollowsWhatLiesUnderThePointer) {
    StartWithImage();
    PlaceSquare();
    RightClick({50, 40});
    EXPECT_EQ(shownMenus.back(), "BARIIN");
    EXPECT_TRUE(Model().WholeSelection());
    EXPECT_TRUE(menuStates.at(cmd::ID_POS_TIMES_2));
    EXPECT_FALSE(menuStates.at(cmd::ID_POS_HALF));  // fewer than 6 vertices
    EXPECT_TRUE(menuStates.at(cmd::ID_POS_ON_RECT));
    RightClick({20, 20});
    EXPECT_EQ(shownMenus.back(), "BARIPOS");
    EXPECT_EQ(Model().MainVertex(), 0);
    RightClick({50, 20});
    EXPECT_EQ(shownMenus.back(), "BARISIDE");
    EXPECT_TRUE(Model().IsSelected(0) && Model().IsSelected(1));
    EXPECT_EQ(Model().SelectedCount(), 2);
    RightClick({5, 5});
    EXPECT_EQ(shownMenus.back(), "BARIOUT");
    EXPECT_EQ(Model().SelectedCount(), 0);
    EXPECT_TRUE(menuStates.at(cmd::ID_BARI_OUT_HERE));

    // Inserting on the side chosen by the menu.
    RightClick({50, 20});
    Run(cmd::ID_SIDE_ADD_1);
    EXPECT_EQ(Model().Count(), 5);
    EXPECT_EQ(Model().Vertex(1), (Point{50, 20}));

    // Deleting the vertex under the menu; below three vertices it is refused with 30008.
    RightClick({5, 5});
    RightClick({50, 20});
    const std::size_t shown = prompter.shown.size();
    Run(cmd::ID_POS_DELETE);
    EXPECT_EQ(prompter.shown.size(), shown);  // one vertex: no question
    EXPECT_EQ(Model().Count(), 4);
    RightClick({50, 60});  // the bottom side: both its ends selected
    Run(cmd::ID_POS_DELETE);
    EXPECT_EQ(prompter.shown.back().id, str::kTooFewVertices);
    EXPECT_EQ(Model().Count(), 4);

    // The animation's target: an element not selected yet, nothing over a selected one.
    EXPECT_EQ(Tool().AnimationTargetAt({20, 60}), -1);
    EXPECT_EQ(Tool().AnimationTargetAt({80, 20}), 1);
    EXPECT_EQ(Tool().AnimationTargetAt({80, 40}), kHitSide);
    EXPECT_EQ(Tool().AnimationTargetAt({5, 5}), -1);
}

TEST_F(BarrierToolTest, InsideAndOutsideMakeTheKeyAndOneUndoStepPutsThePixelsBack) {
    StartWithImage();
    PlaceSquare();
    ASSERT_EQ(app->Model().image.TransparentColor, kKey);
    const int steps = History().UndoCount();
    Run(cmd::ID_BARI_IN_TRANS);
    EXPECT_EQ(PixelAt(50, 40), kKey);
    EXPECT_EQ(PixelAt(20, 20), kKey);  // the outline with the inside
    EXPECT_EQ(PixelAt(10, 10), kBlueColour);
    EXPECT_EQ(PixelAt(81, 61), kBlueColour);
    EXPECT_EQ(History().UndoCount(), steps + 1);
    EXPECT_TRUE(app->Document().IsModified());
    Run(cmd::ID_UNDO);
    EXPECT_EQ(PixelAt(50, 40), kBlueColour);
    EXPECT_EQ(PixelAt(20, 20), kBlueColour);

    Run(cmd::ID_BARI_OUT_TRANS);
    EXPECT_EQ(PixelAt(10, 10), kKey);
    EXPECT_EQ(PixelAt(0, 79), kKey);
    EXPECT_EQ(PixelAt(50, 40), kBlueColour);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(PixelAt(10, 10), kBlueColour);

    // The context-menu commands fill the region under the right-click.
    RightClick({5, 5});
    Run(cmd::ID_BARI_OUT_HERE);
    EXPECT_EQ(PixelAt(10, 10), kKey);
    EXPECT_EQ(PixelAt(50, 40), kBlueColour);
}

// Over one colour the fills' undo step is what they overwrote, with no snapshot; over many
// colours a snapshot of the changed area. Either way undo gives back every pixel.
TEST_F(BarrierToolTest, InsideAndOutsideStepsPutBackEveryPixel) {
    StartWithImage(400, 300);
    PlaceSquare(20, 20, 380, 280);
    auto& core = static_cast<ui::SnapshotHistory&>(History()).Core();
    ImageState& image = app->Model().image;
    for (int y = 30; y < 250; ++y) {
        for (int x = 30; x < 350; ++x) {
            image.WorkImage.Row(y)[x] = 0xFF000000u | static_cast<Pixel>(x * 7 + y * 1000);
        }
    }
    const auto copy = [&image] {
        Bitmap b;
        EXPECT_TRUE(b.Create(image.WorkImage.Width(), image.WorkImage.Height()));
        EXPECT_TRUE(CopyBitmapBits(image.WorkImage, b));
        return b;
    };
    const Bitmap before = copy();
    Run(cmd::ID_BARI_OUT_TRANS);
    EXPECT_EQ(core.NewestUndoStep()->kind, SnapshotKind::Fill);
    const Bitmap outside = copy();
    Run(cmd::ID_BARI_IN_TRANS);
    EXPECT_EQ(core.NewestUndoStep()->kind, SnapshotKind::Image);
    // The changed area, grown by 2: the interior, as the outside took the outline.
    EXPECT_EQ(core.NewestUndoStep()->rect, (Rect{19, 19, 382, 282}));
    const Bitmap inside = copy();
    Run(cmd::ID_UNDO);
    EXPECT_TRUE(test::SameBitmaps(outside, image.WorkImage, "undo_inside"));
    Run(cmd::ID_UNDO);
    EXPECT_TRUE(test::SameBitmaps(before, image.WorkImage, "undo_outside"));
    Run(cmd::ID_REDO);
    Run(cmd::ID_REDO);
    EXPECT_TRUE(test::SameBitmaps(inside, image.WorkImage, "redo_both"));
}

TEST_F(BarrierToolTest, AFillWhoseSnapshotFailsChangesNoPixel) {
    StartWithImage();
    PlaceSquare();
    app->View()->SetHistory(std::make_unique<test::RefusingHistory>());
    Run(cmd::ID_BARI_OUT_TRANS);
    Run(cmd::ID_BARI_IN_TRANS);
    EXPECT_EQ(PixelAt(10, 10), kBlueColour);
    EXPECT_EQ(PixelAt(50, 40), kBlueColour);
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(BarrierToolTest, SavingWritesTheFileAndTheHistoryAndLoadingBringsTheBarrierBack) {
    StartWithImage(400, 300);
    const std::vector<Point> three{{10, 20}, {300, 20}, {150, 200}};
    ASSERT_TRUE(Tool().Model().ReplaceVertices(three));
    const auto path = temp.File("shape.bar");
    prompter.saveChoice = SaveFileChoice{path, 1};
    Run(cmd::ID_BARI_SAVE);
    ASSERT_TRUE(prompter.saveRequest);
    EXPECT_EQ(prompter.saveRequest->initialName, "無題");
    EXPECT_EQ(prompter.saveRequest->defaultExtension, "bar");
    EXPECT_EQ(prompter.saveRequest->filters.at(0).label, "バリアファイル(*.bar)");
    EXPECT_EQ(ReadText(path), "10,20\r\n300,20\r\n150,200\r\n");
    EXPECT_EQ(prompter.shown.back().id, str::kSaved);
    EXPECT_EQ(BarrierHistory(store).Entry(0), ui::ToStdString(ui::PathToQString(path)));
    EXPECT_EQ(State(cmd::ID_LOAD_BARI_1).text, ui::PathToQString(path));

    // Saving over it asks first; No keeps the file.
    Tool().Model().ReplaceVertices(std::vector<Point>{{1, 1}, {2, 2}, {3, 1}});
    prompter.answers.push_back(Answer::No);
    Run(cmd::ID_BARI_SAVE);
    EXPECT_EQ(prompter.shown.back().id, str::kFileExists);
    EXPECT_EQ(ReadText(path), "10,20\r\n300,20\r\n150,200\r\n");

    // Loading replaces the barrier, and undo brings the replaced one back.
    prompter.openChoice = SaveFileChoice{path, 1};
    Run(cmd::ID_BARI_LOAD);
    EXPECT_EQ(Points(Model().Vertices()), three);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(Model().Count(), 3);
    EXPECT_EQ(Model().Vertex(0), (Point{1, 1}));

    // A picture renamed .bar is refused with a message and changes nothing.
    const auto picture = temp.File("picture.bar");
    test::WriteFileBytes(picture, test::EncodeRgbaPng(test::SolidBitmap(2, 2, kBlue)));
    prompter.openChoice = SaveFileChoice{picture, 1};
    const int steps = History().UndoCount();
    Run(cmd::ID_BARI_LOAD);
    EXPECT_EQ(prompter.shown.back().id, str::kNotBarrierFile);
    EXPECT_EQ(Model().Vertex(0), (Point{1, 1}));
    EXPECT_EQ(History().UndoCount(), steps);
    EXPECT_EQ(BarrierHistory(store).Entry(0), ui::ToStdString(ui::PathToQString(path)));
}

TEST_F(BarrierToolTest, AFailedWriteSaysWhereAndKeepsTheHistory) {
    StartWithImage();
    PlaceSquare();
    const auto path = temp.File("missing-folder") / "shape.bar";
    prompter.saveChoice = SaveFileChoice{path, 1};
    Run(cmd::ID_BARI_SAVE);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().id, str::kNoWriteAccess);
    EXPECT_EQ(prompter.shown.back().prefix, PathText(path) + "\n");
    EXPECT_EQ(BarrierHistory(store).Entry(0), "");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(BarrierToolTest, TheHistoryButtonsDoNothingWithoutAnImageOrWhilePlacing) {
    const auto bar = temp.File("h.bar");
    test::WriteFileBytes(bar, std::vector<std::uint8_t>{'5', ',', '5', '\n', '9', ',', '9', '\n',
                                                        '5', ',', '9', '\n'});
    BarrierHistory(store).Add(ui::ToStdString(ui::PathToQString(bar)));
    ASSERT_TRUE(Start());
    EXPECT_FALSE(State(cmd::ID_BARRIER_POS_ADD).enabled);
    EXPECT_FALSE(State(cmd::ID_BARI_LOAD).enabled);
    Run(cmd::ID_LOAD_BARI_1);
    EXPECT_EQ(Model().Count(), 0);
    EXPECT_TRUE(prompter.shown.empty());

    ASSERT_TRUE(app->OpenImageFile(WriteBlueImage(100, 80, "later.png")));
    Run(cmd::ID_BARRIER_POS_ADD);
    Run(cmd::ID_LOAD_BARI_1);
    EXPECT_EQ(Model().Count(), 0);
    Run(cmd::ID_BARRIER_POS_ADD);
    Run(cmd::ID_LOAD_BARI_1);
    EXPECT_EQ(Points(Model().Vertices()), (std::vector<Point>{{5, 5}, {9, 9}, {5, 9}}));

    // Opening another image takes the barrier away.
    ASSERT_TRUE(app->OpenImageFile(WriteBlueImage(50, 40, "other.png")));
    EXPECT_EQ(Model().Count(), 0);
    Run(cmd::ID_LOAD_CLS);
    EXPECT_EQ(BarrierHistory(store).Entry(0), "");
}

TEST_F(BarrierToolTest, TheSelectionBecomesTheBarrierAsAnUndoStep) {
    StartWithImage();
    FixedSelection selection;
    app->MainFrame()->Input()->Hooks().SetSelection(&selection);
    PlaceSquare(1, 1, 30, 30);
    Run(cmd::ID_SELECT);
    selection.rect = {10, 10, 50, 40};  // entering the barrier mode removed the first one
    const int steps = History().UndoCount();
    Run(cmd::ID_SEL_TO_BARRIER);
    EXPECT_EQ(Points(Model().Vertices()),
              (std::vector<Point>{{10, 10}, {50, 10}, {50, 40}, {10, 40}}));
    EXPECT_GE(selection.removed, 1);
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_EQ(History().UndoCount(), steps + 1);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(Model().Vertex(1), (Point{30, 1}));
    // With no selection the command does nothing.
    Run(cmd::ID_SEL_TO_BARRIER);
    EXPECT_EQ(Model().Vertex(1), (Point{30, 1}));
    app->MainFrame()->Input()->Hooks().SetSelection(nullptr);
}

TEST_F(BarrierToolTest, CtrlKeepsTheSelectionARubberBandAddsTo) {
    StartWithImage();
    PlaceSquare();
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    ASSERT_TRUE(Model().IsSelected(0));
    // A band around vertex 2 with Ctrl held from the press to the release.
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(70, 66));
    Send(QEvent::MouseMove, {85, 60}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    Send(QEvent::MouseMove, {95, 50}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(95, 50));
    EXPECT_TRUE(Model().IsSelected(0));
    EXPECT_TRUE(Model().IsSelected(2));
    EXPECT_EQ(Model().SelectedCount(), 2);
    EXPECT_EQ(Model().MainVertex(), 2);
    // Without Ctrl the band replaces the selection.
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(65, 5));
    Send(QEvent::MouseMove, {95, 35}, Qt::NoButton, Qt::LeftButton);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(95, 35));
    EXPECT_TRUE(Model().IsSelected(1));
    EXPECT_EQ(Model().SelectedCount(), 1);
}

TEST_F(BarrierToolTest, ARubberBandDraggedBeyondTheImageReachesItsEdge) {
    StartWithImage();
    PlaceSquare(20, 20, 60, 40);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(50, 50));
    Send(QEvent::MouseMove, {75, 35}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    Send(QEvent::MouseMove, {150, 15}, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(150, 15));
    // The band's far corner is clamped to (99, 15): vertices 1 and 2, and 0 kept by Ctrl.
    EXPECT_TRUE(Model().IsSelected(0));
    EXPECT_TRUE(Model().IsSelected(1));
    EXPECT_TRUE(Model().IsSelected(2));
    EXPECT_EQ(Model().SelectedCount(), 3);
}

TEST_F(BarrierToolTest, WhilePlacingTheRightButtonOpensNoEditMenuAndPasteCannotLeaveTheMode) {
    StartWithImage();
    PlaceSquare();
    QApplication::clipboard()->setImage(QImage(8, 8, QImage::Format_RGB32));
    EXPECT_TRUE(State(cmd::ID_EDIT_PASTE).enabled);
    Run(cmd::ID_BARRIER_POS_ADD);
    ASSERT_TRUE(Model().Adding());
    // Vertex 2 of the open chain: no menu, so nothing can act on another vertex.
    RightClick({80, 60});
    EXPECT_TRUE(shownMenus.empty());
    EXPECT_EQ(Model().Count(), 4);
    // Paste and the mode commands wait until placing ends; Ctrl+V does nothing.
    EXPECT_FALSE(State(cmd::ID_EDIT_PASTE).enabled);
    EXPECT_FALSE(State(cmd::ID_PEN).enabled);
    EXPECT_FALSE(State(cmd::ID_SPUIT).enabled);
    QTest::keyClick(Viewport(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(app->Model().settings.toolMode, 5);
    EXPECT_TRUE(Model().Adding());
    // Placing goes on: a click adds, Esc takes it back.
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 70));
    EXPECT_EQ(Model().Count(), 5);
    QTest::keyClick(Viewport(), Qt::Key_Escape);
    EXPECT_EQ(Model().Count(), 4);
    Run(cmd::ID_BARRIER_POS_ADD);
    EXPECT_TRUE(State(cmd::ID_EDIT_PASTE).enabled);
    EXPECT_TRUE(State(cmd::ID_PEN).enabled);
}

TEST_F(BarrierToolTest, TheInsideOfABarrierWithoutASideSeedIsClearedAndNoInsideIsToldOf) {
    StartWithImage(200, 150);
    ASSERT_TRUE(Tool().Model().ReplaceVertices(std::vector<Point>{{141, 55}, {129, 60}, {97, 93}}));
    Run(cmd::ID_BARRIER);
    Run(cmd::ID_BARI_IN_TRANS);
    EXPECT_EQ(PixelAt(124, 66), kKey);
    EXPECT_EQ(PixelAt(100, 60), kBlueColour);
    EXPECT_TRUE(prompter.shown.empty());

    ASSERT_TRUE(Tool().Model().ReplaceVertices(std::vector<Point>{{10, 10}, {60, 50}}));
    const int steps = History().UndoCount();
    Run(cmd::ID_BARI_IN_TRANS);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, str::kBarrierHasNoInside);
    EXPECT_EQ(History().UndoCount(), steps);
    EXPECT_EQ(PixelAt(35, 30), kBlueColour);
}

TEST_F(BarrierToolTest, AWholeMoveRepaintsTheCanvasBesideTheImageToo) {
    StartWithImage(100, 80);
    PlaceSquare(60, 20, 99, 60);  // markers and numbers reach past the right edge
    const Bitmap& frame = app->View()->ScreenBuffer();
    const auto barrierBeside = [&frame] {
        int pixels = 0;
        for (int y = 10; y < 90; ++y) {
            for (int x = 100; x < 150; ++x) {
                pixels += frame.ReadPixel(x, y) != kNeutralColour ? 1 : 0;
            }
        }
        return pixels;
    };
    ASSERT_GT(barrierBeside(), 0);
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(80, 40));
    Send(QEvent::MouseMove, {60, 40}, Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseMove, {40, 40}, Qt::NoButton, Qt::LeftButton);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    ASSERT_EQ(Model().Vertex(0), (Point{20, 20}));
    // The frame as the release left it: nothing of the old markers or numbers stays beside.
    EXPECT_EQ(barrierBeside(), 0);
}

TEST_F(BarrierToolTest, APressBesideTheImageLeavesTheWholeSelectionSoDeleteKeepsTheBarrier) {
    StartWithImage();
    PlaceSquare();
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    ASSERT_TRUE(Model().WholeSelection());
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 40));
    EXPECT_FALSE(Model().WholeSelection());
    EXPECT_EQ(Model().MainVertex(), -1);
    QTest::keyClick(Viewport(), Qt::Key_Delete);
    Run(cmd::ID_EDIT_CLEAR);
    EXPECT_EQ(Model().Count(), 4);
}

TEST_F(BarrierToolTest, TheWheelOverTheInsideResizesByTenOrByOneWithCtrlAndForwardShrinks) {
    StartWithImage(200, 150);
    PlaceSquare(20, 20, 80, 70);
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    const auto turn = [this](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(QPointF(at), QPointF(Viewport()->mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &wheel);
    };
    turn({50, 50}, 120, Qt::NoModifier);
    EXPECT_EQ(*Model().Frame(), (Rect{30, 30, 70, 60}));
    turn({50, 50}, -120, Qt::ControlModifier);
    EXPECT_EQ(*Model().Frame(), (Rect{29, 29, 71, 61}));
    turn({50, 50}, 120, Qt::ControlModifier);
    EXPECT_EQ(*Model().Frame(), (Rect{30, 30, 70, 60}));
    // Outside the barrier, or where the frame would be too small, the wheel does not resize.
    turn({150, 120}, 120, Qt::NoModifier);
    EXPECT_EQ(*Model().Frame(), (Rect{30, 30, 70, 60}));
    turn({50, 50}, 120, Qt::NoModifier);  // 30 - 20 is below 15
    EXPECT_EQ(*Model().Frame(), (Rect{30, 30, 70, 60}));
}

TEST_F(BarrierToolTest, WithoutAnImagePlacingAndLoadingLookDisabledAndTheDirectionShowsACheck) {
    ASSERT_TRUE(Start());
    app->MainFrame()->resize(800, 600);
    app->MainFrame()->ActivateRibbonTab(ui::ToQString(texts::kBarrierTab));
    std::vector<QImage> without;
    for (const char* name : {"ID_BARRIER_POS_ADD", "ID_BARI_LOAD"}) {
        without.push_back(app->MainFrame()->findChild<ui::RibbonButton*>(name)->grab().toImage());
    }
    for (const char* name : {"ID_BARRIER_POS_ADD", "ID_BARI_LOAD"}) {
        SCOPED_TRACE(name);
        auto* button = app->MainFrame()->findChild<ui::RibbonButton*>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->CommandEnabled());
        // Clicking its main part runs nothing.
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, 8));
        EXPECT_FALSE(Model().Adding());
    }
    // With an image the same buttons are drawn otherwise: their pictures and labels were grey.
    ASSERT_TRUE(app->OpenImageFile(WriteBlueImage(100, 80, "later.png")));
    app->Router().UpdateActions();
    int i = 0;
    for (const char* name : {"ID_BARRIER_POS_ADD", "ID_BARI_LOAD"}) {
        auto* button = app->MainFrame()->findChild<ui::RibbonButton*>(name);
        EXPECT_TRUE(button->CommandEnabled()) << name;
        QTest::mouseMove(app->MainFrame(), QPoint(5, 590));  // no hover highlight
        EXPECT_NE(button->grab().toImage(), without[std::size_t(i++)]) << name;
    }
    QAction* clockwise = app->Router().Action(cmd::ID_ROUND_R);
    QAction* counter = app->Router().Action(cmd::ID_ROUND_L);
    app->Router().UpdateActions();
    EXPECT_TRUE(clockwise->isCheckable() && clockwise->isChecked());
    EXPECT_TRUE(counter->isCheckable());
    EXPECT_FALSE(counter->isChecked());
    Run(cmd::ID_ROUND_L);
    EXPECT_TRUE(counter->isChecked());
    EXPECT_FALSE(clockwise->isChecked());
}

}  // namespace
}  // namespace palvex
