#include "image/image_saver.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "image/atomic_file.h"
#include "image/codecs/decoder.h"
#include "image/save_format.h"
#include "resources/command_ids.h"
#include "resources/string_table.h"
#include "support/jpeg_writer.h"
#include "support/test_support.h"

namespace palvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Colour kKey = Rgb(0, 255, 0);

class RecordingShell final : public DesktopShell {
public:
    bool OpenFolder(const std::filesystem::path& folder) override {
        opened.push_back(folder);
        return works;
    }
    std::vector<std::filesystem::path> opened;
    bool works = true;
};

// A 4 x 3 picture: a key-coloured column, a column one unit off the key, and colours.
Bitmap Picture() {
    Bitmap image = test::SolidBitmap(4, 3, PixelFromColour(Rgb(200, 40, 10)));
    for (int y = 0; y < 3; ++y) {
        image.WritePixel(0, y, kKey);
        image.WritePixel(1, y, Rgb(0, 254, 0));
        image.WritePixel(3, y, Rgb(10 * y, 20, 250));
    }
    return image;
}

// The luminance DC divisor of a JPEG's first quantisation table, and the one libjpeg derives
// from a quality setting: together they tell which quality reached the encoder.
int FirstQuantValue(const Bytes& jpeg) {
    for (std::size_t at = 2; at + 5 < jpeg.size(); at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3])) {
        if (jpeg[at] != 0xFF || jpeg[at + 1] == 0xDA) {
            break;
        }
        if (jpeg[at + 1] == 0xDB) {
            return jpeg[at + 5];
        }
    }
    return -1;
}
int LuminanceDcFor(int quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    return std::clamp((16 * scale + 50) / 100, 1, 255);
}

// Every pixel's channels within `tolerance` of the picture's (a lossy file's round trip).
::testing::AssertionResult CloseTo(const Bitmap& expected, const Bitmap& actual, int tolerance) {
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
        return ::testing::AssertionFailure() << "sizes differ";
    }
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const Colour a = expected.ReadPixel(x, y);
            const Colour b = actual.ReadPixel(x, y);
            if (std::abs(RedOf(a) - RedOf(b)) > tolerance ||
                std::abs(GreenOf(a) - GreenOf(b)) > tolerance ||
                std::abs(BlueOf(a) - BlueOf(b)) > tolerance) {
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << ": expected "
                                                     << std::hex << a << " got " << b;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

class SaverTest : public ::testing::Test {
protected:
    SaveContext Context() { return {image_, kKey, facts_, settings_, prompter_, shell_}; }
    // The id of the last message shown, 0 when none was: a missing message fails the check
    // instead of crashing the test.
    int LastShownId() const { return prompter_.shown.empty() ? 0 : prompter_.shown.back().id; }
    LoadResult Reload(const std::filesystem::path& path) {
        test::RecordingPrompter quiet;
        LoadResult result = LoadImageFile(path, 0, quiet);
        reloaded_ = result.facts;
        return result;
    }

    test::TempDir temp_;
    Bitmap image_ = Picture();
    LoadedFileFacts facts_;
    LoadedFileFacts reloaded_;
    MemorySettings settings_;
    test::RecordingPrompter prompter_;
    RecordingShell shell_;
};

TEST_F(SaverTest, EverySaveFormatRoundTripsThroughTheLoader) {
    prompter_.fallback = Answer::No;  // no folder, no overwrite
    for (int entry = 1; entry <= kSaveFormatCount; ++entry) {
        const SaveFormatEntry* format = SaveFormatAt(entry);
        SCOPED_TRACE("entry " + std::to_string(entry));
        const std::string extension = std::string(format->pattern.substr(2));
        const auto path = temp_.File("e" + std::to_string(entry) + "." + extension);
        prompter_.answers = {Answer::Yes};  // the JPEG question for entry 9
        prompter_.jpegQuality = 95;
        prompter_.shown.clear();
        ASSERT_TRUE(SaveImageAsEntry(Context(), path, entry));
        ASSERT_TRUE(std::filesystem::exists(path));
        const LoadResult back = Reload(path);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(back.image.Width(), 4);
        EXPECT_EQ(back.image.Height(), 3);
        if (format->Transparent()) {
            // The key comes back from the file, and exactly the key pixels carry it.
            EXPECT_EQ(reloaded_.FileColorKey, kKey);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 4; ++x) {
                    EXPECT_EQ(back.image.ReadPixel(x, y) == back.key, x == 0) << x << "," << y;
                }
            }
        } else {
            // No key in the file (our opaque GIF included): the FirstTrans key, black here.
            EXPECT_EQ(reloaded_.FileColorKey, kNoColour);
            EXPECT_EQ(back.key, Rgb(0, 0, 0));
        }
        if (entry >= 7 && entry != 9 && entry != 10 && entry != 14) {
            // Lossless, full-colour entries keep every pixel (the one off the key included).
            EXPECT_EQ(back.image.ReadPixel(1, 1), Rgb(0, 254, 0));
            EXPECT_EQ(back.image.ReadPixel(3, 2), Rgb(20, 20, 250));
        }
    }
}

