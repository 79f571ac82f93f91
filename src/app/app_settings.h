#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/settings_store.h"
#include "image/colour.h"

namespace palvex {

// Every section and key name lives here, so no other code spells one.
namespace setting {

inline constexpr std::string_view kLast = "Last";
inline constexpr std::string_view kNavi = "Navi";
inline constexpr std::string_view kInsatu = "Insatu";
inline constexpr std::string_view kLoad = "Load";
inline constexpr std::string_view kRecentFileList = "Recent File List";
// The environment settings section. The animated pointer's count and speed were always read
// from here but written to "Last" at exit, so a choice never came back after a restart; they
// are now read and written here, which also keeps values that older installs left here.
inline constexpr std::string_view kKanSet = "KanSet";
// The window framework's own section: the application look lives here.
inline constexpr std::string_view kWorkspace = "Workspace";

// An integer value with its default.
struct IntSetting {
    std::string_view section;
    std::string_view key;
    int fallback;

    int Read(const SettingsStore& store) const { return store.GetInt(section, key, fallback); }
    void Write(SettingsStore& store, int value) const { store.WriteInt(section, key, value); }
};

// A text value; missing reads as "".
struct TextSetting {
    std::string_view section;
    std::string_view key;

    std::string Read(const SettingsStore& store) const { return store.GetText(section, key, {}); }
    void Write(SettingsStore& store, std::string_view value) const {
        store.WriteText(section, key, value);
    }
};

// A colour or the background mode: signed decimal text, empty reads as the default.
struct NumberSetting {
    std::string_view section;
    std::string_view key;
    std::int32_t fallback;

