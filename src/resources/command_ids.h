#pragma once

// Command values. Each command's label, prompt and ribbon place live in the command table;
// these are the numbers the code refers to.
namespace palvex::cmd {

// The framework's standard commands.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_MRU_FIRST = 57616;  // to 57631
inline constexpr int ID_EDIT_CLEAR = 57632;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;  // the framework's Ctrl+Z: nothing handles it
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP = 57670;  // F1

// Application menu.
inline constexpr int ID_AS_JPEG = 330;
inline constexpr int ID_AS_GIF = 331;
inline constexpr int ID_AS_BMP = 333;
inline constexpr int ID_AS_PNG = 334;
inline constexpr int ID_AS_TIFF = 335;
inline constexpr int ID_SETTEI_BTN = 468;
inline constexpr int ID_RECENT_KANRI = 469;
inline constexpr int ID_AS_NORMAL = 477;
inline constexpr int ID_AS_ALPHA = 478;
inline constexpr int ID_AS_A_BMP = 479;
inline constexpr int ID_AS_A_GIF = 480;
inline constexpr int ID_AS_A_PNG = 481;
inline constexpr int ID_AS_A_TIFF = 482;
inline constexpr int ID_KAN_SET = 32791;

// Tab row.
inline constexpr int ID_SHOW_MENU = 324;
inline constexpr int ID_UNDO = 325;
inline constexpr int ID_REDO = 326;
inline constexpr int ID_HELP_DSP = 328;
inline constexpr int ID_NAVI_DSP = 329;
inline constexpr int ID_VIEW_APPLOOK_WIN_2000 = 205;
inline constexpr int ID_VIEW_APPLOOK_OFF_XP = 206;
inline constexpr int ID_VIEW_APPLOOK_WIN_XP = 207;
inline constexpr int ID_VIEW_APPLOOK_OFF_2003 = 208;
inline constexpr int ID_VIEW_APPLOOK_VS_2005 = 209;
inline constexpr int ID_VIEW_APPLOOK_VS_2008 = 210;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_BLUE = 215;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_SILVER = 217;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_AQUA = 218;
inline constexpr int ID_VIEW_APPLOOK_WINDOWS_7 = 219;

// Home tab.
inline constexpr int ID_ZOOM_SLIDER = 323;
inline constexpr int ID_ZOOM1 = 337;
inline constexpr int ID_ZOOM2 = 338;
inline constexpr int ID_ZOOM3 = 339;
inline constexpr int ID_ZOOM4 = 340;
inline constexpr int ID_ZOOM5 = 341;
inline constexpr int ID_SEL_CENTER = 345;
inline constexpr int ID_SEL_LINE_COL = 346;
inline constexpr int ID_ZOOM_HERE = 347;      // "ここを超ズーム(&Z)"
inline constexpr int ID_ZOOM_100_HERE = 358;  // "倍率100%(&T)"
inline constexpr int ID_PAINT = 312;
inline constexpr int ID_SPUIT = 313;
inline constexpr int ID_BARRIER = 315;
inline constexpr int ID_NAVI_LT = 376;
inline constexpr int ID_NAVI_HIDE = 342;
inline constexpr int ID_NAVI_FIT_WIDTH = 535;
inline constexpr int ID_NAVI_FIT_HEIGHT = 536;
inline constexpr int ID_SAME_TRANS = 377;
inline constexpr int ID_PEN = 378;
inline constexpr int ID_REVERSE = 388;
inline constexpr int ID_GRAY_SCALE = 390;
inline constexpr int ID_ROT_X = 471;
inline constexpr int ID_SIZE_50 = 472;
inline constexpr int ID_SIZE_75 = 473;
inline constexpr int ID_SIZE_X = 474;
inline constexpr int ID_REVERSE_H = 489;
inline constexpr int ID_REVERSE_V = 490;
inline constexpr int ID_ROT_90 = 491;
inline constexpr int ID_ROT_180 = 492;
inline constexpr int ID_ROT_270 = 493;
inline constexpr int ID_ROT_BTN = 494;
inline constexpr int ID_TRANS_COL = 32771;
inline constexpr int ID_BK_COL = 32778;
inline constexpr int ID_SELECT = 32790;
inline constexpr int ID_ALPHA_0 = 537;
inline constexpr int ID_ALPHA1 = 487;
inline constexpr int ID_ALPHA2 = 488;
inline constexpr int ID_ALPHA9 = 496;
inline constexpr int ID_CHANGE_FREEBK = 497;
inline constexpr int ID_TEST_TRANS = 495;

// Pen tab.
inline constexpr int ID_HANI_ALL = 317;
inline constexpr int ID_HANI_PART = 318;
inline constexpr int ID_COL_KINJI = 319;
inline constexpr int ID_COL_ALL = 320;
inline constexpr int ID_KINJI_SLIDER = 322;
inline constexpr int ID_PEN_STYLE = 419;
inline constexpr int ID_PEN_TRANS = 423;
inline constexpr int ID_PEN_REAL = 424;
inline constexpr int ID_PEN_FILL = 425;
inline constexpr int ID_HANI_SPIN = 426;
inline constexpr int ID_FLAT_SPIN = 427;
inline constexpr int ID_FLAT_HV = 434;

// Barrier tab.
inline constexpr int ID_BARRIER_LINE_COL = 350;
inline constexpr int ID_BARRIER_POS_COL = 351;
inline constexpr int ID_BARRIER_NUM_COL = 352;
inline constexpr int ID_BARRIER_SEL_LINE_COL = 353;
inline constexpr int ID_BARRIER_SEL_POS_COL = 354;
inline constexpr int ID_BARRIER_SEL_NUM_COL = 359;
inline constexpr int ID_POS_CHECK = 369;
inline constexpr int ID_NUM_CHECK = 370;
inline constexpr int ID_BARRIER_POS_ADD = 379;
inline constexpr int ID_TOKEI = 380;
inline constexpr int ID_ROUND_R = 383;
inline constexpr int ID_ROUND_L = 384;
inline constexpr int ID_CHANGE_SELECT = 398;
inline constexpr int ID_SEIRETU_BTN = 401;
inline constexpr int ID_TO_H_KIN = 402;
inline constexpr int ID_TO_V_KIN = 403;
inline constexpr int ID_ALINE_H = 406;
inline constexpr int ID_ALINE_V = 407;
inline constexpr int ID_COL_BTN = 408;
inline constexpr int ID_BARI_SAVE = 443;
inline constexpr int ID_BARI_LOAD = 444;
inline constexpr int ID_BARI_OUT_TRANS = 445;
inline constexpr int ID_BARI_IN_TRANS = 446;
inline constexpr int ID_LOAD_BARI_1 = 447;  // to 451
inline constexpr int ID_LOAD_CLS = 452;

// Keys and frame handlers without a ribbon element.
inline constexpr int ID_FILL_BACK_MODE = 314;
inline constexpr int ID_RESERVED_416 = 416;  // old menu entries: accepted, no effect
inline constexpr int ID_RESERVED_417 = 417;
inline constexpr int ID_RESERVED_32788 = 32788;
inline constexpr int ID_PEN_RECT = 437;      // F5
inline constexpr int ID_PEN_ELLIPSE = 438;   // F6
inline constexpr int ID_PEN_TRIANGLE = 439;  // F7
inline constexpr int ID_DSP_RGB = 441;       // F3
inline constexpr int ID_DSP_GUIDE = 442;     // F2
inline constexpr int ID_STOP_CUR = 476;      // F9
inline constexpr int ID_DSP_ANIME = 483;     // F10
inline constexpr int ID_DSP_TIP = 484;       // F12

// Items of the canvas context menu that no ribbon element sends.
inline constexpr int ID_PASTE_HERE = 348;
inline constexpr int ID_PASTE_FIRST_SIZE = 349;
inline constexpr int ID_BARI_OUT_HERE = 355;
inline constexpr int ID_BARI_IN_HERE = 356;
inline constexpr int ID_BARI_ERASE = 381;
inline constexpr int ID_BARI_SAVE_AS = 385;
inline constexpr int ID_BARI_LOAD_MENU = 386;
inline constexpr int ID_TRIM = 387;
inline constexpr int ID_SEL_TO_BARRIER = 392;
inline constexpr int ID_POS_TIMES_2 = 393;
inline constexpr int ID_POS_HALF = 394;
inline constexpr int ID_POS_TIMES_3 = 395;
inline constexpr int ID_POS_THIRD = 396;
inline constexpr int ID_POS_TIMES_5 = 399;
inline constexpr int ID_POS_FIFTH = 400;
inline constexpr int ID_POS_DELETE = 453;
inline constexpr int ID_SIDE_ADD_1 = 456;
inline constexpr int ID_SIDE_ADD_2 = 457;
inline constexpr int ID_SIDE_ADD_3 = 458;
inline constexpr int ID_BARI_GROW_1 = 459;
inline constexpr int ID_BARI_GROW_10 = 460;
inline constexpr int ID_BARI_SHRINK_1 = 461;
inline constexpr int ID_BARI_SHRINK_10 = 462;
inline constexpr int ID_POS_ON_ELLIPSE = 463;
inline constexpr int ID_POS_ON_RECT = 464;
inline constexpr int ID_SEL_FILL_KEY = 466;

// Status bar panes and controls.
inline constexpr int ID_PANE_ANGLE = 121;
inline constexpr int ID_PANE_COLOR = 122;
inline constexpr int ID_PANE_PROGRESS = 373;
inline constexpr int ID_PROGRESS_BAR = 374;
inline constexpr int ID_PANE_POS = 375;
inline constexpr int ID_PANE_SIZE = 391;
inline constexpr int ID_PANE_CURSOR = 435;

}  // namespace palvex::cmd
