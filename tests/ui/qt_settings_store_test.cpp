#include "app/ui/qt_settings_store.h"

#include <QSettings>
#include <QString>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/recent_files.h"
#include "support/test_support.h"

namespace palvex {
namespace {

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// Every test works on an INI file of its own, never on the user's settings.
class QtSettingsStoreTest : public ::testing::Test {
protected:
    std::filesystem::path IniPath() const { return temp.File("palvex.ini"); }

    std::unique_ptr<QSettings> OpenIni() const {
        return std::make_unique<QSettings>(ToQString(IniPath()), QSettings::IniFormat);
    }

    // Stands for a hand-edited file.
    void WriteIni(const std::string& text) const { std::ofstream(IniPath()) << text; }

    test::TempDir temp;
};

TEST_F(QtSettingsStoreTest, IntegersRoundTripThroughTheFile) {
    const std::vector<int> values = {
        0, 1, -1, 30, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
    {
        auto ini = OpenIni();
        QtSettingsStore store(*ini);
        for (std::size_t i = 0; i < values.size(); ++i) {
            store.WriteInt("Last", "V" + std::to_string(i), values[i]);
        }
        store.Flush();
    }
    auto ini = OpenIni();
    const QtSettingsStore store(*ini);
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(store.ReadInt("Last", "V" + std::to_string(i)), values[i]) << i;
    }
    EXPECT_EQ(store.ReadInt("Last", "Missing"), std::nullopt);
    EXPECT_EQ(store.ReadText("Last", "Missing"), std::nullopt);
    EXPECT_EQ(store.ReadText("Last", "V2"), "-1");
}

TEST_F(QtSettingsStoreTest, TextsRoundTripExactly) {
    const std::vector<std::string> texts = {"",
                                            "C:\\画像\\テスト.png",
                                            "/home/user/猫 & 犬.gif",
                                            "a,b",
                                            " padded ",
                                            "@Variant(x)",
                                            "line\nbreak\ttab",
                                            "%41;#=[x]",
                                            "\"quoted\"",
                                            "-2",
                                            "0012"};
    {
        auto ini = OpenIni();
        QtSettingsStore store(*ini);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            store.WriteText("Recent File List", "File" + std::to_string(i + 1), texts[i]);
        }
    }
    auto ini = OpenIni();
    const QtSettingsStore store(*ini);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(store.ReadText("Recent File List", "File" + std::to_string(i + 1)), texts[i])
            << i;
    }
}

TEST_F(QtSettingsStoreTest, UnreadableIntegersGiveTheDefault) {
    WriteIni(
        "[Last]\n"
        "Zoom=x\n"
        "Kinji=5x\n"
        "Hani=\n"
        "Flat=99999999999\n"
        "FlatH=\" 7 \"\n"
        "Mode=a, b\n"
        "refPen=abc\n"
        "refBk=-2\n"
        "refSelLine=\n"
        "[Insatu]\n"
        "Orientation=7\n");
    auto ini = OpenIni();
    const QtSettingsStore store(*ini);
    EXPECT_EQ(store.ReadInt("Last", "Zoom"), std::nullopt);
    EXPECT_EQ(store.ReadInt("Last", "FlatH"), 7);
    EXPECT_EQ(store.ReadText("Last", "Mode"), "a,b");

    AppSettings s;
    s.ReadPrinterDefaults(store);
    s.ReadAtStartup(store);
    EXPECT_FLOAT_EQ(s.zoomFactor, 1.0f);
    EXPECT_EQ(s.tolerance, 5);
    EXPECT_EQ(s.rangeSize, 30);
    EXPECT_EQ(s.flatness, 0);
    EXPECT_EQ(s.toolMode, 0);
    EXPECT_EQ(s.drawColour, 0u);  // text that is not a number is black, not the default
    EXPECT_EQ(s.backgroundMode, -2);
    EXPECT_EQ(s.selectionLineColour, 0x4A4A4Au);
    EXPECT_EQ(s.print.orientation, 1);
}

TEST_F(QtSettingsStoreTest, SectionsAreSeparateGroups) {
    {
        auto ini = OpenIni();
        QtSettingsStore store(*ini);
        store.WriteInt("Last", "Hani", 77);
        store.WriteInt("Insatu", "Hani", 3);
        store.WriteText("Recent File List", "File1", "/a.png");
    }
    auto ini = OpenIni();
    EXPECT_EQ(ini->value("Last/Hani").toInt(), 77);
    EXPECT_EQ(ini->value("Insatu/Hani").toInt(), 3);
    EXPECT_EQ(ini->value("Recent File List/File1").toString(), QStringLiteral("/a.png"));
}

TEST_F(QtSettingsStoreTest, SettingsAndRecentFilesSurviveARestart) {
    AppSettings before;
    before.zoomFactor = 0.5f;
    before.penAngle = 0.5;
    before.backgroundMode = -2;
    before.drawColour = kNoColour;
    before.toolMode = 5;
    before.animationRings = 0;
    before.animationSpeed = 4;
    before.print.orientation = 2;
    before.barrierFiles[0] = "/バリア/one.bar";
    RecentFileList recent;
    recent.Add("/pictures/old.png");
    recent.Add("C:\\写真\\new.jpg");
    {
        auto ini = OpenIni();
        QtSettingsStore store(*ini);
        before.WriteAtShutdown(store);
        before.WritePrintSettings(store);
        before.WriteBarrierHistory(store);
        recent.Save(store);
    }
    auto ini = OpenIni();
    const QtSettingsStore store(*ini);
    AppSettings after;
    after.ReadPrinterDefaults(store);
    after.ReadAtStartup(store);
    after.ReadAfterRibbon(store);
    after.ReadBarrierHistory(store);
    EXPECT_EQ(after, before);
    EXPECT_EQ(store.ReadInt("Last", "Rad"), 5000);
    EXPECT_EQ(store.ReadInt("Last", "Zoom"), 5);

    RecentFileList loaded;
    loaded.Load(store);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Entry(0), "C:\\写真\\new.jpg");
    EXPECT_EQ(loaded.Entry(1), "/pictures/old.png");
    EXPECT_EQ(loaded.MenuText(0), "&1 new.jpg");
}

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
TEST_F(QtSettingsStoreTest, TheDefaultStoreIsTheUsersQuorvanePalvexFile) {
    // Redirects the user's settings folder for this process only.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ToQString(temp.Path()));
    {
        QtSettingsStore store;
        store.WriteInt("Last", "Zoom", 20);
    }
    const auto file = temp.Path() / "Quorvane" / "Palvex.conf";
    ASSERT_TRUE(std::filesystem::exists(file));
    const QSettings ini(ToQString(file), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Last/Zoom").toInt(), 20);
}
#endif

}  // namespace
}  // namespace palvex
