#include "GraphicsTestSupport.h"

#include <cstdio>

#include "graphics/IKnobControls.h"
#include "graphics/ISwitchControls.h"
#include "graphics/ITextControls.h"

namespace graphicstest {

using namespace graphics;

namespace {

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

std::string Point(float x, float y) { return "(" + Num(x) + ", " + Num(y) + ")"; }

}  // namespace

TestDelegate::TestDelegate() : IGuiEditorDelegate(5) {
  GetParam(0)->SetupEnumerated("Domain", 0, 3, "", 0, "", {"Time", "Freq", "Phase"});
  GetParam(1)->SetupContinuous("Delay", 0.0, 0.0, 100.0, 0.1, "ms");
  GetParam(2)->SetupInteger("Steps", 0, 0, 10);
  GetParam(3)->SetupOnOff("Input", true, "", 0, "", "Off", "On");
  GetParam(4)->SetupContinuous("Level", 0.5, 0.0, 1.0, 0.01);
}

void RecordingGui::DrawBitmap(const IBitmapRef& bitmap, const IRect& d, int srcX, int srcY, const IBlendSpec*) {
  log.push_back("bitmap " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height) + " into " +
                Point(d.L, d.T) + "-" + Point(d.R, d.B) + " from " + Point(static_cast<float>(srcX), static_cast<float>(srcY)));
}

void RecordingGui::PathArc(float cx, float cy, float r, float fromDeg, float toDeg, bool ccw) {
  log.push_back("arc " + Point(cx, cy) + " r " + Num(r) + " " + Num(fromDeg) + ".." + Num(toDeg) + (ccw ? " ccw" : ""));
}

void RecordingGui::PathMoveTo(float x, float y) { log.push_back("move " + Point(x, y)); }

void RecordingGui::PathLineTo(float x, float y) { log.push_back("line " + Point(x, y)); }

void RecordingGui::PathCubicTo(float, float, float, float, float x, float y) { log.push_back("cubic " + Point(x, y)); }

void RecordingGui::PathQuadTo(float, float, float x, float y) { log.push_back("quad " + Point(x, y)); }

void RecordingGui::PathStroke(const IPaintPattern& pattern, float thickness, const IStrokeStyle& style,
                              const IBlendSpec*) {
  strokes.push_back(style);
  const IColour& c = pattern.stops[0].colour;
  log.push_back("stroke " + Num(thickness) + " colour " + std::to_string(c.A) + "," + std::to_string(c.R) + "," +
                std::to_string(c.G) + "," + std::to_string(c.B));
}

void RecordingGui::PathFill(const IPaintPattern& pattern, const IFillStyle&, const IBlendSpec* blend) {
  const IColour& c = pattern.stops[0].colour;
  log.push_back("fill " + std::to_string(c.A) + "," + std::to_string(c.R) + "," + std::to_string(c.G) + "," +
                std::to_string(c.B) + (blend ? " weight " + Num(blend->weight) : ""));
}

float RecordingGui::DoMeasureText(const ITextStyle& style, const char* text, IRect& rect) {
  float x = 0.0f, y = 0.0f;
  const float w = 6.0f * static_cast<float>(std::string(text).size());
  PlaceText(style, w, -8.0f, 2.0f, rect, x, y, rect);
  return w;
}

void RecordingGui::DoDrawText(const ITextStyle& style, const char* text, const IRect& rect, const IBlendSpec*) {
  float x = 0.0f, y = 0.0f;
  IRect box;
  PlaceText(style, 6.0f * static_cast<float>(std::string(text).size()), -8.0f, 2.0f, rect, x, y, box);
  log.push_back(std::string("text '") + text + "' at " + Point(x, y));
}

std::string RecordingGui::Joined(size_t first) const {
  std::string joined;
  for (size_t i = first; i < log.size(); ++i) joined += (i > first ? "; " : "") + log[i];
  return joined;
}

IBitmapRef FakeBitmap(int w, int h, int frames, bool horizontal) {
  static BackendBitmap fake(1, 1, 1, 1.0f);
  IBitmapRef ref;
  ref.bitmap = &fake;
  ref.width = w;
  ref.height = h;
  ref.frames = frames;
  ref.framesAreHorizontal = horizontal;
  ref.name = "fake.png";
  return ref;
}

void DemoLayout(IGui& gui) {
  gui.EnableMouseOver(true);
  gui.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
  gui.AddControl(new IBitmapControl({0, 0, 724, 526}, gui.LoadBitmap("bg.png")));
  const IBitmapRef knob = gui.LoadBitmap("knob_line.png");
  const IBitmapRef ring = gui.LoadBitmap("big_knob.png");
  const IBitmapRef button = gui.LoadBitmap("sm_button.png", 2);
  const ITextStyle white(10.0f, {255, 255, 255, 255});
  const ITextStyle greyRight(10.0f, {255, 128, 128, 128}, TextAlign::Right);
  const IColour clear{0, 0, 0, 0};
  gui.AddControl(new IBitmapRotaryKnob(IRect{47, 452, 78, 483}, knob, 0));
  gui.AddControl(new ICaptionControl({43, 409, 83, 421}, 0, white, clear, true));
  gui.AddControl(new IBitmapControl({453, 448, 496, 491}, ring));
  gui.AddControl(new IBitmapRotaryKnob(IRect{460, 452, 491, 483}, knob, 2));
  gui.AddControl(new ICaptionControl({456, 409, 496, 421}, 2, white, clear, false));
  gui.AddControl(new IBitmapRotaryKnob(IRect{556, 452, 587, 483}, knob, 4));
  gui.AddControl(new ICaptionControl({552, 409, 592, 421}, 4, white, clear, false));
  for (int i = 0; i < 4; ++i) {
    const float x0 = 170.0f + 89.0f * static_cast<float>(i);
    gui.AddControl(new IBitmapRotaryKnob(IRect{x0 - 68, 452, x0 - 37, 483}, knob, 1));
    gui.AddControl(new IBitmapSwitch(IRect{x0 - 21, 463, x0 + 6, 490}, button, 3));
    gui.AddControl(new ITextControl({x0 - 30, 409, x0, 421}, "-12.0", greyRight));
  }
  gui.AddControl(new ITextControl({44, 385, 74, 397}, "ZOOM", ITextStyle(10.0f, {255, 128, 128, 128})));
  gui.AddControl(new ITextControl({656, 484, 690, 499}, "4.1.0", ITextStyle(10.0f, {255, 0, 0, 0})));
}

}  // namespace graphicstest
