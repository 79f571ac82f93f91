// Save-as and open through Qt's own file dialog, typed and picked as a person would, with the
// written files decoded from disk.

#include "image/codecs/decoder.h"
#include "image/image_saver.h"
#include "image/save_format.h"
#include "resources/command_ids.h"
#include "support/png_writer.h"
#include "ui/real_prompter_fixture.h"

namespace palvex {
namespace {

using test::AnswerBox;
using test::ConfirmQuality;
using test::TypeInFileDialog;

constexpr Colour kKey = Rgb(255, 255, 255);

// 16 x 12 in blocks of four columns: transparent (the key becomes white), a white one unit off
// the key, red, and blue over black.
Bitmap Picture() {
    Bitmap image = test::SolidBitmap(16, 12, 0x00FFFFFFu);
    for (int y = 0; y < 12; ++y) {
        for (int x = 4; x < 16; ++x) {
            image.Row(y)[x] = x < 8    ? 0xFFFEFFFFu
                              : x < 12 ? 0xFFFF0000u
                              : y < 6  ? 0xFF0000FFu
                                       : 0xFF000000u;
        }
    }
    return image;
}

class RealDialogTest : public test::RealPrompterFixture {
protected:
    // The picture in a folder of its own, opened from the command line.
    void StartWithPicture() {
        folder = temp.File("pictures");
        std::filesystem::create_directory(folder);
        test::WriteFileBytes(folder / "zsrc.png", test::EncodeRgbaPng(Picture()));
        ASSERT_TRUE(Start({ui::PathToQString(folder / "zsrc.png")}));
        ASSERT_EQ(app->Model().image.TransparentColor, kKey);
    }
    const Bitmap& Work() { return app->Model().image.WorkImage; }

