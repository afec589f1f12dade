#pragma once
// The pictures and the font carried inside the module: a table of (type, upper-cased name,
// bytes) made at build time from resources/, looked up case-insensitively, with files on
// disk as the fallback. [thread-safe] (the table is constant)
#include <cstddef>
#include <cstdint>
#include <string>

namespace graphics {

struct IResourceEntry {
  const char* type;
  const char* name;
  const uint8_t* bytes;
  size_t size;
};

enum class ResourceLocation : int { NotFound = 0, File = 1, Resource = 2 };

// The upper-cased name as a module resource of that type, else the name as a file path.
// `found` is the resource name or the path. `module` selects the module (unused here: the
// table is linked into the module that uses it).
ResourceLocation LocateResource(const char* name, const char* type, std::string& found, void* module = nullptr);
// The bytes of a module resource, in place; null (size 0) when there is none.
const uint8_t* ResourceBytes(const char* name, const char* type, size_t& size, void* module = nullptr);

// The generated table.
extern const IResourceEntry kResourceTable[];
extern const int kResourceCount;

}  // namespace graphics
