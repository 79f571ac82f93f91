#include "app/app_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace palvex {
namespace {

// trunc(value), kept inside the int range: a float or double that does not fit would make the
// conversion undefined. NaN stores as `nanValue`.
int TruncateToInt(double value, int nanValue) {
    if (std::isnan(value)) {
        return nanValue;
    }
    constexpr double kMax = std::numeric_limits<int>::max();
    constexpr double kMin = std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(std::clamp(value, kMin, kMax)));
}

}  // namespace

float ZoomFactorFromStored(int stored) {
    constexpr int kLowest = 5;    // 50 %
    constexpr int kHighest = 80;  // 800 %
    if (stored <= 0) {
        return 1.0f;  // not a zoom at all (garbled or hand-edited): the default
    }
    return static_cast<float>(std::clamp(stored, kLowest, kHighest)) / 10.0f;
}

int StoredFromZoomFactor(float factor) {
    // In single precision, as the factor is kept: 0.5f x 10 is exactly 5.
    return TruncateToInt(factor * 10.0f, setting::kZoom.fallback);
}

float ReadZoomFactor(const SettingsStore& store) {
    return ZoomFactorFromStored(setting::kZoom.Read(store));
}

void WriteZoomFactor(SettingsStore& store, float factor) {
    setting::kZoom.Write(store, StoredFromZoomFactor(factor));
}

double PenAngleFromStored(int stored) {
    return stored / 10000.0;
}

int StoredFromPenAngle(double angle) {
    return TruncateToInt(angle * 10000.0, 0);
}

double ReadPenAngle(const SettingsStore& store) {
    return PenAngleFromStored(setting::kRad.Read(store));
}

void WritePenAngle(SettingsStore& store, double angle) {
    setting::kRad.Write(store, StoredFromPenAngle(angle));
}

int OrientationFromStored(int stored) {
    return stored == 2 ? 2 : 1;
}

int ReadOrientation(const SettingsStore& store) {
    return OrientationFromStored(setting::kOrientation.Read(store));
}

void AppSettings::ReadPrinterDefaults(const SettingsStore& store) {
    print.printer = setting::kPrinterName.Read(store);
    print.paperSize = setting::kPaperSize.Read(store);
    print.orientation = ReadOrientation(store);
}

void AppSettings::ReadAtStartup(const SettingsStore& store) {
    using namespace setting;
    showRgb = kDspRgb.Read(store);
    stopCursor = kStopCur.Read(store);
    zoomFactor = ReadZoomFactor(store);
    allColours = kKinjiAll.Read(store);
    tolerance = kKinji.Read(store);
    wholeImage = kHaniAll.Read(store);
    rangeSize = kHani.Read(store);
    flatness = kFlat.Read(store);
    flatDirection = kFlatH.Read(store);
    penAngle = ReadPenAngle(store);
    backgroundMode = kRefBk.Read(store);
    drawColour = kRefPen.ReadColour(store);
    selectionLineColour = kRefSelLine.ReadColour(store);
    toolMode = kMode.Read(store);
    showNavigator = kDspNavi.Read(store);
    penStyle = kPenStyle.Read(store);
    barrierLineColour = kRefBarrierLine.ReadColour(store);
    barrierPointColour = kRefBarrierPos.ReadColour(store);
    barrierNumberColour = kRefBarrierNum.ReadColour(store);
    barrierSelectedLineColour = kRefBarrierSelLine.ReadColour(store);
    barrierSelectedPointColour = kRefBarrierSelPos.ReadColour(store);
    barrierSelectedNumberColour = kRefBarrierSelNum.ReadColour(store);
    showBarrierPoints = kDspBarrierPos.Read(store);
    showBarrierNumbers = kDspBarrierNum.Read(store);
    clockwise = kRoundR.Read(store);
}

void AppSettings::ReadAfterRibbon(const SettingsStore& store) {
    animationRings = setting::kPlayAnime.Read(store);
    animationSpeed = setting::kSpeedAnime.Read(store);
    showGuide = setting::kDspGuide.Read(store);
    showTip = setting::kDspTip.Read(store);
}

void AppSettings::ReadFirstOpen(const SettingsStore& store) {
    firstOpen = setting::kFirstOpen.Read(store);
}