TEST_F(SaverTest, SaveAsAsksTheQuestionsInOrderAndWritesNothingOnNo) {
    const auto jpeg = temp_.File("a.jpeg");
    prompter_.answers = {Answer::No};
    EXPECT_FALSE(SaveImageAsEntry(Context(), jpeg, 9));
    EXPECT_EQ(LastShownId(), 30023);
    EXPECT_FALSE(std::filesystem::exists(jpeg));

    // Yes to the JPEG question, then the quality dialog is cancelled.
    prompter_.answers = {Answer::Yes};
    EXPECT_FALSE(SaveImageAsEntry(Context(), jpeg, 9));
    EXPECT_FALSE(std::filesystem::exists(jpeg));
    EXPECT_FALSE(settings_.ReadInt("Last", "Quality"));
    EXPECT_EQ(prompter_.qualityAskedWith, 100);

    // A confirmed quality is remembered and offered next time.
    prompter_.answers = {Answer::Yes};
    prompter_.jpegQuality = 40;
    EXPECT_TRUE(SaveImageAsEntry(Context(), jpeg, 9));
    EXPECT_EQ(settings_.ReadInt("Last", "Quality"), 40);
    prompter_.answers = {Answer::Yes, Answer::Yes};
    prompter_.jpegQuality.reset();
    EXPECT_FALSE(SaveImageAsEntry(Context(), jpeg, 9));
    EXPECT_EQ(prompter_.qualityAskedWith, 40);

    const auto existing = temp_.File("b.png");
    test::WriteFileBytes(existing, {1, 2, 3});
    prompter_.shown.clear();
    prompter_.answers = {Answer::No};
    EXPECT_FALSE(SaveImageAsEntry(Context(), existing, 15));
    EXPECT_EQ(LastShownId(), 30056);
    EXPECT_EQ(test::ReadFileBytes(existing), (Bytes{1, 2, 3}));
}

TEST_F(SaverTest, SaveAsDialogOffersTheSixteenFormatsWithTheEntryPreselected) {
    SaveImageAs(Context(), 13);
    ASSERT_TRUE(prompter_.saveRequest);
    EXPECT_EQ(prompter_.saveRequest->title, "保存するファイルを指定");
    EXPECT_EQ(prompter_.saveRequest->initialName, "無題");
    EXPECT_EQ(prompter_.saveRequest->defaultExtension, "gif");
    EXPECT_EQ(prompter_.saveRequest->filters.size(), 16u);
    EXPECT_EQ(prompter_.saveRequest->selectedFilter, 13);
    EXPECT_TRUE(prompter_.shown.empty());  // cancelled: nothing else happens

    // The entry chosen in the dialog decides the route; the name only the encoder.
    prompter_.saveChoice = SaveFileChoice{temp_.File("chosen.PNG"), 15};
    prompter_.answers = {Answer::No};
    SaveImageAs(Context(), 9);
    ASSERT_TRUE(Reload(temp_.File("chosen.PNG")).ok);
    EXPECT_EQ(reloaded_.FileColorKey, kKey);
}