    std::int32_t Read(const SettingsStore& store) const {
        return store.GetNumberText(section, key, fallback);
    }
    void Write(SettingsStore& store, std::int32_t value) const {
        store.SetNumberText(section, key, value);
    }
    Colour ReadColour(const SettingsStore& store) const { return static_cast<Colour>(Read(store)); }
    void WriteColour(SettingsStore& store, Colour value) const {
        Write(store, static_cast<std::int32_t>(value));
    }
};

// Section Last: state restored at start-up and written back at exit.
inline constexpr IntSetting kDspRgb{kLast, "DspRGB", 1};
inline constexpr IntSetting kDspGuide{kLast, "DspGuide", 1};
inline constexpr IntSetting kStopCur{kLast, "StopCur", 1};
inline constexpr IntSetting kDspTip{kLast, "DspTip", 1};
inline constexpr IntSetting kZoom{kLast, "Zoom", 10};  // use ReadZoomFactor / WriteZoomFactor
inline constexpr IntSetting kKinjiAll{kLast, "KinjiAll", 0};
inline constexpr IntSetting kKinji{kLast, "Kinji", 5};
inline constexpr IntSetting kHaniAll{kLast, "HaniAll", 0};
inline constexpr IntSetting kHani{kLast, "Hani", 30};
inline constexpr IntSetting kFlat{kLast, "Flat", 0};
inline constexpr IntSetting kFlatH{kLast, "FlatH", 0};
inline constexpr IntSetting kRad{kLast, "Rad", 0};  // use ReadPenAngle / WritePenAngle
inline constexpr NumberSetting kRefBk{kLast, "refBk", 0x80FFFF};
inline constexpr NumberSetting kRefPen{kLast, "refPen", 255};
inline constexpr NumberSetting kRefSelLine{kLast, "refSelLine", 0x4A4A4A};
inline constexpr IntSetting kMode{kLast, "Mode", 0};
inline constexpr IntSetting kDspNavi{kLast, "DspNavi", 0};
inline constexpr IntSetting kPenStyle{kLast, "PenStyle", 0};
inline constexpr NumberSetting kRefBarrierLine{kLast, "refBarrierLine", 0xBDE7BD};
inline constexpr NumberSetting kRefBarrierPos{kLast, "refBarrierPos", 0x7BFFFF};
inline constexpr NumberSetting kRefBarrierNum{kLast, "refBarrierNum", 0xBD8C7B};
inline constexpr NumberSetting kRefBarrierSelLine{kLast, "refBarrierSelLine", 0x399439};
inline constexpr NumberSetting kRefBarrierSelPos{kLast, "refBarrierSelPos", 0x00CECE};
inline constexpr NumberSetting kRefBarrierSelNum{kLast, "refBarrierSelNum", 0x724738};
inline constexpr IntSetting kDspBarrierPos{kLast, "DspBarrierPos", 1};
inline constexpr IntSetting kDspBarrierNum{kLast, "DspBarrierNum", 1};
inline constexpr IntSetting kRoundR{kLast, "RoundR", 1};

// Section Last: read and written by their owners when needed.
inline constexpr IntSetting kFirstOpen{kLast, "FirstOpen", 0};
inline constexpr IntSetting kFirstTrans{kLast, "FirstTrans", 1};
inline constexpr IntSetting kMakeBackup{kLast, "MakeBackup", 1};
inline constexpr TextSetting kBkImage{kLast, "BkImage"};
inline constexpr IntSetting kOpenType{kLast, "OpenType", 1};
inline constexpr IntSetting kQuality{kLast, "Quality", 100};
inline constexpr IntSetting kRot{kLast, "Rot", 0};
inline constexpr IntSetting kCheckPer{kLast, "CheckPer", 1};
inline constexpr IntSetting kSizePerW{kLast, "SizePerW", 100};
inline constexpr IntSetting kSizePerH{kLast, "SizePerH", 100};
inline constexpr IntSetting kFixRitu{kLast, "FixRitu", 1};

// The animated pointer: ring count (0 = off) and speed (0 fast .. 4 slow).
inline constexpr IntSetting kPlayAnime{kKanSet, "PlayAnime", 3};
inline constexpr IntSetting kSpeedAnime{kKanSet, "SpeedAnime", 0};

// The application look (205 .. 219), read when the main window is made and written whenever the
// user picks another.
inline constexpr IntSetting kApplicationLook{kWorkspace, "ApplicationLook", 216};

// Section Navi: the navigator window's placement.
inline constexpr IntSetting kNaviLastPX{kNavi, "LastPX", 0};
inline constexpr IntSetting kNaviLastPY{kNavi, "LastPY", 0};
inline constexpr IntSetting kNaviLastSX{kNavi, "LastSX", 0};
inline constexpr IntSetting kNaviLastSY{kNavi, "LastSY", 0};

// Section Insatu: printing. Orientation is read through ReadOrientation.
inline constexpr IntSetting kPaperSize{kInsatu, "PaperSize", 9};
inline constexpr IntSetting kOrientation{kInsatu, "Orientation", 1};
inline constexpr IntSetting kMarginLmm{kInsatu, "MarginLmm", 25};
inline constexpr IntSetting kMarginRmm{kInsatu, "MarginRmm", 10};
inline constexpr IntSetting kMarginTmm{kInsatu, "MarginTmm", 25};
inline constexpr IntSetting kMarginBmm{kInsatu, "MarginBmm", 10};
inline constexpr IntSetting kAllOne{kInsatu, "AllOne", 0};
inline constexpr IntSetting kPrintHani{kInsatu, "Hani", 1};
inline constexpr IntSetting kDspYohaku{kInsatu, "DspYohaku", 0};
inline constexpr IntSetting kPrintPX{kInsatu, "PX", 0};
inline constexpr IntSetting kPrintPY{kInsatu, "PY", 0};
inline constexpr IntSetting kPrintSX{kInsatu, "SX", 640};
inline constexpr IntSetting kPrintSY{kInsatu, "SY", 480};
inline constexpr IntSetting kPrintZoomed{kInsatu, "Zoomed", 0};
// The printer chosen in the print dialog's set-up: a device name, kPdfPrinter, or empty for the
// system's default.
inline constexpr TextSetting kPrinterName{kInsatu, "PrinterName"};
// No printer queue can be named with a slash, so this never names a device.
inline constexpr std::string_view kPdfPrinter = "/PDF";

// Section Load: the last five barrier files, Bari0 the newest.
inline constexpr int kBarrierHistorySize = 5;
inline constexpr std::array<TextSetting, kBarrierHistorySize> kBari{{
    {kLoad, "Bari0"},
    {kLoad, "Bari1"},
    {kLoad, "Bari2"},
    {kLoad, "Bari3"},
    {kLoad, "Bari4"},
}};

}  // namespace setting

// The zoom is kept as trunc(factor x 10). A stored value of zero or below is no zoom and reads
// as 1; a positive one below 50 % or above 800 % reads as the nearer of the two: the factor
// divides window coordinates and multiplies image sizes (a huge one would overflow them).
// Values between the levels are kept.
float ZoomFactorFromStored(int stored);
int StoredFromZoomFactor(float factor);
float ReadZoomFactor(const SettingsStore& store);
void WriteZoomFactor(SettingsStore& store, float factor);

// The pen angle in radians is kept as trunc(angle x 10000).
double PenAngleFromStored(int stored);
int StoredFromPenAngle(double angle);
double ReadPenAngle(const SettingsStore& store);
void WritePenAngle(SettingsStore& store, double angle);

// 1 portrait, 2 landscape; anything else reads as portrait.
int OrientationFromStored(int stored);
int ReadOrientation(const SettingsStore& store);

struct NavigatorPlacement {
    int left = 0;    // LastPX
    int top = 0;     // LastPY
    int width = 0;   // LastSX; 0 keeps the designed size
    int height = 0;  // LastSY

