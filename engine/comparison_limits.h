#pragma once

#include <QtGlobal>
#include <array>

// The limits and fixed values of a comparison, in one place for the engine, the model, the
// window and the command-line front end.
namespace ComparisonLimits {

// The bitrate a user can choose, Mbit/s, and the presets beside the slider.
inline constexpr double minMbps = 0.3;
inline constexpr double maxMbps = 20;
inline constexpr std::array<double, 5> presetMbps = {1, 2, 3.3, 5, 5.5};
// The engine renders up to this bitrate, a little beyond the slider, for scripts.
inline constexpr double maxEngineMbps = 30;

// The height limits offered: 0 keeps the source's height.
inline constexpr std::array<qint64, 3> heightLimits = {0, 720, 1080};

// A scan of the movie: scenes by default, and the counts a user may ask for.
inline constexpr int defaultScanScenes = 12;
inline constexpr int minScanScenes = 2;
inline constexpr int maxScanScenes = 60;
// The bitrate finder: it scans at this bitrate, searches the bitrate at which this many of the
// worst scenes reach the target, and gets that bitrate to within this step, Mbit/s.
inline constexpr double finderScanMbps = 2;
inline constexpr int finderScenes = 3;
inline constexpr double finderStepMbps = 0.1;

// Longest reference clip, seconds.
inline constexpr double clipSeconds = 3;

// Zoom of the comparison panes, as a factor of the fitted picture.
inline constexpr double minZoom = 0.25;
inline constexpr double maxZoom = 16;

// The pause between a change of a setting and the render it asks for.
inline constexpr int comparisonPauseMs = 550;

// The main view: its smallest size and the first window's content size, points.
inline constexpr int minimumViewWidth = 1080;
inline constexpr int minimumViewHeight = 720;
inline constexpr int firstWindowWidth = 1400;
inline constexpr int firstWindowHeight = 900;

} // namespace ComparisonLimits
