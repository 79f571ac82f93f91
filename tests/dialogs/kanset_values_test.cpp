#include "dialogs/kanset_values.h"

#include <gtest/gtest.h>

namespace palvex {
namespace {

TEST(KansetValues, TypedAnimationCountIsANumberWithinOneToTen) {
    EXPECT_EQ(AnimationCountFromText("0"), 1);
    EXPECT_EQ(AnimationCountFromText("25"), 10);
    EXPECT_EQ(AnimationCountFromText("abc"), 1);
    EXPECT_EQ(AnimationCountFromText(""), 1);
    EXPECT_EQ(AnimationCountFromText("7"), 7);
    EXPECT_EQ(AnimationCountFromText(" 4x"), 4);
    EXPECT_EQ(AnimationCountFromText("99999999999999999999"), 10);
    EXPECT_EQ(AnimationCountFromText("-5"), 1);
}

TEST(KansetValues, OpeningReadsStoredPreferencesAndTheModelsSwitches) {
    MemorySettings store;
    AppSettings settings;
    KansetValues fresh = KansetValues::Read(settings, store);
    EXPECT_FALSE(fresh.firstOpen);
    EXPECT_TRUE(fresh.makeBackup);
    EXPECT_EQ(fresh.firstTrans, 1);
    EXPECT_TRUE(fresh.animationOn);
    EXPECT_EQ(fresh.animationCount, 3);

    setting::kFirstTrans.Write(store, 9);
    setting::kFirstOpen.Write(store, 1);
    settings.animationRings = 0;  // switched off: the count shown is 3
    settings.animationSpeed = 7;  // out of range: the fastest
    settings.showGuide = 0;
    const KansetValues values = KansetValues::Read(settings, store);
    EXPECT_EQ(values.firstTrans, 1);
    EXPECT_TRUE(values.firstOpen);
    EXPECT_FALSE(values.animationOn);
    EXPECT_EQ(values.animationCount, 3);
    EXPECT_EQ(values.animationSpeed, 0);
    EXPECT_FALSE(values.showGuide);
}

TEST(KansetValues, OkWritesThreeValuesAndKeepsTheRestInMemory) {
    MemorySettings store;
    AppSettings settings;
    KansetValues values = KansetValues::Read(settings, store);
    values.firstOpen = true;
    values.makeBackup = false;
    values.firstTrans = 4;
    values.showGuide = false;
    values.showRgb = false;
    values.stopCursor = false;
    values.animationCount = 6;
    values.animationSpeed = 3;
    values.showTip = false;
    values.Apply(settings, store);

    EXPECT_EQ(store.ReadInt("Last", "FirstOpen"), 1);
    EXPECT_EQ(store.ReadInt("Last", "MakeBackup"), 0);
    EXPECT_EQ(store.ReadInt("Last", "FirstTrans"), 4);
    // The switches reach the store only at exit.
    for (const char* key : {"DspGuide", "DspRGB", "StopCur", "DspTip"}) {
        EXPECT_FALSE(store.ReadInt("Last", key).has_value()) << key;
    }
    EXPECT_FALSE(store.ReadInt("KanSet", "PlayAnime").has_value());
    EXPECT_EQ(settings.showGuide, 0);
    EXPECT_EQ(settings.showRgb, 0);
    EXPECT_EQ(settings.stopCursor, 0);
    EXPECT_EQ(settings.animationRings, 6);
    EXPECT_EQ(settings.animationSpeed, 3);
    EXPECT_EQ(settings.showTip, 0);

    values.animationOn = false;
    values.Apply(settings, store);
    EXPECT_EQ(settings.animationRings, 0);
    // Reopened: unchecked, and the count shown is 3.
    const KansetValues reopened = KansetValues::Read(settings, store);
    EXPECT_FALSE(reopened.animationOn);
    EXPECT_EQ(reopened.animationCount, 3);
}

}  // namespace
}  // namespace palvex
