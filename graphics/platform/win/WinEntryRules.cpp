#include "graphics/platform/win/WinEntryRules.h"

namespace graphics::win {

bool EntryAccepts(bool forParameter, enum framework::IParam::Kind kind, uint32_t c) noexcept {
  if (c == kKeyBackspace || !forParameter) return true;
  switch (kind) {
    case framework::IParam::Kind::OnOff:
    case framework::IParam::Kind::Integer:
    case framework::IParam::Kind::Enumerated: return (c >= '0' && c <= '9') || c == '+' || c == '-';
    case framework::IParam::Kind::Continuous: return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    case framework::IParam::Kind::None: break;
  }
  return true;
}

bool EntryStateForKey(uint32_t virtualKey, EntryState& state) noexcept {
  if (virtualKey == kKeyEnter) state = EntryState::CommitRequested;
  else if (virtualKey == kKeyEscape) state = EntryState::CancelRequested;
  else return false;
  return true;
}

EntryGeometry EntryGeometryFor(const IRect& rect, float s, float textSize, TextVAlign valign) noexcept {
  EntryGeometry g;
  g.x = static_cast<int>(s * rect.L);
  g.y = static_cast<int>(s * rect.T);
  g.width = static_cast<int>(s * rect.W()) + 1;
  g.height = static_cast<int>(s * rect.H()) + 1;
  g.centred = valign == TextVAlign::Middle;
  if (g.centred) g.formatTop = static_cast<int>((static_cast<float>(g.height) - s * textSize) / 2.0f);
  return g;
}

}  // namespace graphics::win
