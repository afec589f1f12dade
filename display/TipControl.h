#pragma once
// The frequency read-out over the graph in the Freq domain: a small dark box at the pointer
// with the frequency under it, opening towards the middle of the scope. The graph positions
// it every frame. Mouse-transparent. [editor-thread]
#include "graphics/IControl.h"

class TipControl final : public graphics::IControl {
public:
  explicit TipControl(const graphics::IRect& rect);

  void Draw(graphics::IGui& g) override;
  // x, y of −1 hide it. Marks it dirty only when something changed, so a still picture stays still.
  void Show(int tipX, int tipY, double tipFrequency);
  // The text shown for a frequency: "%.1f Hz" below 100, "%.0f Hz" below 1000, else "%.2f kHz".
  static void FormatFrequency(double frequency, char* text, int size);

  int X() const noexcept { return x; }
  int Y() const noexcept { return y; }
  double Frequency() const noexcept { return frequency; }
  // The box the tip would draw now.
  graphics::IRect Box() const noexcept;

private:
  int x = -1;
  int y = -1;
  double frequency = 0.0;
  graphics::ITextStyle tipStyle;
};
