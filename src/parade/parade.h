// The parade without its window: which formation runs, where its train is at a given moment, and
// the frame that shows it. The window only asks for frames and passes the keys on.
#pragma once

#include "parade/motion.h"
#include "parade/playlist.h"
#include "parade/trainsource.h"

#include <QStringList>

#include <functional>
#include <optional>

class QPainter;

namespace ksn {
class FileSystem;
}  // namespace ksn

namespace ksn::parade {

struct Options {
    Order order = Order::Shuffle;
    std::uint32_t seed = 0;
    Direction direction = Direction::RightToLeft;
    double speed = 160;  // screen pixels per second
    int scale = 1;       // whole factor over the screen's own pixels (logical pixels)
    bool title = true;
    bool sound = false;
    bool noBellows = false;
};

class Parade {
public:
    // files: Windows paths in the order of the formation list. warn gets one line per formation
    // skipped; play gets a train's sound file as it enters.
    Parade(const FileSystem& fs, QStringList files, Options options, std::function<void(const QString&)> warn,
           std::function<void(const QString&)> play);

    // Draws the moment `now` (seconds on any steady clock) on a screen of `size` (logical pixels); true while
    // something moves, that is while a next frame would differ.
    bool draw(QPainter& p, QSize size, double now);
    // When no formation could run: the moment to look at them again; none when there is nothing to retry.
    std::optional<double> retryAt() const {
        return !train_ && !files_.isEmpty() && retryAt_ >= 0 ? std::optional(retryAt_) : std::nullopt;
    }
    // Space: stops the train where it is, or lets it go on from there.
    void togglePause(double now);
    bool paused() const { return pausedAt_.has_value(); }
    // → and ←: the next or the previous formation enters at once.
    void skip(int step, double now);
    // The running train, for tests and the window title; nullptr between trains.
    const ParadeTrain* train() const { return train_ ? &*train_ : nullptr; }
    const TrainLayout& layout() const { return layout_; }
    // Shown when no formation of the folder can run.
    QString emptyText() const { return emptyText_; }
    void setEmptyText(const QString& text) { emptyText_ = text; }

private:
    // Loads formations from the playlist's current one on until one can run; false after a whole
    // round without one.
    bool enter(double now, QSize size, bool moveOn);
    double elapsed(double now) const { return (pausedAt_ ? *pausedAt_ : now) - start_; }
    bool drawDevice(QPainter& p, QSize size, double now);

    const FileSystem& fs_;
    QStringList files_;
    Options options_;
    std::function<void(const QString&)> warn_, play_;
    Playlist playlist_;
    std::optional<ParadeTrain> train_;
    TrainLayout layout_;
    double start_ = 0;
    std::optional<double> pausedAt_;
    double retryAt_ = -1;  // when to look at the folder's formations again after none could run
    QString emptyText_;
    QImage title_;  // the running train's title, laid out for titlePixelSize_
    int titlePixelSize_ = 0;
    int pixelRatio_ = 1;  // the device pixel ratio rounded: the least whole scale of a car
    double speed_ = 0;    // device pixels a second
};

}  // namespace ksn::parade
