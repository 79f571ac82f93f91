#include "app/recent_files.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::vector<std::string> Entries(const RecentFileList& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.Count(); ++i) {
        entries.push_back(list.Entry(i));
    }
    return entries;
}

// Loads `names` so that the first is the most recent.
RecentFileList ListOf(const std::vector<std::string>& names) {
    RecentFileList list;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        list.Add(*it);
    }
    return list;
}

TEST(RecentFileList, KeepsSixteenNewestFirst) {
    RecentFileList list;
    for (int i = 1; i <= 17; ++i) {
        list.Add("/pictures/" + std::to_string(i) + ".png");
    }
    ASSERT_EQ(list.Count(), 16);
    EXPECT_EQ(list.Entry(0), "/pictures/17.png");
    EXPECT_EQ(list.Entry(15), "/pictures/2.png");  // 1.png, the oldest, is gone
    EXPECT_EQ(list.Entry(16), "");
    EXPECT_EQ(list.Entry(-1), "");

    list.Add("/pictures/9.png");  // already listed: moves up, nothing is dropped
    EXPECT_EQ(list.Count(), 16);
    EXPECT_EQ(list.Entry(0), "/pictures/9.png");
    EXPECT_EQ(list.Entry(1), "/pictures/17.png");
    EXPECT_EQ(list.Entry(15), "/pictures/2.png");

    list.Add("");
    EXPECT_EQ(list.Entry(0), "/pictures/9.png");
}

TEST(RecentFileList, RemoveShiftsLaterEntriesUp) {
    RecentFileList list = ListOf({"a", "b", "c", "d"});
    list.Remove(1);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"a", "c", "d"}));
    list.Remove(3);
    list.Remove(-1);
    EXPECT_EQ(list.Count(), 3);
}

TEST(RecentFileList, MenuTextNumbersTheFileName) {
    const RecentFileList list = ListOf({"C:\\画像\\猫.png", "/home/u/dog.gif", "bare.bmp",
                                        "/x/Tom & Jerry.jpg", "a/b\\c.tif", "/dir/"});
    EXPECT_EQ(list.MenuText(0), "&1 猫.png");
    EXPECT_EQ(list.MenuText(1), "&2 dog.gif");
    EXPECT_EQ(list.MenuText(2), "&3 bare.bmp");
    EXPECT_EQ(list.MenuText(3), "&4 Tom && Jerry.jpg");
    EXPECT_EQ(list.MenuText(4), "&5 c.tif");
    EXPECT_EQ(list.MenuText(5), "&6 ");

    RecentFileList many;
    for (int i = 0; i < 16; ++i) {
        many.Add("/p/" + std::to_string(i));
    }
    EXPECT_EQ(many.MenuText(9), "&10 6");
    EXPECT_EQ(many.MenuText(15), "&16 0");
}

class OpenRecentEntryTest : public ::testing::Test {
protected:
    std::string MakeFile(const std::string& name) {
        const auto path = temp.File(name);
        std::ofstream(path) << "x";
        return Utf8(path);
    }
    std::string Missing(const std::string& name) { return Utf8(temp.File(name)); }

    RecentFileLoader Loader(bool result) {
        return [this, result](const std::filesystem::path& path) {
            loaded.push_back(Utf8(path));
            return result;
        };
    }

    test::TempDir temp;
    test::RecordingPrompter prompter;
    std::vector<std::string> loaded;
};

TEST_F(OpenRecentEntryTest, AnExistingFileMovesToTheTopAndIsLoaded) {
    const std::string a = MakeFile("a.png");
    const std::string b = MakeFile("b.png");
    const std::string c = MakeFile("c.png");
    RecentFileList list = ListOf({a, b, c});

    EXPECT_TRUE(OpenRecentEntry(list, 2, prompter, Loader(true)));
    EXPECT_EQ(loaded, std::vector<std::string>{c});
    EXPECT_EQ(Entries(list), (std::vector<std::string>{c, a, b}));
    EXPECT_EQ(list.MenuText(0), "&1 c.png");
    EXPECT_TRUE(prompter.shown.empty());

    // The loader's failure is the result; the entry has moved all the same.
    EXPECT_FALSE(OpenRecentEntry(list, 1, prompter, Loader(false)));
    EXPECT_EQ(list.Entry(0), a);
}

