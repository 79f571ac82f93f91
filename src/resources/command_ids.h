#pragma once

// Command values. Each command's label, prompt and ribbon place live in the command table;
// these are the numbers the code refers to.
namespace palvex::cmd {

inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_MRU_FIRST = 57616;  // to 57631
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

inline constexpr int ID_AS_JPEG = 330;
inline constexpr int ID_AS_GIF = 331;
inline constexpr int ID_AS_BMP = 333;
inline constexpr int ID_AS_PNG = 334;
inline constexpr int ID_AS_TIFF = 335;
inline constexpr int ID_AS_NORMAL = 477;
inline constexpr int ID_AS_ALPHA = 478;
inline constexpr int ID_AS_A_BMP = 479;
inline constexpr int ID_AS_A_GIF = 480;
inline constexpr int ID_AS_A_PNG = 481;
inline constexpr int ID_AS_A_TIFF = 482;

inline constexpr int ID_ZOOM_SLIDER = 323;
inline constexpr int ID_ZOOM1 = 337;
inline constexpr int ID_ZOOM2 = 338;
inline constexpr int ID_ZOOM3 = 339;
inline constexpr int ID_ZOOM4 = 340;
inline constexpr int ID_ZOOM5 = 341;
inline constexpr int ID_SEL_CENTER = 345;
inline constexpr int ID_ZOOM_HERE = 347;      // "ここを超ズーム(&Z)"
inline constexpr int ID_ZOOM_100_HERE = 358;  // "倍率100%(&T)"

inline constexpr int ID_TRANS_COL = 32771;
inline constexpr int ID_BK_COL = 32778;
inline constexpr int ID_ALPHA_0 = 537;
inline constexpr int ID_ALPHA1 = 487;
inline constexpr int ID_ALPHA2 = 488;
inline constexpr int ID_ALPHA9 = 496;
inline constexpr int ID_CHANGE_FREEBK = 497;
inline constexpr int ID_TEST_TRANS = 495;

}  // namespace palvex::cmd
