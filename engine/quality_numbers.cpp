#include "engine/quality_numbers.h"

#include <algorithm>

std::optional<qint64> QualityNumbers::worstFrame() const
{
    if (frames.isEmpty())
        return std::nullopt;
    const auto worst = std::min_element(frames.cbegin(), frames.cend(),
                                        [](const FrameQuality &a, const FrameQuality &b) { return a.ssim < b.ssim; });
    return qint64(worst - frames.cbegin());
}
