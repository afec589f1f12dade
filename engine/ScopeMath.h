#pragma once
// What Korvel's settings mean, in one place: the level range of a Y Zoom value, the frequency
// of an X Zoom value, the Hold level, the traces' alpha and the display's default rate. The
// parameters, the axes, the graph and the Hold handle all use these. Plain functions. [thread-safe]
#include <cstdint>

// The display's rate before the host gives one.
inline constexpr double kDefaultReferenceRate = 44100.0;

// The amplitude from the centre line to the edge of the Time and Phase views for a Y Zoom
// value (0 … 1): 2 at 0, falling linearly to 0.001 at 1.
double LevelRange(double yZoom) noexcept;
// The same for the Freq view's level axis, which spans half as much: 1.0005 at 0 … 0.001 at 1.
double SpectrumLevelRange(double yZoom) noexcept;

// The frequency view's edges: 20 Hz at the bottom, 22 kHz or a slower stream's Nyquist
// frequency at the top.
inline constexpr double kLowestFrequency = 20.0;
inline constexpr double kHighestFrequency = 22000.0;
// The highest frequency the view shows: 22 kHz, or the Nyquist frequency of a slower stream.
double TopFrequency(double rate) noexcept;
// The frequency of an X Zoom value (0 … 1): quadratic from 20 Hz to the top frequency, so
// at 44.1 kHz and above x² × 21980 + 20.
double ZoomFrequency(double x, double rate) noexcept;

// Hold, −30 … +3 dB; at +3 dB it is off.
inline constexpr double kHoldMinDb = -30.0;
inline constexpr double kHoldMaxDb = 3.0;
// The dB of a normalised Hold value (0 … 1), and back (clamped into 0 … 1).
double HoldDb(double normalised) noexcept;
double HoldNormalised(double db) noexcept;
// The linear level Hold waits for, or −1 when Hold is off.
double HoldLevel(double db) noexcept;
// The linear amplitude of a level in dB.
double Amplitude(double db) noexcept;

// The traces' alpha for an Opacity value (0 … 1): full opacity is 85 % of 255.
int32_t OpacityAlpha(double opacity) noexcept;