TEST_F(SaverTest, SuccessfulSaveAsOffersTheFolder) {
    const auto path = temp_.File("sub.png");
    prompter_.answers = {Answer::Yes};
    EXPECT_TRUE(SaveImageAsEntry(Context(), path, 11));
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].Text(), "正常に保存しました\n保存場所を表示しますか");
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.opened[0], temp_.Path());

    shell_.works = false;
    prompter_.answers = {Answer::Yes, Answer::Yes};  // overwrite, then show the folder
    EXPECT_TRUE(SaveImageAsEntry(Context(), path, 11));
    EXPECT_EQ(LastShownId(), 30048);
}

TEST_F(SaverTest, TransparentGifWithManyColoursAsksFirst) {
    image_ = test::SolidBitmap(16, 16, 0xFF000000u);
    for (int i = 0; i < 256; ++i) {
        image_.WritePixel(i % 16, i / 16, Rgb(i, 0, 0));
    }
    prompter_.answers = {Answer::No};
    EXPECT_FALSE(SaveImageAsEntry(Context(), temp_.File("many.gif"), 14));
    EXPECT_EQ(LastShownId(), 30017);
}

TEST_F(SaverTest, ColourCountThresholdIs256) {
    Bitmap image = test::SolidBitmap(16, 16, 0xFF000000u);
    for (int i = 0; i < 255; ++i) {
        image.WritePixel(i % 16, i / 16, Rgb(i, 1, 0));
    }
    image.WritePixel(15, 15, Rgb(0, 1, 0));  // a repeat: 255 colours in all
    EXPECT_FALSE(HasAtLeast256Colours(image));
    image.WritePixel(15, 15, Rgb(9, 9, 9));
    EXPECT_TRUE(HasAtLeast256Colours(image));
}

TEST_F(SaverTest, OverwriteSaveKeepsABackupNamedAfterTheCanonicalExtension) {
    test::JpegDescription old;
    old.width = 8;
    old.height = 8;
    old.samples.assign(8 * 8 * 3, 77);
    const Bytes oldBytes = test::WriteJpeg(old);
    const auto photo = temp_.File("photo.JPG");
    test::WriteFileBytes(photo, oldBytes);
    settings_.WriteInt("Last", "Quality", 30);  // the save-as choice plays no part here
    prompter_.answers = {Answer::Yes};
    EXPECT_TRUE(SaveDocument(Context(), photo));
    EXPECT_EQ(prompter_.shown.at(0).id, 30023);
    EXPECT_EQ(prompter_.shown.size(), 1u);  // no folder question on an overwrite save
    EXPECT_EQ(test::ReadFileBytes(temp_.File("photo(back).jpeg")), oldBytes);
    const Bytes saved = test::ReadFileBytes(photo);
    EXPECT_EQ(FirstQuantValue(saved), 1);  // quality 100
    const DecodedImage decoded = DecodeJpeg(saved);
    ASSERT_TRUE(decoded.Ok());
    EXPECT_TRUE(CloseTo(image_, decoded.pixels, 8));
}

TEST_F(SaverTest, TheChosenJpegQualityReachesTheEncoder) {
    for (const int quality : {30, 75}) {
        SCOPED_TRACE(quality);
        const auto path = temp_.File("q" + std::to_string(quality) + ".jpeg");
        prompter_.answers = {Answer::Yes, Answer::No};  // lose transparency, no folder
        prompter_.jpegQuality = quality;
        ASSERT_TRUE(SaveImageAsEntry(Context(), path, 9));
        EXPECT_EQ(FirstQuantValue(test::ReadFileBytes(path)), LuminanceDcFor(quality));
    }
}

