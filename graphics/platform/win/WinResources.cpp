// Module resources on Windows: the pictures and the font are resources of the module itself
// (compiled in with windres), found with FindResource, which ignores case. Files on disk are
// the fallback. The generated table of the other platforms is empty here.
#include <windows.h>

#include "graphics/IResources.h"
#include "graphics/platform/win/WinModule.h"
#include "graphics/platform/win/WinText.h"

namespace graphics {

const IResourceEntry kResourceTable[] = {{"", "", nullptr, 0}};
const int kResourceCount = 0;

namespace {

HRSRC Find(HMODULE module, const char* name, const char* type) {
  if (!name || !*name || !type || !*type) return nullptr;
  return FindResourceA(module, win::ResourceNameOf(name).c_str(), win::ResourceNameOf(type).c_str());
}

HMODULE ModuleOrThis(void* module) {
  return module ? static_cast<HMODULE>(module) : win::ThisModule();
}

}  // namespace

ResourceLocation LocateResource(const char* name, const char* type, std::string& found, void* module) {
  if (!name || !*name) return ResourceLocation::NotFound;
  if (Find(ModuleOrThis(module), name, type)) {
    found = win::ResourceNameOf(name);
    return ResourceLocation::Resource;
  }
  const std::u16string path = win::Utf16Of(name);
  const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()));
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    found = name;
    return ResourceLocation::File;
  }
  return ResourceLocation::NotFound;
}

const uint8_t* ResourceBytes(const char* name, const char* type, size_t& size, void* module) {
  size = 0;
  const HMODULE m = ModuleOrThis(module);
  HRSRC resource = Find(m, name, type);
  HGLOBAL loaded = resource ? LoadResource(m, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return nullptr;
  size = SizeofResource(m, resource);
  return static_cast<const uint8_t*>(bytes);
}

}  // namespace graphics
