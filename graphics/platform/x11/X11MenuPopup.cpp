#include "graphics/platform/x11/X11MenuPopup.h"

#include <poll.h>

#include <algorithm>
#include <cmath>

#include "graphics/IControl.h"
#include "graphics/IMenu.h"
#include "graphics/platform/x11/IGuiX11.h"
#include "graphics/platform/x11/X11PopupCanvas.h"
// Xlib last: its macros clash with our names.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace graphics {

namespace {

constexpr float kRowHeight = 22.0f;
constexpr float kSeparatorHeight = 9.0f;
constexpr float kCheckWidth = 22.0f;
constexpr float kArrowWidth = 18.0f;
constexpr float kRightPad = 14.0f;
constexpr float kMinColumnWidth = 80.0f;
constexpr float kTextSize = 13.0f;
constexpr long kEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;

const IColour kBackground{255, 242, 242, 242};
const IColour kBorder{255, 150, 150, 150};
const IColour kText{255, 20, 20, 20};
const IColour kGreyedText{255, 150, 150, 150};
const IColour kHighlight{255, 0, 110, 200};
const IColour kHighlightText{255, 255, 255, 255};

bool Unselectable(const IMenuItem& item) {
  return (item.flags & (IMenuItem::kSeparator | IMenuItem::kGreyed | IMenuItem::kDisabled)) != 0;
}

}  // namespace

// Draws the rows: a check mark, the text and a sub-menu arrow; the hovered row highlighted.
class X11MenuPopup::View final : public IControl {
public:
  View(const IRect& bounds, const IMenu& shown, const std::vector<Row>& shownRows)
      : IControl(bounds), menu(shown), rows(shownRows) {}

  void SetHover(int row) {
    if (row == hover) return;
    hover = row;
    MarkDirty(false);
  }

  void Draw(IGui& g) override {
    const IRect& r = GetRect();
    g.FillRect(kBackground, r);
    g.DrawRect(kBorder, {r.L + 0.5f, r.T + 0.5f, r.R - 0.5f, r.B - 0.5f});
    for (size_t i = 0; i < rows.size(); ++i) {
      const Row& row = rows[i];
      const IMenuItem* item = menu.Item(row.item);
      if (!item) continue;
      const IRect& b = row.rect;
      if (item->flags & IMenuItem::kSeparator) {
        const float y = std::floor((b.T + b.B) / 2.0f) + 0.5f;
        g.DrawLine(kBorder, b.L + 4.0f, y, b.R - 4.0f, y);
        continue;
      }
      const bool highlighted = static_cast<int>(i) == hover && !Unselectable(*item);
      if (highlighted) g.FillRect(kHighlight, b);
      const IColour& colour = highlighted ? kHighlightText : Unselectable(*item) ? kGreyedText : kText;
      if (item->Checked()) {
        const float cx = b.L + kCheckWidth / 2.0f, cy = (b.T + b.B) / 2.0f;
        g.DrawLine(colour, cx - 5.0f, cy, cx - 1.5f, cy + 4.0f, nullptr, 1.6f);
        g.DrawLine(colour, cx - 1.5f, cy + 4.0f, cx + 5.0f, cy - 4.5f, nullptr, 1.6f);
      }
      ITextStyle style(kTextSize, colour, TextAlign::Left);
      g.DrawText(style, menu.ShownText(row.item).c_str(), {b.L + kCheckWidth, b.T, b.R - kRightPad, b.B});
      if (item->submenu) {
        const float x = b.R - kArrowWidth / 2.0f, y = (b.T + b.B) / 2.0f;
        g.FillTriangle(colour, x - 3.0f, y - 4.5f, x - 3.0f, y + 4.5f, x + 2.0f, y);
      }
    }
  }

private:
  const IMenu& menu;
  const std::vector<Row>& rows;
  int hover = -1;
};

X11MenuPopup::X11MenuPopup(IGuiX11& ui, IMenu& shown, int x, int y, float pixelScale)
    : owner(ui), display(ui.XDisplay()), menu(shown), scale(pixelScale) {
  const int screen = DefaultScreen(display);
  canvas = std::make_unique<X11PopupCanvas>(display, RootWindow(display, screen), true, x, y, 10, 10, scale, kEvents);
  scale = canvas->Scale();
  XStoreName(display, canvas->Id(), "Korvel menu");
  canvas->Gui().LoadFont("Roboto-Regular", "Roboto-Regular.ttf");

  // Columns of at most itemsPerColumn rows (one column for 160 items or more), each as wide
  // as its widest text.
  const int n = menu.NItems();
  const int perColumn = menu.itemsPerColumn > 0 && n < 160 ? menu.itemsPerColumn : std::max(n, 1);
  const ITextStyle style(kTextSize, kText, TextAlign::Left);
  float left = 0.0f, height = 0.0f;
  for (int first = 0; first < n; first += perColumn) {
    float width = kMinColumnWidth, top = 1.0f;
    const size_t firstRow = rows.size();
    for (int i = first; i < std::min(n, first + perColumn); ++i) {
      const IMenuItem* item = menu.Item(i);
      const float h = (item->flags & IMenuItem::kSeparator) ? kSeparatorHeight : kRowHeight;
      IRect box;
      const float textWidth = canvas->Gui().MeasureText(style, menu.ShownText(i).c_str(), box);
      width = std::max(width, kCheckWidth + textWidth + kRightPad + (item->submenu ? kArrowWidth : 0.0f));
      rows.push_back({{0.0f, top, 0.0f, top + h}, i});
      top += h;
    }
    width = std::ceil(width);
    for (size_t r = firstRow; r < rows.size(); ++r) {
      rows[r].rect.L = left + 1.0f;
      rows[r].rect.R = left + 1.0f + width;
    }
    left += width;
    height = std::max(height, top);
  }
  const int w = static_cast<int>(left) + 2, h = static_cast<int>(std::ceil(height)) + 1;
  canvas->Resize(w, h);
  view = new View({0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)}, menu, rows);
  canvas->SetView(view);

  // Kept on the screen.
  const int pw = static_cast<int>(static_cast<float>(w) * scale), ph = static_cast<int>(static_cast<float>(h) * scale);
  rootX = std::max(0, std::min(x, DisplayWidth(display, screen) - pw));
  rootY = std::max(0, std::min(y, DisplayHeight(display, screen) - ph));
  XMoveWindow(display, canvas->Id(), rootX, rootY);
}

