#include <gtest/gtest.h>

#include "graphics/platform/win/WinMessages.h"

namespace graphics::win {
namespace {

int64_t At(int x, int y) {
  return static_cast<int64_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x));
}

uint64_t WheelParam(int value, uint32_t flags = 0) {
  return (static_cast<uint64_t>(static_cast<uint16_t>(static_cast<int16_t>(value))) << 16) | flags;
}

WinWindowState Scaled(float s) {
  WinWindowState state;
  state.backingScale = s;
  return state;
}

TEST(WinMessages, MessagesWithoutPointerMapToTheirActions) {
  struct Case {
    uint32_t message;
    uint64_t wParam;
    WinAction action;
    int tick;
  } cases[] = {
      {msg::kSetFocus, 0, WinAction::Handled, 0},
      {msg::kKillFocus, 0, WinAction::Handled, 0},
      {msg::kEraseBackground, 0, WinAction::Handled, 0},
      {msg::kClose, 0, WinAction::Close, 0},
      {msg::kSetCursor, 0, WinAction::SetCursor, 0},
      {msg::kGetDialogCode, 0, WinAction::WantAllKeys, 0},
      {msg::kKeyDown, 'A', WinAction::KeyDown, 0},
      {msg::kKeyUp, 'A', WinAction::KeyUp, 0},
      {msg::kTimer, kDisplayTimerId, WinAction::Tick, 0},
      {msg::kTimer, 7, WinAction::Default, 0},  // someone else's timer
      {msg::kDisplayTick, 41, WinAction::Tick, 41},
      {msg::kEditColours, 0, WinAction::EditColours, 0},
      {msg::kDropFiles, 0, WinAction::DropFiles, 0},
      {msg::kMouseLeave, 0, WinAction::MouseLeave, 0},
      {0x0005 /* size */, 0, WinAction::Default, 0},
  };
  for (const Case& c : cases) {
    const WinInput in = TranslateMessage({c.message, c.wParam, 0, 0}, {});
    EXPECT_EQ(in.action, c.action) << std::hex << c.message;
    EXPECT_EQ(in.tickCount, c.tick) << std::hex << c.message;
  }
}

TEST(WinMessages, PointerMessagesGiveUiUnitsAndModifiers) {
  WinWindowState state = Scaled(2.0f);
  state.altDown = true;
  const WinInput down = TranslateMessage({msg::kRightDown, kFlagRight | kFlagShift | kFlagControl, At(100, 50), 0}, state);
  EXPECT_EQ(down.action, WinAction::MouseDown);
  EXPECT_FLOAT_EQ(down.event.x, 50.0f);
  EXPECT_FLOAT_EQ(down.event.y, 25.0f);
  EXPECT_FALSE(down.event.mods.L);
  EXPECT_TRUE(down.event.mods.R && down.event.mods.S && down.event.mods.C && down.event.mods.A);

  // Coordinates are signed: a captured drag can leave the window to the left or above.
  const WinInput outside = TranslateMessage({msg::kLeftDown, kFlagLeft, At(-10, -4), 0}, Scaled(1.0f));
  EXPECT_FLOAT_EQ(outside.event.x, -10.0f);
  EXPECT_FLOAT_EQ(outside.event.y, -4.0f);

  // The release no longer carries its button in the flags; the event still names it.
  const WinInput up = TranslateMessage({msg::kLeftUp, 0, At(4, 6), 0}, Scaled(1.0f));
  EXPECT_EQ(up.action, WinAction::MouseUp);
  EXPECT_TRUE(up.event.mods.L);
  EXPECT_FALSE(up.event.mods.R);

  EXPECT_EQ(TranslateMessage({msg::kLeftDoubleClick, kFlagLeft, At(1, 1), 0}, {}).action, WinAction::DoubleClick);
}

// A press the window captures the mouse for must have a release that frees it, for every
// button: otherwise the capture, a hidden cursor and an open gesture outlive the click.
TEST(WinMessages, EveryButtonThatPressesAlsoReleases) {
  struct Case {
    const char* button;
    uint32_t down, up;
    uint64_t downFlags;
    bool left, right;
  } cases[] = {
      {"left", msg::kLeftDown, msg::kLeftUp, kFlagLeft, true, false},
      {"right", msg::kRightDown, msg::kRightUp, kFlagRight, false, true},
      {"middle", msg::kMiddleDown, msg::kMiddleUp, 0, false, false},
  };
  for (const Case& c : cases) {
    WinWindowState state = Scaled(2.0f);
    EXPECT_EQ(TranslateMessage({c.down, c.downFlags, At(8, 6), 0}, state).action, WinAction::MouseDown) << c.button;
    state.hasCapture = true;
    const WinInput up = TranslateMessage({c.up, 0, At(10, 12), 0}, state);
    EXPECT_EQ(up.action, WinAction::MouseUp) << c.button;
    EXPECT_FLOAT_EQ(up.event.x, 5.0f) << c.button;
    EXPECT_FLOAT_EQ(up.event.y, 6.0f) << c.button;
    EXPECT_EQ(up.event.mods.L, c.left) << c.button;
    EXPECT_EQ(up.event.mods.R, c.right) << c.button;
  }
}

