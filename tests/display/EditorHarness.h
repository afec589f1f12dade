#pragma once
// Opens Korvel's editor as a host would, on the headless platform: feeds demo audio through
// the processor, runs display ticks, and reads pixels in UI units.
#include <cmath>
#include <string>

#include "display/KorvelGraph.h"
#include "graphics/platform/headless/IGuiHeadless.h"
#include "tests/engine/KorvelHarness.h"

// A stereo sine pair a little out of phase, a short burst every second for Hold, and two aux
// channels (a slower sine and a square wave).
inline double DemoSample(int c, long frame) {
  const double t = static_cast<double>(frame) / 44100.0;
  constexpr double kTwoPi = 6.283185307179586;
  switch (c) {
    case 0: return 0.5 * std::sin(kTwoPi * 220.0 * t);
    case 1: return 0.5 * std::sin(kTwoPi * 220.0 * t + 0.3) + ((frame % 44100) < 200 ? 0.4 : 0.0);
    case 2: return 0.3 * std::sin(kTwoPi * 55.0 * t);
    default: return std::sin(kTwoPi * 110.0 * t) >= 0.0 ? 0.2 : -0.2;
  }
}

struct EditorHarness : KorvelHarness {
  graphics::IGuiHeadless* gui = nullptr;
  long frame = 0;

  EditorHarness() { Connect(4, 4, 512); }
  ~EditorHarness() { Close(); }

  graphics::IGuiHeadless* Open() {
    korvel->OpenEditor(nullptr);
    gui = dynamic_cast<graphics::IGuiHeadless*>(korvel->Graphics());
    return gui;
  }
  void Close() {
    korvel->CloseEditor();
    gui = nullptr;
  }

  KorvelGraph* Graph() const { return static_cast<KorvelGraph*>(korvel->EditorControl(KorvelControl::Graph)); }
  template <class T = graphics::IControl>
  T* Control(KorvelControl role) const {
    return static_cast<T*>(korvel->EditorControl(role));
  }

  // Runs blocks of demo audio (or f) until `frames` have been captured.
  template <class F>
  void Feed(int frames, F f) {
    while (frames > 0) {
      const int n = std::min(frames, 512);
      Run(n, frame, f);
      frame += n;
      frames -= n;
    }
  }
  void Feed(int frames) { Feed(frames, DemoSample); }

  bool Tick() { return gui && gui->Tick(); }

  // A parameter change as a host makes it: stored, announced, and shown at the next idle tick.
  void HostSets(KorvelParam p, double value) {
    SetParam(p, value);
    korvel->QueueParamForEditor(ParamIdx(p), korvel->GetParam(ParamIdx(p))->Current(), false);
  }

  // 0xAARRGGBB at UI point (x, y).
  uint32_t PixelAt(float x, float y) const {
    const float s = gui->BackingScale();
    return gui->PixelAt(static_cast<int>(x * s), static_cast<int>(y * s));
  }

  // Mouse input in UI units.
  void Down(float x, float y, bool right = false) { gui->MouseDown(x * Scale(), y * Scale(), right); }
  void Up(float x, float y) { gui->MouseUp(x * Scale(), y * Scale()); }
  void Move(float x, float y) { gui->MouseMove(x * Scale(), y * Scale()); }
  void DoubleClick(float x, float y) { gui->DoubleClick(x * Scale(), y * Scale()); }
  void Wheel(float x, float y, int notches) { gui->Wheel(x * Scale(), y * Scale(), notches * 120); }
  float Scale() const { return gui->BackingScale(); }

  double Param(KorvelParam p) const { return korvel->GetParam(ParamIdx(p))->Current(); }
};

inline int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xff); }
inline int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xff); }
inline int Blue(uint32_t p) { return static_cast<int>(p & 0xff); }
