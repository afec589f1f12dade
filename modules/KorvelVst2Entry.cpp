// The VST2 module's product: each VSTPluginMain call makes one Korvel.
#include "display/Korvel.h"
#include "vst2/Vst2Entry.h"

IVst2Plugin* MakeVst2Plugin(const Vst2CreationInfo& info) { return CreateVst2Plugin<Korvel>(info); }
