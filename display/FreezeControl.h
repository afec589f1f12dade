#pragma once
// The "FREEZE" / "UNFREEZE" text button beside the zoom bar: toggles the graph's frozen state
// through Korvel and shows the state Korvel writes back into its value (1 frozen). [editor-thread]
#include "graphics/IControl.h"

class Korvel;

class FreezeControl final : public graphics::IControl {
public:
  FreezeControl(const graphics::IRect& rect, Korvel* plugin);

  void Draw(graphics::IGui& g) override;
  void OnMouseDown(float x, float y, const graphics::IMouseModifiers& mods) override;

private:
  Korvel* plugin;
  graphics::ITextStyle buttonStyle;
};
