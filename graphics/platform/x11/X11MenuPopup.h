#pragma once
// The pop-up menu of the X11 window: the items of an IMenu in an override-redirect window of
// our own, drawn by the graphics framework and shown modally with the pointer and keyboard
// grabbed. A click or Enter on an item chooses it, a sub-menu item opens its own pop-up,
// Escape or a click outside dismisses it. The editor keeps ticking meanwhile. [main-thread]
#include <memory>
#include <vector>

#include "graphics/IGraphicsTypes.h"
#include "graphics/platform/x11/X11Types.h"

namespace graphics {

class IGuiX11;
class IMenu;
class X11PopupCanvas;

class X11MenuPopup {
public:
  // Opens at root pixel (x, y), kept on the screen, drawn at scale pixels per UI unit.
  X11MenuPopup(IGuiX11& owner, IMenu& menu, int x, int y, float scale);
  ~X11MenuPopup();
  X11MenuPopup(const X11MenuPopup&) = delete;
  X11MenuPopup& operator=(const X11MenuPopup&) = delete;

  // Runs until the user decides: the menu (this one or a sub-menu) whose chosen index is set,
  // or null when dismissed.
  IMenu* Run();

  // The UI-unit rows of the items (separators included), for drawing and hit testing.
  struct Row {
    IRect rect;
    int item = -1;
  };

private:
  enum class Outcome { Open, Chosen, Back, Dismissed };

  IMenu* RunLoop(Outcome& outcome);
  void Grab();
  int RowAt(int px, int py) const noexcept;
  bool Selectable(int row) const noexcept;
  void Hover(int row);
  void Step(int direction);
  // Chooses the row's item or opens its sub-menu.
  void Activate(int row);

  IGuiX11& owner;
  XDisplayHandle* display;
  IMenu& menu;
  float scale;
  int rootX = 0, rootY = 0;
  std::vector<Row> rows;
  std::unique_ptr<X11PopupCanvas> canvas;
  class View;
  View* view = nullptr;
  int hover = -1;
  bool pressedInside = false;
  bool movedInside = false;
  Outcome outcome = Outcome::Open;
  IMenu* result = nullptr;
};

}  // namespace graphics
