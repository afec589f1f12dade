#pragma once
// The process-wide caches that all open editors share: decoded bitmaps, and the font bytes
// added to the process. Each has its own re-entrant lock and counts the UI objects using
// it; the last user to leave empties it. Entries are found by the 64-bit FNV-1a hash of
// "<name>-<scale with one decimal>x" together with the scale.
// [thread-safe] every operation, with the cache's lock held (Lock()).
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "graphics/IGraphicsTypes.h"

namespace graphics {

class PlatformFont;

// "bg.png" at 2 gives "bg.png-2.0x".
std::string CacheKeyText(const std::string& name, double scale);
uint64_t CacheKeyHash(const std::string& name, double scale);

template <class T>
class ICache {
public:
  struct Entry {
    std::unique_ptr<T> object;
    std::string name;
    double scale;
    uint64_t hash;
  };

  std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock<std::recursive_mutex>(mutex); }

  // The first entry in insertion order with that hash and scale.
  T* Find(const std::string& name, double scale) const {
    const uint64_t hash = CacheKeyHash(name, scale);
    for (const Entry& entry : entries)
      if (entry.hash == hash && entry.scale == scale) return entry.object.get();
    return nullptr;
  }
  // Any scale of the name; scale receives the one found.
  T* FindAnyScale(const std::string& name, double& scale) const {
    for (const Entry& entry : entries)
      if (entry.name == name) {
        scale = entry.scale;
        return entry.object.get();
      }
    return nullptr;
  }
  T* Add(std::unique_ptr<T> object, const std::string& name, double scale) {
    if (!object) return nullptr;
    entries.push_back({std::move(object), name, scale, CacheKeyHash(name, scale)});
    return entries.back().object.get();
  }
  void Remove(const T* object) {
    for (auto it = entries.begin(); it != entries.end(); ++it)
      if (it->object.get() == object) {
        entries.erase(it);
        return;
      }
  }
  int Count() const noexcept { return static_cast<int>(entries.size()); }
  void AddUser() { ++users; }
  void RemoveUser() {
    if (users > 0 && --users == 0) entries.clear();
  }
  int Users() const noexcept { return users; }

private:
  mutable std::recursive_mutex mutex;
  std::vector<Entry> entries;
  int users = 0;
};

// Font bytes added to the process: the bytes themselves when they came from a file (a
// module resource is used in place) and the platform's font made from them.
struct IFontMemory {
  IFontMemory();
  ~IFontMemory();
  std::vector<uint8_t> fileBytes;
  std::unique_ptr<PlatformFont> font;
};

ICache<BackendBitmap>& BitmapCache();
ICache<IFontMemory>& FontMemoryCache();

}  // namespace graphics
