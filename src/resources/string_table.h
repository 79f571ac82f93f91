#pragma once

#include <string>
#include <string_view>

namespace palvex {

// Numbers of the system's texts. Every user-visible text lives in the string table under its
// number; code refers to it by one of these names, never by a literal.
namespace str {
inline constexpr int kMemoryAllocationFailed = 30001;
inline constexpr int kWorkFolderFailed = 30002;
inline constexpr int kWholeRangeAllColours = 30003;
inline constexpr int kBackupFailed = 30004;
inline constexpr int kFlipFailed = 30005;
inline constexpr int kRotateFailed = 30006;
inline constexpr int kTooFewVertices = 30008;
inline constexpr int kDeleteSelectedVertices = 30009;
inline constexpr int kCannotAddMore = 30010;
inline constexpr int kBitmapSaveFailed = 30011;
inline constexpr int kBitmapInfoFailed = 30012;
inline constexpr int kBitmapKeyScanFailed = 30016;
inline constexpr int kGifManyColours = 30017;
inline constexpr int kSizeOver5000 = 30018;
inline constexpr int kDrawColourIsKey = 30019;
inline constexpr int kUnsupportedFileType = 30020;
inline constexpr int kOleInitFailed = 30021;
inline constexpr int kBackgroundImageFailed = 30022;
inline constexpr int kJpegLosesTransparency = 30023;
inline constexpr int kPasteFailed = 30027;
inline constexpr int kRecentFileMissing = 30033;
inline constexpr int kNoWriteAccess = 30035;
inline constexpr int kExpandFailed = 30036;
inline constexpr int kFileManagerFailed = 30048;
inline constexpr int kFileExists = 30056;
inline constexpr int kPrinterDcFailed = 30064;
inline constexpr int kSavedShowFolder = 30069;
inline constexpr int kSaved = 30070;
inline constexpr int kRibbonInitFailed = 30075;
inline constexpr int kFileNotFound = 30077;
inline constexpr int kPrinterInitFailed = 30082;
inline constexpr int kImageSetFailed = 30088;
// Ours: an undo or redo step whose snapshot is damaged or gone; a snapshot that cannot be stored.
inline constexpr int kSnapshotUnreadable = 30089;
inline constexpr int kSnapshotNotStored = 30090;
// Ours: a file chosen as a barrier file that is not one (binary, empty, a renamed picture).
inline constexpr int kNotBarrierFile = 30091;
// Ours: a large undo step could not be written to the work folder and is held in memory.
inline constexpr int kSnapshotKeptInMemory = 30092;
// Ours: the inside command on a barrier that encloses no pixel of the image.
inline constexpr int kBarrierHasNoInside = 30093;
// Ours: the save dialog confirmed a format that cannot be told; nothing was written.
inline constexpr int kSaveFormatUnknown = 30094;

// Help and about: the missing manual, the manual's name, and the version history (oldest first).
inline constexpr int kManualMissing = 30173;
inline constexpr int kManualName = 30174;
inline constexpr int kHistoryFirst = 30200;
inline constexpr int kHistoryLast = 30205;

// The operation guide of the status bar: hints, mode texts and the switches' notices.
inline constexpr int kGuideMoveBySteps = 30300;
inline constexpr int kGuideClickSide = 30301;
inline constexpr int kGuideDoubleClickCopies = 30302;
inline constexpr int kGuideClickToPaste = 30303;
inline constexpr int kGuidePenMode = 30304;
inline constexpr int kGuideF3 = 30305;
inline constexpr int kGuideFloodFillMode = 30306;
inline constexpr int kGuideEyedropperMode = 30307;
inline constexpr int kGuideFillBackMode = 30308;
inline constexpr int kGuideBarrierMode = 30309;
inline constexpr int kGuideTabTurnsSide = 30310;
inline constexpr int kGuideShiftMovesSide = 30311;
inline constexpr int kGuideF4 = 30312;
inline constexpr int kGuideCtrlRightFlips = 30313;
inline constexpr int kNoticeGuide = 30314;
inline constexpr int kNoticeRgb = 30315;
inline constexpr int kGuideF2 = 30316;
inline constexpr int kGuideF9 = 30317;
inline constexpr int kNoticeStopCursor = 30318;
inline constexpr int kNoticeAnimation = 30319;
inline constexpr int kNoticeKeyHelp = 30320;
inline constexpr int kGuideCtrlWheelZooms = 30353;
inline constexpr int kGuideAddingVertices = 30354;
inline constexpr int kGuideDragVertices = 30355;
inline constexpr int kGuideEscRemovesVertex = 30356;
inline constexpr int kGuideRightDragFlatness = 30357;
inline constexpr int kGuideRightDragSize = 30358;
inline constexpr int kGuideRightWheelAngle = 30359;
inline constexpr int kGuideCtrlRightWheelAngle = 30360;
inline constexpr int kGuideRightDoubleClickStyle = 30361;
inline constexpr int kGuideCtrlMovesImageOnly = 30362;
}  // namespace str

// The text of a string-table entry (UTF-8); empty for an unknown number.
std::string_view LoadString(int id);

// prefix + the entry's text: the shape of every message the system shows.
std::string MessageText(int id, std::string_view prefix = {});

}  // namespace palvex