    friend bool operator==(const NavigatorPlacement&, const NavigatorPlacement&) = default;
};

struct PrintSettings {
    int paperSize = 9;    // PaperSize, 9 = A4
    int orientation = 1;  // Orientation: 1 portrait, 2 landscape
    int marginLeftMm = 25;
    int marginRightMm = 10;
    int marginTopMm = 25;
    int marginBottomMm = 10;
    int fitOnePage = 0;       // AllOne
    int pageRange = 1;        // Hani: 1 all pages, 2 current page, 3 page range
    int showMargins = 0;      // DspYohaku
    int dialogLeft = 0;       // PX
    int dialogTop = 0;        // PY
    int dialogWidth = 640;    // SX
    int dialogHeight = 480;   // SY
    int dialogMaximised = 0;  // Zoomed
    std::string printer;      // PrinterName

    friend bool operator==(const PrintSettings&, const PrintSettings&) = default;
};

// Every user preference and the state restored at the next start, with the defaults of a fresh
// account. The Read/Write functions keep the fixed orders of start-up and shutdown; values that
// their owners read and write on demand go through the setting:: constants or the group
// functions below.
struct AppSettings {
    // Section Last, read at start-up and written at exit.
    int showRgb = 1;          // DspRGB
    int showGuide = 1;        // DspGuide
    int stopCursor = 1;       // StopCur
    int showTip = 1;          // DspTip
    float zoomFactor = 1.0f;  // Zoom
    int allColours = 0;       // KinjiAll: 1 all colours, 0 within the tolerance
    int tolerance = 5;        // Kinji
    int wholeImage = 0;       // HaniAll: 1 whole image, 0 the shape around the pointer
    int rangeSize = 30;       // Hani
    int flatness = 0;         // Flat
    int flatDirection = 0;    // FlatH
    double penAngle = 0.0;    // Rad, radians
    std::int32_t backgroundMode = 0x80FFFF;  // refBk
    Colour drawColour = 255;                 // refPen
    Colour selectionLineColour = 0x4A4A4A;   // refSelLine
    int toolMode = 0;                        // Mode
    int showNavigator = 0;                   // DspNavi
    int penStyle = 0;                        // PenStyle: 0 rectangle, 1 ellipse, 2 triangle
    Colour barrierLineColour = 0xBDE7BD;
    Colour barrierPointColour = 0x7BFFFF;
    Colour barrierNumberColour = 0xBD8C7B;
    Colour barrierSelectedLineColour = 0x399439;
    Colour barrierSelectedPointColour = 0x00CECE;
    Colour barrierSelectedNumberColour = 0x724738;
    int showBarrierPoints = 1;   // DspBarrierPos
    int showBarrierNumbers = 1;  // DspBarrierNum
    int clockwise = 1;           // RoundR

    // Section Last, on demand.
    int firstOpen = 0;            // FirstOpen: reopen recent file 1 at start-up
    int firstTrans = 1;           // FirstTrans: key for files without one (0 black .. 4 blue)
    int makeBackup = 1;           // MakeBackup
    std::string backgroundImage;  // BkImage
    int openType = 1;             // OpenType
    int jpegQuality = 100;        // Quality
    int rotation = 0;             // Rot
    int sizeInPercent = 1;        // CheckPer: 1 percent, 2 pixels
    int sizePercentW = 100;       // SizePerW
    int sizePercentH = 100;       // SizePerH
    int keepAspect = 1;           // FixRitu

    // Section KanSet.
    int animationRings = 3;  // PlayAnime
    int animationSpeed = 0;  // SpeedAnime

    NavigatorPlacement navigator;                                        // section Navi
    PrintSettings print;                                                 // section Insatu
    std::array<std::string, setting::kBarrierHistorySize> barrierFiles;  // section Load

    // Start-up, in this order.
    void ReadPrinterDefaults(const SettingsStore& store);  // PrinterName, PaperSize, Orientation
    void ReadAtStartup(const SettingsStore& store);        // the application's load step
    void ReadAfterRibbon(const SettingsStore& store);      // PlayAnime .. DspTip
    void ReadFirstOpen(const SettingsStore& store);

    void WriteAtShutdown(SettingsStore& store) const;

    // The groups their owners read when they open and write when they change.
    void ReadNavigator(const SettingsStore& store);
    void WriteNavigator(SettingsStore& store) const;
    void ReadPrintSettings(const SettingsStore& store);
    void WritePrintSettings(SettingsStore& store) const;
    void ReadBarrierHistory(const SettingsStore& store);
    void WriteBarrierHistory(SettingsStore& store) const;

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

}  // namespace palvex
