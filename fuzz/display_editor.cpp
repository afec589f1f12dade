// Random mouse, wheel, key, prompt answer, parameter, audio and resize sequences against one
// headless editor, opened once and brought back to a known state before every input (building
// an editor takes far longer than a sequence). Every index must stay inside its buffer (run
// with the sanitizers).
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/FuzzFail.h"
#include "fuzz/PrivateSettings.h"
#include "tests/display/EditorHarness.h"

namespace {

FuzzedDataProvider* input = nullptr;  // the input being played, for the prompt responder

// Window pixels: mostly inside the editor, now and then far outside or not a number.
float Coordinate(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: return std::numeric_limits<float>::quiet_NaN();
    case 1: return in.ConsumeBool() ? 1.0e30f : -1.0e30f;
    case 2: return std::numeric_limits<float>::infinity();
    default: return static_cast<float>(in.ConsumeIntegralInRange<int>(-40, Korvel::kEditorWidth + 40));
  }
}

// The demo signal repeats every 44100 frames: the feed looks it up rather than computing sines
// for every sample.
double DemoLookup(int c, long frame) {
  constexpr long kPeriod = 44100;
  static const std::vector<double> table = [] {
    std::vector<double> t(static_cast<size_t>(kPeriod) * Korvel::kChannels);
    for (long f = 0; f < kPeriod; ++f)
      for (int ch = 0; ch < Korvel::kChannels; ++ch) t[static_cast<size_t>(f * Korvel::kChannels + ch)] = DemoSample(ch, f);
    return t;
  }();
  return table[static_cast<size_t>((frame % kPeriod) * Korvel::kChannels + c % Korvel::kChannels)];
}

double HostValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return -std::numeric_limits<double>::infinity();
    case 2: return 1.0e300;
    default: return in.ConsumeFloatingPointInRange(-0.5, 1.5);
  }
}

// Answers prompts from the input: a menu item (maybe in a sub-menu) or a cancel, a typed text
// or Escape.
graphics::IGuiHeadless::Responder InputResponder() {
  graphics::IGuiHeadless::Responder r;
  r.menu = [](graphics::IMenu& menu, const graphics::IRect&) -> graphics::IMenu* {
    graphics::IMenu* chosen = &menu;
    // A user picks one of the items shown, or cancels.
    while (input && chosen->NItems() > 0 && input->ConsumeBool()) {
      const int index = input->ConsumeIntegralInRange<int>(0, chosen->NItems() - 1);
      graphics::IMenuItem* item = chosen->Item(index);
      if (item->flags & (graphics::IMenuItem::kSeparator | graphics::IMenuItem::kDisabled)) return nullptr;
      if (!item->submenu) {
        chosen->chosenIdx = index;
        return chosen;
      }
      chosen = item->submenu.get();
    }
    return nullptr;
  };
  r.textEntry = [](const graphics::IGuiHeadless::TextEntryRequest& request) -> std::optional<std::string> {
    if (!input || !input->ConsumeBool()) return std::nullopt;
    // The entry field holds at most its length.
    return input->ConsumeRandomLengthString(request.maxLength > 0 ? static_cast<size_t>(request.maxLength) : 40);
  };
  return r;
}

struct Editor {
  const std::string settings = UsePrivateSettings();  // before the editor reads its stored scale
  EditorHarness h;
  bool fed = false;

  Editor() { Open(); }

  void Open() {
    h.Open();
    h.gui->SetResponder(InputResponder());
  }

