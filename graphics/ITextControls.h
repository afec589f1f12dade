#pragma once
// Text: ITextControl (a mouse-transparent label on a background) and ICaptionControl (a
// parameter's value text that opens the value prompt when clicked, with a triangle for
// enumerated parameters). [editor-thread]
#include <string>

#include "graphics/IControl.h"

namespace graphics {

class ITextControl : public IControl {
public:
  ITextControl(const IRect& bounds, const char* text = "", const ITextStyle& style = {},
               const IColour& background = {0, 0, 0, 0}, bool sizeToText = false);

  void Draw(IGui& g) override;
  void OnSetup() override;
  virtual void SetString(const char* text);
  // printf rules, at most maxLength characters.
  virtual void SetStringFormatted(int maxLength, const char* format, ...) __attribute__((format(printf, 3, 4)));
  virtual void ClearString() { SetString(""); }

  const std::string& GetString() const noexcept { return text; }

protected:
  void DrawTextAndBackground(IGui& g, const char* shown);
  // Draw and target rectangles become the measured text box centred on the old centre.
  void FitToText();

  std::string text;
  IColour background;
  bool sizeToText;
};

class ICaptionControl : public ITextControl {
public:
  ICaptionControl(const IRect& bounds, int paramIdx, const ITextStyle& style = {},
                  const IColour& background = {0, 0, 0, 0}, bool showLabel = true);

  void OnMouseDown(float x, float y, const IMouseModifiers& mods) override;
  // Its prompt opens on either button, as a caption offers nothing else to a right click.
  bool TakesRightPress() const override { return true; }
  void OnBoundsChanged() override;
  void Draw(IGui& g) override;

  const IRect& Triangle() const noexcept { return triangle; }

protected:
  bool showLabel;
  IColour triangleColour{255, 0, 0, 0};
  IColour triangleHoverColour{255, 255, 255, 255};
  IRect triangle;
};

}  // namespace graphics
