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

// The environment settings dialog.
inline constexpr std::string_view kKansetCaption = "システムの環境設定";
inline constexpr std::string_view kKansetFirstOpen = "1 起動時に前回のファイルを開く(&L)";
inline constexpr std::string_view kKansetMakeBackup =
    "2 上書き保存時バックアップファイルを作成する(&B)";
inline constexpr std::string_view kKansetFirstTrans = "3 透過色の初期値";
inline constexpr std::string_view kKansetFirstTransNote =
    "※ 透過色のないイメージを最初に開いたときにセットされます。";
inline constexpr std::array<std::string_view, 5> kKansetKeyTips = {
    "黒色\nRGB(0, 0, 0)", "白色\nRGB(255, 255, 255)", "赤色\nRGB(255, 0, 0)",
    "緑色\nRGB(0, 255, 0)", "青色\nRGB(0, 0, 255)"};
inline constexpr std::string_view kKansetGuide = "4 ステータスバーに操作ガイドを表示する(&G)";
inline constexpr std::string_view kKansetRgb = "5 マウスカーソル位置にRGB値を表示する(&R)";
inline constexpr std::string_view kKansetRgbNote =
    "※ 透過ペンモード等のときに、処理対象となっている色を知ることができます。";
inline constexpr std::string_view kKansetStopCursor =
    "6 非描画色上でマウスカーソルを一時停止させる(&Z)";
inline constexpr std::string_view kKansetStopCursorNote =
    "※ ペンモードのとき、非描画色上でカーソルを止めることができます。";
inline constexpr std::string_view kKansetAnimation =
    "7 オブジェクト上にマウスカーソルが乗ったとき、アニメを表示する(&A)";
inline constexpr std::string_view kKansetAnimationCount = "表示するアニメの個数：";
inline constexpr std::string_view kKansetAnimationCountHint = "(1 - 10個)";
inline constexpr std::string_view kKansetAnimationSpeed = "アニメ表示速度：";
inline constexpr std::string_view kKansetFast = "速い";
inline constexpr std::string_view kKansetSlow = "遅い";
inline constexpr std::string_view kKansetKeyHelp =
    "8 「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示する(&T)";
inline constexpr std::array<std::string_view, 5> kKansetSwitchKeys = {
    "[切替え:F2]", "[切替え:F3]", "[切替え:F9]", "[切替え:F10]", "[切替え:F12]"};
inline constexpr std::string_view kKansetOk = "保存して終了(&S)";
inline constexpr std::string_view kKansetCancel = "閉じる(&C)";

// The recent-file manager.
inline constexpr std::string_view kRecentCaption = "最近使ったファイルの管理";
inline constexpr std::string_view kRecentNumberColumn = "№";
inline constexpr std::string_view kRecentPathColumn = "パス";
inline constexpr std::string_view kRecentDeleteChecked = "チェックのある履歴を削除(&P)";
inline constexpr std::string_view kRecentDeleteAll = "すべての履歴を削除(&A)";
inline constexpr std::string_view kRecentBack = "戻る(&B)";
inline constexpr std::string_view kRecentHint =
    "※ 行をＷクリックするとファイルの場所を表示します。";

