#include "tools/render/ClapModule.h"

#include <dlfcn.h>

ClapModule::~ClapModule() {
  if (initialised && entry->deinit) entry->deinit();
  if (handle) dlclose(handle);
}

bool ClapModule::Load(const std::string& path, std::string& error) {
  // Kept mapped after dlclose: the module's libraries keep process-wide singletons
  // (Skia's font manager) that would otherwise turn into unreachable memory.
  handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    const char* reason = dlerror();
    error = "cannot load the module " + path + ": " + (reason ? reason : "unknown reason");
    return false;
  }
  entry = static_cast<const clap_plugin_entry_t*>(dlsym(handle, "clap_entry"));
  if (!entry || !entry->init || !entry->get_factory) {
    error = path + " is not a CLAP module (no usable clap_entry)";
    return false;
  }
  if (!entry->init(path.c_str())) {
    error = "the module " + path + " refused to initialise";
    return false;
  }
  initialised = true;
  return true;
}

const clap_plugin_factory_t* ClapModule::Factory() const {
  if (!initialised) return nullptr;
  return static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
}
