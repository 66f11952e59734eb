#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <vector>

namespace stokara::demo {

// A small generator of our own (splitmix64) so that one seed gives the same shop
// on every compiler and standard library; std:: distributions do not promise that.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}

    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 <= result < n (n > 0); the modulo bias is far below anything a shop would notice.
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    // lo <= result <= hi
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // 0 <= result < 1
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    template <typename T> const T& pick(const std::vector<T>& v) {
        return v[static_cast<size_t>(below(static_cast<int>(v.size())))];
    }
    template <typename T> const T& pick(const T* data, size_t n) {
        return data[below(static_cast<int>(n))];
    }
    template <typename T, size_t N> const T& pick(const T (&v)[N]) {
        return v[below(static_cast<int>(N))];
    }

private:
    quint64 state_;
};

// Picks an index with probability proportional to its weight.
class WeightedPick {
public:
    WeightedPick() = default;
    explicit WeightedPick(const std::vector<double>& weights) {
        cumulative_.reserve(weights.size());
        double sum = 0;
        for (double w : weights) {
            sum += std::max(w, 0.0);
            cumulative_.push_back(sum);
        }
    }
    bool empty() const { return cumulative_.empty() || cumulative_.back() <= 0; }
    int operator()(Random& rng) const {
        const double x = rng.unit() * cumulative_.back();
        auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), x);
        if (it == cumulative_.end())
            --it;
        return static_cast<int>(it - cumulative_.begin());
    }

private:
    std::vector<double> cumulative_;
};

} // namespace stokara::demo
