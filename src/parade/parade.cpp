#include "parade/parade.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace ksn::parade {

namespace {
constexpr double kRetrySeconds = 5;
}  // namespace

Parade::Parade(const FileSystem& fs, QStringList files, Options options, std::function<void(const QString&)> warn,
               std::function<void(const QString&)> play)
    : fs_(fs),
      files_(std::move(files)),
      options_(options),
      warn_(std::move(warn)),
      play_(std::move(play)),
      playlist_(int(files_.size()), options.order, options.seed) {}

bool Parade::enter(double now, QSize size, bool moveOn) {
    train_.reset();
    layout_ = {};
    title_ = QImage();
    for (qsizetype tries = 0; tries < files_.size(); ++tries) {
        const int index = moveOn || tries > 0 ? playlist_.next() : playlist_.current();
        auto read = readParadeTrain(fs_, files_[index], options_.noBellows);
        if (auto* reason = std::get_if<QString>(&read)) {
            if (warn_) warn_(*reason);
            continue;
        }
        train_ = std::move(std::get<ParadeTrain>(read));
        int height = 0;
        for (const QSize& s : train_->carSizes()) height = std::max(height, s.height());
        const Scale scale = fitScale(height, size.height(), options_.scale * pixelRatio_);
        train_->scale(scale);
        layout_ = layoutTrain(train_->carSizes(), Scale{}, options_.direction);
        start_ = now;
        if (pausedAt_) pausedAt_ = now;
        if (options_.sound && play_ && !train_->soundHostFile.isEmpty()) play_(train_->soundHostFile);
        return true;
    }
    retryAt_ = now + kRetrySeconds;
    return false;
}

bool Parade::draw(QPainter& p, QSize logicalSize, double now) {
    // Drawn in the device's own pixels: at a ratio of 1.5 a car pixel then becomes 2 x 2 screen pixels
    // (the ratio rounded), never 1 or 2 by turns. Speed and the user's scale follow the ratio.
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1;
    const QSize size = (QSizeF(logicalSize) * dpr).toSize();
    pixelRatio_ = std::max(1, int(std::lround(dpr)));
    speed_ = options_.speed * dpr;
    p.save();
    p.scale(1 / dpr, 1 / dpr);
    const bool moving = drawDevice(p, size, now);
    p.restore();
    return moving;
}

bool Parade::drawDevice(QPainter& p, QSize size, double now) {
    p.fillRect(QRect(QPoint(), size), Qt::black);
    const bool due = !train_ && (retryAt_ < 0 || now >= retryAt_);
    const bool gone = train_ && elapsed(now) >= crossingSeconds(layout_.length, size.width(), speed_);
    if ((due || gone) && !files_.isEmpty()) enter(now, size, gone || retryAt_ >= 0);
    if (!train_) {
        p.setPen(Qt::white);
        p.drawText(QRect(QPoint(), size), Qt::AlignCenter, emptyText_);
        return false;  // nothing moves: the window asks again at retryAt()
    }
    const int left =
        int(std::lround(trainLeft(layout_.length, size.width(), speed_, options_.direction, elapsed(now))));
    const int rail = (size.height() + layout_.height) / 2;
    for (size_t i = 0; i < train_->cars.size(); ++i) {
        const QImage& image = train_->images[size_t(train_->cars[i])];
        const int x = left + layout_.lefts[i];
        if (image.isNull() || x + image.width() <= 0 || x >= size.width()) continue;
        p.drawImage(QPoint(x, rail - image.height()), image);
    }
    if (options_.title && !train_->title.isEmpty()) {
        // Laid out once a train and a window height, then copied: shaping text every frame would
        // cost as much as the cars.
        const int pixelSize = std::max(14, size.height() / 30);
        if (title_.isNull() || titlePixelSize_ != pixelSize) {
            QFont font = p.font();
            font.setPixelSize(pixelSize);
            const QRect bounds = QFontMetrics(font).boundingRect(train_->title);
            title_ = QImage(bounds.size() + QSize(2, 2), QImage::Format_ARGB32_Premultiplied);
            title_.fill(Qt::transparent);
            QPainter t(&title_);
            t.setFont(font);
            t.setPen(Qt::white);
            t.drawText(QRect(QPoint(), title_.size()), Qt::AlignLeft | Qt::AlignTop, train_->title);
            titlePixelSize_ = pixelSize;
        }
        p.drawImage(QPoint(16, 12), title_);
    }
    return !pausedAt_;
}

void Parade::togglePause(double now) {
    if (pausedAt_) {
        start_ += now - *pausedAt_;
        pausedAt_.reset();
    } else {
        pausedAt_ = now;
    }
}

void Parade::skip(int step, double now) {
    if (files_.isEmpty()) return;
    if (step < 0) playlist_.previous();
    // The window's size is not known here: the next frame reads and lays out the train.
    if (step > 0) playlist_.next();
    train_.reset();
    retryAt_ = -1;
    start_ = now;
}

}  // namespace ksn::parade