TEST_F(SaverTest, AFailedBackupStopsTheOverwriteSave) {
    const auto png = temp_.File("pic.png");
    test::WriteFileBytes(png, {1, 2, 3});
    // A folder where the backup should go cannot be replaced by a copy.
    std::filesystem::create_directory(temp_.File("pic(back).png"));
    test::WriteFileBytes(temp_.File("pic(back).png") / "inside", {4});
    EXPECT_FALSE(SaveDocument(Context(), png));
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].id, 30004);
    EXPECT_EQ(prompter_.shown[0].Text(), "バックアップファイルの作成に失敗しました");
    EXPECT_EQ(test::ReadFileBytes(png), (Bytes{1, 2, 3}));
}

TEST_F(SaverTest, OverwriteSaveOfAMissingFileSkipsTheBackup) {
    const auto png = temp_.File("new.png");
    EXPECT_TRUE(SaveDocument(Context(), png));
    EXPECT_TRUE(prompter_.shown.empty());
    EXPECT_TRUE(Reload(png).ok);
    EXPECT_FALSE(std::filesystem::exists(temp_.File("new(back).png")));
}

TEST_F(SaverTest, BackupNameCutsAtTheLastDotOnly) {
    const auto folder = temp_.File("dir.v1");
    std::filesystem::create_directory(folder);
    const auto png = folder / "pic.png";
    test::WriteFileBytes(png, {5, 6});
    EXPECT_TRUE(SaveDocument(Context(), png));
    EXPECT_EQ(test::ReadFileBytes(folder / "pic(back).png"), (Bytes{5, 6}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()),
                            std::filesystem::directory_iterator()),
              1);  // nothing beside the folder
}

TEST_F(SaverTest, OverwriteSaveOfANameWithoutDotFailsSilently) {
    const auto plain = temp_.File("noextension");
    test::WriteFileBytes(plain, {7});
    EXPECT_FALSE(SaveDocument(Context(), plain));
    EXPECT_TRUE(prompter_.shown.empty());
    EXPECT_EQ(test::ReadFileBytes(plain), (Bytes{7}));
}

TEST_F(SaverTest, OverwriteSaveFollowsTheOpenedFile) {
    // A plain BMP opened as 8-bit RLE is written the same way, and offers the folder.
    facts_.SourceBmpFormat = {8, 1};
    const auto bmp = temp_.File("old.bmp");
    settings_.WriteInt("Last", "MakeBackup", 0);
    prompter_.answers = {Answer::No};
    EXPECT_TRUE(SaveDocument(Context(), bmp));
    EXPECT_EQ(LastShownId(), 30069);
    ASSERT_TRUE(Reload(bmp).ok);
    EXPECT_EQ(reloaded_.SourceBmpFormat, (BmpFormat{8, 1}));

    // A PNG that had transparent pixels is written transparent with the current key.
    facts_.FileColorKey = Rgb(1, 1, 1);
    const auto png = temp_.File("t.png");
    EXPECT_TRUE(SaveDocument(Context(), png));
    ASSERT_TRUE(Reload(png).ok);
    EXPECT_EQ(reloaded_.FileColorKey, kKey);

    facts_.FileColorKey = kNoColour;
    EXPECT_TRUE(SaveDocument(Context(), png));
    ASSERT_TRUE(Reload(png).ok);
    EXPECT_EQ(reloaded_.FileColorKey, kNoColour);
}