  // Back to how the editor opens: parameters at their defaults through the host's path, no
  // captured audio, no prompt, no pointer, default size.
  void Reset() {
    if (!h.gui) Open();
    h.gui->ForgetTextEntry();
    h.gui->ReleaseMouseCapture();
    h.gui->MouseLeave();
    h.gui->SetModifierKeys(false, false, false);
    if (h.gui->WindowWidth() != Korvel::kEditorWidth || h.gui->WindowHeight() != Korvel::kEditorHeight ||
        h.gui->DrawScale() != 1.0f)
      h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, 1.0f, true);
    for (int p = 0; p < kNumKorvelParams; ++p) {
      const framework::IParam* param = h.korvel->GetParam(p);
      if (param->Current() != param->DefaultOf(false)) h.HostSets(static_cast<KorvelParam>(p), param->DefaultOf(false));
    }
    // The controls show the defaults now, not at the next tick: a control still holding the
    // last input's value would make this input's result depend on that one.
    h.korvel->OnIdleTimer();
    h.korvel->SetFrozen(false, true);
    // Clearing the captured audio redraws the whole graph: only after audio came in.
    if (fed) h.korvel->ResetProcessing();
    fed = false;
    h.frame = 0;
  }

  void Play(FuzzedDataProvider& in) {
    graphics::IGuiHeadless& gui = *h.gui;
    // Each tick paints: a cap keeps a long input from spending its time drawing.
    int ticks = 2;
    while (in.remaining_bytes() > 0) {
      switch (in.ConsumeIntegralInRange<int>(0, 17)) {
        case 0: {
          const float x = Coordinate(in), y = Coordinate(in);
          gui.MouseDown(x, y, in.ConsumeIntegralInRange<int>(0, 4) == 0);
          break;
        }
        case 1: {
          const float x = Coordinate(in), y = Coordinate(in);
          gui.MouseUp(x, y, in.ConsumeIntegralInRange<int>(0, 4) == 0);
          break;
        }
        case 2:
        case 3: {
          const float x = Coordinate(in), y = Coordinate(in);
          gui.MouseMove(x, y);
          break;
        }
        case 4: {
          const float x = Coordinate(in), y = Coordinate(in);
          gui.DoubleClick(x, y, in.ConsumeBool());
          break;
        }
        case 5: {
          const float x = Coordinate(in), y = Coordinate(in);
          gui.Wheel(x, y, in.ConsumeIntegral<int16_t>());
          break;
        }
        case 6: {
          const int p = in.ConsumeIntegralInRange<int>(0, kNumKorvelParams - 1);
          framework::IParam* param = h.korvel->GetParam(p);
          param->StoreNormalised(HostValue(in));
          h.korvel->OnParamChange(p, framework::ParamSource::Host, 0);
          h.korvel->QueueParamForEditor(p, param->Current(), false);
          break;
        }
        case 7:
          if (ticks-- > 0) h.Tick();
          break;
        case 8: {
          const double special = HostValue(in);
          const int frames = in.ConsumeIntegralInRange<int>(1, 16384);  // a few fill the rings
          const int every = in.ConsumeIntegralInRange<int>(1, 200);
          h.Feed(frames, [&](int c, long f) { return (f + c) % every == 0 ? special : DemoLookup(c, f); });
          fed = true;
          break;
        }
        case 9: {
          const bool nothing = in.ConsumeIntegralInRange<int>(0, 2) == 0;
          const float scale = static_cast<float>(HostValue(in) * 8.0);
          gui.ResizeEditor(nothing ? 0 : Korvel::kEditorWidth, nothing ? 0 : Korvel::kEditorHeight, scale, true);
          break;
        }
        case 10: gui.MouseLeave(); break;
        case 11: {
          const uint8_t keys = in.ConsumeIntegral<uint8_t>();
          gui.SetModifierKeys(keys & 1, keys & 2, keys & 4);
          break;
        }
        case 12: h.korvel->OnIdleTimer(); break;
        case 13: {
          const int w = in.ConsumeIntegralInRange<int>(-100, 2000), ht = in.ConsumeIntegralInRange<int>(-100, 2000);
          h.korvel->OnHostResizeEditor(w, ht);
          break;
        }
        case 14: {
          graphics::IKeyEvent key;
          key.vk = in.ConsumeIntegralInRange<int>(0, 0xff);
          const std::string text = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 4));
          text.copy(key.utf8, sizeof key.utf8 - 1);
          const uint8_t mods = in.ConsumeIntegral<uint8_t>();
          key.S = mods & 1;
          key.C = mods & 2;
          key.A = mods & 4;
          if (mods & 8)
            gui.KeyUp(key);
          else
            gui.KeyDown(key);
          break;
        }
        case 15: h.korvel->DrainSamples(); break;
        case 16: h.korvel->SetFrozen(in.ConsumeBool(), in.ConsumeBool()); break;
        default:
          // Reopening builds a whole editor: rare, so that inputs stay fast.
          if (in.ConsumeIntegral<uint8_t>() == 0xA5) {
            h.Close();
            Open();
            return;
          }
          break;
      }
      CheckValues();
    }
  }

  // Every parameter inside its range, and every control's value inside 0 … 1, after every
  // action (the next tick would bring a control back to its parameter's value).
  void CheckValues() const {
    for (int p = 0; p < kNumKorvelParams; ++p) {
      const framework::IParam* param = h.korvel->GetParam(p);
      if (!(param->Current() >= param->Min() && param->Current() <= param->Max())) FuzzFail("parameter out of range");
    }
    if (!h.gui) return;
    for (int i = 0; i < h.gui->NControls(); ++i) {
      const graphics::IControl* control = h.gui->GetControl(i);
      for (int v = 0; v < control->NVals(); ++v)
        if (control->GetParamIdx(v) >= 0 && !(control->GetValue(v) >= 0.0 && control->GetValue(v) <= 1.0))
          FuzzFail("control value outside 0 … 1");
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Editor& editor = *new Editor;  // never destroyed: exit order is no test
  FuzzedDataProvider in(data, size);
  input = &in;
  editor.Reset();
  editor.Play(in);
  input = nullptr;
  return 0;
}
