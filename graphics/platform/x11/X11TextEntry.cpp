#include "graphics/platform/x11/X11TextEntry.h"

#include <algorithm>
#include <cmath>

#include "graphics/IControl.h"
#include "graphics/platform/x11/X11Keys.h"
#include "graphics/platform/x11/X11PopupCanvas.h"
// Xlib last: its macros clash with our names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

namespace graphics {

namespace {

constexpr float kPad = 2.0f;

std::string Utf8(const std::u32string& s, size_t count) {
  std::string out;
  char bytes[5];
  for (size_t i = 0; i < std::min(count, s.size()); ++i) {
    EncodeUtf8(s[i], bytes);
    out += bytes;
  }
  return out;
}

std::u32string Decode(const char* utf8) {
  std::u32string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8 ? utf8 : "");
  while (*p) {
    char32_t c = *p;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) c &= 0x3F >> extra;
    ++p;
    for (; extra > 0 && (*p & 0xC0) == 0x80; --extra, ++p) c = c << 6 | (*p & 0x3F);
    // A cut or malformed sequence stands for one replacement character.
    out += extra ? U'\uFFFD' : c;
  }
  return out;
}

}  // namespace

// The entry's picture: background and text in the style's entry colours, the selection or caret.
class X11TextEntry::View final : public IControl {
public:
  View(const IRect& bounds, const ITextStyle& entryStyle, const X11TextEntry& shown)
      : IControl(bounds), style(entryStyle), entry(shown) {
    style.colour = style.entryText;
    style.angle = 0.0f;
  }

  void Draw(IGui& g) override {
    const IRect& r = GetRect();
    g.FillRect(style.entryBackground, r);
    const std::string all = Utf8(entry.text, entry.text.size());
    IRect box;
    const float w = all.empty() ? 0.0f : g.MeasureText(style, all.c_str(), box);
    float x = r.L + kPad;
    if (style.align == TextAlign::Centre) x = (r.L + r.R - w) / 2.0f;
    else if (style.align == TextAlign::Right) x = r.R - kPad - w;
    ITextStyle left = style;
    left.align = TextAlign::Left;
    const IRect textRect{x, r.T, std::max(r.R, x + w + 1.0f), r.B};
    const float lineTop = (r.T + r.B - style.size) / 2.0f, lineBottom = lineTop + style.size;
    if (entry.allSelected && !all.empty()) {
      g.FillRect(style.entryText, {x, lineTop, x + w, lineBottom});
      ITextStyle inverse = left;
      inverse.colour = style.entryBackground;
      g.DrawText(inverse, all.c_str(), textRect);
      return;
    }
    if (!all.empty()) g.DrawText(left, all.c_str(), textRect);
    const std::string before = Utf8(entry.text, entry.caret);
    const float cx = std::round(x + (before.empty() ? 0.0f : g.MeasureText(style, before.c_str(), box))) + 0.5f;
    g.DrawLine(style.entryText, cx, lineTop, cx, lineBottom);
  }

private:
  ITextStyle style;
  const X11TextEntry& entry;
};

X11TextEntry::X11TextEntry(Display* d, Window parent, const IRect& rect, float scale, const ITextStyle& style,
                           int maxChars, const char* initial, enum framework::IParam::Kind paramKind)
    : display(d), text(Decode(initial)), maxLength(maxChars), kind(paramKind) {
  if (maxLength > 0 && text.size() > static_cast<size_t>(maxLength)) text.resize(static_cast<size_t>(maxLength));
  caret = text.size();
  // One pixel beyond the rectangle on the right and bottom, as the system's edit box.
  const int w = static_cast<int>(std::ceil(rect.W() + 1.0f / scale)), h = static_cast<int>(std::ceil(rect.H() + 1.0f / scale));
  canvas = std::make_unique<X11PopupCanvas>(display, parent, false, static_cast<int>(rect.L * scale),
                                            static_cast<int>(rect.T * scale), std::max(w, 1), std::max(h, 1), scale,
                                            KeyPressMask | FocusChangeMask | ButtonPressMask);
  canvas->Gui().LoadFont(style.fontId, (std::string(style.fontId) + ".ttf").c_str());
  view = new View({0.0f, 0.0f, static_cast<float>(w), static_cast<float>(h)}, style, *this);
  canvas->SetView(view);
  cursor = XCreateFontCursor(display, XC_xterm);
  XDefineCursor(display, canvas->Id(), cursor);
  XMapRaised(display, canvas->Id());
  XSetInputFocus(display, canvas->Id(), RevertToParent, CurrentTime);
  canvas->Update();
}

