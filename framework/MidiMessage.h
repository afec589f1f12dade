#pragma once
// MIDI and system-exclusive records carried between the audio thread, the editor and the host.
#include <cstdint>

namespace framework {

struct MidiMessage {
  int32_t offset = 0;  // sample offset in the block
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

struct SysExRecord {
  static constexpr int kCapacity = 512;
  int32_t offset = 0;
  int32_t size = 0;  // 0 … kCapacity bytes used in data
  uint8_t data[kCapacity] = {};
};

}  // namespace framework
