#include "dsp/Fft.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

// Iterative decimation in time: a bit-reversal pass, one radix-2 pass when log2(n) is odd,
// then radix-4 passes. A radix-4 pass over blocks of 4m points needs w^j, w^2j and w^3j
// (w = e^(−2πi/4m), j < m) whatever n is, so one table serves every size.
namespace {

constexpr int kMaxBits = 14;
static_assert(1 << kMaxBits == kFftMaxSize);

// Two complex values, [re0, im0, re1, im1]; plain loops leave most of the SIMD width unused.
typedef float Pair __attribute__((vector_size(16)));

// For blocks of 4m points (m = 2, 4 … kFftMaxSize / 4) and even j < m, row (m + j) / 2 holds
// w^j, w^2j and w^3j for j and j + 1.
Pair radix4Twiddles[kFftMaxSize / 4][3];
// The kMaxBits-bit reversal of each index; shorter sizes shift it down.
uint16_t bitReverse[kFftMaxSize];

std::once_flag tablesOnce;
std::atomic<bool> tablesReady{false};

void BuildTables() noexcept {
  for (int i = 0; i < kFftMaxSize; ++i) {
    int r = 0;
    for (int b = 0; b < kMaxBits; ++b) r |= ((i >> b) & 1) << (kMaxBits - 1 - b);
    bitReverse[i] = static_cast<uint16_t>(r);
  }
  const double pi = 3.141592653589793;
  for (int m = 2; m <= kFftMaxSize / 4; m *= 2) {
    for (int j = 0; j < m; ++j) {
      Pair* row = radix4Twiddles[(m + j) / 2];
      const int lane = 2 * (j % 2);
      for (int power = 1; power <= 3; ++power) {
        const double a = -pi * j * power / (2.0 * m);
        row[power - 1][lane] = static_cast<float>(std::cos(a));
        row[power - 1][lane + 1] = static_cast<float>(std::sin(a));
      }
    }
  }
  tablesReady.store(true, std::memory_order_release);
}

int Log2(int n) noexcept {
  int bits = 0;
  while ((1 << bits) < n) ++bits;
  return bits;
}

// Swaps index i with its reversal in tiles of 8 × 8: i = (hi, mid, lo) with 3-bit hi and lo
// pairs with (rev lo, rev mid, rev hi), so each tile reads and writes whole cache lines.
// A plain loop over i jumps through memory at large power-of-two strides.
void BitReversePermute(std::complex<float>* data, int bits) noexcept {
  const int midBits = bits - 6;
  const int hiShift = bits - 3;
  for (int mid = 0; mid < 1 << midBits; ++mid) {
    const int revMid = bitReverse[mid] >> (kMaxBits - midBits);
    if (mid > revMid) continue;
    for (int hi = 0; hi < 8; ++hi) {
      for (int lo = 0; lo < 8; ++lo) {
        const int i = hi << hiShift | mid << 3 | lo;
        const int j = (bitReverse[lo] >> (kMaxBits - 3)) << hiShift | revMid << 3 | bitReverse[hi] >> (kMaxBits - 3);
        if (mid < revMid || i < j) std::swap(data[i], data[j]);
      }
    }
  }
}

Pair Load(const float* p) noexcept {
  Pair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void Store(float* p, Pair v) noexcept { std::memcpy(p, &v, sizeof v); }

// Each complex value times i: [−im0, re0, −im1, re1].
Pair TimesI(Pair v) noexcept { return __builtin_shufflevector(v, v, 1, 0, 3, 2) * Pair{-1, 1, -1, 1}; }

// x times w, w given as [wr0, wi0, wr1, wi1].
Pair Multiply(Pair x, Pair w) noexcept {
  return x * __builtin_shufflevector(w, w, 0, 0, 2, 2) + TimesI(x) * __builtin_shufflevector(w, w, 1, 1, 3, 3);
}

void Radix2Pass(float* d, int n) noexcept {
  for (int i = 0; i < 2 * n; i += 4) {
    const Pair v = Load(d + i);
    Store(d + i, __builtin_shufflevector(v, v, 0, 1, 0, 1) + __builtin_shufflevector(v, v, 2, 3, 2, 3) * Pair{1, 1, -1, -1});
  }
}

// The four sub-transforms of a block sit at 0, m, 2m, 3m and hold the samples whose index is
// 0, 2, 1, 3 modulo 4. Blocks of four points need no twiddles.
void FirstRadix4Pass(float* d, int n) noexcept {
  for (int i = 0; i < 2 * n; i += 8) {
    const Pair ab = Load(d + i), cd = Load(d + i + 4);
    const Pair sign{1, 1, -1, -1};
    const Pair s01 = __builtin_shufflevector(ab, ab, 0, 1, 0, 1) + __builtin_shufflevector(ab, ab, 2, 3, 2, 3) * sign;
    const Pair s23 = __builtin_shufflevector(cd, cd, 0, 1, 0, 1) + __builtin_shufflevector(cd, cd, 2, 3, 2, 3) * sign;
    const Pair t = __builtin_shufflevector(s23, s23, 0, 1, 3, 2) * Pair{1, 1, 1, -1};  // [s2, −i·s3]
    Store(d + i, s01 + t);
    Store(d + i + 4, s01 - t);
  }
}

// Blocks of 4m points, m even, two butterflies at a time.
void Radix4Pass(float* d, int n, int m) noexcept {
  for (int base = 0; base < n; base += 4 * m) {
    float* p0 = d + 2 * base;
    float* p1 = p0 + 2 * m;
    float* p2 = p1 + 2 * m;
    float* p3 = p2 + 2 * m;
    for (int j = 0; j < m; j += 2) {
      const Pair* w = radix4Twiddles[(m + j) / 2];
      const int k = 2 * j;
      const Pair a = Load(p0 + k);
      const Pair b = Multiply(Load(p1 + k), w[1]);
      const Pair c = Multiply(Load(p2 + k), w[0]);
      const Pair e = Multiply(Load(p3 + k), w[2]);
      const Pair s0 = a + b, s1 = a - b, s2 = c + e, s3 = TimesI(c - e);
      Store(p0 + k, s0 + s2);
      Store(p1 + k, s1 - s3);
      Store(p2 + k, s0 - s2);
      Store(p3 + k, s1 + s3);
    }
  }
}

}  // namespace

void InitFftTables() noexcept { std::call_once(tablesOnce, BuildTables); }

bool ForwardFft(std::complex<float>* data, int n) noexcept {
  if (!IsFftSize(n) || !data || !tablesReady.load(std::memory_order_acquire)) return false;
  const int bits = Log2(n);
  BitReversePermute(data, bits);
  // std::complex<float> is laid out as float[2] by the standard.
  float* d = reinterpret_cast<float*>(data);
  int m = 1;
  if (bits % 2 != 0) {
    Radix2Pass(d, n);
    m = 2;
  } else {
    FirstRadix4Pass(d, n);
    m = 4;
  }
  for (; m < n; m *= 4) Radix4Pass(d, n, m);
  return true;
}
