#pragma once
// The host's transport as the bindings hand it to the processor once per block.
// A default-constructed record is what a block without transport information gets.
#include <cstdint>

namespace framework {

struct TransportInfo {
  double tempo = 120.0;
  double samplePosition = -1.0;
  double musicalPosition = -1.0;  // quarter notes
  double barStart = -1.0;         // quarter notes
  double loopStart = -1.0;        // quarter notes
  double loopEnd = -1.0;          // quarter notes
  int32_t timeSigNumerator = 4;
  int32_t timeSigDenominator = 4;
  bool playing = false;
  bool loopActive = false;
};

}  // namespace framework
