#include "graphics/IMenu.h"

#include <cstdio>

namespace graphics {

IMenuItem& IMenu::AddItem(const std::string& text, int flags, int tag) {
  auto item = std::make_unique<IMenuItem>();
  item->text = text;
  item->flags = flags;
  item->tag = tag;
  items.push_back(std::move(item));
  return *items.back();
}

void IMenu::Clear() {
  items.clear();
  title.clear();
  chosenIdx = -1;
  function = nullptr;
}

IMenuItem* IMenu::Item(int index) const noexcept {
  return index >= 0 && index < NItems() ? items[static_cast<size_t>(index)].get() : nullptr;
}

std::string IMenu::ShownText(int index) const {
  const IMenuItem* item = Item(index);
  if (!item) return {};
  static constexpr const char* kFormats[] = {"%1d: %s", "%02d: %s", "%03d: %s"};
  const int n = static_cast<int>(numbering);
  if (n < 1 || n > 3) return item->text;
  const int length = std::snprintf(nullptr, 0, kFormats[n - 1], index + 1, item->text.c_str());
  std::string shown(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::snprintf(shown.data(), shown.size() + 1, kFormats[n - 1], index + 1, item->text.c_str());
  return shown;
}

}  // namespace graphics
