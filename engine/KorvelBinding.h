#pragma once
// The binding class Korvel derives from in this build, and the record it is created with.
// Each module compiles the engine for its own binding.
#if defined(KORVEL_BINDING_CLAP)
#include "clap/IClapPlugin.h"
using KorvelBinding = framework::Plugin;
using KorvelCreationInfo = ClapCreationInfo;
#elif defined(KORVEL_BINDING_VST2)
#include "vst2/IVst2Plugin.h"
using KorvelBinding = IVst2Plugin;
using KorvelCreationInfo = Vst2CreationInfo;
#else
#include "framework/IDetachedPlugin.h"
using KorvelBinding = framework::IDetachedPlugin;
using KorvelCreationInfo = framework::DetachedCreationInfo;
#endif
