#pragma once
// The frame, grid lines and axis labels over the scope: time or frequency labels above it,
// level labels in dB beside it, or the phase grid. Korvel's RebuildAxes fills the label lists
// when a setting changed; drawing only repeats them. Mouse-transparent. [editor-thread]
#include <vector>

#include "graphics/IControl.h"

enum class AxisKind : int { Time = 0, TimeLevel = 1, Frequency = 2, FrequencyLevel = 3, Phase = 4 };

struct LabelEntry {
  float position = 0.0f;  // 0 … 1 along the axis
  char text[32] = {};
};

class CaptionGridControl final : public graphics::IControl {
public:
  // rect: the grid's rectangle. The control draws a little beyond it, where the labels
  // overhang: the level labels of the phase grid stand right of it, and the outermost
  // frequency-level labels reach 5 units above and below it.
  CaptionGridControl(const graphics::IRect& rect, const graphics::ITextStyle& style);

  void Draw(graphics::IGui& g) override;

  // a, b: the window edges; c: the whole history; seconds from the oldest sample.
  void BuildTimeLabels(double a, double b, double c);
  // A linear amplitude axis from low to high, labelled in dB every 3 dB.
  void BuildLevelLabels(double low, double high);
  // The warped frequency axis of the spectrum view between fLow and fHigh (whole hertz).
  void BuildFrequencyLabels(int fLow, int fHigh, int rate, int size, double lowLimit, double highLimit,
                            bool kiloSuffix);
  // Copies at most 31 characters.
  void AppendLabel(float position, const char* text);

  // The rectangle given at construction; the plot areas derive from it.
  const graphics::IRect& Bounds() const noexcept { return bounds; }
  const std::vector<LabelEntry>& Labels() const noexcept { return labels; }
  const char* MinText() const noexcept { return minText; }
  const char* MaxText() const noexcept { return maxText; }
  double margin = 0.06;
  AxisKind axisKind = AxisKind::Time;
  graphics::IRect area;
  // Where other controls write over the grid's label column: no label is drawn there.
  std::vector<graphics::IRect> keepClear;

private:
  void DrawAbove(graphics::IGui& g);
  void DrawTimeLevels(graphics::IGui& g);
  void DrawFrequencyLevels(graphics::IGui& g);
  void DrawPhaseGrid(graphics::IGui& g);
  // Draws the text unless its box would overlap one drawn before it in this frame.
  void Text(graphics::IGui& g, const char* text, const graphics::IRect& rect, graphics::TextAlign align);

  graphics::IRect bounds;
  std::vector<LabelEntry> labels;
  char minText[32] = {};
  char maxText[32] = {};
  graphics::ITextStyle labelStyle;
  std::vector<graphics::IRect> placed;  // the text boxes of the frame being drawn
};
