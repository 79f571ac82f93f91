#include "base/work_folder.h"

#include <fstream>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

void Touch(const std::filesystem::path& path) {
    std::ofstream(path) << "x";
}

int CountWithExtension(const std::filesystem::path& folder, const std::string& extension) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        count += entry.path().extension() == extension;
    }
    return count;
}

TEST(WorkFolder, CreatedOnDemandWithSubfolders) {
    test::TempDir temp;
    test::RecordingPrompter prompter;
    const WorkFolder work(temp.Path());
    const auto folder = work.GetWorkFolder({}, prompter);
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder.parent_path(), temp.Path());
    EXPECT_EQ(folder.filename().string().rfind("Palvex", 0), 0u);

    const auto sub = work.GetWorkFolder("undo", prompter);
    EXPECT_EQ(sub, folder / "undo");
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(WorkFolder, FailureShowsTheMessageAndGivesAnEmptyPath) {
    test::TempDir temp;
    Touch(temp.File("file"));
    test::RecordingPrompter prompter;
    const WorkFolder work(temp.File("file"));  // a file where a folder is needed
    EXPECT_TRUE(work.GetWorkFolder({}, prompter).empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30002);
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Error);

    work.CleanWorkFolder(prompter);  // deletes nothing, after the same message
    EXPECT_EQ(prompter.shown.size(), 2u);
}

#if !defined(_WIN32)
TEST(WorkFolder, RefusesAFolderReplacedByALink) {
    test::TempDir temp;
    test::TempDir elsewhere;
    test::RecordingPrompter prompter;
    const WorkFolder work(temp.Path());
    const auto folder = work.GetWorkFolder({}, prompter);
    std::filesystem::remove(folder);
    std::filesystem::create_directory_symlink(elsewhere.Path(), folder);
    EXPECT_TRUE(work.GetWorkFolder({}, prompter).empty());
}
#endif

TEST(WorkFolder, CleanDeletesAtMostOneHundredTmpFilesAtATime) {
    test::TempDir temp;
    test::RecordingPrompter prompter;
    const WorkFolder work(temp.Path());
    const auto folder = work.GetWorkFolder({}, prompter);
    for (int i = 0; i < 150; ++i) {
        Touch(folder / ("snap" + std::to_string(i) + ".tmp"));
    }
    Touch(folder / "BkImage.png");
    Touch(folder / "temp.jpeg");

    work.CleanWorkFolder(prompter);
    EXPECT_EQ(CountWithExtension(folder, ".tmp"), 50);
    work.CleanWorkFolder(prompter);
    EXPECT_EQ(CountWithExtension(folder, ".tmp"), 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "BkImage.png"));
    EXPECT_TRUE(std::filesystem::exists(folder / "temp.jpeg"));
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace palvex
