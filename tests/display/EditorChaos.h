#pragma once
// Plays a byte string as a sequence of host and user actions against an open headless editor:
// mouse events anywhere (outside the editor, not numbers, drags without a press), wheel,
// parameter values a host can send, audio that is not numbers, resizes down to nothing,
// ticks, idle ticks and reopening. Shared by the fuzzer and the sanitizer test.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "tests/display/EditorHarness.h"

class ChaosReader {
public:
  ChaosReader(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
  bool More() const { return pos < size; }
  uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  // Mostly inside the window, sometimes far outside or not a number.
  float Coordinate() {
    const uint8_t kind = Byte();
    const float v = static_cast<float>(Byte()) * 4.0f - 100.0f;
    switch (kind % 16) {
      case 0: return std::numeric_limits<float>::quiet_NaN();
      case 1: return kind & 0x80 ? 1.0e30f : -1.0e30f;
      case 2: return std::numeric_limits<float>::infinity();
      default: return v;
    }
  }
  double Value() {
    const uint8_t kind = Byte();
    switch (kind % 10) {
      case 0: return std::numeric_limits<double>::quiet_NaN();
      case 1: return -std::numeric_limits<double>::infinity();
      case 2: return 1.0e300;
      case 3: return -1.0e300;
      default: return static_cast<double>(Byte()) / 127.0 - 0.5;  // a little outside 0 … 1 too
    }
  }

private:
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

inline void RunEditorChaos(EditorHarness& h, const uint8_t* data, size_t size) {
  ChaosReader in(data, size);
  h.Open();
  while (in.More() && h.gui) {
    switch (in.Byte() % 16) {
      case 0: h.gui->MouseDown(in.Coordinate(), in.Coordinate(), in.Byte() % 5 == 0); break;
      case 1: h.gui->MouseUp(in.Coordinate(), in.Coordinate(), in.Byte() % 5 == 0); break;
      case 2:
      case 3: h.gui->MouseMove(in.Coordinate(), in.Coordinate()); break;
      case 4: h.gui->DoubleClick(in.Coordinate(), in.Coordinate()); break;
      case 5: {
        const float x = in.Coordinate(), y = in.Coordinate();
        h.gui->Wheel(x, y, static_cast<int16_t>(in.Byte() << 8 | in.Byte()));
        break;
      }
      case 6: {
        const int p = in.Byte() % kNumKorvelParams;
        framework::IParam* param = h.korvel->GetParam(p);
        param->StoreNormalised(in.Value());
        h.korvel->OnParamChange(p, framework::ParamSource::Host, 0);
        h.korvel->QueueParamForEditor(p, param->Current(), false);
        break;
      }
      case 7:
      case 8: h.Tick(); break;
      case 9: {
        const double special = in.Value();
        const int frames = 1 + in.Byte() * 8;
        h.Feed(frames, [&](int c, long f) { return (f + c) % 97 == 0 ? special : DemoSample(c, f); });
        break;
      }
      case 10: {
        const int w = in.Byte() % 3 == 0 ? 0 : Korvel::kEditorWidth;
        const float scale = static_cast<float>(in.Value() * 8.0);
        h.gui->ResizeEditor(w, w == 0 ? 0 : Korvel::kEditorHeight, scale, true);
        break;
      }
      case 11: h.gui->MouseLeave(); break;
      case 12: {
        const uint8_t keys = in.Byte();
        h.gui->SetModifierKeys(keys & 1, keys & 2, keys & 4);
        break;
      }
      case 13: h.korvel->OnIdleTimer(); break;
      case 14: h.korvel->OnHostResizeEditor(in.Byte() * 8 - 100, in.Byte() * 8 - 100); break;
      default:
        h.Close();
        h.Open();
        break;
    }
  }
  for (int i = 0; i < 3; ++i) h.Tick();
  h.Close();
}
