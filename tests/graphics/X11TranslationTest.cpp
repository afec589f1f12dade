// The X11 window's translations that need no server: key symbols to virtual keys and
// characters, double clicks from presses, the tick schedule and the numeric-entry filter.
#include <gtest/gtest.h>

#include <string>

#include "graphics/platform/x11/X11DoubleClick.h"
#include "graphics/platform/x11/X11Keys.h"
#include "graphics/platform/x11/X11TextEntry.h"
#include "graphics/platform/x11/X11TickClock.h"
// Xlib's key symbols last: its macros clash with our names.
#include <X11/keysym.h>

namespace {

using graphics::X11DoubleClick;
using graphics::X11TickClock;
using Kind = enum framework::IParam::Kind;

TEST(X11Keys, KeySymbolsBecomeWindowsVirtualKeys) {
  struct Case {
    unsigned long keysym;
    int vk;
  };
  const Case cases[] = {
      {XK_a, 'A'},          {XK_Z, 'Z'},       {XK_0, '0'},          {XK_9, '9'},         {XK_F1, 0x70},
      {XK_F12, 0x7B},       {XK_Return, 0x0D}, {XK_KP_Enter, 0x0D},  {XK_Escape, 0x1B},   {XK_BackSpace, 0x08},
      {XK_Tab, 0x09},       {XK_space, 0x20},  {XK_Left, 0x25},      {XK_Up, 0x26},       {XK_Right, 0x27},
      {XK_Down, 0x28},      {XK_Delete, 0x2E}, {XK_Home, 0x24},      {XK_End, 0x23},      {XK_Prior, 0x21},
      {XK_Next, 0x22},      {XK_Shift_L, 0x10}, {XK_Control_R, 0x11}, {XK_Alt_L, 0x12},   {XK_KP_0, 0x60},
      {XK_KP_9, 0x69},      {XK_KP_Add, 0x6B}, {XK_KP_Subtract, 0x6D}, {XK_KP_Decimal, 0x6E}, {XK_minus, 0xBD},
      {XK_period, 0xBE},    {XK_comma, 0xBC},  {XK_equal, 0xBB},     {XK_slash, 0xBF},    {XK_bracketleft, 0xDB},
      {XK_dead_acute, 0},   {0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(graphics::VirtualKeyOf(c.keysym), c.vk) << std::hex << c.keysym;
}

TEST(X11Keys, TypedCharactersAreUtf8) {
  struct Case {
    unsigned long keysym;
    const char* utf8;
  };
  const Case cases[] = {
      {XK_a, "a"},           {XK_A, "A"},          {XK_KP_7, "7"},     {XK_KP_Decimal, "."}, {XK_eacute, "\xC3\xA9"},
      {0x10020AC, "\xE2\x82\xAC"}, {0x101F600, "\xF0\x9F\x98\x80"}, {XK_Return, "\r"}, {XK_Escape, "\x1B"},
      {XK_Left, ""},         {XK_Shift_L, ""},     {0x100D800, ""},    {0x1110000, ""},
  };
  for (const Case& c : cases) {
    char out[5] = {'x', 'x', 'x', 'x', 'x'};
    graphics::EncodeUtf8(graphics::CharacterOf(c.keysym), out);
    EXPECT_EQ(std::string(out), c.utf8) << std::hex << c.keysym;
  }
}

TEST(X11DoubleClick, SecondPressOfTheSameButtonCloseInTimeAndPlace) {
  struct Case {
    const char* what;
    unsigned int button;
    int x, y;
    unsigned long time;
    bool completes;
  };
  const Case cases[] = {
      {"first press", 1, 100, 100, 1000, false},
      {"within 400 ms and 4 pixels", 1, 104, 96, 1400, true},
      {"the press after a double click starts afresh", 1, 104, 96, 1500, false},
      {"too late", 1, 104, 96, 1901, false},
      {"in time again", 1, 104, 96, 2000, true},
      {"first of a pair", 1, 10, 10, 3000, false},
      {"too far", 1, 15, 10, 3100, false},
      {"first of a pair", 1, 10, 10, 4000, false},
      {"another button", 3, 10, 10, 4100, false},
      {"first of a pair near the clock's wrap", 1, 10, 10, 0xFFFFFF00UL, false},
      {"after the wrap", 1, 10, 10, 0x40UL, true},
  };
  X11DoubleClick detector;
  for (const Case& c : cases) EXPECT_EQ(detector.Press(c.button, c.x, c.y, c.time), c.completes) << c.what;
}

TEST(X11TickClock, TicksOncePerPeriodAndDropsWhatTheThreadMissed) {
  X11TickClock clock(60);
  const auto period = clock.Period();
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(period).count(), 16666);
  const X11TickClock::Clock::time_point t0{};
  clock.Start(t0);
  EXPECT_TRUE(clock.TakeDue(t0)) << "the first tick is due at once";
  EXPECT_FALSE(clock.TakeDue(t0 + period / 2));
  EXPECT_EQ(clock.MillisecondsUntilDue(t0 + period / 2), 9);
  EXPECT_TRUE(clock.TakeDue(t0 + period));
  // A 16 ms host timer, a little early for the 16.7 ms period, still ticks every time.
  EXPECT_TRUE(clock.TakeDue(t0 + std::chrono::milliseconds(32)));
  // Five periods late: one tick, then the next a whole period later, not four catch-ups.
  const auto late = t0 + period * 6 + period / 3;
  EXPECT_TRUE(clock.TakeDue(late));
  EXPECT_FALSE(clock.TakeDue(late + period / 2));
  EXPECT_EQ(clock.MillisecondsUntilDue(late), 17);
  EXPECT_TRUE(clock.TakeDue(late + period));

  X11TickClock broken(0);
  EXPECT_EQ(broken.Period(), std::chrono::seconds(1)) << "a frame rate below 1 ticks once a second";
}

TEST(X11TextEntry, NumericEntriesTakeOnlyWhatTheirKindParses) {
  struct Case {
    Kind kind;
    char32_t c;
    bool accepted;
  };
  const Case cases[] = {
      {Kind::Integer, U'7', true},     {Kind::Integer, U'a', false},    {Kind::Integer, U'.', false},
      {Kind::Integer, U'-', true},     {Kind::Enumerated, U'+', true},  {Kind::OnOff, U'.', false},
      {Kind::OnOff, U'1', true},       {Kind::Continuous, U'.', true},  {Kind::Continuous, U'e', false},
      {Kind::Continuous, U' ', false}, {Kind::Continuous, U'\u00E9', false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(graphics::X11TextEntry::Accepts(c.kind, c.c), c.accepted)
        << static_cast<int>(c.kind) << " " << static_cast<uint32_t>(c.c);
  EXPECT_FALSE(graphics::X11TextEntry::Filters(graphics::X11TextEntry::kFreeText));
  EXPECT_TRUE(graphics::X11TextEntry::Filters(Kind::Continuous));
}

}  // namespace
