// The module's entry and factory: an initialisation count with the module path, the one
// descriptor, and instance creation. The entry lock serialises init, deinit, get_factory,
// get_plugin_descriptor and create_plugin; constructions also hold the creation lock, so no
// two instances are ever constructed at once.
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "clap/ClapProduct.h"
#ifdef _WIN32
#include "graphics/platform/win/WinSkiaLibrary.h"
#endif

namespace {

struct EntryState {
  std::mutex lock;
  uint32_t count = 0;
  std::string path;
  std::unique_ptr<clap_plugin_descriptor_t> descriptor;  // freed at the last deinit, or at exit
};

EntryState& State() noexcept {
  static EntryState state;
  return state;
}

std::mutex& CreationLock() noexcept {
  static std::mutex lock;
  return lock;
}

void FillDescriptor(clap_plugin_descriptor_t& d, const ClapProduct& product) noexcept {
  d.clap_version = CLAP_VERSION_INIT;
  d.id = product.id;
  d.name = product.name;
  d.vendor = product.vendor;
  d.url = product.url;
  d.manual_url = product.manualUrl;
  d.support_url = product.supportUrl;
  d.version = product.version;
  d.description = product.description;
  d.features = product.features;
}

bool EntryInit(const char* path) noexcept {
  if (!path || !*path) return false;
#ifdef _WIN32
  // Skia's library beside the module; without it the module cannot work.
  if (!graphics::win::LoadSkiaLibrary()) return false;
#endif
  EntryState& state = State();
  const std::lock_guard lock(state.lock);
  if (state.count > 0) {
    if (state.path != path) return false;
    ++state.count;
    return true;
  }
  try {
    state.path = path;
  } catch (...) {
    state.path.clear();
    return false;
  }
  state.descriptor.reset(new (std::nothrow) clap_plugin_descriptor_t{});
  if (!state.descriptor) {
    state.path.clear();
    return false;
  }
  FillDescriptor(*state.descriptor, ClapModuleProduct());
  state.count = 1;
  return true;
}

void EntryDeinit() noexcept {
  EntryState& state = State();
  const std::lock_guard lock(state.lock);
  if (state.count == 0) return;
  if (--state.count > 0) return;
  state.path.clear();
  state.descriptor.reset();
}

const void* EntryGetFactory(const char* id) noexcept {
  EntryState& state = State();
  const std::lock_guard lock(state.lock);
  if (state.count == 0 || !id || std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) != 0) return nullptr;
  return &clap_factory;
}

uint32_t FactoryCount(const clap_plugin_factory_t*) noexcept { return 1; }

const clap_plugin_descriptor_t* FactoryDescriptor(const clap_plugin_factory_t*, uint32_t index) noexcept {
  EntryState& state = State();
  const std::lock_guard lock(state.lock);
  return index == 0 && state.count > 0 ? state.descriptor.get() : nullptr;
}

const clap_plugin_t* FactoryCreate(const clap_plugin_factory_t*, const clap_host_t* host, const char* id) noexcept {
  EntryState& state = State();
  const std::lock_guard lock(state.lock);
  const clap_plugin_descriptor_t* descriptor = state.descriptor.get();
  if (!host || !id || !descriptor || state.count == 0 || host->clap_version.major < 1 ||
      std::strcmp(id, descriptor->id) != 0)
    return nullptr;
  const ClapCreationInfo info{descriptor, host, ClapModuleProduct().offscreenWindowApi};
  const std::lock_guard creation(CreationLock());
  try {
    IClapPlugin* instance = ClapModuleProduct().create(info);
    return instance ? instance->ClapPlugin() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

extern "C" {

const clap_plugin_entry_t clap_entry = {
    CLAP_VERSION_INIT, EntryInit, EntryDeinit, EntryGetFactory};

const clap_plugin_factory_t clap_factory = {
    FactoryCount, FactoryDescriptor, FactoryCreate};

}
