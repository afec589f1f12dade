// Input dispatch: hit testing, capture, hover, keys, drops, context menus and value prompts.
#include <gtest/gtest.h>

#include <functional>

#include "GraphicsTestSupport.h"
#include "graphics/IControl.h"
#include "graphics/IKnobControls.h"
#include "graphics/ITextControls.h"

namespace {

using namespace graphics;

struct Target : IControl {
  Target(const IRect& r, int param, std::vector<std::string>& sharedLog, const char* controlName)
      : IControl(r, param), log(sharedLog), name(controlName) {}
  void Draw(IGui&) override {}
  void OnMouseDown(float, float, const IMouseModifiers&) override { log.push_back(name + " down"); }
  void OnMouseUp(float, float, const IMouseModifiers&) override { log.push_back(name + " up"); }
  void OnMouseDrag(float, float, float, float, const IMouseModifiers&) override { log.push_back(name + " drag"); }
  void OnMouseWheel(float, float, const IMouseModifiers&, float d) override {
    log.push_back(name + " wheel " + std::to_string(static_cast<int>(d)));
  }
  bool OnKeyDown(float, float, const IKeyEvent&) override {
    log.push_back(name + " key");
    return takesKeys;
  }
  void OnFileDrop(const char* path) override { log.push_back(name + " drop " + path); }
  bool AcceptsFileDrop() const override { return acceptsDrops; }
  void FillContextMenu(IMenu& menu) override {
    if (contextItems) menu.AddItem("Reset");
  }
  void OnContextMenuChoice(int index) override { log.push_back(name + " context " + std::to_string(index)); }
  std::vector<std::string>& log;
  std::string name;
  bool takesKeys = false, acceptsDrops = false, contextItems = false;
};

// A recording backend whose menus pick one item by text.
struct PromptGui : graphicstest::RecordingGui {
  using RecordingGui::RecordingGui;
  IMenu* ShowPlatformMenu(IMenu& menu, const IRect&) override {
    shown.clear();
    for (int i = 0; i < menu.NItems(); ++i) shown.push_back(menu.Item(i)->text + (menu.Item(i)->Checked() ? "*" : ""));
    title = menu.title;
    for (int i = 0; i < menu.NItems(); ++i)
      if (menu.Item(i)->text == choose) menu.chosenIdx = i;
    return menu.chosenIdx >= 0 ? &menu : nullptr;
  }
  void ShowPlatformTextEntry(int paramIdx, const ITextStyle&, const IRect&, int, const char* text) override {
    entryParam = paramIdx;
    entryText = text;
  }
  bool CursorIsHidden() const noexcept { return cursorHidden; }
  std::vector<std::string> shown;
  std::string title, choose, entryText;
  int entryParam = -2;
};

struct Knob : IKnobControlBase {
  using IKnobControlBase::IKnobControlBase;
  void Draw(IGui&) override {}
};

class Input : public ::testing::Test {
protected:
  void Down(float x, float y, bool right = false) {
    IPointerEvent e{x, y, 0, 0, {}};
    e.mods.L = !right;
    e.mods.R = right;
    g.OnMouseDown({&e, 1});
  }
  void Up(float x, float y) {
    const IPointerEvent e{x, y, 0, 0, {}};
    g.OnMouseUp({&e, 1});
  }
  void Drag(float x, float y, float dx, float dy) {
    const IPointerEvent e{x, y, dx, dy, {}};
    g.OnMouseDrag({&e, 1});
  }
  Target* Add(const IRect& r, int param, const char* name) {
    return static_cast<Target*>(g.AddControl(new Target(r, param, log, name)));
  }

