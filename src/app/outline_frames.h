#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quenmark {

// The geometry and the drawing order of the rotating-outline effect that is
// played when a window is shown or hidden. Everything here is arithmetic;
// the window system only draws what these functions describe.

struct TScreenPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TScreenPoint&) const = default;
};

struct TOutlinePoint {
    double X = 0;
    double Y = 0;
};

// A window's place on the screen.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// One frame: the four corners of a (possibly rotated) rectangle.
using TOutlineFrame = std::array<TOutlinePoint, 4>;
using TOutlineCorners = std::array<TScreenPoint, 4>;

constexpr int OutlineFrameCount = 25;
// How many outlines stay on the screen at once.
constexpr int OutlineTrailLength = 4;
// The pace of one step, in milliseconds.
constexpr int OutlineStepMilliseconds = 10;

using TOutlineFrames = std::array<TOutlineFrame, OutlineFrameCount>;

// The frames from a point at origin to the window's rectangle, turning half
// a turn on the way; with showing false the order is reversed, so that the
// effect shrinks from the window into the origin.
TOutlineFrames BuildOutlineFrames(const TWindowBounds& window, TScreenPoint origin, bool showing);

// x rounded to the nearest integer, ties to the even neighbour.
int RoundHalfToEven(double x);

// A frame's corners rounded to whole pixels.
TOutlineCorners RoundOutlineCorners(const TOutlineFrame& frame);

// The pixels of the closed line through the four corners and back to the
// first one. Each edge covers its start corner but not its end corner, so
// every corner is covered once; a frame whose corners all coincide is its
// single pixel. A pixel may appear twice where edges cross.
std::vector<TScreenPoint> OutlinePixels(const TOutlineCorners& corners);

enum class TOutlineAction {
    Draw,   // put the frame's outline on the screen
    Erase,  // take it off again
    Pace,   // wait for the rest of the step's time
};

struct TOutlineOperation {
    TOutlineAction Action;
    int Frame;  // the frame drawn or erased; -1 for Pace
    bool operator==(const TOutlineOperation&) const = default;
};

// The effect as an ordered list: for every frame k, draw k, erase k - 4
// once four are on the screen, and pace the step; at the end erase the
// last four frames (21 to 24) in order, so that no outline remains.
std::vector<TOutlineOperation> OutlineOperations();

// How long a step waits after its drawing took elapsedMs: the rest of the
// step's 10 ms when that is between 0 and 9, otherwise a full 10 ms.
int OutlinePaceMilliseconds(std::int64_t elapsedMs);

}  // namespace quenmark
