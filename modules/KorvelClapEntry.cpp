// Korvel's CLAP module: the descriptor texts and the constructor of an instance.
#include "clap/ClapProduct.h"
#include "display/Korvel.h"
#include "modules/KorvelOffscreenWindow.h"

namespace {

const char* const kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_ANALYZER,
                                 CLAP_PLUGIN_FEATURE_STEREO, nullptr};

IClapPlugin* CreateKorvel(const ClapCreationInfo& info) { return new Korvel(info); }

const ClapProduct kKorvel = {
    "com.marrowbyaudio.korvel",
    "Korvel",
    "Marrowby Audio",
    "https://www.marrowbyaudio.com",
    "",
    "https://www.marrowbyaudio.com",
    "4.1.0",
    "Korvel audio plug-in",
    kFeatures,
    KORVEL_WINDOW_API_OFFSCREEN,
    CreateKorvel,
};

}  // namespace

const ClapProduct& ClapModuleProduct() noexcept { return kKorvel; }