  graphicstest::TestDelegate delegate;
  PromptGui g{delegate};
  std::vector<std::string> log;
};

TEST_F(Input, TheTopmostEnabledControlTakesTheClickAndKeepsTheDrag) {
  Add({0, 0, 100, 100}, -1, "background");
  Add({10, 10, 50, 50}, 4, "lower");
  Target* upper = Add({20, 20, 60, 60}, -1, "upper");
  Down(30, 30);
  Drag(90, 90, 60, 60);
  Drag(90, 90, 0, 0);
  Up(90, 90);
  EXPECT_EQ(log, (std::vector<std::string>{"upper down", "upper drag", "upper up"}));
  log.clear();
  upper->SetDisabled(true);
  Down(30, 30);
  Up(30, 30);
  EXPECT_EQ(log, (std::vector<std::string>{"lower down", "lower up"}));
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 4", "end 4"}));
  log.clear();
  upper->SetMouseEventsWhenDisabled(true);
  Down(30, 30);
  EXPECT_EQ(log, (std::vector<std::string>{"upper down"}));
}

TEST_F(Input, RightClickOnABoundControlOpensOnlyItsContextMenu) {
  Target* bound = Add({0, 0, 50, 50}, 4, "bound");
  Down(10, 10, true);
  EXPECT_TRUE(log.empty()) << "no items, no menu, and no mouse-down";
  bound->contextItems = true;
  g.choose = "Reset";
  Down(10, 10, true);
  EXPECT_EQ(log, (std::vector<std::string>{"bound context 0"}));
  EXPECT_TRUE(delegate.log.empty()) << "no gesture began, so none ends";
}

// A press of a second button that drops the first one's capture must not leave its gesture
// open or its cursor hidden: the first button's release no longer finds the control.
TEST_F(Input, APressThatDropsAnotherCaptureEndsItsGestureAndShowsTheCursor) {
  struct Case {
    const char* what;
    std::function<void(PromptGui&)> interrupt;
  } cases[] = {
      {"a right press without a context menu",
       [](PromptGui& gui) {
         IPointerEvent e{5, 5, 0, 0, {}};
         e.mods.L = e.mods.R = true;
         gui.OnMouseDown({&e, 1});
       }},
      {"a double click of another button",
       [](PromptGui& gui) {
         IMouseModifiers mods;
         mods.L = mods.R = true;
         gui.OnMouseDoubleClick(5, 5, mods);
       }},
  };
  IControl* knob = g.AddControl(new Knob({0, 0, 10, 10}, 4));
  Add({20, 0, 30, 10}, -1, "other");
  for (const Case& c : cases) {
    delegate.log.clear();
    log.clear();
    Down(5, 5);
    ASSERT_TRUE(g.CursorIsHidden()) << c.what;
    c.interrupt(g);
    Up(5, 5);
    EXPECT_EQ(delegate.log.front(), "begin 4") << c.what;
    EXPECT_EQ(delegate.log.back(), "end 4") << c.what;
    EXPECT_FALSE(g.IsCaptured(knob)) << c.what;
    EXPECT_FALSE(g.CursorIsHidden()) << c.what;
    Down(25, 5);
    Up(25, 5);
    EXPECT_EQ(log, (std::vector<std::string>{"other down", "other up"})) << c.what;
  }
}

TEST_F(Input, WheelKeysAndDropsFindTheirControls) {
  Add({0, 0, 100, 100}, -1, "background");
  Target* knob = Add({10, 10, 20, 20}, -1, "knob");
  Target* dropZone = Add({50, 50, 90, 90}, -1, "zone");
  EXPECT_TRUE(g.OnMouseWheel(15, 15, {}, 2.0f));
  std::vector<std::string> keys;
  g.SetKeyHandler([&keys](const IKeyEvent&, bool up) {
    keys.push_back(up ? "up" : "down");
    return true;
  });
  EXPECT_TRUE(g.OnKeyDown(5, 5, {}));  // over the background: straight to the handler
  knob->takesKeys = true;
  EXPECT_TRUE(g.OnKeyDown(15, 15, {}));
  EXPECT_TRUE(g.OnKeyUp(15, 15, {}));
  EXPECT_EQ(keys, (std::vector<std::string>{"down", "up"}));
  dropZone->acceptsDrops = true;
  Add({40, 40, 95, 95}, -1, "cover");
  g.OnFileDrop("/tmp/a.wav", 60, 60);
  EXPECT_EQ(log, (std::vector<std::string>{"knob wheel 2", "knob key", "zone drop /tmp/a.wav"}));
}

TEST_F(Input, HoverMovesBetweenControlsAndNeverToTheBackground) {
  g.AddControl(new ITextControl({0, 0, 100, 100}));
  IControl* a = Add({10, 10, 20, 20}, -1, "a");
  IControl* b = Add({30, 10, 40, 20}, -1, "b");
  EXPECT_FALSE(g.OnMouseOver(15, 15, {})) << "mouse-over is off until enabled";
  g.EnableMouseOver(true);
  EXPECT_TRUE(g.OnMouseOver(15, 15, {}));
  EXPECT_TRUE(a->MouseIsOver());
  EXPECT_TRUE(g.OnMouseOver(35, 15, {}));
  EXPECT_FALSE(a->MouseIsOver());
  EXPECT_TRUE(b->MouseIsOver());
  EXPECT_EQ(g.MouseOverIndex(), 2);
  g.OnMouseOut();
  EXPECT_FALSE(b->MouseIsOver());
  EXPECT_EQ(g.MouseOverIndex(), -1);
}

TEST_F(Input, EnumeratedPromptChecksTheCurrentTextAndSetsTheChoice) {
  auto* caption = static_cast<ICaptionControl*>(g.AddControl(new ICaptionControl({0, 0, 40, 12}, 0)));
  delegate.GetParam(0)->Store(1.0);
  g.choose = "Phase";
  Down(5, 5);
  EXPECT_EQ(g.shown, (std::vector<std::string>{"Time", "Freq*", "Phase"}));
  EXPECT_EQ(g.title, "Domain");
  EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(delegate.GetParam(0)->Current(), 2.0);
  EXPECT_EQ(delegate.log.front(), "begin 0");
  EXPECT_EQ(delegate.log.back(), "end 0");
  EXPECT_GT(caption->Triangle().W(), 0.0f);
}

TEST_F(Input, TextPromptShowsTheLabelAndCommitsThroughTheParameter) {
  IControl* caption = g.AddControl(new ICaptionControl({0, 0, 40, 12}, 1));
  caption->SetPromptShowsLabel(true);
  delegate.GetParam(1)->Store(12.5);
  Down(5, 5);
  EXPECT_EQ(g.entryParam, 1);
  EXPECT_EQ(g.entryText, "12.5 ms");
  EXPECT_EQ(g.TextEntryControl(), caption);
  g.CommitTextEntry("40");
  EXPECT_DOUBLE_EQ(delegate.GetParam(1)->Current(), 40.0);
  EXPECT_EQ(g.TextEntryControl(), nullptr);
}

TEST_F(Input, DoubleClickResetsOrActsAsASingleClick) {
  IControl* knob = Add({0, 0, 10, 10}, 4, "knob");
  knob->SetValue(0.9);
  EXPECT_TRUE(g.OnMouseDoubleClick(5, 5, {}));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5) << "reset to Level's default";
  knob->SetDoubleClickAsSingle(true);
  EXPECT_TRUE(g.OnMouseDoubleClick(5, 5, {}));
  EXPECT_EQ(log.back(), "knob down");
  g.ReleaseMouseCapture();
  EXPECT_FALSE(g.OnMouseDoubleClick(50, 50, {}));
}

}  // namespace

namespace {

TEST(Menu, NumberedItemsShowTheirPosition) {
  graphics::IMenu menu;
  menu.AddItem("Time");
  menu.AddItem("Freq", graphics::IMenuItem::kChecked);
  const std::pair<graphics::IMenu::Numbering, const char*> cases[] = {
      {graphics::IMenu::Numbering::None, "Freq"},
      {graphics::IMenu::Numbering::OneDigit, "2: Freq"},
      {graphics::IMenu::Numbering::TwoDigits, "02: Freq"},
      {graphics::IMenu::Numbering::ThreeDigits, "002: Freq"},
  };
  for (const auto& [numbering, shown] : cases) {
    menu.numbering = numbering;
    EXPECT_EQ(menu.ShownText(1), shown);
  }
  EXPECT_EQ(menu.ShownText(2), "");
  EXPECT_EQ(menu.Item(-1), nullptr);
  menu.Clear();
  EXPECT_EQ(menu.NItems(), 0);
}

}  // namespace