TEST_F(SaverTest, BitmapLayoutsMatchTheirSizes) {
    image_ = test::SolidBitmap(3, 2, 0xFF102030u);
    const auto b24 = temp_.File("a.bmp");
    ASSERT_TRUE(WriteBitmapFile(image_, b24, 24, 0, prompter_));
    Bytes bytes = test::ReadFileBytes(b24);
    EXPECT_EQ(bytes.size(), 78u);
    EXPECT_EQ(bytes[10], 54);
    EXPECT_EQ(bytes[34], 24);  // image size

    ASSERT_TRUE(WriteBitmapFile(image_, b24, 1, 0, prompter_));
    bytes = test::ReadFileBytes(b24);
    EXPECT_EQ(bytes.size(), 70u);
    EXPECT_EQ(bytes[10], 62);

    image_ =
        test::MakeBitmap(5, 1, {0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFF0000u, 0xFFFF0000u});
    ASSERT_TRUE(WriteBitmapFile(image_, b24, 4, 2, prompter_));
    bytes = test::ReadFileBytes(b24);
    const std::uint32_t streamLength = bytes[34] | bytes[35] << 8 | bytes[36] << 16;
    EXPECT_EQ(bytes[30], 2);
    EXPECT_EQ(bytes.size(), 14u + 104u + streamLength);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, static_cast<int>(bytes.size()));
    EXPECT_TRUE(prompter_.shown.empty());
}

// Fails at the n-th write (0 = the file header).
class FailingSink final : public FileSink {
public:
    explicit FailingSink(int failAt) : failAt_(failAt) {}
    bool Open() override { return failAt_ != -1; }
    bool Write(std::span<const std::uint8_t>) override { return writes_++ != failAt_; }
    bool Commit() override { return false; }

private:
    int failAt_;
    int writes_ = 0;
};

TEST_F(SaverTest, BitmapWriterFailuresNameTheirStep) {
    const std::vector<std::pair<int, std::string>> cases = {
        {-1, "ファイルオープンエラー"},
        {0, "BITMAPFILEHEADER書き込みエラー"},
        {1, "BITMAPINFO書き込みエラー"},
        {2, "ビット配列書き込みエラー"},
    };
    for (const auto& [failAt, detail] : cases) {
        FailingSink sink(failAt);
        prompter_.shown.clear();
        EXPECT_FALSE(WriteBitmapFile(image_, temp_.File("x.bmp"), 24, 0, prompter_, &sink));
        ASSERT_EQ(prompter_.shown.size(), 1u);
        EXPECT_EQ(prompter_.shown[0].Text(), detail + "ビットマップファイルの保存に失敗しました");
    }
    EXPECT_FALSE(std::filesystem::exists(temp_.File("x.bmp")));
}

TEST_F(SaverTest, FailedWritesLeaveTheOldFileAlone) {
    // The target is a folder, so the final replace fails after everything was encoded.
    const auto blocked = temp_.File("blocked.png");
    std::filesystem::create_directory(blocked);
    test::WriteFileBytes(blocked / "inside", {1});
    EXPECT_FALSE(WriteImageFile(Context(), blocked, "png", true, 100, false));
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(LastShownId(), 30001);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path())) {
        files += entry.path() != blocked;
    }
    EXPECT_EQ(files, 0);
}

TEST_F(SaverTest, AnEncoderFailureLeavesTheOldFileExactly) {
    // JPEG cannot hold a row wider than 65500 pixels: the encoder fails after the questions.
    image_ = test::SolidBitmap(65501, 1, 0xFF102030u);
    const auto target = temp_.File("wide.jpeg");
    test::WriteFileBytes(target, {1, 2, 3, 4});
    EXPECT_FALSE(WriteImageFile(Context(), target, "jpeg", false, 90, false));
    EXPECT_EQ(LastShownId(), 30001);
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SaverTest, UnknownExtensionsFindNoEncoder) {
    EXPECT_TRUE(FindEncoderByMime("image/png"));
    EXPECT_FALSE(FindEncoderByMime("image/PNG"));
    EXPECT_FALSE(FindEncoderByMime("image/webp"));
    EXPECT_FALSE(WriteImageFile(Context(), temp_.File("a.webp"), "webp", false, 100, false));
    EXPECT_EQ(LastShownId(), 30001);
    EXPECT_FALSE(std::filesystem::exists(temp_.File("a.webp")));
}