X11TextEntry::~X11TextEntry() {
  canvas.reset();
  XFreeCursor(display, cursor);
}

Window X11TextEntry::Id() const noexcept { return canvas->Id(); }

bool X11TextEntry::Accepts(enum framework::IParam::Kind paramKind, char32_t c) noexcept {
  if ((c >= U'0' && c <= U'9') || c == U'+' || c == U'-') return true;
  return c == U'.' && paramKind == framework::IParam::Kind::Continuous;
}

void X11TextEntry::Changed() { view->MarkDirty(false); }

void X11TextEntry::Type(char32_t c) {
  if (Filters(kind) && !Accepts(kind, c)) return;
  if (allSelected) {
    text.clear();
    caret = 0;
    allSelected = false;
  }
  if (maxLength > 0 && text.size() >= static_cast<size_t>(maxLength)) return;
  text.insert(caret++, 1, c);
  Changed();
}

void X11TextEntry::HandleEvent(XEvent& e) {
  switch (e.type) {
    case Expose: canvas->ShowAgain(e.xexpose.x, e.xexpose.y, e.xexpose.width, e.xexpose.height); return;
    case FocusOut:
      // Losing the focus to another window commits, as clicking elsewhere does.
      if (e.xfocus.mode == NotifyNormal && e.xfocus.detail != NotifyInferior && e.xfocus.detail != NotifyPointer &&
          state == State::Editing)
        state = State::CommitRequested;
      return;
    case KeyPress: break;
    default: return;
  }
  KeySym keysym = 0;
  char ignored[8];
  XLookupString(&e.xkey, ignored, sizeof ignored, &keysym, nullptr);
  const bool control = (e.xkey.state & ControlMask) != 0;
  switch (keysym) {
    case XK_Return:
    case XK_KP_Enter: state = State::CommitRequested; return;
    case XK_Escape: state = State::CancelRequested; return;
    case XK_BackSpace:
    case XK_Delete:
    case XK_KP_Delete:
      if (allSelected) {
        text.clear();
        caret = 0;
        allSelected = false;
      } else if (keysym == XK_BackSpace && caret > 0) {
        text.erase(--caret, 1);
      } else if (keysym != XK_BackSpace && caret < text.size()) {
        text.erase(caret, 1);
      }
      Changed();
      return;
    case XK_Left:
    case XK_KP_Left: caret = allSelected ? 0 : caret - (caret > 0); break;
    case XK_Right:
    case XK_KP_Right: caret = allSelected ? text.size() : caret + (caret < text.size()); break;
    case XK_Home:
    case XK_KP_Home: caret = 0; break;
    case XK_End:
    case XK_KP_End: caret = text.size(); break;
    default: {
      if (control) {
        if (keysym == XK_a || keysym == XK_A) {
          allSelected = true;
          Changed();
        }
        return;
      }
      const char32_t c = CharacterOf(keysym);
      if (c >= 0x20 && c != 0x7F) Type(c);
      return;
    }
  }
  allSelected = false;
  Changed();
}

void X11TextEntry::Update() { canvas->Update(); }

std::string X11TextEntry::Text() const { return Utf8(text, text.size()); }

}  // namespace graphics
