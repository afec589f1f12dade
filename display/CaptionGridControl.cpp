#include "display/CaptionGridControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/DenormalGuard.h"
#include "graphics/IGui.h"

using graphics::IRect;
using graphics::TextAlign;

namespace {

constexpr int kMaxLabels = 64;
constexpr float kLabelColumn = 32.0f;
constexpr float kOverhang = 5.0f;

void SetText(char (&text)[32], const char* format, double value) {
  std::snprintf(text, sizeof text, format, value);
}

void DbText(char (&text)[32], double v) {
  if (v >= 0.0)
    SetText(text, "+%.1f", v);
  else if (v < -144.0)
    std::snprintf(text, sizeof text, "-oo");
  else
    SetText(text, "%.1f", v);
}

void FrequencyText(char (&text)[32], int k, bool kiloSuffix) {
  if (kiloSuffix && k >= 1000)
    SetText(text, "%.1fk", k / 1000.0);
  else
    SetText(text, "%.0f", static_cast<double>(k));
}

}  // namespace

CaptionGridControl::CaptionGridControl(const IRect& rect, const graphics::ITextStyle& style)
    : IControl({rect.L, rect.T - kOverhang, rect.R + kLabelColumn, rect.B + kOverhang}), area(rect), bounds(rect),
      labelStyle(style) {
  mouseTransparent = true;
  labels.reserve(kMaxLabels);
  // Each label may be drawn twice (the time levels mirror), beside the two end texts.
  placed.reserve(2 * kMaxLabels + 8);
}

void CaptionGridControl::AppendLabel(float position, const char* text) {
  LabelEntry entry;
  entry.position = position;
  std::snprintf(entry.text, sizeof entry.text, "%s", text ? text : "");
  labels.push_back(entry);
}

void CaptionGridControl::BuildTimeLabels(double a, double b, double c) {
  labels.clear();
  SetText(minText, "%.0f", (a - c) * 1000.0);
  SetText(maxText, "%.0f ms", (b - c) * 1000.0);
  const double d = b - a;
  if (!(d > 0.0) || !std::isfinite(d) || !std::isfinite(c)) return;
  double step = std::pow(10.0, static_cast<int>(std::log10(d)));
  while (d / step + 0.5 < 2.0) step *= 0.1;
  while (d / step + 0.5 < 4.0) step *= 0.5;
  char text[32];
  for (double h = (std::floor((c - b) / step) + 1.0) * step; h < c - a; h += step) {
    const double position = (c - h - a) / d;
    if (!(margin < position && position < 1.0 - margin)) continue;
    if (0.1 < position && position < 0.9)
      SetText(text, "%.0f", -h * 1000.0);
    else
      text[0] = '\0';
    AppendLabel(static_cast<float>(position), text);
  }
}

void CaptionGridControl::BuildLevelLabels(double low, double high) {
  labels.clear();
  DbText(minText, 20.0 * std::log10(std::max(1e-10, low)));
  const double top = 20.0 * std::log10(std::max(1e-10, high));
  DbText(maxText, top);
  if (!(high > 0.0) || !(high > low)) return;
  const double span = high - low;
  const double zero = -low / span;
  const auto at = [&](double db) { return std::pow(10.0, db / 20.0) / span + zero; };
  char text[32];
  double f = std::floor((top - 0.5) / 3.0) * 3.0;
  double p = at(f);
  if (margin < p && p < 1.0 - margin) {
    DbText(text, f);
    AppendLabel(static_cast<float>(p), text);
  }
  // Ticks below −144 dB would all read "-oo"; the loop ends there whatever the margin.
  for (double v = f - 3.0, q = at(v); p - q > margin && q > margin && v > -150.0; v -= 3.0, q = at(v)) {
    DbText(text, v);
    AppendLabel(static_cast<float>(q), text);
    p = q;
  }
}

void CaptionGridControl::BuildFrequencyLabels(int fLow, int fHigh, int rate, int size, double lowLimit,
                                              double highLimit, bool kiloSuffix) {
  labels.clear();
  FrequencyText(minText, fLow, kiloSuffix);
  FrequencyText(maxText, fHigh, kiloSuffix);
  if (rate <= 0 || size <= 0) return;
  framework::DenormalGuard denormals;
  const double logSize = std::log(static_cast<double>(size));
  const auto warp = [&](int f) { return static_cast<int>(std::exp(logSize * (1.0 - static_cast<double>(f) / rate))); };
  const int e = warp(fLow);
  const int fw = warp(fHigh);
  const double denominator = fw < e ? static_cast<double>(fw - e) : -1.0;
  const auto position = [&](int k) { return (warp(k) - e + 0.5) / denominator; };
  char text[32];
  static constexpr int kMajor[] = {100, 500, 1000, 5000, 7500, 10000, 15000, 20000};
  for (int k : kMajor) {
    const double pos = position(k);
    if (!(fLow < k && k < fHigh && lowLimit < pos && pos < highLimit)) continue;
    FrequencyText(text, k, kiloSuffix);
    AppendLabel(static_cast<float>(pos), text);
  }
  static constexpr int kMinor[] = {10,   20,   30,   40,   50,   60,   70,   80,   90,   150,  200,  250,
                                   300,  400,  600,  700,  800,  900,  1200, 1500, 2000, 2500, 3000, 3500,
                                   4000, 4500, 6000, 6500, 7000, 7500, 8000, 9000, 12500, 17500};
  for (int k : kMinor) {
    const double pos = position(k);
    if (!(fLow < k && k < fHigh && lowLimit < pos && pos < highLimit)) continue;
    const bool crowded = std::any_of(labels.begin(), labels.end(), [&](const LabelEntry& entry) {
      return !(std::fabs(pos - entry.position) > lowLimit);
    });
    if (crowded) continue;
    FrequencyText(text, k, kiloSuffix);
    AppendLabel(static_cast<float>(pos), text);
  }
}

