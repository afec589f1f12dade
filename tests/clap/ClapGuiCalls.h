#pragma once
// The gui calls a host can make, by letter, for tests that run them in any order and subset:
// c create, p set_parent, S set_scale, z set_size, s show, h hide, d destroy.
#include <random>
#include <string>
#include <vector>

#include "clap/ClapDefs.h"

namespace claptest {

inline constexpr const char* kGuiCallLetters = "cpSzshd";

// Makes the call named by the letter on the window's API; its result is not looked at.
inline void GuiCall(const clap_plugin_t* p, const clap_plugin_gui_t* gui, const clap_window_t& window, char call) {
  switch (call) {
    case 'c': gui->create(p, window.api, false); break;
    case 'p': gui->set_parent(p, &window); break;
    case 'S': gui->set_scale(p, 2.0); break;
    case 'z': gui->set_size(p, 900, 650); break;
    case 's': gui->show(p); break;
    case 'h': gui->hide(p); break;
    default: gui->destroy(p); break;
  }
}

// The given sequences, then `count` random ones of 1 to maxLength calls drawn from the seed.
inline std::vector<std::string> GuiCallSequences(std::vector<std::string> sequences, unsigned seed, int count,
                                                 int maxLength) {
  std::mt19937 random(seed);
  const std::string letters = kGuiCallLetters;
  for (int i = 0; i < count; ++i) {
    std::string calls(1 + random() % static_cast<unsigned>(maxLength), ' ');
    for (char& call : calls) call = letters[random() % letters.size()];
    sequences.push_back(calls);
  }
  return sequences;
}

}  // namespace claptest
