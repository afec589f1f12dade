#include "graphics/IResources.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace graphics {
namespace {

bool SameText(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

const IResourceEntry* Find(const char* name, const char* type) {
  if (!name || !type) return nullptr;
  for (int i = 0; i < kResourceCount; ++i)
    if (SameText(kResourceTable[i].type, type) && SameText(kResourceTable[i].name, name)) return &kResourceTable[i];
  return nullptr;
}

}  // namespace

ResourceLocation LocateResource(const char* name, const char* type, std::string& found, void*) {
  if (!name || !*name) return ResourceLocation::NotFound;
  if (Find(name, type)) {
    found = name;
    for (char& c : found) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ResourceLocation::Resource;
  }
  std::error_code error;
  if (std::filesystem::is_regular_file(name, error)) {
    found = name;
    return ResourceLocation::File;
  }
  return ResourceLocation::NotFound;
}

const uint8_t* ResourceBytes(const char* name, const char* type, size_t& size, void*) {
  const IResourceEntry* entry = Find(name, type);
  size = entry ? entry->size : 0;
  return entry ? entry->bytes : nullptr;
}

}  // namespace graphics
