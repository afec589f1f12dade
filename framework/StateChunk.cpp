#include "framework/StateChunk.h"

#include <bit>
#include <cstring>

namespace framework {

static_assert(std::endian::native == std::endian::little, "stored states are little-endian");

bool StateChunk::PutBytes(const void* bytes, int size) noexcept {
  if (size < 0 || (size > 0 && !bytes)) return false;
  if (size == 0) return true;
  uint8_t* at = buffer_.Grow(size);
  if (!at) return false;
  std::memcpy(at, bytes, static_cast<size_t>(size));
  return true;
}

bool StateChunk::PutDouble(double value) noexcept { return PutBytes(&value, sizeof value); }
bool StateChunk::PutInt32(int32_t value) noexcept { return PutBytes(&value, sizeof value); }

int StateChunk::GetBytes(void* bytes, int size, int pos) const noexcept {
  if (pos < 0 || size < 0 || pos > buffer_.Size() || buffer_.Size() - pos < size) return -1;
  if (size > 0) std::memcpy(bytes, buffer_.Data() + pos, static_cast<size_t>(size));
  return pos + size;
}

int StateChunk::GetDouble(double& value, int pos) const noexcept { return GetBytes(&value, sizeof value, pos); }
int StateChunk::GetInt32(int32_t& value, int pos) const noexcept { return GetBytes(&value, sizeof value, pos); }

}  // namespace framework
