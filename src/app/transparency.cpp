#include "app/transparency.h"

namespace quenmark {

namespace {

constexpr int32_t Opaque = 255;
constexpr int32_t AlwaysActive = 208;
constexpr int32_t AlwaysInactive = 160;
constexpr int32_t OpaqueInactive = 192;

}  // namespace

TTransparency TransparencyFor(TTransparencyChoice choice) {
    if (choice.AlwaysTransparent) {
        return {AlwaysActive, choice.TransparentWhenInactive ? AlwaysInactive : AlwaysActive};
    }
    return {Opaque, choice.TransparentWhenInactive ? OpaqueInactive : Opaque};
}

TTransparencyChoice TransparencyChoiceOf(int32_t alphaActive, int32_t alphaInactive) {
    return {alphaActive < Opaque, alphaInactive < alphaActive};
}

}  // namespace quenmark
