#include "app/outline_frames.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace quenmark {

namespace {

constexpr int LastFrame = OutlineFrameCount - 1;

TOutlinePoint Rotated(TOutlinePoint point, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {point.X * c - point.Y * s, point.X * s + point.Y * c};
}

// Frame i of the growing half: a rectangle of i/24 of the window's size
// around a centre i/24 of the way from the origin to the window's centre,
// turned by (24 - i) * 7.5 degrees.
TOutlineFrame TurnedFrame(int i, TOutlinePoint origin, TOutlinePoint step, TOutlinePoint sizeStep) {
    const TOutlinePoint centre{origin.X + i * step.X, origin.Y + i * step.Y};
    const double a = i * sizeStep.X / 2;
    const double b = i * sizeStep.Y / 2;
    const double angle = (LastFrame - i) * std::numbers::pi / LastFrame;
    const std::array<TOutlinePoint, 4> corners{{{-a, -b}, {a, -b}, {a, b}, {-a, b}}};
    TOutlineFrame frame;
    for (size_t k = 0; k < corners.size(); ++k) {
        const TOutlinePoint turned = Rotated(corners[k], angle);
        frame[k] = {turned.X + centre.X, turned.Y + centre.Y};
    }
    return frame;
}

TOutlineFrame WindowFrame(const TWindowBounds& window) {
    const double left = window.Left;
    const double top = window.Top;
    const double right = left + window.Width;
    const double bottom = top + window.Height;
    return {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}

// numerator / denominator rounded half away from zero (denominator > 0).
int RoundedQuotient(long long numerator, long long denominator) {
    const long long half = numerator < 0 ? -denominator : denominator;
    return static_cast<int>((2 * numerator + half) / (2 * denominator));
}

// The pixels from one corner up to, not including, the next.
void AppendEdge(TScreenPoint from, TScreenPoint to, std::vector<TScreenPoint>& pixels) {
    const long long dx = static_cast<long long>(to.X) - from.X;
    const long long dy = static_cast<long long>(to.Y) - from.Y;
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    for (long long s = 0; s < steps; ++s) {
        pixels.push_back({from.X + RoundedQuotient(dx * s, steps), from.Y + RoundedQuotient(dy * s, steps)});
    }
}

}  // namespace

TOutlineFrames BuildOutlineFrames(const TWindowBounds& window, TScreenPoint origin, bool showing) {
    const TOutlinePoint start{static_cast<double>(origin.X), static_cast<double>(origin.Y)};
    const double centreX = window.Left + window.Width / 2;
    const double centreY = window.Top + window.Height / 2;
    const TOutlinePoint step{(centreX - start.X) / LastFrame, (centreY - start.Y) / LastFrame};
    const TOutlinePoint sizeStep{static_cast<double>(window.Width) / LastFrame,
                                 static_cast<double>(window.Height) / LastFrame};
    TOutlineFrames frames;
    for (std::size_t i = 0; i < LastFrame; ++i) {
        frames[i] = TurnedFrame(static_cast<int>(i), start, step, sizeStep);
    }
    frames[LastFrame] = WindowFrame(window);
    if (!showing) std::reverse(frames.begin(), frames.end());
    return frames;
}

int RoundHalfToEven(double x) {
    const double lower = std::floor(x);
    const double fraction = x - lower;
    double rounded = fraction < 0.5 ? lower : lower + 1;
    if (fraction == 0.5 && std::fmod(lower, 2.0) == 0) rounded = lower;
    return static_cast<int>(rounded);
}

TOutlineCorners RoundOutlineCorners(const TOutlineFrame& frame) {
    TOutlineCorners corners;
    for (size_t k = 0; k < frame.size(); ++k) {
        corners[k] = {RoundHalfToEven(frame[k].X), RoundHalfToEven(frame[k].Y)};
    }
    return corners;
}

std::vector<TScreenPoint> OutlinePixels(const TOutlineCorners& corners) {
    std::vector<TScreenPoint> pixels;
    for (size_t k = 0; k < corners.size(); ++k) {
        AppendEdge(corners[k], corners[(k + 1) % corners.size()], pixels);
    }
    if (pixels.empty()) pixels.push_back(corners[0]);
    return pixels;
}

std::vector<TOutlineOperation> OutlineOperations() {
    std::vector<TOutlineOperation> operations;
    for (int k = 0; k < OutlineFrameCount; ++k) {
        operations.push_back({TOutlineAction::Draw, k});
        if (k >= OutlineTrailLength) operations.push_back({TOutlineAction::Erase, k - OutlineTrailLength});
        operations.push_back({TOutlineAction::Pace, -1});
    }
    for (int k = OutlineFrameCount - OutlineTrailLength; k < OutlineFrameCount; ++k) {
        operations.push_back({TOutlineAction::Erase, k});
    }
    return operations;
}

int OutlinePaceMilliseconds(std::int64_t elapsedMs) {
    const std::int64_t rest = OutlineStepMilliseconds - elapsedMs;
    if (rest >= 0 && rest < OutlineStepMilliseconds) return static_cast<int>(rest);
    return OutlineStepMilliseconds;
}

}  // namespace quenmark
