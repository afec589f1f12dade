#pragma once
// Bytes of a saved state: values appended in little-endian order without padding, and read
// back from a position that each read advances (−1 when too few bytes remain).
#include <cstdint>

#include "framework/HeapBuffer.h"

namespace framework {

class StateChunk {
public:
  // Append; false when the buffer could not grow (nothing is appended then).
  bool PutDouble(double value) noexcept;
  bool PutInt32(int32_t value) noexcept;
  bool PutBytes(const void* bytes, int size) noexcept;

  // Read at pos; return the position after the value, or −1 when fewer bytes than needed
  // remain after pos (or pos is −1), leaving the output untouched.
  int GetDouble(double& value, int pos) const noexcept;
  int GetInt32(int32_t& value, int pos) const noexcept;
  int GetBytes(void* bytes, int size, int pos) const noexcept;

  int Size() const noexcept { return buffer_.Size(); }
  const uint8_t* Data() const noexcept { return buffer_.Data(); }
  uint8_t* Data() noexcept { return buffer_.Data(); }
  bool Resize(int size) noexcept { return size == 0 ? (buffer_.Resize(0), true) : buffer_.Resize(size) != nullptr; }
  void Clear() noexcept { buffer_.Resize(0); }

private:
  HeapBuffer buffer_;
};

}  // namespace framework
