#include "parade/playlist.h"

#include <algorithm>
#include <numeric>

namespace ksn::parade {

namespace {
// Enough to go back over a long evening without holding a folder's worth of numbers.
constexpr size_t kHistory = 1000;
}  // namespace

Playlist::Playlist(int count, Order order, std::uint32_t seed) : count_(std::max(0, count)), order_(order), rng_(seed) {
    if (count_ > 0) next();
}

void Playlist::newRound() {
    round_.resize(size_t(count_));
    std::iota(round_.rbegin(), round_.rend(), 0);  // taken from the back: 0 first
    if (order_ == Order::Name) return;
    std::shuffle(round_.begin(), round_.end(), rng_);
    // The same formation never runs twice in a row across two rounds.
    if (count_ > 1 && !history_.empty() && round_.back() == history_.back()) std::swap(round_.front(), round_.back());
}

int Playlist::next() {
    if (count_ == 0) return -1;
    if (pos_ + 1 < history_.size()) return history_[++pos_];
    if (round_.empty()) newRound();
    history_.push_back(round_.back());
    round_.pop_back();
    if (history_.size() > kHistory) history_.pop_front();
    pos_ = history_.size() - 1;
    return history_[pos_];
}

int Playlist::previous() {
    if (pos_ > 0) --pos_;
    return current();
}

}  // namespace ksn::parade