// The print dialog.
inline constexpr std::string_view kPrintCaption = "印刷";
inline constexpr std::string_view kPrinterLabel = "1 プリンタ：";
inline constexpr std::string_view kPrinterNameLabel = "プリンタ名：";
inline constexpr std::string_view kPrinterSetup = "設定(&P)";
inline constexpr std::string_view kPortrait = "縦";
inline constexpr std::string_view kLandscape = "横";
inline constexpr std::string_view kPaperLabel = "用紙：";
inline constexpr std::string_view kPaperSizeLabel = "サイズ：";
inline constexpr std::string_view kPaperSizeFormat = "%1 X %2ﾐﾘ";
inline constexpr std::string_view kPrintRangeLabel = "2 印刷範囲：";
inline constexpr std::string_view kAllPages = "すべてのページ(&A)";
inline constexpr std::string_view kCurrentPage = "現在のページ(&N)";
inline constexpr std::string_view kPageRange = "ページ指定(&R)";
inline constexpr std::string_view kFitOnePage = "全1ページ(&J)";
inline constexpr std::string_view kStartPageLabel = "開始：";
inline constexpr std::string_view kEndPageLabel = "- 終了：";
inline constexpr std::string_view kMarginsLabel = "3 余白：(max : 50ﾐﾘ)";
inline constexpr std::array<std::string_view, 4> kMarginNames = {"左", "右", "上", "下"};
inline constexpr std::string_view kShowMargins = "余白を表示(&M)";
inline constexpr std::string_view kPreviewLabel = "4 プレビュー：";
inline constexpr std::string_view kPageGridFormat = "(ﾖｺ %1 × ﾀﾃ %2 ﾍﾟｰｼﾞ)";
inline constexpr std::string_view kTotalPagesFormat = "/ %1 ﾍﾟｰｼﾞ";
inline constexpr std::string_view kPrintOk = "印刷実行(&S)";
inline constexpr std::string_view kPrintCancel = "中止(&C)";
// Detail lines before message 30064, naming the step whose printer surface failed.
inline constexpr std::string_view kPrinterAtInit = "CreateDC At OnInitDialog\n";
inline constexpr std::string_view kPrinterAtPaperSize = "CreateDC At SetPaperSize\n";
inline constexpr std::string_view kPrinterAtPrintOut = "CreateDC At PrintOut\n";
inline constexpr std::string_view kStartPageAtPrintOut = "StartPage At PrintOut\n";
// With no printer the pages go to a PDF file the user names.
inline constexpr std::string_view kPdfSaveTitle = "PDFファイルに印刷";
inline constexpr std::string_view kPdfFilterLabel = "PDFファイル(*.pdf)";
inline constexpr std::string_view kPdfFilterPatterns = "*.pdf";
inline constexpr std::string_view kPdfExtension = "pdf";
// The printer set-up of the print dialog, and the name the PDF printer goes by there.
inline constexpr std::string_view kPrinterSetupCaption = "プリンタの設定";
inline constexpr std::string_view kPdfPrinterName = "PDF";

// The about box.
inline constexpr std::string_view kAboutCaption = "バージョン情報";
inline constexpr std::string_view kAboutTitle = "Palvex\n（画像背景透過エディタ）";
inline constexpr std::string_view kAboutHistoryLabel = "バージョン情報";
inline constexpr std::string_view kAboutOk = "確認 (&Y)";
inline constexpr std::string_view kAboutVersionFormat = "バージョン %1";
inline constexpr std::string_view kAboutNotice =
    "Copyright (C) 2026 Quorvane\n"
    "このソフトウェアは MIT ライセンスの下で提供されます。同梱の LICENSE（パッケージでは "
    "copyright）をご覧ください。\n"
    "\n"
    "このソフトウェアは次のライブラリを使用しています。各ライブラリの著作権は、それぞれの"
    "著作者に帰属します。\n"
    "\n"
    "Qt 6 - Copyright (C) The Qt Company Ltd. and other contributors. GNU Lesser General Public "
    "License v3 (LGPL-3.0) の下で動的にリンクしています。ライセンス文と Qt のソースコードは "
    "https://www.qt.io/ から入手できます。Qt を利用者が差し替えることができます。\n"
    "\n"
    "libpng - Copyright (C) 1995-2024 The PNG Reference Library Authors. PNG Reference Library "
    "License version 2.\n"
    "\n"
    "libjpeg-turbo - Copyright (C) 2009-2024 D. R. Commander and others; This software is based "
    "in part on the work of the Independent JPEG Group. IJG License, Modified (3-clause) BSD "
    "License, zlib License.\n"
    "\n"
    "giflib - Copyright (C) 1997 Eric S. Raymond and others. MIT License.\n"
    "\n"
    "libtiff - Copyright (C) 1988-1997 Sam Leffler, Copyright (C) 1991-1997 Silicon Graphics, "
    "Inc. libtiff License (BSD-like).\n"
    "\n"
    "zstd - Copyright (C) Meta Platforms, Inc. and affiliates. BSD 3-Clause License.\n"
    "\n"
    "zlib - Copyright (C) 1995-2024 Jean-loup Gailly and Mark Adler. zlib License.\n"
    "\n"
    "libdeflate - Copyright 2016 Eric Biggers. MIT License.";

// The help window's title comes from string 30174; the manual's file extension.
inline constexpr std::string_view kManualExtension = ".pdf";

}  // namespace palvex::texts
