#pragma once
// Messages on their way to the host, kept in order of their sample offsets. The room is
// taken once at construction; a message that does not fit is dropped, so the audio thread
// never allocates. Messages due in a later block stay, with their offsets moved on.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace clap::helpers {

template <class T>
class TimedMessages {
  static_assert(std::is_trivially_copyable_v<T>, "messages are moved as plain bytes");

public:
  // [main-thread] Room for `capacity` messages; none when the memory could not be had.
  explicit TimedMessages(int capacity) noexcept
      : entries(new (std::nothrow) T[static_cast<size_t>(capacity)]()), room(entries ? capacity : 0) {}

  // [audio-thread] Inserts behind every message whose offset is not greater, so equal
  // offsets keep their order of arrival. False (dropped) when full.
  bool Insert(const T& message) noexcept {
    if (count == room) return false;
    int at = count;
    while (at > readPos && entries[at - 1].offset > message.offset) --at;
    std::memmove(&entries[at + 1], &entries[at], sizeof(T) * static_cast<size_t>(count - at));
    entries[at] = message;
    ++count;
    return true;
  }

  // [audio-thread] The oldest unread message, or null.
  const T* Next() const noexcept { return readPos < count ? &entries[readPos] : nullptr; }
  // [audio-thread]
  void Advance() noexcept { readPos = std::min(readPos + 1, count); }

  // [audio-thread] Forgets what was read and moves the rest `frames` samples earlier.
  void FinishBlock(int frames) noexcept {
    if (!entries) return;
    count -= readPos;
    std::memmove(&entries[0], &entries[readPos], sizeof(T) * static_cast<size_t>(count));
    readPos = 0;
    for (int i = 0; i < count; ++i) entries[i].offset -= frames;
  }

private:
  std::unique_ptr<T[]> entries;
  int room;
  int count = 0;
  int readPos = 0;
};

}  // namespace clap::helpers
