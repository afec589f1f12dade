#pragma once
// The construction record a plug-in class fills and hands to the framework.
#include <cstdint>

namespace framework {

// Packs a four-character code with the first character in the most significant byte.
constexpr int32_t FourCharCode(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}

struct PluginConfig {
  int32_t paramCount = 0;
  int32_t presetCount = 0;
  const char* channelIO = "";
  const char* pluginName = "";
  const char* productName = "";
  const char* makerName = "";
  int32_t version = 0;  // major × 65536 + minor × 256 + fix
  int32_t uniqueId = 0;
  int32_t makerId = 0;
  int32_t latency = 0;
  bool midiIn = false;
  bool midiOut = false;
  bool mpe = false;
  bool stateChunks = false;
  int32_t pluginKind = 0;  // 0 effect
  bool hasEditor = false;
  int32_t editorWidth = 0;
  int32_t editorHeight = 0;
  int32_t minWidth = 0;
  int32_t maxWidth = 0;
  int32_t minHeight = 0;
  int32_t maxHeight = 0;
  bool hostResizesEditor = false;
  const char* bundleId = "";
  const char* appGroup = "";
};

}  // namespace framework
