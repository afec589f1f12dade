#pragma once
// What the test module (Vst2TestPlugin.so) lets the tests read besides its effect record:
// a log of its hooks and editor as text lines, and what its last block saw.
#include "framework/TransportInfo.h"

struct Vst2TestProbe {
  framework::TransportInfo transport;  // of the last block
  bool offline = false;
  int blocks = 0;         // ProcessAudioBlock calls
  int largestBlock = 0;   // frames of the longest one
  int hostCode = -2;      // of the newest plug-in, as the framework identified its host
  int hostVersion = 0;
  int connectedInputs = 0;
};

extern "C" {
// The log, one event a line, oldest first.
using Vst2TestEventsProc = const char* (*)();
using Vst2TestClearProc = void (*)();
using Vst2TestReadProbeProc = void (*)(Vst2TestProbe* probe);
}