TEST(AtomicFile, AnAbandonedWriteLeavesNoTrace) {
    test::TempDir temp;
    const auto target = temp.File("keep.txt");
    test::WriteFileBytes(target, {1, 2, 3});
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write(Bytes{9, 9}));
    }
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(WriteFileAtomically(target, Bytes{4}));
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{4}));
}

// A folder that takes no temporary file, whoever runs the test.
class TemporariesRefused {
public:
    TemporariesRefused() { AtomicFile::RefuseTemporaryFilesForTesting(true); }
    ~TemporariesRefused() { AtomicFile::RefuseTemporaryFilesForTesting(false); }
};

TEST(AtomicFile, WithoutRoomForATemporaryAWritableTargetIsWrittenInPlace) {
    test::TempDir temp;
    const auto target = temp.File("keep.png");
    test::WriteFileBytes(target, {1, 2, 3, 4, 5});
    const TemporariesRefused refused;
    {
        // Nothing reaches the target until the commit: an abandoned write leaves it as it was.
        AtomicFile file(target);
        ASSERT_TRUE(file.Open());
        EXPECT_TRUE(file.WritesInPlace());
        ASSERT_TRUE(file.Write(Bytes{9, 9}));
        EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3, 4, 5}));
    }
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1, 2, 3, 4, 5}));
    AtomicFile file(target);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write(Bytes{7}));
    ASSERT_TRUE(file.Write(Bytes{8, 6}));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{7, 8, 6}));  // the old tail is gone
    // A second commit writes nothing more (it would find nothing left to write).
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{7, 8, 6}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              1);
    // A new file needs the folder: still refused.
    EXPECT_FALSE(WriteFileAtomically(temp.File("new.png"), Bytes{1}));
    EXPECT_FALSE(std::filesystem::exists(temp.File("new.png")));
}

#if !defined(_WIN32)
TEST(AtomicFile, AWritableFileInAReadOnlyFolderCanBeSavedOver) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not stop the superuser; the in-place path is "
                        "covered with temporaries refused";
    }
    test::TempDir temp;
    const auto folder = temp.File("locked");
    std::filesystem::create_directory(folder);
    const auto target = folder / "keep.png";
    test::WriteFileBytes(target, {1, 2, 3});
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_TRUE(WriteFileAtomically(target, Bytes{4, 5}));
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{4, 5}));
}
#endif

// Large files go to the disk in pieces while they are written: the pieces must join up
// exactly, whatever the sizes of the writes.
TEST(AtomicFile, ALargeFileWrittenInUnevenPartsArrivesByteForByte) {
    test::TempDir temp;
    const auto target = temp.File("large.bmp");
    Bytes bytes(std::size_t{21} << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    }
    AtomicFile file(target);
    ASSERT_TRUE(file.Open());
    std::size_t at = 0;
    for (const std::size_t part :
         {std::size_t{3}, std::size_t{9} << 20, std::size_t{1} << 20, std::size_t{17}}) {
        ASSERT_TRUE(file.Write(std::span(bytes).subspan(at, part)));
        at += part;
    }
    ASSERT_TRUE(file.Write(std::span(bytes).subspan(at)));
    ASSERT_TRUE(file.Commit());
    EXPECT_TRUE(test::ReadFileBytes(target) == bytes);
}

#if !defined(_WIN32)
TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
    test::TempDir temp;
    const auto target = temp.File("private.png");
    test::WriteFileBytes(target, {1});
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;  // 0640
    std::filesystem::permissions(target, mode);
    ASSERT_TRUE(WriteFileAtomically(target, Bytes{2}));
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{2}));
    EXPECT_EQ(std::filesystem::status(target).permissions(), mode);
}

