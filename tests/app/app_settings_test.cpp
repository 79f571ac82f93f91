#include "app/app_settings.h"

#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace palvex {
namespace {

// Logs every value read or written as "Section\Key", in order.
class RecordingStore final : public SettingsStore {
public:
    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override {
        reads.push_back(Name(section, key));
        return values.ReadInt(section, key);
    }
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override {
        reads.push_back(Name(section, key));
        return values.ReadText(section, key);
    }
    void WriteInt(std::string_view section, std::string_view key, int value) override {
        writes.push_back(Name(section, key));
        values.WriteInt(section, key, value);
    }
    void WriteText(std::string_view section, std::string_view key,
                   std::string_view value) override {
        writes.push_back(Name(section, key));
        values.WriteText(section, key, value);
    }

    MemorySettings values;
    mutable std::vector<std::string> reads;
    std::vector<std::string> writes;

private:
    static std::string Name(std::string_view section, std::string_view key) {
        return std::string(section) + "\\" + std::string(key);
    }
};

std::vector<std::string> InLast(const std::vector<std::string>& keys) {
    std::vector<std::string> names;
    for (const std::string& key : keys) {
        names.push_back(key.find('\\') == std::string::npos ? "Last\\" + key : key);
    }
    return names;
}

AppSettings ReadEverythingAtStartup(const SettingsStore& store) {
    AppSettings settings;
    settings.ReadPrinterDefaults(store);
    settings.ReadAtStartup(store);
    settings.ReadAfterRibbon(store);
    settings.ReadFirstOpen(store);
    return settings;
}

// Every start-up and exit value changed from its default.
AppSettings Changed() {
    AppSettings s;
    s.showRgb = 0;
    s.showGuide = 0;
    s.stopCursor = 0;
    s.showTip = 0;
    s.zoomFactor = 8.0f;
    s.allColours = 1;
    s.tolerance = 17;
    s.wholeImage = 1;
    s.rangeSize = 123;
    s.flatness = 40;
    s.flatDirection = 1;
    s.penAngle = -1.2345;
    s.backgroundMode = -2;
    s.drawColour = 0x123456;
    s.selectionLineColour = kNoColour;
    s.toolMode = 5;
    s.showNavigator = 1;
    s.penStyle = 2;
    s.barrierLineColour = 1;
    s.barrierPointColour = 2;
    s.barrierNumberColour = 3;
    s.barrierSelectedLineColour = 4;
    s.barrierSelectedPointColour = 5;
    s.barrierSelectedNumberColour = 0xFFFFFF;
    s.showBarrierPoints = 0;
    s.showBarrierNumbers = 0;
    s.clockwise = 0;
    s.animationRings = 0;
    s.animationSpeed = 4;
    return s;
}

TEST(AppSettings, FreshAccountStartsWithTheDefaults) {
    const MemorySettings empty;
    const AppSettings s = ReadEverythingAtStartup(empty);
    EXPECT_EQ(s, AppSettings{});  // member defaults and key defaults agree

    EXPECT_FLOAT_EQ(s.zoomFactor, 1.0f);
    EXPECT_EQ(s.backgroundMode, 0x80FFFF);
    const Colour pale = static_cast<Colour>(s.backgroundMode);
    EXPECT_EQ(RedOf(pale), 255);
    EXPECT_EQ(GreenOf(pale), 255);
    EXPECT_EQ(BlueOf(pale), 128);
    EXPECT_EQ(s.drawColour, Rgb(255, 0, 0));
    EXPECT_EQ(s.rangeSize, 30);
    EXPECT_EQ(s.tolerance, 5);
    EXPECT_EQ(s.showNavigator, 0);
    EXPECT_EQ(s.animationRings, 3);
    EXPECT_EQ(s.print.paperSize, 9);
    EXPECT_EQ(s.print.orientation, 1);

    EXPECT_EQ(setting::kFirstTrans.Read(empty), 1);
    EXPECT_EQ(setting::kMakeBackup.Read(empty), 1);
    EXPECT_EQ(setting::kQuality.Read(empty), 100);
    EXPECT_EQ(setting::kBkImage.Read(empty), "");
}

TEST(AppSettings, ColoursAreSignedTextReadLikeAtol) {
    MemorySettings store;
    store.WriteText("Last", "refPen", "");
    EXPECT_EQ(setting::kRefPen.ReadColour(store), 255u);
    store.WriteText("Last", "refPen", "abc");
    EXPECT_EQ(setting::kRefPen.ReadColour(store), 0u);
    store.WriteText("Last", "refPen", "65280xyz");
    EXPECT_EQ(setting::kRefPen.ReadColour(store), 0x00FF00u);

    store.WriteText("Last", "refBk", "-2");
    AppSettings s;
    s.ReadAtStartup(store);
    EXPECT_EQ(s.backgroundMode, -2);  // the checkerboard

    // "No colour" (all bits set) is kept as -1, not as 4294967295.
    setting::kRefSelLine.WriteColour(store, kNoColour);
    EXPECT_EQ(store.ReadText("Last", "refSelLine"), "-1");
    EXPECT_EQ(setting::kRefSelLine.ReadColour(store), kNoColour);
}

TEST(AppSettings, ZoomIsKeptInTenthsAndReadsWithinFiftyToEightHundredPercent) {
    MemorySettings store;
    const auto zoomAfter = [&store](int stored) {
        store.WriteInt("Last", "Zoom", stored);
        AppSettings s;
        s.ReadAtStartup(store);
        return s.zoomFactor;
    };
    EXPECT_FLOAT_EQ(zoomAfter(5), 0.5f);
    EXPECT_FLOAT_EQ(zoomAfter(15), 1.5f);  // not one of the menu's factors, but kept
    EXPECT_FLOAT_EQ(zoomAfter(80), 8.0f);
    EXPECT_FLOAT_EQ(zoomAfter(79), 7.9f);
    // Beyond the levels: the nearer end, so nothing divides by zero or overflows.
    EXPECT_FLOAT_EQ(zoomAfter(4), 0.5f);
    EXPECT_FLOAT_EQ(zoomAfter(1), 0.5f);
    // Not a zoom at all: the default, so nothing divides by zero.
    EXPECT_FLOAT_EQ(zoomAfter(0), 1.0f);
    EXPECT_FLOAT_EQ(zoomAfter(-3), 1.0f);
    EXPECT_FLOAT_EQ(zoomAfter(std::numeric_limits<int>::min()), 1.0f);
    EXPECT_FLOAT_EQ(zoomAfter(81), 8.0f);
    EXPECT_FLOAT_EQ(zoomAfter(std::numeric_limits<int>::max()), 8.0f);

    for (const float factor : {0.5f, 1.0f, 2.0f, 4.0f, 8.0f}) {
        WriteZoomFactor(store, factor);
        EXPECT_FLOAT_EQ(ReadZoomFactor(store), factor);
    }
    EXPECT_EQ(StoredFromZoomFactor(0.5f), 5);
    EXPECT_EQ(StoredFromZoomFactor(1.26f), 12);  // truncated, not rounded
    EXPECT_EQ(StoredFromZoomFactor(std::numeric_limits<float>::quiet_NaN()), 10);
    EXPECT_EQ(StoredFromZoomFactor(1e30f), std::numeric_limits<int>::max());
}

TEST(AppSettings, PenAngleIsKeptInTenThousandths) {
    MemorySettings store;
    store.WriteInt("Last", "Rad", 10000);
    EXPECT_DOUBLE_EQ(ReadPenAngle(store), 1.0);
    store.WriteInt("Last", "Rad", -31416);
    EXPECT_DOUBLE_EQ(ReadPenAngle(store), -3.1416);

    AppSettings s;
    s.penAngle = 0.5;
    s.WriteAtShutdown(store);
    EXPECT_EQ(store.ReadInt("Last", "Rad"), 5000);
    EXPECT_EQ(StoredFromPenAngle(0.12349), 1234);
    EXPECT_EQ(StoredFromPenAngle(-0.12349), -1234);
    EXPECT_EQ(StoredFromPenAngle(-1e300), std::numeric_limits<int>::min());
}

TEST(AppSettings, OnlyOrientationTwoReadsAsLandscape) {
    MemorySettings store;
    for (const auto& [stored, expected] : {std::pair{1, 1}, {2, 2}, {7, 1}, {0, 1}, {-2, 1}}) {
        store.WriteInt("Insatu", "Orientation", stored);
        AppSettings s;
        s.ReadPrinterDefaults(store);
        EXPECT_EQ(s.print.orientation, expected) << stored;
        s.print.orientation = 0;
        s.ReadPrintSettings(store);
        EXPECT_EQ(s.print.orientation, expected) << stored;
    }
}

TEST(AppSettings, StartupReadsInTheFixedOrder) {
    RecordingStore store;
    AppSettings s;
    s.ReadPrinterDefaults(store);
    EXPECT_EQ(store.reads,
              InLast({"Insatu\\PrinterName", "Insatu\\PaperSize", "Insatu\\Orientation"}));

    store.reads.clear();
    s.ReadAtStartup(store);
    EXPECT_EQ(store.reads, InLast({"DspRGB",
                                   "StopCur",
                                   "Zoom",
                                   "KinjiAll",
                                   "Kinji",
                                   "HaniAll",
                                   "Hani",
                                   "Flat",
                                   "FlatH",
                                   "Rad",
                                   "refBk",
                                   "refPen",
                                   "refSelLine",
                                   "Mode",
                                   "DspNavi",
                                   "PenStyle",
                                   "refBarrierLine",
                                   "refBarrierPos",
                                   "refBarrierNum",
                                   "refBarrierSelLine",
                                   "refBarrierSelPos",
                                   "refBarrierSelNum",
                                   "DspBarrierPos",
                                   "DspBarrierNum",
                                   "RoundR"}));

    store.reads.clear();
    s.ReadAfterRibbon(store);
    EXPECT_EQ(store.reads,
              InLast({"KanSet\\PlayAnime", "KanSet\\SpeedAnime", "DspGuide", "DspTip"}));

    store.reads.clear();
    s.ReadFirstOpen(store);
    EXPECT_EQ(store.reads, InLast({"FirstOpen"}));
    EXPECT_TRUE(store.writes.empty());
}

TEST(AppSettings, ShutdownWritesInTheFixedOrder) {
    RecordingStore store;
    AppSettings{}.WriteAtShutdown(store);
    EXPECT_EQ(store.writes, InLast({"DspRGB",
                                    "DspGuide",
                                    "StopCur",
                                    "KanSet\\PlayAnime",
                                    "KanSet\\SpeedAnime",
                                    "DspTip",
                                    "Zoom",
                                    "KinjiAll",
                                    "Kinji",
                                    "HaniAll",
                                    "Hani",
                                    "Flat",
                                    "FlatH",
                                    "Rad",
                                    "refBk",
                                    "refPen",
                                    "refSelLine",
                                    "Mode",
                                    "DspNavi",
                                    "PenStyle",
                                    "refBarrierLine",
                                    "refBarrierPos",
                                    "refBarrierNum",
                                    "refBarrierSelLine",
                                    "refBarrierSelPos",
                                    "refBarrierSelNum",
                                    "DspBarrierPos",
                                    "DspBarrierNum",
                                    "RoundR"}));
    EXPECT_TRUE(store.reads.empty());
}

TEST(AppSettings, WhatShutdownWritesTheNextStartReadsBack) {
    MemorySettings store;
    const AppSettings before = Changed();
    before.WriteAtShutdown(store);
    AppSettings after;
    after.ReadAtStartup(store);
    after.ReadAfterRibbon(store);
    EXPECT_FLOAT_EQ(after.zoomFactor, 8.0f);
    EXPECT_DOUBLE_EQ(after.penAngle, -1.2345);
    after.penAngle = before.penAngle;  // compared above; storage keeps four decimals only
    EXPECT_EQ(after, before);
}

TEST(AppSettings, OnDemandGroupsRoundTripWithoutTouchingEachOther) {
    MemorySettings store;
    AppSettings before;
    before.navigator = {-40, 12, 300, 200};
    before.print = {8, 2, 1, 2, 3, 4, 1, 3, 1, 50, 60, 800, 600, 1, "/PDF"};
    before.barrierFiles = {"/a/one.bar", "C:\\b\\two.bar", "", "四.bar", "five.bar"};
    before.rangeSize = 77;
    before.WriteNavigator(store);
    before.WritePrintSettings(store);
    before.WriteBarrierHistory(store);

    AppSettings after;
    after.ReadNavigator(store);
    after.ReadPrintSettings(store);
    after.ReadBarrierHistory(store);
    EXPECT_EQ(after.navigator, before.navigator);
    EXPECT_EQ(after.print, before.print);
    EXPECT_EQ(after.barrierFiles, before.barrierFiles);

    // The pen's range size and the print range share the key name "Hani" in two sections.
    before.WriteAtShutdown(store);
    after.ReadAtStartup(store);
    after.ReadPrintSettings(store);
    EXPECT_EQ(after.rangeSize, 77);
    EXPECT_EQ(after.print.pageRange, 3);
}

}  // namespace
}  // namespace palvex
