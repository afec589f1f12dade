// Korvel's editor layout: every control of the 724 × 526 editor at its rectangle, the
// control pointers the display feeds, the first axes and the tick hook.
#include "display/CaptionGridControl.h"
#include "display/FreezeControl.h"
#include "display/IRasterScaleCornerDragControl.h"
#include "display/Korvel.h"
#include "display/KorvelGraph.h"
#include "display/KorvelOneSidedScrollBar.h"
#include "display/KorvelScrollBar.h"
#include "display/TipControl.h"
#include "display/TriggerControl.h"
#include "graphics/IGui.h"
#include "graphics/IKnobControls.h"
#include "graphics/ISwitchControls.h"
#include "graphics/ITextControls.h"

using graphics::IColour;
using graphics::IRect;
using graphics::ITextStyle;
using graphics::TextAlign;

namespace {

constexpr IColour kGrey{255, 128, 128, 128};
constexpr IColour kWhite{255, 255, 255, 255};
constexpr IColour kBlack{255, 0, 0, 0};
constexpr IColour kClear{0, 0, 0, 0};

// Adds the control; one the UI refuses is deleted and reported as null.
template <class T>
T* Add(graphics::IGui& gui, T* control, int tag = -1) {
  if (gui.AddControl(control, tag)) return control;
  delete control;
  return nullptr;
}

}  // namespace

void Korvel::BuildEditorLayout(graphics::IGui& gui) {
  gui.EnableMouseOver(true);
  gui.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
  Add(gui, new graphics::IBitmapControl({0, 0, kEditorWidth, kEditorHeight}, gui.LoadBitmap("bg.png")));
  const graphics::IBitmapRef knob = gui.LoadBitmap("knob_line.png");
  const graphics::IBitmapRef bigKnob = gui.LoadBitmap("big_knob.png");
  const graphics::IBitmapRef button = gui.LoadBitmap("sm_button.png", 2);
  const graphics::IBitmapRef barHandle = gui.LoadBitmap("bar_handle.png");
  const graphics::IBitmapRef trigHandle = gui.LoadBitmap("trig_handle.png");

  const ITextStyle greyCentred(10.0f, kGrey, TextAlign::Centre);
  const ITextStyle whiteCentred(10.0f, kWhite, TextAlign::Centre);
  const ITextStyle blackCentred(10.0f, kBlack, TextAlign::Centre);
  const ITextStyle greyLeft(10.0f, kGrey, TextAlign::Left);
  const ITextStyle greyRight(10.0f, kGrey, TextAlign::Right);
  const ITextStyle grid(10.0f, kGrey, TextAlign::Left);

  const auto set = [this](KorvelControl role, graphics::IControl* control) {
    editorControls[static_cast<int>(role)] = control;
  };
  const auto caption = [&](const IRect& rect, KorvelParam param) {
    Add(gui, new graphics::ICaptionControl(rect, ParamIdx(param), whiteCentred, kClear, true));
  };
  const auto rotary = [&](const IRect& rect, int paramIdx) {
    Add(gui, new graphics::IBitmapRotaryKnob(rect, knob, paramIdx));
  };

  set(KorvelControl::SpanReadout, Add(gui, new graphics::ITextControl({300, 368, 430, 380}, "", greyLeft, kClear)));
  Add(gui, new graphics::ITextControl({44, 385, 74, 397}, "ZOOM", greyCentred, kClear));
  Add(gui, new graphics::ITextControl({656, 484, 690, 499}, "4.1.0", blackCentred, kClear));
  rotary({47, 452, 78, 483}, ParamIdx(KorvelParam::Domain));
  caption({43, 409, 83, 421}, KorvelParam::Domain);
  Add(gui, new graphics::IBitmapControl({453, 448, 496, 491}, bigKnob));
  rotary({460, 452, 491, 483}, ParamIdx(KorvelParam::FftSize));
  caption({456, 409, 496, 421}, KorvelParam::FftSize);
  Add(gui, new graphics::IBitmapControl({501, 448, 544, 491}, bigKnob));
  rotary({508, 452, 539, 483}, ParamIdx(KorvelParam::BlendSpeed));
  caption({504, 409, 544, 421}, KorvelParam::BlendSpeed);
  rotary({556, 452, 587, 483}, ParamIdx(KorvelParam::Opacity));
  caption({552, 409, 592, 421}, KorvelParam::Opacity);
  for (int i = 0; i < kChannels; ++i) {
    const auto x0 = static_cast<float>(170 + 89 * i);
    // The Delay knob's 31 × 31 frame is centred on (x0 − 52.5, 467.5).
    rotary({x0 - 68.0f, 452, x0 - 37.0f, 483}, ParamIdx(KorvelParam::Delay1) + i);
    Add(gui, new graphics::IBitmapSwitch({x0 - 21.0f, 463, x0 + 6.0f, 490}, button, ParamIdx(KorvelParam::Input1) + i));
    set(static_cast<KorvelControl>(static_cast<int>(KorvelControl::LevelReadout1) + i),
        Add(gui, new graphics::ITextControl({x0 - 30.0f, 409, x0, 421}, "", greyRight, kClear)));
  }
  Add(gui, new KorvelScrollBar({82, 378, 618, 398}, ParamIdx(KorvelParam::XZoomLow), ParamIdx(KorvelParam::XZoomHigh),
                               barHandle));
  Add(gui, new KorvelOneSidedScrollBar({52, 56, 72, 362}, ParamIdx(KorvelParam::YZoom), barHandle));
  set(KorvelControl::FreezeButton, Add(gui, new FreezeControl({625, 384, 681, 398}, this), 2));
  auto* graph = Add(gui, new KorvelGraph({80, 56, 618, 362}, this), 1);
  set(KorvelControl::Graph, graph);
  set(KorvelControl::TimeAxis, Add(gui, new CaptionGridControl({80, 41, 618, 362}, grid)));
  set(KorvelControl::LevelAxis, Add(gui, new CaptionGridControl({80, 56, 650, 362}, grid)));
  set(KorvelControl::HoldHandle, Add(gui, new TriggerControl({80, 49, 679, 369}, ParamIdx(KorvelParam::Hold), trigHandle)));
  auto* tip = Add(gui, new TipControl({80, 56, 618, 362}));
  if (graph) graph->SetTip(tip);
  RebuildAxes();
  Add(gui, new IRasterScaleCornerDragControl({0, 0, kEditorWidth, kEditorHeight}, 20.0f,
                                             ITextStyle(12.0f, kWhite, TextAlign::Centre), {10, 0, 0, 0},
                                             {255, 0, 0, 0}, {255, 0, 0, 0}, {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}));

  const bool time = domain.load(std::memory_order_relaxed) == static_cast<int>(DisplayDomain::Time);
  if (graphics::IControl* span = EditorControl(KorvelControl::SpanReadout)) span->SetHidden(!time);
  if (graphics::IControl* hold = EditorControl(KorvelControl::HoldHandle)) hold->SetHidden(!time);
  gui.SetTickHook([this] { ApplyPendingSettings(); });
}
