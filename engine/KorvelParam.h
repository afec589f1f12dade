#pragma once
// Parameter ids of Korvel, in stored order.

enum class KorvelParam : int {
  Domain = 0,
  Input1,
  Input2,
  Input3,
  Input4,
  Delay1,
  Delay2,
  Delay3,
  Delay4,
  Hold,
  FftSize,
  BlendSpeed,
  Opacity,
  XZoomLow,
  XZoomHigh,
  YZoom,
};

inline constexpr int kNumKorvelParams = 16;

constexpr int ParamIdx(KorvelParam p) { return static_cast<int>(p); }

// Domains of the display; the values of the "Domain" parameter.
enum class DisplayDomain : int { Time = 0, Freq = 1, Phase = 2 };
