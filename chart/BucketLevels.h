#pragma once
// A summary (a Bucket) of every aligned run of 2^k points of a trace, for k from Finest to
// Coarsest, kept as the points arrive. Points are numbered from the run's first point on, and
// buckets are aligned to those numbers, so appending touches one bucket per level and the oldest
// points give way without recomputing anything: a bucket whose first point has given way is
// dropped with it. Any range of points is then summed from about 2 * (levels) buckets and the
// loose points at its two ends.
//
// A Bucket starts empty when value-initialised and offers Add(double) and Add(const Bucket&).
#include <algorithm>
#include <cstdint>
#include <deque>

template <typename Bucket, int Finest, int Coarsest>
class BucketLevels {
public:
    static constexpr int FinestLevel = Finest;
    static constexpr int CoarsestLevel = Coarsest;
    static constexpr std::int64_t FinestSize = std::int64_t{1} << Finest;

    // The point numbered `at`, the next after every point appended before.
    void Append(std::int64_t at, double value) {
        for (int i = 0; i < LevelCount; ++i) {
            const int shift = Finest + i;
            const std::int64_t bucket = at >> shift;
            Level& level = levels_[i];
            if (!level.buckets.empty() && level.first + static_cast<std::int64_t>(level.buckets.size()) - 1 == bucket) {
                level.buckets.back().Add(value);
            } else if ((at & ((std::int64_t{1} << shift) - 1)) == 0) {
                // A bucket begins only at its first point, so every bucket kept covers all its points.
                if (level.buckets.empty()) level.first = bucket;
                level.buckets.emplace_back();
                level.buckets.back().Add(value);
            }
        }
    }

    // Drops the buckets of which any point is numbered below `oldest`.
    void DropBefore(std::int64_t oldest) {
        for (int i = 0; i < LevelCount; ++i) {
            Level& level = levels_[i];
            while (!level.buckets.empty() && (level.first << (Finest + i)) < oldest) {
                level.buckets.pop_front();
                ++level.first;
            }
        }
    }

    // Adds the points numbered [at, end) to `into`: whole buckets where they fit, the points at
    // the two ends one by one through addPoints(from, to). Every point of the range must still
    // be kept and appended.
    template <typename AddPoints>
    void Sum(std::int64_t at, std::int64_t end, Bucket& into, AddPoints addPoints) const {
        const std::int64_t headEnd = std::min(end, (at + FinestSize - 1) & ~(FinestSize - 1));
        addPoints(at, headEnd);
        at = headEnd;
        while (at + FinestSize <= end) {
            const int shift = LevelAt(at, end);
            const Level& level = levels_[shift - Finest];
            into.Add(level.buckets[static_cast<std::size_t>((at >> shift) - level.first)]);
            at += std::int64_t{1} << shift;
        }
        addPoints(at, end);
    }

    std::size_t Bytes() const {
        std::size_t bytes = 0;
        for (const Level& level : levels_) bytes += level.buckets.size() * sizeof(Bucket);
        return bytes;
    }

private:
    static constexpr int LevelCount = Coarsest - Finest + 1;
    struct Level {
        std::deque<Bucket> buckets;
        std::int64_t first = 0;   // number of the front bucket, counted from the run's first point
    };

    // The coarsest level whose bucket starts at the point numbered `at` (aligned to the finest
    // level) and ends no later than `end`.
    static int LevelAt(std::int64_t at, std::int64_t end) {
        int level = at == 0 ? Coarsest : std::min(__builtin_ctzll(static_cast<unsigned long long>(at)), Coarsest);
        while (level > Finest && at + (std::int64_t{1} << level) > end) --level;
        return level;
    }

    Level levels_[LevelCount];
};
