#include "barrier/barrier_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "barrier/barrier_history.h"
#include "resources/string_table.h"
#include "support/png_writer.h"
#include "support/test_support.h"

namespace palvex {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

BarrierParse Parse(std::string_view text) {
    const std::vector<std::uint8_t> bytes = Bytes(text);
    return ParseBarrierText(bytes);
}

class BarrierFileTest : public ::testing::Test {
protected:
    BarrierReadResult Read(const std::string& name, Size image = {100, 80}) {
        return ReadBarrierFile(temp_.File(name), image, prompter_);
    }
    void Put(const std::string& name, std::string_view text) {
        test::WriteFileBytes(temp_.File(name), Bytes(text));
    }

    test::TempDir temp_;
    test::RecordingPrompter prompter_;
};

TEST_F(BarrierFileTest, ExampleFileRoundTripsByteForByte) {
    const std::vector<Point> barrier{{10, 20}, {300, 20}, {150, 200}};
    const std::string expected = "10,20\r\n300,20\r\n150,200\r\n";
    ASSERT_EQ(expected.size(), 24u);
    const auto path = temp_.File("example.bar");
    ASSERT_TRUE(WriteBarrierFile(path, barrier, prompter_));
    EXPECT_EQ(test::ReadFileBytes(path), Bytes(expected));

    const BarrierReadResult read = Read("example.bar", {400, 300});
    ASSERT_EQ(read.status, BarrierReadStatus::Ok);
    EXPECT_EQ(read.vertices, barrier);
    ASSERT_TRUE(WriteBarrierFile(temp_.File("again.bar"), read.vertices, prompter_));
    EXPECT_EQ(test::ReadFileBytes(temp_.File("again.bar")), Bytes(expected));
    EXPECT_TRUE(prompter_.shown.empty());
}

TEST_F(BarrierFileTest, ReadingStopsAtTheFirstLineWithoutAComma) {
    // "7,x9" reads y as 0; the empty third line ends reading, so 8,8 is never read.
    EXPECT_EQ(Parse("5,5\r\n7,x9\r\n\r\n8,8\r\n").vertices, (std::vector<Point>{{5, 5}, {7, 0}}));
    // A lone LF ends a line as CR LF does; the last line may lack its end.
    EXPECT_EQ(Parse("5,5\n6, -7\n+8,  9").vertices, (std::vector<Point>{{5, 5}, {6, -7}, {8, 9}}));
    EXPECT_EQ(Parse("1,2\r\n,\r\n").vertices, (std::vector<Point>{{1, 2}, {0, 0}}));
}

TEST_F(BarrierFileTest, AByteOrderMarkAndADosEndOfFileAreReadAsATextEditorWould) {
    EXPECT_EQ(Parse("\xEF\xBB\xBF"
                    "12,5\r\n30,40\r\n")
                  .vertices,
              (std::vector<Point>{{12, 5}, {30, 40}}));
    EXPECT_EQ(Parse("12,5\r\n30,40\r\n\x1A").status, BarrierParseStatus::Ok);
    EXPECT_EQ(Parse("12,5\r\n30,40\x1A\x1A\x01\x02").vertices,
              (std::vector<Point>{{12, 5}, {30, 40}}));
    // Binary bytes before the end-of-file byte, or a mark only at the start, still refuse.
    EXPECT_NE(Parse("12,5\r\n\x01\x1A").status, BarrierParseStatus::Ok);
    EXPECT_NE(Parse("\xEF\xBB\xBF").status, BarrierParseStatus::Ok);
}

TEST_F(BarrierFileTest, VerticesAreClampedToTheImage) {
    Put("big.bar", "-5,9999\r\n150,-1\r\n");
    EXPECT_EQ(Read("big.bar").vertices, (std::vector<Point>{{0, 79}, {99, 0}}));
}

TEST_F(BarrierFileTest, NumbersPast32BitsSaturateBeforeTheClamp) {
    // atoi would overflow (undefined); saturation keeps the sign and the clamp the edge.
    EXPECT_EQ(
        Parse("99999999999999999999,-99999999999999999999\n2147483648,-2147483649\n").vertices,
        (std::vector<Point>{{2147483647, -2147483647 - 1}, {2147483647, -2147483647 - 1}}));
    Put("huge.bar", "4294967306,99999999999999999999999\r\n");
    EXPECT_EQ(Read("huge.bar").vertices, (std::vector<Point>{{99, 79}}));
}

TEST_F(BarrierFileTest, ThousandVerticesAreReadAndOneMoreRefusesTheFile) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += std::to_string(i % 100) + ",1\r\n";
    }
    EXPECT_EQ(Parse(text).vertices.size(), 1000u);
    EXPECT_EQ(Parse(text + "\r\nignored,5\r\n").vertices.size(), 1000u);
    EXPECT_EQ(Parse(text + "1,1\r\n").status, BarrierParseStatus::NotBarrierFile);
}

TEST_F(BarrierFileTest, ALineOver4KiBEndsReading) {
    const std::string longest = "1," + std::string(kMaxBarrierLine - 3, ' ') + "7";
    EXPECT_EQ(Parse("3,4\r\n" + longest + "\r\n").vertices, (std::vector<Point>{{3, 4}, {1, 7}}));
    EXPECT_EQ(Parse("3,4\r\n" + longest + " \r\n5,5\r\n").vertices, (std::vector<Point>{{3, 4}}));
}

