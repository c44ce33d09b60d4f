#pragma once

#include "graphics/canvas.h"

// The pictures the side-bar draws, from the program's resources. The glyphs
// of the previous/next buttons and the brackets leave out white.
namespace navigate {

inline constexpr graphics::Picture kArrowUp{"AR_TOP", 11, 6, false, graphics::kWhite};
inline constexpr graphics::Picture kArrowDown{"AR_BOTTOM", 11, 6, false, graphics::kWhite};
inline constexpr graphics::Picture kArrowLeft{"AR_LEFT", 16, 13, true, graphics::kWhite};
inline constexpr graphics::Picture kArrowRight{"AR_RIGHT", 16, 13, true, graphics::kWhite};
inline constexpr graphics::Picture kBracketLeft{"BR_LEFT", 4, 22, true, graphics::kWhite};
inline constexpr graphics::Picture kBracketRight{"BR_RIGHT", 4, 22, true, graphics::kWhite};
inline constexpr graphics::Picture kLogo{"KELVA15", 84, 15, false, graphics::kWhite};

inline constexpr graphics::Picture kAllPictures[] = {kArrowUp,     kArrowDown,    kArrowLeft, kArrowRight,
                                                     kBracketLeft, kBracketRight, kLogo};

}  // namespace navigate
