#pragma once

#include <array>
#include <string_view>

namespace palvex::texts {

// Texts the system shows that have no string-table number: dialog captions, filter labels and
// the detail lines put in front of numbered messages.

inline constexpr std::string_view kAppTitle = "Palvex";
inline constexpr std::string_view kUntitledDocument = "(未セット)";
inline constexpr std::string_view kSaveChangesQuestion = "%1 への変更を保存しますか?";
inline constexpr std::string_view kDocumentOpenFailed = "ドキュメントを開くことに失敗しました";

// Menu and ribbon tab names.
inline constexpr std::string_view kApplicationMenu = "ファイル";
inline constexpr std::string_view kHomeTab = "ホーム   WClick , Ctrl+F1";
inline constexpr std::string_view kPenTab = "ペンモード";
inline constexpr std::string_view kBarrierTab = "バリアモード";

// The document framework's own save dialog, used when the opened file cannot be written back.
inline constexpr std::string_view kDocumentFilterLabel =
    "イメージファイル(*.jpg;*.jpeg;*.gif;*.bmp)";
inline constexpr std::string_view kDocumentFilterPatterns = "*.jpg;*.jpeg;*.bmp;*.gif";
inline constexpr std::string_view kDocumentDefaultExtension = "jpg";

// The open dialog (also used to choose the free background picture).
inline constexpr std::string_view kOpenDialogTitle = "ファイルを指定";
struct FilterText {
    std::string_view label;
    std::string_view patterns;
};
inline constexpr std::array<FilterText, 6> kOpenFilters = {{
    {"イメージファイル(jpeg, gif, bmp, png, tiff) ", "*.jpg;*.jpeg;*.gif;*.bmp;*.png;*.tif;*.tiff"},
    {"JPEGファイル(*.jpeg)", "*.jpg;*.jpeg"},
    {"GIFファイル(*.gif)", "*.gif"},
    {"ビットマップファイル(*.bmp)", "*.bmp"},
    {"PNGファイル(*.png)", "*.png"},
    {"TIFFファイル(*.tiff)", "*.tif;*.tiff"},
}};

// Detail prefixes of the loader's BMP checks.
inline constexpr std::string_view kFileOpenErrorLine = "ファイルオープンエラー\n";
inline constexpr std::string_view kMemoryErrorLine = "メモリ確保エラー\n";
inline constexpr std::string_view kReadErrorLine = "データ読込みエラー\n";
inline constexpr std::string_view kFormatErrorLine = "形式判別エラー\n";

// Detail texts of the bitmap writer, one a step, shown directly before message 30011.
inline constexpr std::string_view kBmpHeaderError = "BITMAPINFOHEADER取得エラー";
inline constexpr std::string_view kBmpPixelBufferError = "配列確保用領域作成エラー";
inline constexpr std::string_view kBmpInfoBufferError = "BITMAPINFO用領域作成エラー";
inline constexpr std::string_view kBmpFileOpenError = "ファイルオープンエラー";
inline constexpr std::string_view kBmpFileHeaderWriteError = "BITMAPFILEHEADER書き込みエラー";
inline constexpr std::string_view kBmpWorkBitmapError = "作業用ビットマップ作成エラー";
inline constexpr std::string_view kBmpConversionError = "ビット配列取得エラー";
inline constexpr std::string_view kBmpInfoWriteError = "BITMAPINFO書き込みエラー";
inline constexpr std::string_view kBmpPixelWriteError = "ビット配列書き込みエラー";

// The save-as dialog.
inline constexpr std::string_view kSaveDialogTitle = "保存するファイルを指定";
inline constexpr std::string_view kSaveDialogInitialName = "無題";
inline constexpr std::string_view kSaveDialogDefaultExtension = "gif";

// Labels of the sixteen save formats, in their order.
inline constexpr std::array<std::string_view, 16> kSaveFormatLabels = {
    "モノクロ BITMAPファイル(*.bmp)",
    "16色 BITMAPファイル(*.bmp)",
    "16色(圧縮) BITMAPファイル(*.bmp)",
    "256色 BITMAPファイル(*.bmp)",
    "256色(圧縮) BITMAPファイル(*.bmp)",
    "16bit色 BITMAPファイル(*.bmp)",
    "24bit色 BITMAPファイル(*.bmp)",
    "32bit色 BITMAPファイル(*.bmp)",
    "JPEGファイル(*.jpeg)",
    "GIFファイル(*.gif)",
    "PNGファイル(*.png)",
    "TIFFファイル(*.tiff)",
    "透過BITMAPファイル(*.bmp)",
    "透過GIFファイル(*.gif)",
    "透過PNGファイル(*.png)",
    "透過TIFFファイル(*.tiff)",
};

// The JPEG quality dialog.
inline constexpr std::string_view kQualityDialogCaption = "画質設定";
inline constexpr std::string_view kQualityLabel = "画質：";
inline constexpr std::string_view kQualityRange = "低画質　←・→　高画質";
inline constexpr std::string_view kQualityOk = "決定(&S)";
inline constexpr std::string_view kQualityCancel = "中止(&C)";

}  // namespace palvex::texts