TEST(AtomicFile, SavingOverALinkReplacesTheFileItPointsTo) {
    test::TempDir temp;
    std::filesystem::create_directory(temp.File("real"));
    const auto real = temp.File("real") / "real.png";
    test::WriteFileBytes(real, {1});
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read;
    std::filesystem::permissions(real, mode);
    // A relative link to a relative link: each resolves beside itself.
    std::filesystem::create_symlink("real/real.png", temp.File("middle.png"));
    std::filesystem::create_symlink("middle.png", temp.File("link.png"));
    ASSERT_TRUE(WriteFileAtomically(temp.File("link.png"), Bytes{2, 3}));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.File("link.png")));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.File("middle.png")));
    EXPECT_EQ(test::ReadFileBytes(real), (Bytes{2, 3}));
    EXPECT_EQ(std::filesystem::status(real).permissions(), mode);
    // Nothing was left beside the links or the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()),
                            std::filesystem::directory_iterator()),
              3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.File("real")),
                            std::filesystem::directory_iterator()),
              1);

    // A link to a file not there yet creates that file.
    std::filesystem::create_symlink("real/later.png", temp.File("later.png"));
    ASSERT_TRUE(WriteFileAtomically(temp.File("later.png"), Bytes{4}));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.File("later.png")));
    EXPECT_EQ(test::ReadFileBytes(temp.File("real") / "later.png"), (Bytes{4}));
}

TEST_F(SaverTest, OverwriteSaveThroughALinkKeepsTheLink) {
    const auto real = temp_.File("real.png");
    test::WriteFileBytes(real, {1, 2});
    std::filesystem::create_symlink("real.png", temp_.File("link.png"));
    EXPECT_TRUE(SaveDocument(Context(), temp_.File("link.png")));
    EXPECT_TRUE(std::filesystem::is_symlink(temp_.File("link.png")));
    EXPECT_EQ(test::ReadFileBytes(temp_.File("link(back).png")), (Bytes{1, 2}));
    ASSERT_TRUE(Reload(real).ok);
    EXPECT_EQ(reloaded_.FileColorKey, kNoColour);
}
#endif

// Many colours crowding round the key, so that a palette reduction would merge some of them
// with it, and the key itself scattered among them.
Bitmap CrowdedRoundTheKey() {
    Bitmap image = test::SolidBitmap(40, 40, 0xFF000000u);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool key = x % 7 == 3 && y % 5 == 2;
            image.WritePixel(x, y, key ? kKey : Rgb(x % 20, 255 - y % 20, (x / 20 + y / 20) * 7));
        }
    }
    return image;
}