TEST_F(BarrierFileTest, HostileFilesAreRefusedAndChangeNothing) {
    MemorySettings settings;
    BarrierHistory history(settings);
    history.Add("/kept.bar");
    const auto entries = history.Entries();

    std::string manyLines;
    for (int i = 0; i < 5000; ++i) {
        manyLines += "1,1\r\n";
    }
    Put("long.bar", std::string(10 * 1024 * 1024, '7') + ",1\r\n");
    Put("many.bar", manyLines);
    Put("nul.bar", std::string("1,2\r\n3,\0"
                               "4\r\n",
                               9));
    Put("empty.bar", "");
    Put("text.bar", "not a barrier\r\n");
    test::WriteFileBytes(temp_.File("picture.bar"),
                         test::EncodeRgbaPng(test::SolidBitmap(4, 4, 0xFF112233u)));
    for (const char* name :
         {"long.bar", "many.bar", "nul.bar", "empty.bar", "text.bar", "picture.bar"}) {
        SCOPED_TRACE(name);
        prompter_.shown.clear();
        const BarrierReadResult read = Read(name);
        EXPECT_EQ(read.status, BarrierReadStatus::NotBarrierFile);
        EXPECT_TRUE(read.vertices.empty());
        ASSERT_EQ(prompter_.shown.size(), 1u);
        EXPECT_EQ(prompter_.shown[0].Text(),
                  temp_.File(name).string() + "\nこのファイルはバリアファイルとして読み込めません");
        EXPECT_EQ(prompter_.shown[0].icon, MessageIcon::Error);
        if (read.status == BarrierReadStatus::Ok) {
            history.Add(temp_.File(name).string());
        }
    }
    EXPECT_EQ(history.Entries(), entries);
}

TEST_F(BarrierFileTest, MissingFilesAndNoImageAreSilent) {
    Put("ok.bar", "1,1\r\n");
    EXPECT_EQ(Read("none.bar").status, BarrierReadStatus::NotRead);
    EXPECT_EQ(ReadBarrierFile({}, {10, 10}, prompter_).status, BarrierReadStatus::NotRead);
    EXPECT_EQ(ReadBarrierFile(temp_.Path(), {10, 10}, prompter_).status,
              BarrierReadStatus::NotRead);
    // With no image the clamp would be to 0..-1.
    EXPECT_EQ(Read("ok.bar", {0, 0}).status, BarrierReadStatus::NotRead);
    EXPECT_TRUE(prompter_.shown.empty());
}

// Passes everything to a real temporary file but fails the n-th write, or the commit (-1).
class FailingAtomicFile final : public FileSink {
public:
    FailingAtomicFile(const std::filesystem::path& target, int failAt)
        : file_(target), failAt_(failAt) {}
    bool Open() override { return file_.Open(); }
    bool Write(std::span<const std::uint8_t> bytes) override {
        return writes_++ != failAt_ && file_.Write(bytes);
    }
    bool Commit() override { return failAt_ != -1 && file_.Commit(); }

private:
    AtomicFile file_;
    int failAt_;
    int writes_ = 0;
};

TEST_F(BarrierFileTest, AFailedWriteLeavesTheOldFileByteForByte) {
    const auto path = temp_.File("old.bar");
    const std::vector<std::uint8_t> old = Bytes("1,1\r\n2,2\r\n3,3\r\n");
    test::WriteFileBytes(path, old);
    const std::vector<Point> barrier{{7, 7}, {8, 8}};
    for (const int failAt : {0, -1}) {
        SCOPED_TRACE(failAt);
        prompter_.shown.clear();
        {
            FailingAtomicFile sink(path, failAt);
            EXPECT_FALSE(WriteBarrierFileTo(sink, path, barrier, prompter_));
        }
        EXPECT_EQ(test::ReadFileBytes(path), old);
        ASSERT_EQ(prompter_.shown.size(), 1u);
        EXPECT_EQ(prompter_.shown[0].Text(),
                  path.string() +
                      "\n書き込み場所にアクセス権がない可能性があります\n管理者として実行するか、"
                      "アクセス権のある場所に保存してください");
    }
    // No temporary file stays beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(BarrierFileTest, AFolderThatTakesNoNewFileStillLetsAnExistingFileBeSavedOver) {
    const auto path = temp_.File("kept.bar");
    test::WriteFileBytes(path, Bytes("1,1\r\n2,2\r\n3,3\r\n4,4\r\n"));
    AtomicFile::RefuseTemporaryFilesForTesting(true);
    const bool written = WriteBarrierFile(path, std::vector<Point>{{7, 8}, {9, 10}}, prompter_);
    const bool created =
        WriteBarrierFile(temp_.File("new.bar"), std::vector<Point>{{1, 1}}, prompter_);
    AtomicFile::RefuseTemporaryFilesForTesting(false);
    EXPECT_TRUE(written);
    EXPECT_EQ(test::ReadFileBytes(path), Bytes("7,8\r\n9,10\r\n"));
    EXPECT_FALSE(created);  // a new file needs the folder
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].id, str::kNoWriteAccess);
}

TEST_F(BarrierFileTest, AWriteIntoAMissingFolderFailsWithTheMessage) {
    const auto path = temp_.File("no such folder") / "a.bar";
    EXPECT_FALSE(WriteBarrierFile(path, std::vector<Point>{{1, 1}}, prompter_));
    ASSERT_EQ(prompter_.shown.size(), 1u);
    EXPECT_EQ(prompter_.shown[0].id, 30035);
}

}  // namespace
}  // namespace palvex
