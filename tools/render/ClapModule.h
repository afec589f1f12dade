#pragma once
// A CLAP module loaded the way a host loads one: dlopen, clap_entry, init with its path.
// Unloads on destruction.
#include <string>

#include "clap/ClapDefs.h"

class ClapModule {
public:
  ClapModule() = default;
  ~ClapModule();
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  // [main-thread] False with the reason in error when the file does not load, exports no
  // clap_entry, or its init refuses.
  bool Load(const std::string& path, std::string& error);
  // [main-thread] The plug-in factory of a loaded module, or null.
  const clap_plugin_factory_t* Factory() const;

private:
  void* handle = nullptr;
  const clap_plugin_entry_t* entry = nullptr;
  bool initialised = false;
};
