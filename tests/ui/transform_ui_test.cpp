// The transforms in the window: on the whole image as one undo step, on a floating picture
// with none; failures that leave everything as it was; the dialogs' behaviour.

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

#include "resources/string_table.h"
#include "selection/ui/rot_dlg.h"
#include "selection/ui/size_dlg.h"
#include "ui/selection_fixture.h"
#include "undo/undo_history.h"

namespace palvex {
namespace {

class TransformUiTest : public test::SelectionFixture {};

TEST_F(TransformUiTest, WholeImageTurnIsOneStepAndResizesTheCanvas) {
    StartWith(300, 200);
    Run(cmd::ID_ROT_90);
    EXPECT_EQ(Image().width, 200);
    EXPECT_EQ(Image().height, 300);
    EXPECT_EQ(PixelAt(199, 0), Named(0, 0));
    EXPECT_EQ(SizePane(), "200×300");
    EXPECT_EQ(app->View()->verticalScrollBar()->maximum(), std::max(0, 300 - Viewport()->height()));
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_TRUE(app->Document().IsModified());
    Run(cmd::ID_ROT_270);
    Run(cmd::ID_REVERSE_H);
    EXPECT_EQ(PixelAt(299, 0), Named(0, 0));
    Run(cmd::ID_SIZE_50);
    EXPECT_EQ(Image().width, 150);
    EXPECT_EQ(UndoSteps(), 4);
    Run(cmd::ID_UNDO);
    Run(cmd::ID_UNDO);
    EXPECT_EQ(PixelAt(0, 0), Named(0, 0));
    EXPECT_EQ(Image().width, 300);
}

// Invert, mirrors and turns are steps of their own with no snapshot file; greyscale keeps a
// snapshot. Undoing them all gives back the image bit for bit, size included; redoing all, the
// edited image.
TEST_F(TransformUiTest, WholeImageStepsUndoAndRedoBitForBit) {
    StartWith(30, 17);
    auto& history = static_cast<ui::SnapshotHistory*>(app->View()->History())->Core();
    std::vector<Bitmap> states;
    const auto keep = [&] {
        Bitmap copy;
        ASSERT_TRUE(copy.Create(Image().WorkImage.Width(), Image().WorkImage.Height()));
        ASSERT_TRUE(CopyBitmapBits(Image().WorkImage, copy));
        states.push_back(std::move(copy));
    };
    keep();
    const int commands[] = {cmd::ID_ROT_90,     cmd::ID_REVERSE, cmd::ID_REVERSE_H,
                            cmd::ID_GRAY_SCALE, cmd::ID_ROT_270, cmd::ID_REVERSE_V,
                            cmd::ID_ROT_180,    cmd::ID_ROT_90};
    for (const int id : commands) {
        Run(id);
        keep();
        const auto step = history.NewestUndoStep();
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->kind,
                  id == cmd::ID_GRAY_SCALE ? SnapshotKind::Image : SnapshotKind::Operation)
            << id;
    }
    EXPECT_EQ(Image().width, 17);
    EXPECT_EQ(SizePane(), "17×30");
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        Run(cmd::ID_UNDO);
        ASSERT_TRUE(test::SameBitmaps(states[i - 1], Image().WorkImage, "undo_all")) << i;
        EXPECT_EQ(Image().width, states[i - 1].Width());
    }
    EXPECT_EQ(SizePane(), "30×17");
    for (std::size_t i = 1; i < states.size(); ++i) {
        Run(cmd::ID_REDO);
        ASSERT_TRUE(test::SameBitmaps(states[i], Image().WorkImage, "redo_all")) << i;
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TransformUiTest, FloatingPictureTurnsAboutItsCentreWithoutAStep) {
    StartWith(300, 200);
    QImage picture(100, 40, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(0, 0, qRgb(200, 0, 0));
    clipboard->SetImage(picture);
    app->View()->SetContextPoint({60, 30});
    Run(cmd::ID_PASTE_HERE);
    ASSERT_EQ(Selected(), (Rect{10, 10, 110, 50}));
    app->Document().SetModifiedFlag(false);
    Run(cmd::ID_ROT_90);
    EXPECT_EQ(Selected(), (Rect{40, -20, 80, 80}));
    EXPECT_EQ(State().pasteSize, (Size{40, 100}));
    EXPECT_EQ(State().pasteBuffer.Row(0)[39], 0xFFC80000u);
    EXPECT_EQ(UndoSteps(), 0);
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(Image().width, 300);
}

TEST_F(TransformUiTest, ASelectionThatDoesNotFloatDisablesThem) {
    StartWith(100, 80);
    EXPECT_TRUE(Enabled(cmd::ID_ROT_X));
    Select({10, 10, 40, 40});
    for (const int id : {cmd::ID_REVERSE_H, cmd::ID_ROT_90, cmd::ID_ROT_X, cmd::ID_SIZE_X,
                         cmd::ID_REVERSE, cmd::ID_GRAY_SCALE}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    Run(cmd::ID_EDIT_COPY);
    EXPECT_TRUE(Enabled(cmd::ID_GRAY_SCALE));
}

TEST_F(TransformUiTest, AnglesAndSizesComeFromTheDialogs) {
    StartWith(100, 100);
    Run(cmd::ID_ROT_X);  // cancelled
    asker->angle = 0;
    Run(cmd::ID_ROT_X);
    EXPECT_EQ(UndoSteps(), 0) << "no turn, no step";
    asker->angle = 45;
    Run(cmd::ID_ROT_X);
    EXPECT_EQ(Image().width, 141);
    EXPECT_EQ(Image().WorkImage.ReadPixel(0, 0), Image().TransparentColor);
    EXPECT_EQ(app->Model().settings.rotation, 45);
    asker->size = Size{30, 20};
    Run(cmd::ID_SIZE_X);
    EXPECT_EQ(asker->askedBase.w, 141);
    EXPECT_EQ(Image().width, 30);
    EXPECT_EQ(Image().height, 20);
    EXPECT_EQ(UndoSteps(), 2);
}

TEST_F(TransformUiTest, RefusedTurnLeavesImageHistoryAndDocumentAsTheyWere) {
    // Turned by 45 degrees this would exceed the pixel limit.
    StartWith(16, 16);
    Bitmap wide;
    ASSERT_TRUE(wide.Create(23500, 100));
    wide.Fill(0xFF102030u);
    Image().WorkImage = std::move(wide);
    Image().width = 23500;
    Image().height = 100;
    app->Document().SetModifiedFlag(false);
    asker->angle = 45;
    Run(cmd::ID_ROT_X);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().id, str::kMemoryAllocationFailed);
    EXPECT_EQ(Image().width, 23500);
    EXPECT_EQ(Image().WorkImage.Width(), 23500);
    EXPECT_EQ(UndoSteps(), 0);
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(TransformUiTest, WithoutAnImageTheSizeCommandsDoNothing) {
    ASSERT_TRUE(Start());
    auto own = std::make_unique<test::FakeAsker>();
    asker = own.get();
    Tool().SetAsker(std::move(own));
    asker->size = Size{10, 10};
    for (const int id : {cmd::ID_SIZE_X, cmd::ID_SIZE_50, cmd::ID_ROT_X, cmd::ID_ROT_90}) {
        Run(id);
    }
    EXPECT_EQ(asker->asked, 0);
    EXPECT_TRUE(Image().WorkImage.IsNull());
}

TEST_F(TransformUiTest, SizesOfOnePixelStayOnePixel) {
    StartWith(1, 3);
    Run(cmd::ID_SIZE_50);
    EXPECT_EQ(Image().width, 1);
    EXPECT_EQ(Image().height, 1);
}

TEST_F(TransformUiTest, GreyscaleShowsItsProgressByColumns) {
    StartWith(50, 40);
    std::vector<int> positions;
    QObject listening;  // ends the connection before `positions` goes
    QProgressBar* progress = app->MainFrame()->StatusBar()->ProgressBar();
    QObject::connect(progress, &QProgressBar::valueChanged, &listening,
                     [&positions](int value) { positions.push_back(value); });
    Run(cmd::ID_GRAY_SCALE);
    EXPECT_EQ(progress->maximum(), 50);
    EXPECT_EQ(positions, (std::vector<int>{20, 40, 0}));
    const Pixel green = Named(49, 39) >> 8 & 0xFFu;
    EXPECT_EQ(PixelAt(49, 39), 0xFF000000u | green * 0x010101u);
}

// The angle and size dialogs as their commands open them, typed into as a person would.
class TransformDialogTest : public test::AppFixture {
protected:
    void StartWith(int width, int height) {
        const auto path = temp.File("picture.png");
        test::WriteFileBytes(path, test::EncodeRgbaPng(test::SolidBitmap(width, height, kPixel)));
        ASSERT_TRUE(Start({ui::PathToQString(path)}));
    }
    // The next start on the same settings.
    void Restart(int width, int height) {
        ASSERT_TRUE(app->MainFrame()->close());
        app->ExitInstance();
        app.reset();
        StartWith(width, height);
    }
    Size ImageSize() const { return {app->Model().image.width, app->Model().image.height}; }

    // The command's dialog once it has the focus, as on the screen.
    template <typename Dialog>
    void Answer(int command, std::function<void(Dialog&)> act) {
        RunCommand<Dialog>(command, [&act](Dialog& dialog) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            act(dialog);
        });
    }

    // Clicks into the entry, selects its text and types over it.
    static void Type(QSpinBox* spin, const QString& text) {
        Click(spin);
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, text);
    }
    static void Click(QSpinBox* spin) {
        QTest::mouseClick(spin->findChild<QLineEdit*>(), Qt::LeftButton);
    }
    static void Click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
    }

