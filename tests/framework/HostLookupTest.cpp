#include <gtest/gtest.h>

#include <string>

#include "framework/HostLookup.h"

using namespace framework;

TEST(HostLookup, FirstKnownSubstringOfTheLowerCasedNameGivesTheCode) {
  struct Case { const char* name; int code; };
  const Case cases[] = {
      {"REAPER", 1},
      {"Cubase Pro", 3},
      {"Nuendo 13", 4},
      {"WaveLab Elements 11", 32},  // tested before plain "wavelab"
      {"WaveLab 11", 31},
      {"Bitwig Studio Live", 9},    // "live" comes earlier in the order
      {"Bitwig Studio", 34},
      {"Ableton Live 12 Suite", 9},
      {"Reaper Cubase", 1},         // order decides, not position in the name
      {"Blue Cat's VST Host", 44},
      {"iZotope RX 10", 42},
      {"My Standalone App", 24},
      {"www", 35},
      {"BitwigStudio", 0},          // the space is part of the substring
      {"my host", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(HostLookup(c.name), c.code) << '"' << c.name << '"';
}

TEST(HostLookup, NullNameGivesZero) { EXPECT_EQ(HostLookup(nullptr), 0); }

TEST(HostLookup, OnlyTheFirst255CharactersAreSearched) {
  const std::string fits = std::string(249, 'x') + "reaper";       // ends at character 255
  const std::string straddles = std::string(250, 'x') + "reaper";  // last letter is character 256
  const std::string beyond = std::string(294, 'x') + "reaper";     // 300 characters
  EXPECT_EQ(HostLookup(fits.c_str()), 1);
  EXPECT_EQ(HostLookup(straddles.c_str()), 0);
  EXPECT_EQ(HostLookup(beyond.c_str()), 0);
}
