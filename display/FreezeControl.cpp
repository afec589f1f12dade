#include "display/FreezeControl.h"

#include "display/Korvel.h"
#include "graphics/IGui.h"

FreezeControl::FreezeControl(const graphics::IRect& rect, Korvel* korvel)
    : IControl(rect), plugin(korvel), buttonStyle(12.0f, {255, 32, 128, 216}, graphics::TextAlign::Right) {}

void FreezeControl::Draw(graphics::IGui& g) {
  g.DrawText(buttonStyle, GetValue() >= 0.5 ? "UNFREEZE" : "FREEZE", drawRect);
}

// The button already holds the new state, so Korvel is asked not to write it back.
void FreezeControl::OnMouseDown(float, float, const graphics::IMouseModifiers&) {
  const bool freeze = GetValue() <= 0.5;
  SetValue(freeze ? 1.0 : 0.0);
  if (plugin) plugin->SetFrozen(freeze, false);
  MarkDirty(true);
}
