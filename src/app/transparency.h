#pragma once

#include <cstdint>

namespace quenmark {

// The window opacities the options offer, as two switches: transparent
// always, and (more) transparent while inactive. 255 is opaque.
struct TTransparencyChoice {
    bool AlwaysTransparent = false;
    bool TransparentWhenInactive = false;
};

struct TTransparency {
    int32_t AlphaActive = 255;
    int32_t AlphaInactive = 255;
};

// The opacities a choice stands for: 208/160 or 208/208 when always
// transparent, otherwise 255/192 or 255/255.
TTransparency TransparencyFor(TTransparencyChoice choice);

// The choice that stored opacities show: always transparent while the
// active opacity is below 255, transparent when inactive while the inactive
// one is below the active one.
TTransparencyChoice TransparencyChoiceOf(int32_t alphaActive, int32_t alphaInactive);

}  // namespace quenmark
