// Where a train is while it crosses the screen, as pure functions of time: the speed is the same at
// any frame rate, and the motion can be checked without a window.
#pragma once

#include <QSize>

#include <vector>

namespace ksn::parade {

enum class Direction { RightToLeft, LeftToRight };

// A whole-number scale: sides multiplied by `up`, then divided by `down`, so that pixel art stays
// crisp (every source pixel becomes a square of whole screen pixels, or whole pixels are dropped).
struct Scale {
    int up = 1;
    int down = 1;
    int apply(int length) const { return length * up / down; }
    bool operator==(const Scale&) const = default;
};

// The scale for a train trainHeight pixels high on a screen screenHeight high: the wanted factor
// (the device pixel ratio rounded, or the user's), lowered to the largest whole factor that fits,
// else 1 over the smallest whole divisor that makes the train fit.
Scale fitScale(int trainHeight, int screenHeight, int wanted);

// A train laid out for its run, in screen pixels: each car's left edge within the train and its
// size, the train's length and height (its tallest car). The first car leads: it is the leftmost
// when the train runs to the left and the rightmost when it runs to the right.
struct TrainLayout {
    std::vector<int> lefts;
    std::vector<QSize> sizes;
    int length = 0;
    int height = 0;
};
TrainLayout layoutTrain(const std::vector<QSize>& cars, Scale scale, Direction direction);

// The train's left edge on the screen t seconds after its first pixel entered.
double trainLeft(int trainLength, int screenWidth, double pixelsPerSecond, Direction direction, double t);
// Seconds from the first pixel entering to the last leaving.
double crossingSeconds(int trainLength, int screenWidth, double pixelsPerSecond);

}  // namespace ksn::parade
