// Random text to every parameter's text parser as CLAP hands it over (text_to_value). A
// value that is not a number or leaves the parameter's range is a failure, and so is a text
// the plug-in printed itself that it cannot read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/ClapFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ClapFuzzInstance& clap = *new ClapFuzzInstance;  // never destroyed: exit order is no test
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    const auto id = static_cast<clap_id>(in.ConsumeIntegralInRange<int>(-1, static_cast<int>(clap.infos.size())));
    const std::string text = in.ConsumeRandomLengthString(64);
    double value = 0.0;
    if (!clap.params->text_to_value(clap.plugin, id, text.c_str(), &value)) continue;
    if (id >= clap.infos.size()) FuzzFail("text_to_value answered for no parameter");
    const clap_param_info_t& info = clap.infos[id];
    if (!(value >= info.min_value && value <= info.max_value)) FuzzFail("text_to_value left the range");
    char shown[CLAP_NAME_SIZE] = {};
    if (!clap.params->value_to_text(clap.plugin, id, value, shown, sizeof shown)) FuzzFail("value_to_text refused");
    double again = 0.0;
    if (!clap.params->text_to_value(clap.plugin, id, shown, &again)) FuzzFail("a printed value does not parse");
  }
  return 0;
}
