#include "engine/remaining_time.h"

#include <algorithm>

namespace {

// Less than this share of one step done says too little about the speed.
constexpr double leastWork = 0.05;

} // namespace

double RemainingTime::estimate(double work, double total) const
{
    if (!clock_.isValid() || work - base_ < leastWork)
        return -1;
    const double elapsed = double(clock_.elapsed()) / 1000;
    return elapsed / (work - base_) * std::max(total - work, 0.0);
}
