#include "graphics/platform/win/WinMenuRules.h"

namespace graphics::win {
namespace {

void Collect(IMenu& menu, std::vector<MenuCommand>& out) {
  for (int i = 0; i < menu.NItems(); ++i) {
    out.push_back({&menu, i});
    if (IMenu* sub = menu.Item(i)->submenu.get()) Collect(*sub, out);
  }
}

}  // namespace

std::vector<MenuCommand> MenuCommands(IMenu& menu) {
  std::vector<MenuCommand> out;
  Collect(menu, out);
  return out;
}

std::string NativeMenuText(const IMenu& menu, int index) {
  const std::string shown = menu.ShownText(index);
  std::string text;
  text.reserve(shown.size());
  for (char c : shown) {
    text += c;
    if (c == '&') text += '&';
  }
  return text;
}

bool StartsColumn(const IMenu& menu, int index) noexcept {
  const int c = menu.itemsPerColumn;
  return menu.NItems() < 160 && c > 0 && index > 0 && index % c == 0;
}

}  // namespace graphics::win