X11MenuPopup::~X11MenuPopup() {
  XUngrabPointer(display, CurrentTime);
  XUngrabKeyboard(display, CurrentTime);
  canvas.reset();
  XFlush(display);
}

void X11MenuPopup::Grab() {
  // Without the grab (another client holds one) the menu still works inside its own window.
  XGrabPointer(display, canvas->Id(), False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
               GrabModeAsync, None, None, CurrentTime);
  XGrabKeyboard(display, canvas->Id(), False, GrabModeAsync, GrabModeAsync, CurrentTime);
}

IMenu* X11MenuPopup::Run() {
  Outcome ignored = Outcome::Open;
  return RunLoop(ignored);
}

IMenu* X11MenuPopup::RunLoop(Outcome& finalOutcome) {
  if (menu.NItems() == 0) return nullptr;
  XMapRaised(display, canvas->Id());
  Grab();
  canvas->Update();
  while (outcome == Outcome::Open) {
    while (outcome == Outcome::Open && XPending(display)) {
      XEvent e;
      XNextEvent(display, &e);
      if (e.xany.window != canvas->Id()) {
        if (!owner.ServeWhileModal(e)) outcome = Outcome::Dismissed;
        continue;
      }
      switch (e.type) {
        case Expose: canvas->ShowAgain(e.xexpose.x, e.xexpose.y, e.xexpose.width, e.xexpose.height); break;
        case MotionNotify: {
          const int row = RowAt(e.xmotion.x, e.xmotion.y);
          if (row >= 0) movedInside = true;
          Hover(row);
          break;
        }
        case ButtonPress:
          if (e.xbutton.button > 3) break;
          if (RowAt(e.xbutton.x, e.xbutton.y) < 0 &&
              (e.xbutton.x < 0 || e.xbutton.y < 0 ||
               e.xbutton.x >= static_cast<int>(static_cast<float>(canvas->Gui().Width()) * scale) ||
               e.xbutton.y >= static_cast<int>(static_cast<float>(canvas->Gui().Height()) * scale))) {
            outcome = Outcome::Dismissed;
          } else {
            pressedInside = true;
          }
          break;
        case ButtonRelease: {
          if (e.xbutton.button > 3) break;
          // The release of the press that opened the menu chooses only after a drag onto an item.
          const int row = RowAt(e.xbutton.x, e.xbutton.y);
          if (row >= 0 && (pressedInside || movedInside)) Activate(row);
          break;
        }
        case KeyPress: {
          const KeySym key = XLookupKeysym(&e.xkey, 0);
          if (key == XK_Escape || key == XK_Left) outcome = Outcome::Back;
          else if (key == XK_Up) Step(-1);
          else if (key == XK_Down) Step(1);
          else if ((key == XK_Return || key == XK_KP_Enter || key == XK_space || key == XK_Right) && hover >= 0)
            Activate(hover);
          break;
        }
        default: break;
      }
    }
    if (outcome != Outcome::Open) break;
    owner.RunDueTick();
    canvas->Update();
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    if (!XPending(display)) poll(&fd, 1, std::max(1, owner.MillisecondsToNextTick()));
  }
  finalOutcome = outcome;
  return outcome == Outcome::Chosen ? result : nullptr;
}

int X11MenuPopup::RowAt(int px, int py) const noexcept {
  const float x = static_cast<float>(px) / scale, y = static_cast<float>(py) / scale;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].rect.Contains(x, y)) return static_cast<int>(i);
  return -1;
}

bool X11MenuPopup::Selectable(int row) const noexcept {
  if (row < 0 || row >= static_cast<int>(rows.size())) return false;
  const IMenuItem* item = menu.Item(rows[static_cast<size_t>(row)].item);
  return item && !Unselectable(*item);
}

void X11MenuPopup::Hover(int row) {
  hover = row;
  view->SetHover(row);
}

void X11MenuPopup::Step(int direction) {
  const int n = static_cast<int>(rows.size());
  int row = hover;
  for (int i = 0; i < n; ++i) {
    row = row < 0 ? (direction > 0 ? 0 : n - 1) : (row + direction + n) % n;
    if (Selectable(row)) {
      Hover(row);
      return;
    }
  }
}

void X11MenuPopup::Activate(int row) {
  if (!Selectable(row)) return;
  const Row& r = rows[static_cast<size_t>(row)];
  IMenuItem* item = menu.Item(r.item);
  if (!item->submenu) {
    menu.chosenIdx = r.item;
    result = &menu;
    outcome = Outcome::Chosen;
    return;
  }
  X11MenuPopup sub(owner, *item->submenu, rootX + static_cast<int>(r.rect.R * scale),
                   rootY + static_cast<int>(r.rect.T * scale), scale);
  Outcome subOutcome = Outcome::Open;
  IMenu* chosen = sub.RunLoop(subOutcome);
  if (subOutcome == Outcome::Chosen) {
    result = chosen;
    outcome = Outcome::Chosen;
  } else if (subOutcome == Outcome::Dismissed) {
    outcome = Outcome::Dismissed;
  } else {
    Grab();
  }
}

}  // namespace graphics