TEST_F(SaverTest, TransparentFilesClearExactlyTheKeyColouredPixels) {
    for (const bool crowded : {false, true}) {
        image_ = crowded ? CrowdedRoundTheKey() : Picture();
        const Bitmap original = crowded ? CrowdedRoundTheKey() : Picture();
        for (int entry = 13; entry <= 16; ++entry) {
            SCOPED_TRACE("entry " + std::to_string(entry) + (crowded ? " crowded" : ""));
            const auto path = temp_.File("t" + std::to_string(entry) + (crowded ? "c" : "") + "." +
                                         std::string(SaveFormatAt(entry)->pattern.substr(2)));
            prompter_.answers = {Answer::Yes};  // the many-colours question of a GIF
            prompter_.fallback = Answer::No;
            ASSERT_TRUE(SaveImageAsEntry(Context(), path, entry));
            const LoadResult back = Reload(path);
            ASSERT_TRUE(back.ok);
            ASSERT_EQ(reloaded_.FileColorKey, kKey);
            int wrong = 0;
            for (int y = 0; y < original.Height(); ++y) {
                for (int x = 0; x < original.Width(); ++x) {
                    const bool wasKey = original.ReadPixel(x, y) == kKey;
                    const bool isKey = back.image.ReadPixel(x, y) == back.key;
                    wrong += wasKey != isKey;
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST_F(SaverTest, AnUnknownEntryIsReportedAndANameWithoutExtensionGetsTheEntrys) {
    // The dialog could not tell the format: a message, and nothing on disk.
    for (const int entry : {0, 17}) {
        prompter_.shown.clear();
        EXPECT_FALSE(SaveImageAsEntry(Context(), temp_.File("lost.png"), entry));
        EXPECT_EQ(LastShownId(), str::kSaveFormatUnknown);
        EXPECT_FALSE(std::filesystem::exists(temp_.File("lost.png")));
    }
    prompter_.saveChoice = SaveFileChoice{temp_.File("lost.png"), 0};
    prompter_.shown.clear();
    SaveImageAs(Context(), 15);
    EXPECT_EQ(LastShownId(), str::kSaveFormatUnknown);
    EXPECT_FALSE(std::filesystem::exists(temp_.File("lost.png")));

    // A typed name without an extension is written under the entry's, and in its format.
    prompter_.fallback = Answer::No;
    ASSERT_TRUE(SaveImageAsEntry(Context(), temp_.File("bare"), 15));
    EXPECT_FALSE(std::filesystem::exists(temp_.File("bare")));
    const LoadResult back = Reload(temp_.File("bare.png"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(reloaded_.FileColorKey, kKey);
    // A dot in a folder's name is no extension of the file's.
    std::filesystem::create_directory(temp_.File("my.dir"));
    ASSERT_TRUE(SaveImageAsEntry(Context(), temp_.File("my.dir") / "bare", 7));
    EXPECT_TRUE(std::filesystem::exists(temp_.File("my.dir") / "bare.bmp"));
}

TEST_F(SaverTest, TransparentGifWithoutAKeyColouredPixelIsWrittenOpaque) {
    // Under a white key, near-white 250,250,250 is a real colour and must stay.
    image_ = test::SolidBitmap(3, 1, PixelFromColour(Rgb(250, 250, 250)));
    image_.WritePixel(1, 0, Rgb(10, 20, 30));
    for (const Colour key : {Rgb(255, 255, 255), kNoColour}) {
        SCOPED_TRACE(key);
        const auto path = temp_.File(key == kNoColour ? "auto.gif" : "white.gif");
        const SaveContext context{image_, key, facts_, settings_, prompter_, shell_};
        ASSERT_TRUE(WriteImageFile(context, path, "gif", true, 100, false));
        const LoadResult back = Reload(path);
        ASSERT_TRUE(back.ok);
        EXPECT_EQ(reloaded_.FileColorKey, kNoColour);
        EXPECT_EQ(back.key, Rgb(0, 0, 0));  // FirstTrans black: the file carries no key
        EXPECT_EQ(back.image.ReadPixel(0, 0), Rgb(250, 250, 250));
        EXPECT_EQ(back.image.ReadPixel(1, 0), Rgb(10, 20, 30));
    }
}

TEST(SaveFormats, CommandsPreselectTheirEntries) {
    const BmpFormat none{};
    const BmpFormat rle8{8, 1};
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_NORMAL, none), 9);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_NORMAL, rle8), 5);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, none), 7);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{4, 2}), 3);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{4, 0}), 2);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{1, 0}), 1);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{16, 3}), 6);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{32, 0}), 8);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{2, 0}), 7);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_BMP, BmpFormat{48, 0}), 7);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_ALPHA, none), 15);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_ALPHA, rle8), 13);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_JPEG, rle8), 9);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_GIF, none), 10);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_PNG, none), 11);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_TIFF, none), 12);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_A_BMP, none), 13);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_A_GIF, none), 14);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_A_PNG, none), 15);
    EXPECT_EQ(InitialSaveEntry(cmd::ID_AS_A_TIFF, none), 16);
    const auto filters = SaveFormatFilters();
    ASSERT_EQ(filters.size(), 16u);
    EXPECT_EQ(filters[4].label, "256色(圧縮) BITMAPファイル(*.bmp)");
    EXPECT_EQ(filters[15].patterns, "*.tiff");
}

}  // namespace
}  // namespace palvex
