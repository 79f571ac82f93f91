#pragma once

namespace palvex {

// The commands of the barrier context menus that have no ribbon element.
inline constexpr int kCmdOutsideAtPoint = 355;
inline constexpr int kCmdInsideAtPoint = 356;
inline constexpr int kCmdEraseBarrier = 381;
inline constexpr int kCmdSelectionToBarrier = 392;
inline constexpr int kCmdMultiply2 = 393;
inline constexpr int kCmdThin2 = 394;
inline constexpr int kCmdMultiply3 = 395;
inline constexpr int kCmdThin3 = 396;
inline constexpr int kCmdMultiply5 = 399;
inline constexpr int kCmdThin5 = 400;
inline constexpr int kCmdDeleteVertices = 453;
inline constexpr int kCmdInsert1 = 456;
inline constexpr int kCmdInsert2 = 457;
inline constexpr int kCmdInsert3 = 458;
inline constexpr int kCmdGrow1 = 459;
inline constexpr int kCmdGrow10 = 460;
inline constexpr int kCmdShrink1 = 461;
inline constexpr int kCmdShrink10 = 462;
inline constexpr int kCmdPlaceOnEllipse = 463;
inline constexpr int kCmdPlaceOnRect = 464;

}  // namespace palvex
