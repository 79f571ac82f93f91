// The transforms in the window: on the whole image as one undo step, on a floating picture
// with none; failures that leave everything as it was; the dialogs' behaviour.

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

#include "resources/string_table.h"
#include "selection/ui/rot_dlg.h"
#include "selection/ui/size_dlg.h"
#include "ui/selection_fixture.h"

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

TEST(SizeDialog, KeepsTheRatioReadsSeparatorsAndRefusesOver5000) {
    AppSettings settings;
    test::RecordingPrompter prompter;
    ui::CSizeDlg dialog(SizeDialogBaseFor({400, 300}), settings, prompter);
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

    ui::CSizeDlg big(SizeDialogBaseFor({3000, 2000}), settings, prompter);
    big.findChild<QSpinBox*>("pixelW")->setValue(1200);
    EXPECT_EQ(big.findChild<QSpinBox*>("pixelW")->text(), "1,200");
    big.findChild<QRadioButton*>("percent")->setChecked(true);
    big.findChild<QSpinBox*>("percentW")->setValue(200);
    big.accept();
    EXPECT_NE(big.result(), QDialog::Accepted);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().Text().find("6000"), std::string::npos);
    EXPECT_EQ(settings.sizePercentW, 200) << "stored though the dialog stays open";
}

TEST(AngleDialog, LimitsTheEntry) {
    ui::CRotDlg dialog(30);
    EXPECT_EQ(dialog.Angle(), 30);
    dialog.findChild<QSpinBox*>("angle")->setValue(359);
    EXPECT_EQ(dialog.Angle(), 359);
}

}  // namespace
}  // namespace palvex
