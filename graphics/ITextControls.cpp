#include "graphics/ITextControls.h"

#include <cstdarg>
#include <vector>

#include "framework/IParam.h"
#include "framework/ShortText.h"
#include "graphics/IGui.h"

namespace graphics {

ITextControl::ITextControl(const IRect& bounds, const char* label, const ITextStyle& style,
                           const IColour& backgroundColour, bool fitToText)
    : IControl(bounds), text(label ? label : ""), background(backgroundColour), sizeToText(fitToText) {
  textStyle = style;
  mouseTransparent = true;
}

void ITextControl::DrawTextAndBackground(IGui& g, const char* shown) {
  g.FillRect(background, drawRect, &blend);
  if (shown && *shown && g.TextEntryControl() != this) g.DrawText(textStyle, shown, drawRect, &blend);
}

void ITextControl::Draw(IGui& g) { DrawTextAndBackground(g, text.c_str()); }

void ITextControl::OnSetup() {
  if (sizeToText) FitToText();
}

void ITextControl::FitToText() {
  if (!ui) return;
  IRect box;
  ui->MeasureText(textStyle, text.c_str(), box);
  const float cx = drawRect.MW(), cy = drawRect.MH();
  const float w = box.W(), h = box.H();
  drawRect = targetRect = {cx - w / 2.0f, cy - h / 2.0f, cx + w / 2.0f, cy + h / 2.0f};
  OnBoundsChanged();
}

void ITextControl::SetString(const char* newText) {
  const char* value = newText ? newText : "";
  if (text == value) return;
  text = value;
  if (sizeToText) FitToText();
  MarkDirty(false);
}

void ITextControl::SetStringFormatted(int maxLength, const char* format, ...) {
  framework::ShortText formatted;
  va_list args;
  va_start(args, format);
  formatted.SetFormattedV(maxLength, format, args);
  va_end(args);
  text = formatted.Get();
  MarkDirty(false);
}

ICaptionControl::ICaptionControl(const IRect& bounds, int paramIdx, const ITextStyle& style,
                                 const IColour& backgroundColour, bool withLabel)
    : ITextControl(bounds, "", style, backgroundColour, false), showLabel(withLabel) {
  BindParam(paramIdx, 0);
  promptDisabled = false;
  doubleClickAsSingle = true;
  mouseTransparent = false;
}

void ICaptionControl::OnMouseDown(float, float, const IMouseModifiers& mods) {
  if ((mods.L || mods.R) && GetParam(0) && !promptDisabled && ui) ui->PromptForValue(*this, drawRect, 0);
}

void ICaptionControl::OnBoundsChanged() {
  const framework::IParam* param = GetParam(0);
  if (!param || param->Kind() != framework::IParam::Kind::Enumerated) {
    triangle = {};
    return;
  }
  const float s = textStyle.size;
  const float areaL = textStyle.align == TextAlign::Right ? drawRect.L : drawRect.R - s;
  const float left = areaL + s / 2.0f - s / 4.0f;
  const float h = 0.33f * s;
  triangle = {left, drawRect.MH() - h / 2.0f, left + s / 2.0f, drawRect.MH() + h / 2.0f};
}

void ICaptionControl::Draw(IGui& g) {
  const framework::IParam* param = GetParam(0);
  if (param) {
    framework::ShortText shown;
    param->FormatValue(param->Current(), false, shown, true);
    text = shown.Get();
    if (showLabel) {
      text += ' ';
      text += param->ShownLabel();
    }
  }
  DrawTextAndBackground(g, text.c_str());
  if (triangle.W() > 0.0f) {
    if (mouseIsOver) {
      g.FillTriangle(triangleHoverColour, triangle.L, triangle.T, triangle.R, triangle.T, triangle.MW(), triangle.B);
    } else {
      const IBlendSpec half{BlendMode::SrcOver, 0.5f};
      g.FillTriangle(triangleColour, triangle.L, triangle.T, triangle.R, triangle.T, triangle.MW(), triangle.B, &half);
    }
  }
}

}  // namespace graphics
