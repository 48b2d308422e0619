// The order the formations of a folder run in: by name as the formation list has them, or shuffled
// without repeats until every one has run, then shuffled again. What has run can be gone back over.
#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <vector>

namespace ksn::parade {

enum class Order { Name, Shuffle };

class Playlist {
public:
    // count formations, numbered 0 .. count - 1; the same seed gives the same shuffle.
    Playlist(int count, Order order, std::uint32_t seed);
    // The formation now running; -1 when there is none.
    int current() const { return history_.empty() ? -1 : history_[pos_]; }
    // Moves on (forward through what was gone back over first) and gives the new current one.
    int next();
    // Goes back one; at the oldest one kept it stays.
    int previous();

private:
    void newRound();

    int count_;
    Order order_;
    std::mt19937 rng_;
    std::vector<int> round_;   // what is left of the current round, next last
    std::deque<int> history_;  // what has run, a bounded number of them
    size_t pos_ = 0;
};

}  // namespace ksn::parade
