#pragma once
// How an IMenu becomes a native pop-up menu, as pure functions: the command id of every item
// (consecutive from 0, depth first), the text shown (numbered, with "&" doubled so it shows
// literally) and where a new column starts. [editor-thread] (the menu is the caller's)
#include <string>
#include <vector>

#include "graphics/IMenu.h"

namespace graphics::win {

struct MenuCommand {
  IMenu* menu = nullptr;
  int index = -1;
};

// Entry n is the item with command id n.
std::vector<MenuCommand> MenuCommands(IMenu& menu);
std::string NativeMenuText(const IMenu& menu, int index);
// Menus of fewer than 160 items with a column length c > 0 break before every index that is a
// non-zero multiple of c.
bool StartsColumn(const IMenu& menu, int index) noexcept;

}  // namespace graphics::win
