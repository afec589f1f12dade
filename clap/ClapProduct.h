#pragma once
// What a CLAP module tells the generic entry about its one plug-in: the descriptor's texts
// and the constructor of an instance. Each module defines ClapModuleProduct once.
#include "clap/IClapPlugin.h"

struct ClapProduct {
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manualUrl;
  const char* supportUrl;
  const char* version;
  const char* description;
  const char* const* features;  // null-terminated
  // The name of the product's private offscreen window API (clap/ClapOffscreenWindow.h), or
  // null for none.
  const char* offscreenWindowApi;
  // [main-thread] A new instance, or null. Called under the creation lock.
  IClapPlugin* (*create)(const ClapCreationInfo& info);
};

// [thread-safe] Supplied by the module's product file.
const ClapProduct& ClapModuleProduct() noexcept;

extern "C" {
// The module's two exported records.
extern __attribute__((visibility("default"))) const clap_plugin_entry_t clap_entry;
extern __attribute__((visibility("default"))) const clap_plugin_factory_t clap_factory;
}
