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

// The detail prefix of a failed image re-creation (undo of a step that changed the size).
inline constexpr std::string_view kImagePrefix = "イメージ用";

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

// The barrier tab: the label of the placing button while placing, the timer button's countdown
// ("%d" the seconds left), and the barrier file dialogs.
inline constexpr std::string_view kEndAddingLabel = "追加 終了";
inline constexpr std::string_view kTimerLabel = "%d秒";
inline constexpr std::string_view kBarrierFilterLabel = "バリアファイル(*.bar)";
inline constexpr std::string_view kBarrierFilterPatterns = "*.bar";
inline constexpr std::string_view kBarrierDefaultExtension = "bar";

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

// The application button's tooltip and the heading of the recent files beside its menu.
inline constexpr std::string_view kApplicationButtonTip = "ファイル";
inline constexpr std::string_view kRecentFilesHeading = "最近使ったファイル";

// Colour buttons: the automatic entry (no colour), the colour dialog entry, and the group of
// suggested key colours on the transparent colour button.
inline constexpr std::string_view kAutomaticColour = "自動";
inline constexpr std::string_view kMoreColours = "その他の色";
inline constexpr std::string_view kSuggestedColours = "推奨";
inline constexpr std::string_view kStandardColours = "標準の色";

// The pen-shape gallery: its heading and one name an item.
inline constexpr std::string_view kPenStyleHeading = "ペンスタイル";
inline constexpr std::array<std::string_view, 3> kPenShapeNames = {"四角形", "円形", "三角形"};

// The key help of the pen tab, one line a key.
inline constexpr std::array<std::string_view, 12> kKeyHelpLines = {
    "F1 - 取扱説明書の表示\n",
    "F2 - ステータスバーへの操作ガイド表示・非表示\n",
    "F3 - マウスカーソル位置へのRGB値表示・非表示\n",
    "F4 - 扁平方向の切替え\n",
    "F5 - ペン形状～矩形\n",
    "F6 - ペン形状～だ円\n",
    "F7 - ペン形状～三角形\n",
    "F8 - ナビの表示・非表示\n",
    "F9 - 非描画色上でのマウスカーソル一時停止\n",
    "F10- アニメの表示・非表示\n",
    "F11- リボンメニューの表示・非表示\n",
    "F12- このキー説明の表示・非表示",
};

// Status bar panes: the text that sets each width, and the tooltips.
inline constexpr std::string_view kProgressPaneSample = "99999999999999999999";
inline constexpr std::string_view kAnglePaneSample = " 360度 ";
inline constexpr std::string_view kColourPaneSample = "255, 255, 255";
// Five digits, not four: images of up to 2^28 pixels are 10000 and more pixels wide or high.
inline constexpr std::string_view kPositionPaneSample = "99999, 99999";
inline constexpr std::string_view kSizePaneSample = "99999×99999";
inline constexpr std::string_view kCursorPaneSample = "99999, 99999";
inline constexpr std::string_view kProgressPaneTip = "処理の進行状況を表示します。";
inline constexpr std::string_view kAnglePaneTip = "処理範囲矩形の角度です";
inline constexpr std::string_view kColourPaneTip = "マウスカーソル位置のイメージの色(RGB値)です。";
inline constexpr std::string_view kPositionPaneTip =
    "左上を(0, 0)としたイメージ内の位置です。単位：ピクセル";
inline constexpr std::string_view kSizePaneTip =
    "イメージ全体または選択矩形の幅と高さです。単位：ピクセル";
inline constexpr std::string_view kCursorPaneTip =
    "マウスカーソルのイメージ内での現在位置です。単位：ピクセル";
// Pane formats.
inline constexpr std::string_view kAngleFormat = "%1度";
inline constexpr std::string_view kSizeFormat = "%1×%2";

// The guide line while the pointer is held on a colour it does not draw over.
inline constexpr std::string_view kGuideCursorHeld =
    "Ctrlキーを押しながらマウスカーソルを自由に移動させることができます";

// The flattening direction button: the height is shortened (vertical) or the width (horizontal).
inline constexpr std::string_view kFlatVerticalLabel = "扁平方向:垂直";
inline constexpr std::string_view kFlatHorizontalLabel = "扁平方向:水平";

// The label of ID_SAME_TRANS while the drawing colour already is the key.
inline constexpr std::string_view kDrawColourIsKeyLabel = "現在の描画色＝透過色";

// A switch notice names the state switched on; switched off, one word changes.
inline constexpr std::string_view kSwitchOnWord = "する";
inline constexpr std::string_view kSwitchOffWord = "しない";
inline constexpr std::string_view kStopOnWord = "める";
inline constexpr std::string_view kStopOffWord = "めない";
// The range hints name the mouse direction; the flattening direction swaps them.
inline constexpr std::string_view kVertical = "上下";
inline constexpr std::string_view kHorizontal = "左右";

// The size dialog: the side a percentage would give (before message 30018), and the label of a
// pixel limit.
inline constexpr std::string_view kWidthWouldBe = "横サイズが、%1pixel になります";
inline constexpr std::string_view kHeightWouldBe = "縦サイズが、%1pixel になります";
inline constexpr std::string_view kPixelLimitLabel = "Pixel　　(1～%1Pixel)";

// The angle and size dialogs.
inline constexpr std::string_view kAngleDialogCaption = "角度指定";
inline constexpr std::string_view kAngleLabel = "回転角度：";
inline constexpr std::string_view kDegreeUnit = "度";
inline constexpr std::string_view kSizeDialogCaption = "サイズ指定";
inline constexpr std::string_view kSizeInPercent = "パーセント指定";
inline constexpr std::string_view kSizeInPixels = "ピクセル指定";
inline constexpr std::string_view kWidthLabel = "横：";
inline constexpr std::string_view kHeightLabel = "縦：";
inline constexpr std::string_view kPercentRangeLabel = "%　　(1～200%)";
inline constexpr std::string_view kKeepAspect = "縦横比を固定する(&F)";
inline constexpr std::string_view kDialogRun = "実行(&S)";
inline constexpr std::string_view kDialogCancel = "中止(&C)";

// A clipboard picture that cannot be pasted: the line before message 30027.
inline constexpr std::string_view kSetErrorLine = "セットエラー\n";
// The clipboard refused the picture of a copy or a cut (a cut then erases nothing).
inline constexpr std::string_view kClipboardWriteFailed = "クリップボードへのコピーに失敗しました";

}  // namespace palvex::texts