    static constexpr Pixel kPixel = 0xFF336699u;
};

TEST_F(TransformDialogTest, AngleTypedPastItsRangeTurnsBy359AndIsRememberedAtTheNextStart) {
    StartWith(100, 50);
    Answer<ui::CRotDlg>(cmd::ID_ROT_X, [](ui::CRotDlg& dialog) {
        auto* angle = Child<QSpinBox>(dialog, "angle");
        EXPECT_EQ(angle->value(), 0);
        Type(angle, "400");
        Click(Child<QPushButton>(dialog, "ok"));
    });
    Bitmap turned;
    ASSERT_TRUE(RotateByAngle(test::SolidBitmap(100, 50, kPixel), 359, 0, turned).ok);
    EXPECT_EQ(ImageSize(), (Size{turned.Width(), turned.Height()}));
    EXPECT_EQ(store.ReadInt("Last", "Rot"), 359);

    Restart(100, 50);
    Answer<ui::CRotDlg>(cmd::ID_ROT_X, [](ui::CRotDlg& dialog) {
        EXPECT_EQ(Child<QSpinBox>(dialog, "angle")->value(), 359);
        Click(Child<QPushButton>(dialog, "cancel"));
    });
    EXPECT_EQ(ImageSize(), (Size{100, 50}));
}

