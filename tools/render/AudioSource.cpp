#include "tools/render/AudioSource.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

class FileSource final : public AudioSource {
public:
  FileSource(SNDFILE* opened, const SF_INFO& fileInfo) : file(opened), info(fileInfo) {}
  ~FileSource() override { sf_close(file); }

  double SampleRate() const override { return info.samplerate; }

  int Read(float* const channels[kChannels], int frames) override {
    const auto fileChannels = static_cast<size_t>(info.channels);
    interleaved.resize(static_cast<size_t>(frames) * fileChannels);
    const auto got = static_cast<int>(sf_readf_float(file, interleaved.data(), frames));
    for (int c = 0; c < kChannels; ++c) {
      // Mono feeds both main channels; missing channels are silent.
      const size_t from = fileChannels == 1 && c == 1 ? 0 : static_cast<size_t>(c);
      for (int i = 0; i < got; ++i)
        channels[c][i] = from < fileChannels ? interleaved[static_cast<size_t>(i) * fileChannels + from] : 0.0f;
    }
    return std::max(got, 0);
  }

private:
  SNDFILE* file;
  SF_INFO info;
  std::vector<float> interleaved;
};

class DemoSource final : public AudioSource {
public:
  DemoSource(double seconds, double sampleRate) : rate(sampleRate), total(static_cast<int64_t>(seconds * sampleRate)) {}

  double SampleRate() const override { return rate; }

  int Read(float* const channels[kChannels], int frames) override {
    const int count = static_cast<int>(std::min<int64_t>(frames, total - at));
    constexpr double twoPi = 2.0 * std::numbers::pi;
    const double transientAt = 0.75 * static_cast<double>(total) / rate;
    for (int i = 0; i < count; ++i, ++at) {
      const double t = static_cast<double>(at) / rate;
      // 220 Hz with a quieter octave; the right channel lags by 20 degrees (per octave).
      const double lag = 20.0 * std::numbers::pi / 180.0;
      // A quiet 8 kHz tone lands in the frequency view's opening range.
      const double high = 0.03 * std::sin(twoPi * 8000.0 * t);
      double left = 0.35 * std::sin(twoPi * 220.0 * t) + 0.08 * std::sin(twoPi * 440.0 * t) + high;
      double right =
          0.35 * std::sin(twoPi * 220.0 * t - lag) + 0.08 * std::sin(twoPi * 440.0 * t - 2.0 * lag) + high;
      // A loud, fast-decaying 3 kHz burst for Hold to catch.
      if (t >= transientAt) {
        const double since = t - transientAt;
        const double burst = 0.9 * std::exp(-since * 60.0) * std::sin(twoPi * 3000.0 * since);
        left += burst;
        right += burst;
      }
      // Aux: a 110 Hz saw made of its first twenty partials, and the same with noise.
      double saw = 0.0;
      for (int k = 1; k <= 20; ++k) saw += std::sin(twoPi * 110.0 * k * t) / k;
      saw *= 0.15;
      noise = noise * 1664525u + 1013904223u;
      const double white = static_cast<double>(noise >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
      channels[0][i] = static_cast<float>(left);
      channels[1][i] = static_cast<float>(right);
      channels[2][i] = static_cast<float>(saw);
      channels[3][i] = static_cast<float>(0.8 * saw + 0.05 * white);
    }
    return std::max(count, 0);
  }

private:
  double rate;
  int64_t total;
  int64_t at = 0;
  uint32_t noise = 1;
};

}  // namespace

std::unique_ptr<AudioSource> AudioSource::OpenFile(const std::string& path, std::string& error) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    error = "cannot read the audio file " + path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    sf_close(file);
    error = "the audio file " + path + " has no usable channels or sample rate";
    return nullptr;
  }
  return std::make_unique<FileSource>(file, info);
}

std::unique_ptr<AudioSource> AudioSource::Demo(double seconds, double sampleRate) {
  return std::make_unique<DemoSource>(seconds, sampleRate);
}
