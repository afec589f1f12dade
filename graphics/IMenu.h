#pragma once
// A pop-up menu: owned items (each maybe with an owned sub-menu), the chosen index and an
// optional callable run when an item of this menu is chosen. Used by the value prompts and
// context menus; the platform shows it. [editor-thread]
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace graphics {

class IMenu;

struct IMenuItem {
  static constexpr int kGreyed = 1;
  static constexpr int kDisabled = 2;
  static constexpr int kChecked = 4;
  static constexpr int kSeparator = 8;

  std::string text;
  std::unique_ptr<IMenu> submenu;
  int flags = 0;
  int tag = -1;

  bool Checked() const noexcept { return (flags & kChecked) != 0; }
};

class IMenu {
public:
  // 0 none, 1 "%1d: %s", 2 "%02d: %s", 3 "%03d: %s" (the item's position from 1).
  enum class Numbering : int { None = 0, OneDigit = 1, TwoDigits = 2, ThreeDigits = 3 };

  IMenuItem& AddItem(const std::string& text, int flags = 0, int tag = -1);
  // Empties items and title, forgets the choice and the callable.
  void Clear();

  int NItems() const noexcept { return static_cast<int>(items.size()); }
  // Null when out of range.
  IMenuItem* Item(int index) const noexcept;
  // The item's text as shown: with its number when the menu numbers its items.
  std::string ShownText(int index) const;

  int itemsPerColumn = 0;
  Numbering numbering = Numbering::None;
  std::string title;
  int chosenIdx = -1;
  std::function<void(IMenu&)> function;

private:
  std::vector<std::unique_ptr<IMenuItem>> items;
};

}  // namespace graphics