    std::filesystem::path folder;
};

DecodedImage DecodeFile(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = test::ReadFileBytes(path);
    return DecodeImage(bytes);
}

// Every pixel's colour within `tolerance` of the working image's; alpha 0 exactly on the key's
// pixels when `keyed`, else everywhere 255.
::testing::AssertionResult Matches(const Bitmap& work, const DecodedImage& file, int tolerance,
                                   bool keyed) {
    if (!file.Ok() || file.pixels.Width() != work.Width() ||
        file.pixels.Height() != work.Height()) {
        return ::testing::AssertionFailure() << "not decoded at the image's size";
    }
    for (int y = 0; y < work.Height(); ++y) {
        for (int x = 0; x < work.Width(); ++x) {
            const Colour expected = work.ReadPixel(x, y);
            const Pixel got = file.pixels.Row(y)[x];
            const bool clear = keyed && expected == kKey;
            if ((got >> 24) != (clear ? 0u : 255u)) {
                return ::testing::AssertionFailure()
                       << "alpha at " << x << "," << y << " is " << (got >> 24);
            }
            if (clear) {
                continue;
            }
            const Colour colour = ColourFromPixel(got);
            if (std::abs(RedOf(colour) - RedOf(expected)) > tolerance ||
                std::abs(GreenOf(colour) - GreenOf(expected)) > tolerance ||
                std::abs(BlueOf(colour) - BlueOf(expected)) > tolerance) {
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is "
                                                     << std::hex << colour << " not " << expected;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(RealDialogTest, EverySaveAsEntryPickedInTheDialogWritesItsFormat) {
    StartWithPicture();
    for (int entry = 1; entry <= kSaveFormatCount; ++entry) {
        const SaveFormatEntry& format = *SaveFormatAt(entry);
        SCOPED_TRACE("entry " + std::to_string(entry));
        // A name without an extension, each with a first letter of its own so that the name
        // field offers no completion.
        const std::string name(1, static_cast<char>('a' + entry - 1));
        QString startedIn;
        std::vector<test::ModalScript::Step> steps{
            TypeInFileDialog(QString::fromStdString(name), entry, &startedIn)};
        if (entry == 9) {
            steps.push_back(AnswerBox(str::kJpegLosesTransparency, QMessageBox::Yes));
            steps.push_back(ConfirmQuality());
        }
        steps.push_back(AnswerBox(str::kSavedShowFolder, QMessageBox::No));
        // The normal-image command preselects JPEG: every other entry is a choice in the box.
        Run(cmd::ID_AS_NORMAL, steps);
        EXPECT_EQ(startedIn, ui::PathToQString(folder)) << "the image's folder";

        const auto path = folder / (name + std::string(format.pattern.substr(1)));
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        const DecodedImage file = DecodeFile(path);
        switch (format.route) {
            case SaveRoute::Bitmap: {
                // Exactly what the bitmap writer makes of the image at that depth.
                const auto reference = temp.File("reference.bmp");
                test::RecordingPrompter quiet;
                ASSERT_TRUE(
                    WriteBitmapFile(Work(), reference, format.bitCount, format.compression, quiet));
                EXPECT_EQ(test::ReadFileBytes(path), test::ReadFileBytes(reference));
                EXPECT_TRUE(file.Ok());
                if (format.bitCount == 24) {
                    EXPECT_TRUE(Matches(Work(), file, 0, false));
                }
                break;
            }
            case SaveRoute::Opaque:
                EXPECT_TRUE(Matches(Work(), file, entry == 9 ? 48 : 0, false));
                break;
            case SaveRoute::Alpha:
            case SaveRoute::GifPatch: {
                // Exactly the key's pixels clear; the colours of the others kept.
                const std::vector<std::uint8_t> alpha = test::AlphaOfFile(path);
                ASSERT_EQ(alpha.size(), 16u * 12u);
                for (int y = 0; y < 12; ++y) {
                    for (int x = 0; x < 16; ++x) {
                        const bool key = Work().ReadPixel(x, y) == kKey;
                        EXPECT_EQ(alpha[static_cast<std::size_t>(y * 16 + x)], key ? 0 : 255)
                            << x << "," << y;
                        if (!key) {
                            EXPECT_EQ(ColourFromPixel(file.pixels.Row(y)[x]),
                                      Work().ReadPixel(x, y));
                        }
                    }
                }
                break;
            }
        }
    }
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Document().PathName(), folder / "zsrc.png");
}

TEST_F(RealDialogTest, OpenPicksEachFilterAndRemembersIt) {
    StartWithPicture();
    // One file of each format, written by the editor's own encoders.
    const Bitmap& picture = Work();
    LoadedFileFacts facts;
    test::RecordingPrompter quiet;
    const SaveContext context{picture, kKey, facts, store, quiet, shell};
    const std::vector<std::tuple<int, std::string, bool>> files = {
        {1, "a.png", true}, {2, "j.jpg", false}, {3, "g.gif", true},
        {4, "b.bmp", true}, {5, "p.png", true},  {6, "t.tiff", true},
    };
    for (const auto& [filter, name, keyed] : files) {
        const std::string extension = name.substr(name.find('.') + 1);
        ASSERT_TRUE(WriteImageFile(context, folder / name, extension == "jpg" ? "jpeg" : extension,
                                   keyed, 100, false));
    }
    for (const auto& [filter, name, keyed] : files) {
        SCOPED_TRACE(name);
        QString startedIn;
        Run(cmd::ID_FILE_OPEN,
            {TypeInFileDialog(QString::fromStdString(name), filter, &startedIn)});
        EXPECT_EQ(startedIn, ui::PathToQString(folder));
        EXPECT_EQ(app->Document().PathName(), folder / name);
        EXPECT_EQ(store.ReadInt("Last", "OpenType"), filter);
        EXPECT_EQ(app->Model().recent.Entry(0), PathText(folder / name));
        ASSERT_EQ(app->Model().image.width, 16);
        // The red block survives every format; the key's column only the keyed ones.
        const Colour red = app->Model().image.WorkImage.ReadPixel(9, 3);
        EXPECT_GT(RedOf(red), 200);
        EXPECT_LT(GreenOf(red), 60);
        if (keyed) {
            EXPECT_EQ(app->Model().image.WorkImage.ReadPixel(1, 1),
                      app->Model().image.TransparentColor);
        }
    }
    // The next dialog shows the filter used last.
    QComboBox* combo = nullptr;
    Run(cmd::ID_FILE_OPEN, {[&](QWidget& window) {
            combo = window.findChild<QComboBox*>("fileTypeCombo");
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->currentIndex(), 5);
            qobject_cast<QDialog*>(&window)->reject();
        }});
}

TEST_F(RealDialogTest, OpeningOverAnEditAsksInARealMessageBox) {
    StartWithPicture();
    const auto other = folder / "other.png";
    std::filesystem::copy_file(folder / "zsrc.png", other);
    app->Model().image.WorkImage.WritePixel(9, 3, Rgb(0, 0, 255));
    app->ImageEdited({9, 3, 10, 4});

    const std::string question = "zsrc.png への変更を保存しますか?";
    Run(cmd::ID_FILE_OPEN,
        {TypeInFileDialog("other.png"), AnswerBox(question, QMessageBox::Cancel)});
    EXPECT_EQ(app->Document().PathName(), folder / "zsrc.png");
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(app->Model().image.WorkImage.ReadPixel(9, 3), Rgb(0, 0, 255));

    Run(cmd::ID_FILE_OPEN, {TypeInFileDialog("other.png"), AnswerBox(question, QMessageBox::No)});
    EXPECT_EQ(app->Document().PathName(), other);
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_EQ(app->Model().image.WorkImage.ReadPixel(9, 3), Rgb(255, 0, 0));
}

TEST_F(RealDialogTest, AReadOnlyFileIsSavedUnderItsOwnNameAndFormatInItsFolder) {
    StartWithPicture();
    const auto path = folder / "zsrc.png";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    app->Model().image.WorkImage.WritePixel(9, 3, Rgb(0, 0, 255));
    app->ImageEdited({9, 3, 10, 4});
    QString startedIn;
    QString proposed;
    store.WriteInt("Last", "MakeBackup", 0);
    // The name proposed is the file's own: Enter alone saves as a PNG beside it.
    Run(cmd::ID_FILE_SAVE, {[&](QWidget& window) {
            auto* dialog = qobject_cast<QFileDialog*>(&window);
            ASSERT_NE(dialog, nullptr);
            startedIn = dialog->directory().absolutePath();
            proposed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            // Another name, so the test also runs where the read-only file could be written.
            TypeInFileDialog("copy")(window);
        }});
    EXPECT_EQ(startedIn, ui::PathToQString(folder));
    EXPECT_EQ(proposed, "zsrc.png");
    const DecodedImage copy = DecodeFile(folder / "copy.png");
    ASSERT_TRUE(copy.Ok());
    EXPECT_EQ(ColourFromPixel(copy.pixels.Row(3)[9]), Rgb(0, 0, 255));
    EXPECT_EQ(copy.pixels.Row(1)[1] >> 24, 0u) << "the PNG keeps its transparency";
    EXPECT_EQ(app->Document().PathName(), folder / "copy.png");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

}  // namespace
}  // namespace palvex
