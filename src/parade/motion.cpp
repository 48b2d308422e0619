#include "parade/motion.h"

#include <algorithm>

namespace ksn::parade {

Scale fitScale(int trainHeight, int screenHeight, int wanted) {
    const int up = std::max(1, wanted);
    if (trainHeight <= 0 || screenHeight <= 0 || trainHeight * up <= screenHeight) return {up, 1};
    if (trainHeight <= screenHeight) return {std::max(1, screenHeight / trainHeight), 1};
    return {1, (trainHeight + screenHeight - 1) / screenHeight};
}

TrainLayout layoutTrain(const std::vector<QSize>& cars, Scale scale, Direction direction) {
    TrainLayout t;
    for (const QSize& car : cars) {
        const QSize s(scale.apply(car.width()), scale.apply(car.height()));
        t.sizes.push_back(s);
        t.lefts.push_back(t.length);
        t.length += s.width();
        t.height = std::max(t.height, s.height());
    }
    // Running to the right, the first car is at the right end: mirror the places, not the pictures.
    if (direction == Direction::LeftToRight)
        for (size_t i = 0; i < t.lefts.size(); ++i) t.lefts[i] = t.length - t.lefts[i] - t.sizes[i].width();
    return t;
}

double trainLeft(int trainLength, int screenWidth, double pixelsPerSecond, Direction direction, double t) {
    const double travelled = pixelsPerSecond * t;
    return direction == Direction::RightToLeft ? screenWidth - travelled : travelled - trainLength;
}

double crossingSeconds(int trainLength, int screenWidth, double pixelsPerSecond) {
    return pixelsPerSecond > 0 ? (screenWidth + trainLength) / pixelsPerSecond : 0;
}

}  // namespace ksn::parade
