#include "barrier/barrier_history.h"

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace palvex {
namespace {

using Entries = std::array<std::string, BarrierHistory::kEntries>;

TEST(BarrierHistory, MovesToFrontAndEmptySlotsMoveDownWithTheOthers) {
    MemorySettings settings;
    BarrierHistory history(settings);
    history.Add("B");
    history.Add("A");
    EXPECT_EQ(history.Entries(), (Entries{"A", "B", "", "", ""}));

    MemorySettings other;
    other.WriteText("Load", "Bari0", "A");
    other.WriteText("Load", "Bari1", "B");
    BarrierHistory again(other);
    again.Add("B");
    EXPECT_EQ(again.Entries(), (Entries{"B", "A", "", "", ""}));
    again.Add("C");
    EXPECT_EQ(again.Entries(), (Entries{"C", "B", "A", "", ""}));
    // Stored as empty strings, not left out.
    EXPECT_EQ(other.ReadText("Load", "Bari4"), std::optional<std::string>(""));
}

TEST(BarrierHistory, AGapKeepsItsPlaceAndTheSixthPathFallsOut) {
    MemorySettings settings;
    settings.WriteText("Load", "Bari0", "A");
    settings.WriteText("Load", "Bari2", "B");
    BarrierHistory history(settings);
    history.Add("C");
    EXPECT_EQ(history.Entries(), (Entries{"C", "A", "", "B", ""}));
    for (const char* path : {"D", "E", "F"}) {
        history.Add(path);
    }
    EXPECT_EQ(history.Entries(), (Entries{"F", "E", "D", "C", "A"}));
    // Case-sensitive: "a" is another path.
    history.Add("a");
    EXPECT_EQ(history.Entries(), (Entries{"a", "F", "E", "D", "C"}));
}

TEST(BarrierHistory, ClearEmptiesEverySlotAndEntryIgnoresBadIndexes) {
    MemorySettings settings;
    BarrierHistory history(settings);
    history.Add("A");
    history.Add("");
    EXPECT_EQ(history.Entry(0), "A");
    EXPECT_EQ(history.Entry(-1), "");
    EXPECT_EQ(history.Entry(5), "");
    history.Clear();
    EXPECT_EQ(history.Entries(), Entries{});
    EXPECT_EQ(settings.ReadText("Load", "Bari0"), std::optional<std::string>(""));
}

TEST(BarrierHistory, LoadingFromASlotMovesItUpAGoneFileStays) {
    test::TempDir temp;
    test::RecordingPrompter prompter;
    const std::string here = temp.File("here.bar").string();
    const std::string gone = temp.File("gone.bar").string();
    test::WriteFileBytes(here, {'1', ',', '2', '\r', '\n'});
    MemorySettings settings;
    BarrierHistory history(settings);
    history.Add(here);
    history.Add(gone);

    EXPECT_EQ(LoadFromHistory(history, 0, {10, 10}, prompter).status, BarrierReadStatus::NotRead);
    EXPECT_EQ(LoadFromHistory(history, 2, {10, 10}, prompter).status, BarrierReadStatus::NotRead);
    EXPECT_EQ(history.Entries(), (Entries{gone, here, "", "", ""}));
    // No image: nothing to clamp to.
    EXPECT_EQ(LoadFromHistory(history, 1, {0, 0}, prompter).status, BarrierReadStatus::NotRead);
    EXPECT_EQ(history.Entry(0), gone);

    const BarrierReadResult read = LoadFromHistory(history, 1, {10, 10}, prompter);
    EXPECT_EQ(read.status, BarrierReadStatus::Ok);
    EXPECT_EQ(read.vertices, (std::vector<Point>{{1, 2}}));
    EXPECT_EQ(history.Entries(), (Entries{here, gone, "", "", ""}));
    EXPECT_TRUE(prompter.shown.empty());
}

}  // namespace
}  // namespace palvex
