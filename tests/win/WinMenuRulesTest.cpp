#include <gtest/gtest.h>

#include "graphics/platform/win/WinMenuRules.h"

namespace graphics::win {
namespace {

TEST(WinMenuRules, CommandIdsRunDepthFirst) {
  IMenu menu;
  menu.AddItem("A");
  IMenuItem& b = menu.AddItem("B");
  b.submenu = std::make_unique<IMenu>();
  b.submenu->AddItem("B1");
  b.submenu->AddItem("B2");
  menu.AddItem("C");
  const std::vector<MenuCommand> ids = MenuCommands(menu);
  ASSERT_EQ(ids.size(), 5u);
  const struct {
    IMenu* menu;
    int index;
  } expected[] = {{&menu, 0}, {&menu, 1}, {b.submenu.get(), 0}, {b.submenu.get(), 1}, {&menu, 2}};
  for (size_t i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(ids[i].menu, expected[i].menu) << i;
    EXPECT_EQ(ids[i].index, expected[i].index) << i;
  }
}

TEST(WinMenuRules, TextsShowAmpersandsAndNumbers) {
  IMenu menu;
  menu.AddItem("Rock & Roll");
  menu.AddItem("&&");
  EXPECT_EQ(NativeMenuText(menu, 0), "Rock && Roll");
  EXPECT_EQ(NativeMenuText(menu, 1), "&&&&");
  menu.numbering = IMenu::Numbering::TwoDigits;
  EXPECT_EQ(NativeMenuText(menu, 0), "01: Rock && Roll");
  EXPECT_EQ(NativeMenuText(menu, 5), "");
}

TEST(WinMenuRules, ColumnsBreakAtMultiplesOfTheColumnLength) {
  IMenu menu;
  for (int i = 0; i < 7; ++i) menu.AddItem("x");
  EXPECT_FALSE(StartsColumn(menu, 3)) << "no column length";
  menu.itemsPerColumn = 3;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(StartsColumn(menu, i), i == 3 || i == 6) << i;
  for (int i = 7; i < 160; ++i) menu.AddItem("x");
  EXPECT_FALSE(StartsColumn(menu, 3)) << "menus of 160 items or more stay in one column";
}

}  // namespace
}  // namespace graphics::win