TEST_F(TransformDialogTest, SizesTypedPastTheirRangesAreLimitedNotCut) {
    StartWith(400, 300);
    // 250 % is limited to 200 % when the entry is left; the ratio lock copies it.
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        Type(Child<QSpinBox>(dialog, "percentW"), "250");
        Click(Child<QPushButton>(dialog, "ok"));
    });
    EXPECT_EQ(ImageSize(), (Size{800, 600}));
    EXPECT_EQ(store.ReadInt("Last", "SizePerW"), 200);
    EXPECT_EQ(store.ReadInt("Last", "SizePerH"), 200);
    // 6000 pixels is limited to twice the width; typing in it chose the pixel sizes.
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        Click(Child<QCheckBox>(dialog, "keepAspect"));
        Type(Child<QSpinBox>(dialog, "pixelW"), "6000");
        Click(Child<QPushButton>(dialog, "ok"));
    });
    EXPECT_EQ(ImageSize(), (Size{1600, 600}));
    EXPECT_EQ(store.ReadInt("Last", "CheckPer"), 2);
    // Below the minimum gives the minimum, not the value before.
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        Type(Child<QSpinBox>(dialog, "pixelH"), "0");
        Click(Child<QPushButton>(dialog, "ok"));
    });
    EXPECT_EQ(ImageSize(), (Size{1600, 1}));
}

// OK by its access key leaves the focus in the entry. (The offscreen platform does not deliver
// access keys, so OK is called as the button's shortcut would.)
TEST_F(TransformDialogTest, OkWhileTheEntryIsStillBeingTypedTakesItAsIfLeft) {
    StartWith(400, 300);
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        auto* width = Child<QSpinBox>(dialog, "pixelW");
        Type(width, "6000");
        ASSERT_TRUE(width->hasFocus());
        dialog.accept();
    });
    EXPECT_EQ(ImageSize(), (Size{800, 600}));
}

