#pragma once

#include <array>
#include <string_view>

#include "resources/language.h"

namespace palvex::texts {

// Texts the system shows that have no string-table number: dialog captions, filter labels and
// the detail lines put in front of numbered messages.

inline constexpr std::string_view kAppTitle = "Palvex";
inline constexpr Text kUntitledDocument = PALVEX_TEXT("Texts", "(未セット)");
inline constexpr Text kSaveChangesQuestion = PALVEX_TEXT("Texts", "%1 への変更を保存しますか?");
inline constexpr Text kDocumentOpenFailed =
    PALVEX_TEXT("Texts", "ドキュメントを開くことに失敗しました");

// Menu and ribbon tab names.
inline constexpr Text kApplicationMenu = PALVEX_TEXT("Texts", "ファイル");
inline constexpr Text kHomeTab = PALVEX_TEXT("Texts", "ホーム   WClick , Ctrl+F1");
inline constexpr Text kPenTab = PALVEX_TEXT("Texts", "ペンモード");
inline constexpr Text kBarrierTab = PALVEX_TEXT("Texts", "バリアモード");

// The document framework's own save dialog, used when the opened file cannot be written back.
inline constexpr Text kDocumentFilterLabel =
    PALVEX_TEXT("Texts", "イメージファイル(*.jpg;*.jpeg;*.gif;*.bmp)");
inline constexpr std::string_view kDocumentFilterPatterns = "*.jpg;*.jpeg;*.bmp;*.gif";

// The open dialog (also used to choose the free background picture).
inline constexpr Text kOpenDialogTitle = PALVEX_TEXT("Texts", "ファイルを指定");
struct FilterText {
    Text label;
    std::string_view patterns;
};
inline constexpr std::array<FilterText, 6> kOpenFilters = {{
    {PALVEX_TEXT("Texts", "イメージファイル(jpeg, gif, bmp, png, tiff) "),
     "*.jpg;*.jpeg;*.gif;*.bmp;*.png;*.tif;*.tiff"},
    {PALVEX_TEXT("Texts", "JPEGファイル(*.jpeg)"), "*.jpg;*.jpeg"},
    {PALVEX_TEXT("Texts", "GIFファイル(*.gif)"), "*.gif"},
    {PALVEX_TEXT("Texts", "ビットマップファイル(*.bmp)"), "*.bmp"},
    {PALVEX_TEXT("Texts", "PNGファイル(*.png)"), "*.png"},
    {PALVEX_TEXT("Texts", "TIFFファイル(*.tiff)"), "*.tif;*.tiff"},
}};

// The detail prefix of a failed image re-creation (undo of a step that changed the size).
inline constexpr Text kImagePrefix = PALVEX_TEXT("Texts", "イメージ用");

// Detail prefixes of the loader's BMP checks.
inline constexpr Text kFileOpenErrorLine = PALVEX_TEXT("Texts", "ファイルオープンエラー\n");
inline constexpr Text kMemoryErrorLine = PALVEX_TEXT("Texts", "メモリ確保エラー\n");
inline constexpr Text kReadErrorLine = PALVEX_TEXT("Texts", "データ読込みエラー\n");
inline constexpr Text kFormatErrorLine = PALVEX_TEXT("Texts", "形式判別エラー\n");

// Detail texts of the bitmap writer, one a step, shown directly before message 30011.
inline constexpr Text kBmpHeaderError = PALVEX_TEXT("Texts", "BITMAPINFOHEADER取得エラー");
inline constexpr Text kBmpPixelBufferError = PALVEX_TEXT("Texts", "配列確保用領域作成エラー");
inline constexpr Text kBmpInfoBufferError = PALVEX_TEXT("Texts", "BITMAPINFO用領域作成エラー");
inline constexpr Text kBmpFileOpenError = PALVEX_TEXT("Texts", "ファイルオープンエラー");
inline constexpr Text kBmpFileHeaderWriteError =
    PALVEX_TEXT("Texts", "BITMAPFILEHEADER書き込みエラー");
inline constexpr Text kBmpWorkBitmapError = PALVEX_TEXT("Texts", "作業用ビットマップ作成エラー");
inline constexpr Text kBmpConversionError = PALVEX_TEXT("Texts", "ビット配列取得エラー");
inline constexpr Text kBmpInfoWriteError = PALVEX_TEXT("Texts", "BITMAPINFO書き込みエラー");
inline constexpr Text kBmpPixelWriteError = PALVEX_TEXT("Texts", "ビット配列書き込みエラー");

// The barrier tab: the label of the placing button while placing, the timer button's countdown
// ("%d" the seconds left), and the barrier file dialogs.
inline constexpr Text kEndAddingLabel = PALVEX_TEXT("Texts", "追加 終了");
inline constexpr Text kTimerLabel = PALVEX_TEXT("Texts", "%d秒");
inline constexpr Text kBarrierFilterLabel = PALVEX_TEXT("Texts", "バリアファイル(*.bar)");
inline constexpr std::string_view kBarrierFilterPatterns = "*.bar";
inline constexpr std::string_view kBarrierDefaultExtension = "bar";

// The save-as dialog.
inline constexpr Text kSaveDialogTitle = PALVEX_TEXT("Texts", "保存するファイルを指定");
inline constexpr Text kSaveDialogInitialName = PALVEX_TEXT("Texts", "無題");
inline constexpr std::string_view kSaveDialogDefaultExtension = "gif";

// Labels of the sixteen save formats, in their order.
inline constexpr std::array<Text, 16> kSaveFormatLabels = {
    PALVEX_TEXT("Texts", "モノクロ BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "16色 BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "16色(圧縮) BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "256色 BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "256色(圧縮) BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "16bit色 BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "24bit色 BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "32bit色 BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "JPEGファイル(*.jpeg)"),
    PALVEX_TEXT("Texts", "GIFファイル(*.gif)"),
    PALVEX_TEXT("Texts", "PNGファイル(*.png)"),
    PALVEX_TEXT("Texts", "TIFFファイル(*.tiff)"),
    PALVEX_TEXT("Texts", "透過BITMAPファイル(*.bmp)"),
    PALVEX_TEXT("Texts", "透過GIFファイル(*.gif)"),
    PALVEX_TEXT("Texts", "透過PNGファイル(*.png)"),
    PALVEX_TEXT("Texts", "透過TIFFファイル(*.tiff)"),
};

// The JPEG quality dialog.
inline constexpr Text kQualityDialogCaption = PALVEX_TEXT("Texts", "画質設定");
inline constexpr Text kQualityLabel = PALVEX_TEXT("Texts", "画質：");
inline constexpr Text kQualityRange = PALVEX_TEXT("Texts", "低画質　←・→　高画質");
inline constexpr Text kQualityOk = PALVEX_TEXT("Texts", "決定(&S)");
inline constexpr Text kQualityCancel = PALVEX_TEXT("Texts", "中止(&C)");

// The application button's tooltip and the heading of the recent files beside its menu.
inline constexpr Text kApplicationButtonTip = PALVEX_TEXT("Texts", "ファイル");
inline constexpr Text kRecentFilesHeading = PALVEX_TEXT("Texts", "最近使ったファイル");

// Colour buttons: the automatic entry (no colour), the colour dialog entry, and the group of
// suggested key colours on the transparent colour button.
inline constexpr Text kAutomaticColour = PALVEX_TEXT("Texts", "自動");
inline constexpr Text kMoreColours = PALVEX_TEXT("Texts", "その他の色");
inline constexpr Text kSuggestedColours = PALVEX_TEXT("Texts", "推奨");
inline constexpr Text kStandardColours = PALVEX_TEXT("Texts", "標準の色");

// The pen-shape gallery: its heading and one name an item.
inline constexpr Text kPenStyleHeading = PALVEX_TEXT("Texts", "ペンスタイル");
inline constexpr std::array<Text, 3> kPenShapeNames = {
    PALVEX_TEXT("Texts", "四角形"), PALVEX_TEXT("Texts", "円形"), PALVEX_TEXT("Texts", "三角形")};

// The key help of the pen tab, one line a key.
inline constexpr std::array<Text, 12> kKeyHelpLines = {
    PALVEX_TEXT("Texts", "F1 - 取扱説明書の表示\n"),
    PALVEX_TEXT("Texts", "F2 - ステータスバーへの操作ガイド表示・非表示\n"),
    PALVEX_TEXT("Texts", "F3 - マウスカーソル位置へのRGB値表示・非表示\n"),
    PALVEX_TEXT("Texts", "F4 - 扁平方向の切替え\n"),
    PALVEX_TEXT("Texts", "F5 - ペン形状～矩形\n"),
    PALVEX_TEXT("Texts", "F6 - ペン形状～だ円\n"),
    PALVEX_TEXT("Texts", "F7 - ペン形状～三角形\n"),
    PALVEX_TEXT("Texts", "F8 - ナビの表示・非表示\n"),
    PALVEX_TEXT("Texts", "F9 - 非描画色上でのマウスカーソル一時停止\n"),
    PALVEX_TEXT("Texts", "F10- アニメの表示・非表示\n"),
    PALVEX_TEXT("Texts", "F11- リボンメニューの表示・非表示\n"),
    PALVEX_TEXT("Texts", "F12- このキー説明の表示・非表示"),
};

// Status bar panes: the text that sets each width, and the tooltips.
inline constexpr std::string_view kProgressPaneSample = "99999999999999999999";
inline constexpr Text kAnglePaneSample = PALVEX_TEXT("Texts", " 360度 ");
inline constexpr std::string_view kColourPaneSample = "255, 255, 255";
// Five digits, not four: images of up to 2^28 pixels are 10000 and more pixels wide or high.
inline constexpr std::string_view kPositionPaneSample = "99999, 99999";
inline constexpr std::string_view kSizePaneSample = "99999×99999";
inline constexpr std::string_view kCursorPaneSample = "99999, 99999";
inline constexpr Text kProgressPaneTip = PALVEX_TEXT("Texts", "処理の進行状況を表示します。");
inline constexpr Text kAnglePaneTip = PALVEX_TEXT("Texts", "処理範囲矩形の角度です");
inline constexpr Text kColourPaneTip =
    PALVEX_TEXT("Texts", "マウスカーソル位置のイメージの色(RGB値)です。");
inline constexpr Text kPositionPaneTip =
    PALVEX_TEXT("Texts", "左上を(0, 0)としたイメージ内の位置です。単位：ピクセル");
inline constexpr Text kSizePaneTip =
    PALVEX_TEXT("Texts", "イメージ全体または選択矩形の幅と高さです。単位：ピクセル");
inline constexpr Text kCursorPaneTip =
    PALVEX_TEXT("Texts", "マウスカーソルのイメージ内での現在位置です。単位：ピクセル");
// Pane formats.
inline constexpr Text kAngleFormat = PALVEX_TEXT("Texts", "%1度");
inline constexpr std::string_view kSizeFormat = "%1×%2";
// The canvas as a screen reader names it: the document's title and the image's size.
inline constexpr std::string_view kCanvasNameFormat = "%1, %2";

// The guide line while the pointer is held on a colour it does not draw over.
inline constexpr Text kGuideCursorHeld =
    PALVEX_TEXT("Texts", "Ctrlキーを押しながらマウスカーソルを自由に移動させることができます");

// The flattening direction button: the height is shortened (vertical) or the width (horizontal).
inline constexpr Text kFlatVerticalLabel = PALVEX_TEXT("Texts", "扁平方向:垂直");
inline constexpr Text kFlatHorizontalLabel = PALVEX_TEXT("Texts", "扁平方向:水平");

// The label of ID_SAME_TRANS while the drawing colour already is the key.
inline constexpr Text kDrawColourIsKeyLabel = PALVEX_TEXT("Texts", "現在の描画色＝透過色");

// A switch notice names the state switched on; switched off, one word changes.
inline constexpr Text kSwitchOnWord = PALVEX_TEXT("Texts", "する");
inline constexpr Text kSwitchOffWord = PALVEX_TEXT("Texts", "しない");
inline constexpr Text kStopOnWord = PALVEX_TEXT("Texts", "める");
inline constexpr Text kStopOffWord = PALVEX_TEXT("Texts", "めない");
// The range hints name the mouse direction; the flattening direction swaps them.
inline constexpr Text kVertical = PALVEX_TEXT("Texts", "上下");
inline constexpr Text kHorizontal = PALVEX_TEXT("Texts", "左右");

// The size dialog: the side a percentage would give (before message 30018), and the label of a
// pixel limit.
inline constexpr Text kWidthWouldBe = PALVEX_TEXT("Texts", "横サイズが、%1pixel になります");
inline constexpr Text kHeightWouldBe = PALVEX_TEXT("Texts", "縦サイズが、%1pixel になります");
inline constexpr Text kPixelLimitLabel = PALVEX_TEXT("Texts", "Pixel　　(1～%1Pixel)");

// The angle and size dialogs.
inline constexpr Text kAngleDialogCaption = PALVEX_TEXT("Texts", "角度指定");
inline constexpr Text kAngleLabel = PALVEX_TEXT("Texts", "回転角度：");
inline constexpr Text kDegreeUnit = PALVEX_TEXT("Texts", "度");
inline constexpr Text kSizeDialogCaption = PALVEX_TEXT("Texts", "サイズ指定");
inline constexpr Text kSizeInPercent = PALVEX_TEXT("Texts", "パーセント指定");
inline constexpr Text kSizeInPixels = PALVEX_TEXT("Texts", "ピクセル指定");
inline constexpr Text kWidthLabel = PALVEX_TEXT("Texts", "横：");
inline constexpr Text kHeightLabel = PALVEX_TEXT("Texts", "縦：");
inline constexpr Text kPercentRangeLabel = PALVEX_TEXT("Texts", "%　　(1～200%)");
inline constexpr Text kKeepAspect = PALVEX_TEXT("Texts", "縦横比を固定する(&F)");
inline constexpr Text kDialogRun = PALVEX_TEXT("Texts", "実行(&S)");
inline constexpr Text kDialogCancel = PALVEX_TEXT("Texts", "中止(&C)");

// A clipboard picture that cannot be pasted: the line before message 30027.
inline constexpr Text kSetErrorLine = PALVEX_TEXT("Texts", "セットエラー\n");
// The clipboard refused the picture of a copy or a cut (a cut then erases nothing).
inline constexpr Text kClipboardWriteFailed =
    PALVEX_TEXT("Texts", "クリップボードへのコピーに失敗しました");

// The environment settings dialog.
inline constexpr Text kKansetCaption = PALVEX_TEXT("Texts", "システムの環境設定");
inline constexpr Text kKansetFirstOpen = PALVEX_TEXT("Texts", "1 起動時に前回のファイルを開く(&L)");
inline constexpr Text kKansetMakeBackup =
    PALVEX_TEXT("Texts", "2 上書き保存時バックアップファイルを作成する(&B)");
inline constexpr Text kKansetFirstTrans = PALVEX_TEXT("Texts", "3 透過色の初期値");
inline constexpr Text kKansetFirstTransNote =
    PALVEX_TEXT("Texts", "※ 透過色のないイメージを最初に開いたときにセットされます。");
inline constexpr std::array<Text, 5> kKansetKeyTips = {
    PALVEX_TEXT("Texts", "黒色\nRGB(0, 0, 0)"), PALVEX_TEXT("Texts", "白色\nRGB(255, 255, 255)"),
    PALVEX_TEXT("Texts", "赤色\nRGB(255, 0, 0)"), PALVEX_TEXT("Texts", "緑色\nRGB(0, 255, 0)"),
    PALVEX_TEXT("Texts", "青色\nRGB(0, 0, 255)")};
inline constexpr Text kKansetGuide =
    PALVEX_TEXT("Texts", "4 ステータスバーに操作ガイドを表示する(&G)");
inline constexpr Text kKansetRgb =
    PALVEX_TEXT("Texts", "5 マウスカーソル位置にRGB値を表示する(&R)");
inline constexpr Text kKansetRgbNote = PALVEX_TEXT(
    "Texts", "※ 透過ペンモード等のときに、処理対象となっている色を知ることができます。");
inline constexpr Text kKansetStopCursor =
    PALVEX_TEXT("Texts", "6 非描画色上でマウスカーソルを一時停止させる(&Z)");
inline constexpr Text kKansetStopCursorNote =
    PALVEX_TEXT("Texts", "※ ペンモードのとき、非描画色上でカーソルを止めることができます。");
inline constexpr Text kKansetAnimation =
    PALVEX_TEXT("Texts", "7 オブジェクト上にマウスカーソルが乗ったとき、アニメを表示する(&A)");
inline constexpr Text kKansetAnimationCount = PALVEX_TEXT("Texts", "表示するアニメの個数：");
inline constexpr Text kKansetAnimationCountHint = PALVEX_TEXT("Texts", "(1 - 10個)");
inline constexpr Text kKansetAnimationSpeed = PALVEX_TEXT("Texts", "アニメ表示速度：");
inline constexpr Text kKansetFast = PALVEX_TEXT("Texts", "速い");
inline constexpr Text kKansetSlow = PALVEX_TEXT("Texts", "遅い");
inline constexpr Text kKansetKeyHelp = PALVEX_TEXT(
    "Texts", "8 「ペンモード」メニューにマウスカーソルが乗ったとき、Fキーの説明を表示する(&T)");
inline constexpr std::array<Text, 5> kKansetSwitchKeys = {
    PALVEX_TEXT("Texts", "[切替え:F2]"), PALVEX_TEXT("Texts", "[切替え:F3]"),
    PALVEX_TEXT("Texts", "[切替え:F9]"), PALVEX_TEXT("Texts", "[切替え:F10]"),
    PALVEX_TEXT("Texts", "[切替え:F12]")};
inline constexpr Text kKansetOk = PALVEX_TEXT("Texts", "保存して終了(&S)");
inline constexpr Text kKansetCancel = PALVEX_TEXT("Texts", "閉じる(&C)");

// The recent-file manager.
inline constexpr Text kRecentCaption = PALVEX_TEXT("Texts", "最近使ったファイルの管理");
inline constexpr Text kRecentNumberColumn = PALVEX_TEXT("Texts", "№");
inline constexpr Text kRecentPathColumn = PALVEX_TEXT("Texts", "パス");
inline constexpr Text kRecentDeleteChecked = PALVEX_TEXT("Texts", "チェックのある履歴を削除(&P)");
inline constexpr Text kRecentDeleteAll = PALVEX_TEXT("Texts", "すべての履歴を削除(&A)");
inline constexpr Text kRecentBack = PALVEX_TEXT("Texts", "戻る(&B)");
inline constexpr Text kRecentHint =
    PALVEX_TEXT("Texts", "※ 行をＷクリックするとファイルの場所を表示します。");

// The print dialog.
inline constexpr Text kPrintCaption = PALVEX_TEXT("Texts", "印刷");
inline constexpr Text kPrinterLabel = PALVEX_TEXT("Texts", "1 プリンタ：");
inline constexpr Text kPrinterNameLabel = PALVEX_TEXT("Texts", "プリンタ名：");
inline constexpr Text kPrinterSetup = PALVEX_TEXT("Texts", "設定(&P)");
inline constexpr Text kPortrait = PALVEX_TEXT("Texts", "縦");
inline constexpr Text kLandscape = PALVEX_TEXT("Texts", "横");
inline constexpr Text kPaperLabel = PALVEX_TEXT("Texts", "用紙：");
inline constexpr Text kPaperSizeLabel = PALVEX_TEXT("Texts", "サイズ：");
inline constexpr Text kPaperSizeFormat = PALVEX_TEXT("Texts", "%1 X %2ﾐﾘ");
inline constexpr Text kPrintRangeLabel = PALVEX_TEXT("Texts", "2 印刷範囲：");
inline constexpr Text kAllPages = PALVEX_TEXT("Texts", "すべてのページ(&A)");
inline constexpr Text kCurrentPage = PALVEX_TEXT("Texts", "現在のページ(&N)");
inline constexpr Text kPageRange = PALVEX_TEXT("Texts", "ページ指定(&R)");
inline constexpr Text kFitOnePage = PALVEX_TEXT("Texts", "全1ページ(&J)");
inline constexpr Text kStartPageLabel = PALVEX_TEXT("Texts", "開始：");
inline constexpr Text kEndPageLabel = PALVEX_TEXT("Texts", "- 終了：");
inline constexpr Text kMarginsLabel = PALVEX_TEXT("Texts", "3 余白：(max : 50ﾐﾘ)");
inline constexpr std::array<Text, 4> kMarginNames = {
    PALVEX_TEXT("Texts", "左"), PALVEX_TEXT("Texts", "右"), PALVEX_TEXT("Texts", "上"),
    PALVEX_TEXT("Texts", "下")};
inline constexpr Text kShowMargins = PALVEX_TEXT("Texts", "余白を表示(&M)");
inline constexpr Text kPreviewLabel = PALVEX_TEXT("Texts", "4 プレビュー：");
inline constexpr Text kPageGridFormat = PALVEX_TEXT("Texts", "(ﾖｺ %1 × ﾀﾃ %2 ﾍﾟｰｼﾞ)");
inline constexpr Text kTotalPagesFormat = PALVEX_TEXT("Texts", "/ %1 ﾍﾟｰｼﾞ");
inline constexpr Text kPrintOk = PALVEX_TEXT("Texts", "印刷実行(&S)");
inline constexpr Text kPrintCancel = PALVEX_TEXT("Texts", "中止(&C)");
// Detail lines before message 30064, naming the step whose printer surface failed.
inline constexpr std::string_view kPrinterAtInit = "CreateDC At OnInitDialog\n";
inline constexpr std::string_view kPrinterAtPaperSize = "CreateDC At SetPaperSize\n";
inline constexpr std::string_view kPrinterAtPrintOut = "CreateDC At PrintOut\n";
inline constexpr std::string_view kStartPageAtPrintOut = "StartPage At PrintOut\n";
// With no printer the pages go to a PDF file the user names.
inline constexpr Text kPdfSaveTitle = PALVEX_TEXT("Texts", "PDFファイルに印刷");
inline constexpr Text kPdfFilterLabel = PALVEX_TEXT("Texts", "PDFファイル(*.pdf)");
inline constexpr std::string_view kPdfFilterPatterns = "*.pdf";
inline constexpr std::string_view kPdfExtension = "pdf";
// The printer set-up of the print dialog, and the name the PDF printer goes by there.
inline constexpr Text kPrinterSetupCaption = PALVEX_TEXT("Texts", "プリンタの設定");
inline constexpr std::string_view kPdfPrinterName = "PDF";

// The about box.
inline constexpr Text kAboutCaption = PALVEX_TEXT("Texts", "バージョン情報");
inline constexpr Text kAboutTitle = PALVEX_TEXT("Texts", "Palvex\n（画像背景透過エディタ）");
inline constexpr Text kAboutHistoryLabel = PALVEX_TEXT("Texts", "バージョン情報");
inline constexpr Text kAboutOk = PALVEX_TEXT("Texts", "確認 (&Y)");
inline constexpr Text kAboutVersionFormat = PALVEX_TEXT("Texts", "バージョン %1");
inline constexpr Text kAboutNotice = PALVEX_TEXT(
    "Texts",
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
    "libdeflate - Copyright 2016 Eric Biggers. MIT License.");

// The help window's title comes from string 30174; the manual's file extension.
inline constexpr std::string_view kManualExtension = ".pdf";

}  // namespace palvex::texts
