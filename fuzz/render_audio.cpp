// Random files through libsndfile, as the render tool reads its audio, into the stream it
// feeds: blocks into one Korvel (kept for the run and reset for each file) at the file's
// rate, drained as the display drains them. Nothing may crash or hang on a file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzFail.h"
#include "tests/engine/KorvelHarness.h"
#include "tools/render/AudioSource.h"

namespace {

constexpr int kBlock = 512;
constexpr int kMostFrames = 2 * Korvel::kHistorySamples;  // enough for the rings to wrap

struct Stream {
  KorvelHarness h;
  int fd = memfd_create("korvel-fuzz-audio", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  Stream() {
    if (fd < 0) FuzzFail("memfd_create");
    h.Connect(4, 4, kBlock);
  }

  void Write(const uint8_t* data, size_t size) {
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) FuzzFail("write");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Stream& stream = *new Stream;  // never destroyed: exit order is no test
  stream.Write(data, size);
  std::string error;
  const std::unique_ptr<AudioSource> source = AudioSource::OpenFile(stream.path, error);
  if (!source) {
    if (error.empty()) FuzzFail("a file refused without a reason");
    return 0;
  }
  KorvelHarness& h = stream.h;
  h.korvel->StoreSampleRate(source->SampleRate());
  h.korvel->ResetProcessing();
  float blocks[AudioSource::kChannels][kBlock];
  float* channels[AudioSource::kChannels] = {blocks[0], blocks[1], blocks[2], blocks[3]};
  int streamed = 0;
  while (streamed < kMostFrames) {
    const int got = source->Read(channels, kBlock);
    if (got < 0 || got > kBlock) FuzzFail("read outside the block");
    if (got == 0) break;
    h.Run(got, 0, [&](int c, long i) { return static_cast<double>(channels[c][i]); });
    streamed += got;
    if (streamed % (kBlock * 8) == 0) h.korvel->DrainSamples();
  }
  h.korvel->DrainSamples();
  return 0;
}