TEST_F(TransformDialogTest, SizeDialogOpensWithTheChoicesOfTheLastStart) {
    StartWith(400, 300);
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        EXPECT_TRUE(Child<QRadioButton>(dialog, "percent")->isChecked());
        EXPECT_TRUE(Child<QCheckBox>(dialog, "keepAspect")->isChecked());
        Click(Child<QCheckBox>(dialog, "keepAspect"));
        Type(Child<QSpinBox>(dialog, "percentW"), "150");
        Type(Child<QSpinBox>(dialog, "percentH"), "120");
        Click(Child<QRadioButton>(dialog, "pixels"));
        Click(Child<QPushButton>(dialog, "ok"));
    });
    EXPECT_EQ(ImageSize(), (Size{400, 300}));

    Restart(400, 300);
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        EXPECT_TRUE(Child<QRadioButton>(dialog, "pixels")->isChecked());
        EXPECT_EQ(Child<QSpinBox>(dialog, "percentW")->value(), 150);
        EXPECT_EQ(Child<QSpinBox>(dialog, "percentH")->value(), 120);
        EXPECT_FALSE(Child<QCheckBox>(dialog, "keepAspect")->isChecked());
        // The ratio switch is stored only when OK closes the dialog.
        Click(Child<QCheckBox>(dialog, "keepAspect"));
        Click(Child<QPushButton>(dialog, "cancel"));
    });
    EXPECT_EQ(store.ReadInt("Last", "FixRitu"), 0);
}

TEST_F(TransformDialogTest, APictureOverTheLimitOpensWithItsRatioKept) {
    StartWith(6000, 30);
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        EXPECT_EQ(Child<QSpinBox>(dialog, "pixelW")->text(), "5,000");
        EXPECT_EQ(Child<QSpinBox>(dialog, "pixelH")->value(), 25);
        Click(Child<QRadioButton>(dialog, "pixels"));
        Click(Child<QPushButton>(dialog, "ok"));
    });
    EXPECT_EQ(ImageSize(), (Size{5000, 25}));
}

TEST_F(TransformDialogTest, EnteringAnEntryChoosesItsKindOfSize) {
    StartWith(400, 300);
    Answer<ui::CSizeDlg>(cmd::ID_SIZE_X, [](ui::CSizeDlg& dialog) {
        auto* percent = Child<QRadioButton>(dialog, "percent");
        auto* pixels = Child<QRadioButton>(dialog, "pixels");
        const std::pair<const char*, QRadioButton*> entries[] = {
            {"pixelH", pixels}, {"percentW", percent}, {"pixelW", pixels}, {"percentH", percent}};
        for (const auto& [name, radio] : entries) {
            Click(Child<QSpinBox>(dialog, name));
            EXPECT_TRUE(radio->isChecked()) << name;
            EXPECT_NE(percent->isChecked(), pixels->isChecked()) << name;
        }
    });
}

TEST(SizeDialog, KeepsTheRatioReadsSeparatorsAndRefusesOver5000) {
    AppSettings settings;
    test::RecordingPrompter prompter;
    MemorySettings store;
    ui::CSizeDlg dialog(SizeDialogBaseFor({400, 300}), settings, store, prompter);
    auto* pixelW = dialog.findChild<QSpinBox*>("pixelW");
    auto* pixelH = dialog.findChild<QSpinBox*>("pixelH");
    ASSERT_NE(pixelW, nullptr);
    pixelW->setValue(401);
    EXPECT_EQ(pixelH->value(), 300);
    dialog.findChild<QCheckBox*>("keepAspect")->setChecked(false);
    pixelW->setValue(800);
    EXPECT_EQ(pixelW->text(), "800");
    dialog.findChild<QRadioButton*>("pixels")->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Result(), (Size{800, 300}));
    EXPECT_EQ(settings.sizeInPercent, 2);
    EXPECT_EQ(settings.keepAspect, 0);

    ui::CSizeDlg big(SizeDialogBaseFor({3000, 2000}), settings, store, prompter);
    big.findChild<QSpinBox*>("pixelW")->setValue(1200);
    EXPECT_EQ(big.findChild<QSpinBox*>("pixelW")->text(), "1,200");
    big.findChild<QRadioButton*>("percent")->setChecked(true);
    big.findChild<QSpinBox*>("percentW")->setValue(200);
    big.accept();
    EXPECT_NE(big.result(), QDialog::Accepted);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().Text().find("6000"), std::string::npos);
    EXPECT_EQ(settings.sizePercentW, 200) << "stored though the dialog stays open";
    EXPECT_EQ(store.ReadInt("Last", "SizePerW"), 200);
}

}  // namespace
}  // namespace palvex
