#pragma once
// The plug-in with its scope editor: Korvel's engine plus what the display does with it,
// draining the rings into the histories, levels and spectra, building the editor and
// keeping its axes and read-outs current.
#include "engine/KorvelEngine.h"
#include "framework/ShortText.h"

namespace graphics {
class IControl;
class IGui;
}  // namespace graphics

// The editor controls the display feeds, by role: indices into Korvel's control pointers.
enum class KorvelControl : int {
  Graph = 0,
  LevelReadout1,
  LevelReadout2,
  LevelReadout3,
  LevelReadout4,
  SpanReadout,
  FreezeButton,
  TimeAxis,
  LevelAxis,
  HoldHandle,
};

inline constexpr int kNumEditorControls = 16;

class Korvel final : public KorvelEngine {
public:
  // [main-thread] The editor's opening scale: the stored one within 0.5 … 4, else 1.
  static float StoredEditorScale();

  // [main-thread]
  explicit Korvel(const KorvelCreationInfo& info);

  // Framework hooks. [main-thread]
  void OnHostResizeEditor(int width, int height) override;
  void OnEditorClose() override;
  // [editor-thread] Builds the editor's controls on a fresh graphics object.
  void BuildEditorLayout(graphics::IGui& gui) override;

  // [editor-thread] Moves the rings into the histories and refreshes levels and, in Freq,
  // spectra; returns the frames that arrived since the previous call (0 … 48000).
  int DrainSamples();
  // [editor-thread] Applies a requested FFT size, and refreshes the domain-dependent display
  // when asked to.
  void ApplyPendingSettings();
  // [thread-safe] The level read-out's text: dB with one decimal, or "-oo" at or below 0.0001.
  static void FormatLevel(double level, framework::ShortText& text);
  // [editor-thread] Freezes or runs the graph (unfreezing removes its marker); updateButton
  // also shows the state on the FREEZE button.
  void SetFrozen(bool frozen, bool updateButton);
  // [editor-thread] Recomputes the axis labels of both grids for the domain and zoom.
  void RebuildAxes();
  // [editor-thread] The editor's control in a role, or null while the editor is closed.
  graphics::IControl* EditorControl(KorvelControl role) const noexcept {
    return editorControls[static_cast<int>(role)];
  }

  int ActiveFftSize() const noexcept { return activeFftSize; }
  double ActiveBlend() const noexcept { return activeBlend; }

  // Non-owning; set by the editor layout, cleared when the editor closes.
  graphics::IControl* editorControls[kNumEditorControls] = {};

private:
  int32_t activeFftSize = 4096;
  framework::ShortText levelText;  // kept so the drain allocates once
  double activeBlend = 0.5;
};
