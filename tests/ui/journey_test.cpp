// One journey per tool, as a person makes it: open through the dialog, clear the background,
// save a transparent file through the dialog, open it again, and find the same pixels.

#include <QDir>
#include <algorithm>

#include "mainwindow/ui/main_frame.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "resources/command_ids.h"
#include "support/png_writer.h"
#include "ui/real_prompter_fixture.h"

namespace palvex {
namespace {

using test::AnswerBox;
using test::TypeInFileDialog;

constexpr Colour kKey = Rgb(255, 255, 255);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

class JourneyTest : public test::RealPrompterFixture {
protected:
    // A 60 x 50 blue picture with a red block from (20, 18) to (39, 31), its corner pixel
    // transparent (the key becomes white), opened through the dialog from the working folder.
    void OpenPicture() {
        folder = temp.File("journey");
        std::filesystem::create_directory(folder);
        Bitmap image = test::SolidBitmap(60, 50, 0xFF0000FFu);
        for (int y = 18; y < 32; ++y) {
            for (int x = 20; x < 40; ++x) {
                image.Row(y)[x] = 0xFFFF0000u;
            }
        }
        image.Row(0)[0] = 0x00FFFFFFu;
        test::WriteFileBytes(folder / "blue.png", test::EncodeRgbaPng(image));
        previousFolder = QDir::currentPath();
        QDir::setCurrent(ui::PathToQString(folder));
        ASSERT_TRUE(Start());
        Run(cmd::ID_FILE_OPEN, {TypeInFileDialog("blue.png")});
        ASSERT_EQ(app->Document().PathName(), folder / "blue.png");
        ASSERT_EQ(app->Model().image.TransparentColor, kKey);
    }

    void TearDown() override {
        RealPrompterFixture::TearDown();
        if (!previousFolder.isEmpty()) {
            QDir::setCurrent(previousFolder);
        }
    }

    Colour PixelAt(int x, int y) { return app->Model().image.WorkImage.ReadPixel(x, y); }
    std::vector<Colour> Pixels() {
        std::vector<Colour> pixels;
        const Bitmap& image = app->Model().image.WorkImage;
        for (int y = 0; y < image.Height(); ++y) {
            for (int x = 0; x < image.Width(); ++x) {
                pixels.push_back(image.ReadPixel(x, y));
            }
        }
        return pixels;
    }

    QWidget* Viewport() { return app->View()->viewport(); }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(p), QPointF(Viewport()->mapToGlobal(p)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Press(QPoint p) { Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void MoveHeld(QPoint p) { Send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint p) { Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void Click(QPoint p) {
        Press(p);
        Release(p);
    }

    // Saves through the transparent command `command` under `name` (no extension typed), then
    // opens the file through the dialog, discarding the edit when asked, and checks that the
    // file's alpha and the reopened pixels are what the edit left.
    void SaveAndReopen(int command, const std::string& name, const std::string& extension) {
        const std::vector<Colour> edited = Pixels();
        const bool keyLeft = std::count(edited.begin(), edited.end(), kKey) > 1;
        ASSERT_TRUE(keyLeft) << "the tool cleared nothing";
        Run(command, {TypeInFileDialog(QString::fromStdString(name)),
                      AnswerBox(str::kSavedShowFolder, QMessageBox::No)});
        const auto path = folder / (name + "." + extension);
        ASSERT_TRUE(std::filesystem::exists(path));

        const std::vector<std::uint8_t> alpha = test::AlphaOfFile(path);
        ASSERT_EQ(alpha.size(), edited.size());
        int wrongAlpha = 0;
        for (std::size_t i = 0; i < alpha.size(); ++i) {
            wrongAlpha += alpha[i] != (edited[i] == kKey ? 0 : 255);
        }
        EXPECT_EQ(wrongAlpha, 0);

        Run(cmd::ID_FILE_OPEN, {TypeInFileDialog(QString::fromStdString(name + "." + extension)),
                                AnswerBox("blue.png への変更を保存しますか?", QMessageBox::No)});
        EXPECT_EQ(app->Document().PathName(), path);
        EXPECT_FALSE(app->Document().IsModified());
        EXPECT_EQ(app->Model().image.TransparentColor, kKey);
        EXPECT_EQ(Pixels(), edited);
    }

    std::filesystem::path folder;
    QString previousFolder;
};

TEST_F(JourneyTest, FloodFillTheBackgroundThenATransparentPng) {
    OpenPicture();
    Run(cmd::ID_PAINT);
    app->MainFrame()->Ribbon()->SetColour(cmd::ID_PAINT, kKey);
    Run(cmd::ID_PAINT);
    Click({5, 5});
    EXPECT_EQ(PixelAt(5, 5), kKey);
    EXPECT_EQ(PixelAt(59, 49), kKey);
    EXPECT_EQ(PixelAt(30, 25), kRed);
    SaveAndReopen(cmd::ID_AS_A_PNG, "filled", "png");
}

TEST_F(JourneyTest, TransparentPenStrokeThenATransparentGif) {
    OpenPicture();
    Run(cmd::ID_PEN_TRANS);
    app->Model().settings.rangeSize = 10;
    Press({5, 5});
    MoveHeld({25, 5});
    MoveHeld({55, 5});
    Release({55, 5});
    // The range is applied at each mouse sample, not between them.
    EXPECT_EQ(PixelAt(25, 5), kKey);
    EXPECT_EQ(PixelAt(55, 5), kKey);
    EXPECT_EQ(PixelAt(40, 5), kBlue);
    EXPECT_EQ(PixelAt(30, 40), kBlue);
    EXPECT_EQ(PixelAt(30, 25), kRed);
    SaveAndReopen(cmd::ID_AS_A_GIF, "penned", "gif");
}

TEST_F(JourneyTest, BarrierAroundTheBlockThenOutsideTransparentAndATransparentTiff) {
    OpenPicture();
    Run(cmd::ID_BARRIER_POS_ADD);
    for (const QPoint p : {QPoint(15, 12), QPoint(45, 12), QPoint(45, 37), QPoint(15, 37)}) {
        Click(p);
    }
    Run(cmd::ID_BARRIER_POS_ADD);
    Run(cmd::ID_BARI_OUT_TRANS);
    EXPECT_EQ(PixelAt(5, 5), kKey);
    EXPECT_EQ(PixelAt(50, 45), kKey);
    EXPECT_EQ(PixelAt(17, 20), kBlue) << "inside the barrier";
    EXPECT_EQ(PixelAt(30, 25), kRed);
    SaveAndReopen(cmd::ID_AS_A_TIFF, "outside", "tiff");
}

TEST_F(JourneyTest, SelectionFilledWithTheKeyThenATransparentBmp) {
    OpenPicture();
    Run(cmd::ID_SELECT);
    Press({0, 0});
    MoveHeld({60, 16});
    Release({60, 16});
    Run(cmd::ID_SEL_FILL_KEY);
    EXPECT_EQ(PixelAt(30, 10), kKey);
    EXPECT_EQ(PixelAt(30, 17), kBlue);
    EXPECT_EQ(PixelAt(30, 25), kRed);
    SaveAndReopen(cmd::ID_AS_A_BMP, "band", "bmp");
}

}  // namespace
}  // namespace palvex