TEST_F(OpenRecentEntryTest, AMissingFileIsOfferedForDeletion) {
    const std::string a = MakeFile("a.png");
    const std::string gone = Missing("gone.png");
    const std::string c = MakeFile("c.png");
    RecentFileList list = ListOf({a, gone, c});

    prompter.answers = {Answer::No};
    EXPECT_FALSE(OpenRecentEntry(list, 1, prompter, Loader(true)));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].id, 30033);
    EXPECT_EQ(prompter.shown[0].prefix, gone + "\n");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(prompter.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{a, gone, c}));

    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(OpenRecentEntry(list, 1, prompter, Loader(true)));
    EXPECT_EQ(Entries(list), (std::vector<std::string>{a, c}));
    EXPECT_EQ(list.MenuText(1), "&2 c.png");
    EXPECT_TRUE(loaded.empty());
}

TEST_F(OpenRecentEntryTest, AFileThatCannotBeLookedAtIsReportedAndKept) {
    // A link loop: the file system answers with an error, not with "no such file".
    const auto loop = temp.File("loop.png");
    std::filesystem::create_symlink(temp.File("back.png"), loop);
    std::filesystem::create_symlink(loop, temp.File("back.png"));
    const std::string a = MakeFile("a.png");
    RecentFileList list = ListOf({a, Utf8(loop)});

    prompter.fallback = Answer::Yes;  // were deletion offered, the entry would go
    EXPECT_FALSE(OpenRecentEntry(list, 1, prompter, Loader(true)));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].Text(), Utf8(loop) + "\nドキュメントを開くことに失敗しました");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{a, Utf8(loop)}));
    EXPECT_TRUE(loaded.empty());
}

TEST_F(OpenRecentEntryTest, NoEntryDoesNothing) {
    RecentFileList list;
    EXPECT_FALSE(OpenRecentEntry(list, 0, prompter, Loader(true)));
    list.Add(MakeFile("a.png"));
    EXPECT_FALSE(OpenRecentEntry(list, 1, prompter, Loader(true)));
    EXPECT_FALSE(OpenRecentEntry(list, -1, prompter, Loader(true)));
    EXPECT_TRUE(loaded.empty());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(RecentFileListStore, SaveAndLoadRoundTrip) {
    MemorySettings store;
    RecentFileList list = ListOf({"/one.png", "C:\\二\\three.gif", "four.bmp"});
    list.Save(store);
    EXPECT_EQ(store.ReadText("Recent File List", "File1"), "/one.png");
    EXPECT_EQ(store.ReadText("Recent File List", "File3"), "four.bmp");

    RecentFileList loaded;
    loaded.Load(store);
    EXPECT_EQ(Entries(loaded), Entries(list));

    // Entries removed since the last save must not come back.
    list.Remove(0);
    list.Remove(0);
    list.Save(store);
    loaded.Load(store);
    EXPECT_EQ(Entries(loaded), std::vector<std::string>{"four.bmp"});
}

TEST(RecentFileListStore, AFullListOfSixteenRoundTrips) {
    std::vector<std::string> paths;
    for (int i = 1; i <= RecentFileList::kMaxEntries; ++i) {
        paths.push_back("/pictures/p" + std::to_string(i) + ".png");
    }
    RecentFileList list;
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        list.Add(*it);  // the last one added comes first
    }
    MemorySettings store;
    list.Save(store);
    for (int i = 1; i <= RecentFileList::kMaxEntries; ++i) {
        EXPECT_EQ(store.ReadText("Recent File List", "File" + std::to_string(i)),
                  paths[static_cast<std::size_t>(i - 1)]);
    }
    EXPECT_FALSE(store.ReadText("Recent File List", "File17"));

    // Loading over a shorter list reads all sixteen back, the last one included.
    RecentFileList loaded = ListOf({"/old.png"});
    loaded.Load(store);
    EXPECT_EQ(Entries(loaded), paths);
}

TEST(RecentFileListStore, LoadStopsAtTheFirstEmptyValueAndSkipsDuplicates) {
    MemorySettings store;
    store.WriteText("Recent File List", "File1", "a");
    store.WriteText("Recent File List", "File2", "b");
    store.WriteText("Recent File List", "File3", "a");
    store.WriteText("Recent File List", "File4", "c");
    store.WriteText("Recent File List", "File5", "");
    store.WriteText("Recent File List", "File6", "d");
    store.WriteText("Recent File List", "File17", "e");
    RecentFileList list = ListOf({"old"});
    list.Load(store);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace palvex
