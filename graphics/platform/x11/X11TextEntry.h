#pragma once
// The one-line text entry of the X11 window: a child window over the entry rectangle, drawn
// by the graphics framework, with the keyboard focus. Enter asks for a commit, Escape for a
// cancel, losing the focus commits; the editor's next tick carries the request out. Entries
// for a parameter take only the characters its kind can parse. [main-thread]
#include <memory>
#include <string>

#include "framework/IParam.h"
#include "graphics/IGraphicsTypes.h"
#include "graphics/platform/x11/X11Types.h"

namespace graphics {

class X11PopupCanvas;

class X11TextEntry {
public:
  enum class State { Editing, CommitRequested, CancelRequested };

  // kind None: a free text (no parameter). rect in UI units of the editor, scale its backing scale.
  X11TextEntry(XDisplayHandle* display, XId parent, const IRect& rect, float scale, const ITextStyle& style,
               int maxLength, const char* text, enum framework::IParam::Kind kind);
  ~X11TextEntry();
  X11TextEntry(const X11TextEntry&) = delete;
  X11TextEntry& operator=(const X11TextEntry&) = delete;

  XId Id() const noexcept;
  // Keys, focus and exposure of its window.
  void HandleEvent(XEventRecord& event);
  // Repaints after edits.
  void Update();
  State GetState() const noexcept { return state; }
  void Request(State s) noexcept { state = s; }
  // The text as UTF-8.
  std::string Text() const;

  // Whether a typed character may go into an entry for a parameter of the kind: on/off,
  // integer and enumerated ones take digits, "+" and "-"; continuous ones also ".".
  static bool Accepts(enum framework::IParam::Kind kind, char32_t c) noexcept;
  // Whether an entry for a value of the kind filters at all (free texts and kindless values do not).
  static bool Filters(enum framework::IParam::Kind kind) noexcept { return kind != framework::IParam::Kind::None; }
  static constexpr enum framework::IParam::Kind kFreeText = framework::IParam::Kind::None;

private:
  class View;

  void Type(char32_t c);
  void Changed();

  XDisplayHandle* display;
  XId cursor = 0;
  std::unique_ptr<X11PopupCanvas> canvas;
  View* view = nullptr;
  std::u32string text;
  size_t caret = 0;
  bool allSelected = true;
  int maxLength;
  enum framework::IParam::Kind kind;
  State state = State::Editing;
};

}  // namespace graphics
