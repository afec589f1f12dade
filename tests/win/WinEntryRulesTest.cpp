#include <gtest/gtest.h>

#include "graphics/platform/win/WinEntryRules.h"

namespace graphics::win {
namespace {

using Kind = enum framework::IParam::Kind;

TEST(WinEntryRules, TypedCharactersForValueEntries) {
  struct Case {
    bool forParameter;
    Kind kind;
    uint32_t c;
    bool accepted;
  } cases[] = {
      {true, Kind::Integer, 'a', false},     {true, Kind::Integer, '5', true},
      {true, Kind::Integer, '.', false},     {true, Kind::Integer, '-', true},
      {true, Kind::Integer, '+', true},      {true, Kind::Integer, kKeyBackspace, true},
      {true, Kind::OnOff, '.', false},       {true, Kind::Enumerated, '0', true},
      {true, Kind::Enumerated, ' ', false},  {true, Kind::Continuous, '.', true},
      {true, Kind::Continuous, 'e', false},  {true, Kind::Continuous, ',', false},
      {true, Kind::None, 'a', true},         {false, Kind::Integer, 'a', true},
      {true, Kind::Continuous, 0x00E9, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(EntryAccepts(c.forParameter, c.kind, c.c), c.accepted)
        << c.forParameter << " " << static_cast<int>(c.kind) << " " << c.c;
}

TEST(WinEntryRules, EnterCommitsEscapeCancelsOtherKeysLeaveTheState) {
  EntryState state = EntryState::Editing;
  EXPECT_FALSE(EntryStateForKey('A', state));
  EXPECT_EQ(state, EntryState::Editing);
  EXPECT_TRUE(EntryStateForKey(kKeyEnter, state));
  EXPECT_EQ(state, EntryState::CommitRequested);
  EXPECT_TRUE(EntryStateForKey(kKeyEscape, state));
  EXPECT_EQ(state, EntryState::CancelRequested);
}

TEST(WinEntryRules, EditControlPlacement) {
  const EntryGeometry middle = EntryGeometryFor({10, 20, 60, 35}, 2.0f, 10.0f, TextVAlign::Middle);
  EXPECT_EQ(middle.x, 20);
  EXPECT_EQ(middle.y, 40);
  EXPECT_EQ(middle.width, 101);
  EXPECT_EQ(middle.height, 31);
  EXPECT_TRUE(middle.centred);
  EXPECT_EQ(middle.formatTop, 5) << "(31 - 2 × 10) / 2";
  EXPECT_FALSE(EntryGeometryFor({10, 20, 60, 35}, 2.0f, 10.0f, TextVAlign::Top).centred);
}

}  // namespace
}  // namespace graphics::win