TEST(WinMessages, MovesAreHoverOrCapturedDrags) {
  WinWindowState state = Scaled(2.0f);
  state.lastX = 10.0f;
  state.lastY = 10.0f;
  struct Case {
    uint64_t buttons;
    bool capture;
    bool entry;
    int64_t at;
    WinAction action;
  } cases[] = {
      {0, false, false, At(30, 40), WinAction::MouseOver},
      {0, true, true, At(30, 40), WinAction::MouseOver},
      {kFlagLeft, true, false, At(30, 40), WinAction::MouseDrag},
      {kFlagRight, true, false, At(30, 40), WinAction::MouseDrag},
      {kFlagLeft, true, false, At(20, 20), WinAction::Handled},  // no movement
      {kFlagLeft, true, true, At(30, 40), WinAction::Handled},   // a text entry is open
      {kFlagLeft, false, false, At(30, 40), WinAction::Default},  // the button went down elsewhere
  };
  for (const Case& c : cases) {
    state.hasCapture = c.capture;
    state.entryOpen = c.entry;
    const WinInput in = TranslateMessage({msg::kMouseMove, c.buttons, c.at, 0}, state);
    EXPECT_EQ(in.action, c.action) << c.buttons << c.capture << c.entry;
  }
  state.hasCapture = true;
  state.entryOpen = false;
  const WinInput drag = TranslateMessage({msg::kMouseMove, kFlagLeft, At(30, 40), 0}, state);
  EXPECT_FLOAT_EQ(drag.event.dX, 5.0f);
  EXPECT_FLOAT_EQ(drag.event.dY, 10.0f);
}

TEST(WinMessages, WheelCountsWholeNotchesAtTheScreenPosition) {
  struct Case {
    int value;
    float notches;
  } cases[] = {{120, 1.0f}, {60, 0.0f}, {-120, -1.0f}, {-240, -2.0f}, {-60, 0.0f}, {359, 2.0f}};
  for (const Case& c : cases) EXPECT_EQ(WheelNotches(WheelParam(c.value)), c.notches) << c.value;

  WinWindowState state = Scaled(2.0f);
  state.originX = 300;
  state.originY = 200;
  const WinInput in = TranslateMessage({msg::kMouseWheel, WheelParam(120, kFlagControl), At(340, 260), 0}, state);
  EXPECT_EQ(in.action, WinAction::Wheel);
  EXPECT_FLOAT_EQ(in.event.x, 20.0f);
  EXPECT_FLOAT_EQ(in.event.y, 30.0f);
  EXPECT_TRUE(in.event.mods.C);
  EXPECT_FLOAT_EQ(in.wheelDelta, 1.0f);
}

TEST(WinMessages, AnOpenTextEntryTurnsClicksAndWheelIntoRequests) {
  WinWindowState shown;
  shown.entryOpen = true;
  EXPECT_EQ(TranslateMessage({msg::kLeftDown, kFlagLeft, At(5, 5), 0}, shown).action, WinAction::RequestEntryCommit);
  EXPECT_EQ(TranslateMessage({msg::kMiddleDown, 0, At(5, 5), 0}, shown).action, WinAction::RequestEntryCommit);
  EXPECT_EQ(TranslateMessage({msg::kMouseWheel, WheelParam(120), 0, 0}, shown).action, WinAction::RequestEntryCancel);

  // While it is being typed into, the editor only watches for a press that ends it.
  WinWindowState typing = shown;
  typing.entryEditing = true;
  struct Case {
    uint32_t message;
    WinAction action;
  } cases[] = {
      {msg::kLeftDown, WinAction::RequestEntryCancel}, {msg::kRightDown, WinAction::RequestEntryCancel},
      {msg::kMiddleDown, WinAction::Default},          {msg::kKeyDown, WinAction::Default},
      {msg::kDisplayTick, WinAction::Default},         {msg::kMouseWheel, WinAction::Default},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslateMessage({c.message, 0, 0, 0}, typing).action, c.action) << c.message;
}

TEST(WinMessages, PenAndTouchAreMarkedInTheExtraInformation) {
  struct Case {
    uint64_t extra;
    bool pen;
  } cases[] = {{0xFF515700u, true}, {0xFF5157FFu, true}, {0xFF515800u, false}, {0, false}, {0x12345678u, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsPenMessage(c.extra), c.pen) << std::hex << c.extra;
    EXPECT_EQ(TranslateMessage({msg::kLeftDown, kFlagLeft, 0, c.extra}, {}).pen, c.pen);
  }
}

}  // namespace
}  // namespace graphics::win
