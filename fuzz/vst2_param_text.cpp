// Random text to every parameter's text parser as VST2 hands it over: effString2Parameter,
// and the vendor request that writes the parsed value back into the host's buffer. No
// parameter may leave 0 … 1.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/Vst2Fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Vst2FuzzInstance& vst2 = *new Vst2FuzzInstance;  // never destroyed: exit order is no test
  vst2.Reset();
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    const int index = in.ConsumeIntegralInRange<int>(-1, vst2.e->numParams);
    std::string text = in.ConsumeRandomLengthString(64);
    vst2.Call(effString2Parameter, index, 0, text.data());
    vst2.CheckParameters();
    // Room for the printed value the request writes back.
    text.resize(std::max<size_t>(text.size(), 1) + 32);
    vst2.Call(effVendorSpecific, 27, index, text.data());
  }
  return 0;
}