void AppSettings::WriteAtShutdown(SettingsStore& store) const {
    using namespace setting;
    kDspRgb.Write(store, showRgb);
    kDspGuide.Write(store, showGuide);
    kStopCur.Write(store, stopCursor);
    kPlayAnime.Write(store, animationRings);
    kSpeedAnime.Write(store, animationSpeed);
    kDspTip.Write(store, showTip);
    WriteZoomFactor(store, zoomFactor);
    kKinjiAll.Write(store, allColours);
    kKinji.Write(store, tolerance);
    kHaniAll.Write(store, wholeImage);
    kHani.Write(store, rangeSize);
    kFlat.Write(store, flatness);
    kFlatH.Write(store, flatDirection);
    WritePenAngle(store, penAngle);
    kRefBk.Write(store, backgroundMode);
    kRefPen.WriteColour(store, drawColour);
    kRefSelLine.WriteColour(store, selectionLineColour);
    kMode.Write(store, toolMode);
    kDspNavi.Write(store, showNavigator);
    kPenStyle.Write(store, penStyle);
    kRefBarrierLine.WriteColour(store, barrierLineColour);
    kRefBarrierPos.WriteColour(store, barrierPointColour);
    kRefBarrierNum.WriteColour(store, barrierNumberColour);
    kRefBarrierSelLine.WriteColour(store, barrierSelectedLineColour);
    kRefBarrierSelPos.WriteColour(store, barrierSelectedPointColour);
    kRefBarrierSelNum.WriteColour(store, barrierSelectedNumberColour);
    kDspBarrierPos.Write(store, showBarrierPoints);
    kDspBarrierNum.Write(store, showBarrierNumbers);
    kRoundR.Write(store, clockwise);
}

void AppSettings::ReadNavigator(const SettingsStore& store) {
    navigator.left = setting::kNaviLastPX.Read(store);
    navigator.top = setting::kNaviLastPY.Read(store);
    navigator.width = setting::kNaviLastSX.Read(store);
    navigator.height = setting::kNaviLastSY.Read(store);
}

void AppSettings::WriteNavigator(SettingsStore& store) const {
    setting::kNaviLastPX.Write(store, navigator.left);
    setting::kNaviLastPY.Write(store, navigator.top);
    setting::kNaviLastSX.Write(store, navigator.width);
    setting::kNaviLastSY.Write(store, navigator.height);
}

void AppSettings::ReadPrintSettings(const SettingsStore& store) {
    using namespace setting;
    print.paperSize = kPaperSize.Read(store);
    print.orientation = ReadOrientation(store);
    print.marginLeftMm = kMarginLmm.Read(store);
    print.marginRightMm = kMarginRmm.Read(store);
    print.marginTopMm = kMarginTmm.Read(store);
    print.marginBottomMm = kMarginBmm.Read(store);
    print.fitOnePage = kAllOne.Read(store);
    print.pageRange = kPrintHani.Read(store);
    print.showMargins = kDspYohaku.Read(store);
    print.dialogLeft = kPrintPX.Read(store);
    print.dialogTop = kPrintPY.Read(store);
    print.dialogWidth = kPrintSX.Read(store);
    print.dialogHeight = kPrintSY.Read(store);
    print.dialogMaximised = kPrintZoomed.Read(store);
    print.printer = kPrinterName.Read(store);
}

void AppSettings::WritePrintSettings(SettingsStore& store) const {
    using namespace setting;
    kPaperSize.Write(store, print.paperSize);
    kOrientation.Write(store, print.orientation);
    kMarginLmm.Write(store, print.marginLeftMm);
    kMarginRmm.Write(store, print.marginRightMm);
    kMarginTmm.Write(store, print.marginTopMm);
    kMarginBmm.Write(store, print.marginBottomMm);
    kAllOne.Write(store, print.fitOnePage);
    kPrintHani.Write(store, print.pageRange);
    kDspYohaku.Write(store, print.showMargins);
    kPrintPX.Write(store, print.dialogLeft);
    kPrintPY.Write(store, print.dialogTop);
    kPrintSX.Write(store, print.dialogWidth);
    kPrintSY.Write(store, print.dialogHeight);
    kPrintZoomed.Write(store, print.dialogMaximised);
    kPrinterName.Write(store, print.printer);
}

void AppSettings::ReadBarrierHistory(const SettingsStore& store) {
    for (std::size_t i = 0; i < barrierFiles.size(); ++i) {
        barrierFiles[i] = setting::kBari[i].Read(store);
    }
}

void AppSettings::WriteBarrierHistory(SettingsStore& store) const {
    for (std::size_t i = 0; i < barrierFiles.size(); ++i) {
        setting::kBari[i].Write(store, barrierFiles[i]);
    }
}

}  // namespace palvex