// ---- Drawing ----------------------------------------------------------------------------------

void CaptionGridControl::Text(graphics::IGui& g, const char* text, const IRect& rect, TextAlign align) {
  if (!text[0]) return;
  graphics::ITextStyle style = labelStyle;
  style.align = align;
  IRect box = rect;
  g.MeasureText(style, text, box);
  const auto overlaps = [&](const IRect& other) {
    return box.L < other.R && other.L < box.R && box.T < other.B && other.T < box.B;
  };
  if (std::any_of(placed.begin(), placed.end(), overlaps)) return;
  if (placed.size() < placed.capacity()) placed.push_back(box);
  g.DrawText(style, text, rect);
}

void CaptionGridControl::Draw(graphics::IGui& g) {
  // The end texts come first in each drawing, so where labels crowd it is they that stay.
  placed.assign(keepClear.begin(), keepClear.end());
  switch (axisKind) {
    case AxisKind::Time:
    case AxisKind::Frequency: DrawAbove(g); break;
    case AxisKind::TimeLevel: DrawTimeLevels(g); break;
    case AxisKind::FrequencyLevel: DrawFrequencyLevels(g); break;
    case AxisKind::Phase: DrawPhaseGrid(g); break;
  }
}

void CaptionGridControl::DrawAbove(graphics::IGui& g) {
  const float l = area.L, t = area.T, r = area.R, b = area.B;
  g.DrawRect(labelStyle.colour, area);
  Text(g, minText, {l, t - 15.0f, l + 36.0f, t - 5.0f}, TextAlign::Left);
  Text(g, maxText, {r - 36.0f, t - 15.0f, r, t - 5.0f}, TextAlign::Right);
  for (const LabelEntry& entry : labels) {
    const float x = l + entry.position * (r - l);
    Text(g, entry.text, {x - 18.0f, t - 15.0f, x + 18.0f, t - 5.0f}, TextAlign::Centre);
    g.DrawLine(labelStyle.colour, x, t, x, b);
  }
}

void CaptionGridControl::DrawTimeLevels(graphics::IGui& g) {
  const float l = area.L, t = area.T, r = area.R, b = area.B;
  const float v = (t + b) * 0.5f, half = (b - t) * 0.5f;
  Text(g, minText, {r + 5.0f, v - 7.0f, r + 32.0f, v + 3.0f}, TextAlign::Right);
  Text(g, maxText, {r + 5.0f, t, r + 32.0f, t + 6.0f}, TextAlign::Right);
  Text(g, maxText, {r + 5.0f, b - 12.0f, r + 32.0f, b}, TextAlign::Right);
  for (const LabelEntry& entry : labels) {
    const float e = entry.position * half;
    Text(g, entry.text, {r + 5.0f, v - e - 7.0f, r + 32.0f, v - e + 3.0f}, TextAlign::Right);
    g.DrawLine(labelStyle.colour, l, v - e, r, v - e);
    Text(g, entry.text, {r + 5.0f, v + e - 7.0f, r + 32.0f, v + e + 3.0f}, TextAlign::Right);
    g.DrawLine(labelStyle.colour, l, v + e, r, v + e);
  }
}

void CaptionGridControl::DrawFrequencyLevels(graphics::IGui& g) {
  const float l = area.L, t = area.T, r = area.R, b = area.B;
  Text(g, minText, {r + 5.0f, b - 5.0f, r + 32.0f, b + 5.0f}, TextAlign::Right);
  Text(g, maxText, {r + 5.0f, t - 5.0f, r + 32.0f, t + 5.0f}, TextAlign::Right);
  for (const LabelEntry& entry : labels) {
    const float y = b - entry.position * (b - t);
    Text(g, entry.text, {r + 5.0f, y - 5.0f, r + 32.0f, y + 5.0f}, TextAlign::Right);
    g.DrawLine(labelStyle.colour, l, y, r, y);
  }
}

void CaptionGridControl::DrawPhaseGrid(graphics::IGui& g) {
  const float l = area.L, t = area.T, r = area.R, b = area.B;
  const float cx = (l + r) * 0.5f, h = b - t;
  const graphics::IColour colour = labelStyle.colour;
  const graphics::IColour darker{colour.A, colour.R / 2, colour.G / 2, colour.B / 2};
  g.DrawRect(colour, area);
  g.DrawLine(colour, l, t, cx, b);
  g.DrawLine(colour, r, t, cx, b);
  g.DrawLine(darker, (cx + l) * 0.5f, t, cx, b);
  g.DrawLine(darker, (cx + r) * 0.5f, t, cx, b);
  Text(g, maxText, {r + 5.0f, t, r + 32.0f, t + 10.0f}, TextAlign::Right);
  for (const LabelEntry& entry : labels) {
    const float radius = entry.position * h;
    g.DrawArc(colour, cx, b, radius, -90.0f, 90.0f);
    g.DrawLine(colour, r - 4.0f, b - radius + 2.0f, r, b - radius + 2.0f);
    Text(g, entry.text, {r + 5.0f, b - radius - 5.0f, r + 32.0f, b - radius + 5.0f}, TextAlign::Right);
  }
}
