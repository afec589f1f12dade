#include "framework/HostLookup.h"

#include <cstring>

namespace framework {

namespace {

struct KnownHost {
  const char* substring;
  int code;
};

// Searched in this order: a longer name that contains a shorter one comes first.
constexpr KnownHost kKnownHosts[] = {
    {"reaper", 1},
    {"protools", 2},
    {"cubase", 3},
    {"nuendo", 4},
    {"cakewalk", 5},
    {"vegas", 6},
    {"fruity", 7},
    {"samplitude", 8},
    {"live", 9},
    {"tracktion", 10},
    {"ntracks", 11},
    {"melodyne", 12},
    {"vstmanlib", 13},
    {"aulab", 14},
    {"forte", 15},
    {"chainer", 16},
    {"audition", 17},
    {"orion", 18},
    {"bias", 19},
    {"sawstudio", 20},
    {"logic", 21},
    {"garageband", 22},
    {"digital", 23},
    {"audiomulch", 25},
    {"presonus", 26},
    {"vst3plugintesthost", 27},
    {"ardour", 28},
    {"renoise", 29},
    {"openmpt", 30},
    {"wavelab elements", 32},
    {"wavelab", 31},
    {"twistedwave", 33},
    {"bitwig studio", 34},
    {"reason", 36},
    {"gwvst", 37},
    {"waveform", 38},
    {"audacity", 39},
    {"acoustica", 40},
    {"plugindoctor", 41},
    {"izotope rx", 42},
    {"savihost", 43},
    {"blue cat's vst host", 44},
    {"mixbus", 45},
    {"standalone", 24},
    {"www", 35},
};

constexpr int kMaxNameLength = 255;

}  // namespace

int HostLookup(const char* hostName) noexcept {
  if (!hostName) return 0;
  // ASCII lower-casing only, so that the result does not depend on the process locale.
  char name[kMaxNameLength + 1];
  int length = 0;
  for (; length < kMaxNameLength && hostName[length] != '\0'; ++length) {
    const char c = hostName[length];
    name[length] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  name[length] = '\0';
  for (const auto& host : kKnownHosts)
    if (std::strstr(name, host.substring)) return host.code;
  return 0;
}

}  // namespace framework
