#pragma once
// The native text entry's rules as pure functions: its states, which typed characters a
// value entry takes, what Enter and Escape do, and where the edit control goes. [thread-safe]
#include <cstdint>

#include "framework/IParam.h"
#include "graphics/IGraphicsTypes.h"

namespace graphics::win {

enum class EntryState : int { Idle = 0, Editing = 1, Painted = 2, CancelRequested = 3, CommitRequested = 4 };

constexpr uint32_t kKeyBackspace = 0x08;
constexpr uint32_t kKeyEnter = 0x0D;
constexpr uint32_t kKeyEscape = 0x1B;

// Whether a character typed into the entry goes in. Backspace always does; for a parameter,
// on/off, integer and enumerated values take only "0"…"9", "+" and "-", continuous ones also
// "."; an entry without a parameter (or a parameter of no kind) takes anything.
bool EntryAccepts(bool forParameter, enum framework::IParam::Kind kind, uint32_t character) noexcept;

// The state a key press in the entry asks for: commit for Enter, cancel for Escape (both then
// swallowed); otherwise the state stays (false).
bool EntryStateForKey(uint32_t virtualKey, EntryState& state) noexcept;

struct EntryGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  // The formatting rectangle that centres one line vertically; valid only when centred.
  bool centred = false;
  int formatTop = 0;
};

// The edit control over rect (UI units) at the backing scale, for text of the style's size.
EntryGeometry EntryGeometryFor(const IRect& rect, float backingScale, float textSize, TextVAlign valign) noexcept;

}  // namespace graphics::win
