// Random bytes to effSetChunk, as a bank or a program, with or without the chunk header,
// then the round trip a host makes when it saves: effGetChunk, that chunk set again and got
// again must give the same bytes and the same parameters.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/Vst2Fuzz.h"

namespace {

std::vector<uint8_t> GetChunk(Vst2FuzzInstance& vst2, VstInt32 kind) {
  void* data = nullptr;
  const VstIntPtr size = vst2.Call(effGetChunk, kind, 0, &data);
  if (size < 0 || (size > 0 && !data)) FuzzFail("effGetChunk answer");
  const auto* bytes = static_cast<const uint8_t*>(data);
  return size > 0 ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

std::vector<float> Parameters(AEffect* e) {
  std::vector<float> values;
  for (VstInt32 i = 0; i < e->numParams; ++i) values.push_back(e->getParameter(e, i));
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Vst2FuzzInstance& vst2 = *new Vst2FuzzInstance;  // never destroyed: exit order is no test
  vst2.Reset();
  FuzzedDataProvider in(data, size);
  const VstInt32 kind = in.ConsumeBool() ? 0 : 1;  // 0 bank, 1 program
  std::vector<uint8_t> chunk;
  if (in.ConsumeBool()) {
    // The header the plug-in writes: marker and format version.
    const int32_t header[2] = {IVst2Plugin::kChunkMarker, in.ConsumeBool() ? IVst2Plugin::kChunkVersion
                                                                          : in.ConsumeIntegral<int32_t>()};
    const auto* h = reinterpret_cast<const uint8_t*>(header);
    chunk.assign(h, h + sizeof header);
  }
  const std::vector<uint8_t> rest = in.ConsumeRemainingBytes<uint8_t>();
  chunk.insert(chunk.end(), rest.begin(), rest.end());
  vst2.Call(effSetChunk, kind, static_cast<VstIntPtr>(chunk.size()), chunk.data());
  vst2.CheckParameters();

  const std::vector<uint8_t> saved = GetChunk(vst2, kind);
  if (saved.empty()) FuzzFail("effGetChunk gave nothing");
  const std::vector<float> before = Parameters(vst2.e);
  std::vector<uint8_t> again = saved;
  if (vst2.Call(effSetChunk, kind, static_cast<VstIntPtr>(again.size()), again.data()) != 1)
    FuzzFail("a chunk the plug-in made was refused");
  if (Parameters(vst2.e) != before) FuzzFail("parameters changed in a save and load");
  if (GetChunk(vst2, kind) != saved) FuzzFail("a saved chunk loads as something else");
  return 0;
}
