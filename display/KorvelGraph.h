#pragma once
// The scope in the middle of the editor. Once per drawn frame it takes its copy of the display
// settings from Korvel, has Korvel drain the captured samples, and draws the enabled channels
// (3, 2, 1, 0, so channel 0 ends on top) as time traces, spectra or phase clouds. It also owns
// the mouse on the scope: freeze and unfreeze, the marker, pan and zoom, and it positions the
// frequency tip. [editor-thread]
#include <array>
#include <vector>

#include "display/SpectrumMapper.h"
#include "graphics/IControl.h"

class Korvel;
struct KorvelChannel;
class TipControl;

class KorvelGraph final : public graphics::IControl {
public:
  struct Zoom {
    double xZoomLow = 0.5;
    double xZoomHigh = 1.0;
    double yZoom = 0.5;
  };

  // plugin may be null: then nothing is drained or drawn.
  KorvelGraph(const graphics::IRect& rect, Korvel* plugin);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseUp(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const graphics::IMouseModifiers& mods) override;
  void OnMouseDoubleClick(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseWheel(float x, float y, const graphics::IMouseModifiers& mods, float delta) override;
  void OnMouseOver(float x, float y, const graphics::IMouseModifiers& mods) override;
  void OnMouseOut() override;

  // Remembers the zoom of the old domain and loads that of d; restarts the envelopes flat.
  void SwitchDomain(int d);
  // The marker's pixel column, kept inside the graph.
  int MarkerColumn() const noexcept;
  // The frequency the spectrum shows at x, as the frequency tip reads it.
  double FrequencyAt(float x) const noexcept;
  // The pointer is within 3 pixels of the marker.
  bool NearMarker() const noexcept;
  // Bins and edge frequencies for the zoom, FFT size and rate; rebuilds the mapper's table.
  void UpdateFrequencyRange();
  // Frozen or running, as Korvel's SetFrozen sets it; unfreezing removes the marker.
  void SetFrozenState(bool isFrozen);
  void SetTip(TipControl* tipControl) noexcept { tip = tipControl; }

  void DrawTimeTrace(graphics::IGui& g, const KorvelChannel& channel, int c, int newFrames);
  void DrawPhase(graphics::IGui& g, const KorvelChannel& chA, const KorvelChannel& chB);
  void DrawSpectrum(graphics::IGui& g, const KorvelChannel& channel);
  // Min/max of k samples over cols columns (cols ≤ k) as y values of the time view.
  void ReduceColumns(const float* samples, int k, float* top, float* bottom, int cols) const noexcept;
  // Where a phase sample pair lands on the graph; false for a pair that is not finite.
  bool PhasePoint(double a, double b, int& px, int& py) const noexcept;

  int Domain() const noexcept { return domain; }
  bool Frozen() const noexcept { return frozen; }
  double Marker() const noexcept { return marker; }
  double HoldLevel() const noexcept { return holdLevel; }
  bool FullRedraw() const noexcept { return fullRedraw; }
  const Zoom& CurrentZoom() const noexcept { return zoom; }
  const Zoom& SavedZoom(int d) const noexcept { return savedZoom[static_cast<size_t>(ClampDomain(d))]; }
  float YScale() const noexcept { return yScale; }
  int FirstBin() const noexcept { return firstBin; }
  int LastBin() const noexcept { return lastBin; }
  double LowHz() const noexcept { return lowHz; }
  double HighHz() const noexcept { return highHz; }
  int Columns() const noexcept { return columns; }
  const float* EnvelopeTop(int c) const noexcept { return envelopeTop[static_cast<size_t>(c & 3)].data(); }
  const float* EnvelopeBottom(int c) const noexcept { return envelopeBottom[static_cast<size_t>(c & 3)].data(); }

private:
  static int ClampDomain(int d) noexcept { return d < 0 ? 0 : (d > 2 ? 2 : d); }
  void UpdateYScale() noexcept;
  void TakeSettings();
  void DrawChannels(graphics::IGui& g, int newFrames);
  void DrawMarker(graphics::IGui& g);
  void HandTip();
  double MarkerAt(float x) const noexcept;
  // The graph changed the zoom itself: redraw from the history and tell the host.
  void ZoomChanged(bool withY);
  void WriteBack(int paramIdx, double value);

  Korvel* plugin;
  int domain = 0;
  double holdLevel = -1.0;
  int fftSize = 4096;
  int firstBin = 0;
  int lastBin = 0;
  double lowHz = 0.0;
  double highHz = 0.0;
  double referenceRate = kDefaultReferenceRate;
  Zoom zoom;
  std::array<Zoom, 3> savedZoom{};
  double marker = -1.0;
  bool frozen = false;
  // The first frame builds the envelopes from the history, so that an editor opened on a
  // running instance shows what is already there (and no columns start at a stale height).
  bool fullRedraw = true;
  bool draggingMarker = false;
  bool frozenAtPress = false;
  bool movedSincePress = false;
  int hoverX = -1;
  int tipX = -1;
  int tipY = -1;
  float yScale = 0.0f;
  TipControl* tip = nullptr;
  int columns = 0;  // whole pixel columns at construction
  std::array<std::vector<float>, 4> envelopeTop;
  std::array<std::vector<float>, 4> envelopeBottom;
  SpectrumMapper mapper;
};
