// korvel-analyse: runs a Korvel without a host on a generated stereo sine, as a host and
// the display would (512-frame blocks, a drain on every 60 Hz display tick, Freq domain),
// and prints what the editor's read-outs would show per channel.
#include <cmath>
#include <cstdio>
#include <vector>

#include "display/Korvel.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
constexpr double kSeconds = 2.0;

struct Tone {
  double hz, amplitude;
};
constexpr Tone kTones[2] = {{1000.0, 0.5}, {2500.0, 0.25}};

void SetParam(Korvel& k, KorvelParam p, double value) {
  k.GetParam(ParamIdx(p))->Store(value);
  k.OnParamChange(ParamIdx(p), framework::ParamSource::Host, 0);
}

}  // namespace

int main() {
  Korvel korvel{KorvelCreationInfo{}};
  korvel.StoreSampleRate(kRate);
  korvel.ResizeBlock(kBlock);
  korvel.MarkChannelsConnected(framework::Input, 0, 2, true);
  korvel.MarkChannelsConnected(framework::Output, 0, 2, true);
  korvel.AnnounceAllParams(framework::ParamSource::Reset);
  korvel.ResetProcessing();
  SetParam(korvel, KorvelParam::Domain, static_cast<int>(DisplayDomain::Freq));

  std::vector<double> in[2], out[2];
  for (int c = 0; c < 2; ++c) in[c].resize(kBlock), out[c].resize(kBlock);
  double* inputs[2] = {in[0].data(), in[1].data()};
  double* outputs[2] = {out[0].data(), out[1].data()};

  const long total = static_cast<long>(kSeconds * kRate);
  const double tick = kRate / 60.0;
  double nextTick = tick;
  int drained = 0;
  for (long frame = 0; frame < total; frame += kBlock) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kBlock; ++i)
        in[c][i] = kTones[c].amplitude * std::sin(2.0 * M_PI * kTones[c].hz * static_cast<double>(frame + i) / kRate);
    korvel.BindHostBuffers(framework::Input, 0, 2, inputs, kBlock);
    korvel.BindHostBuffers(framework::Output, 0, 2, outputs, kBlock);
    korvel.RunBlock(kBlock);
    if (static_cast<double>(frame + kBlock) >= nextTick) {
      drained += korvel.DrainSamples();
      nextTick += tick;
    }
  }

  const int n = korvel.ActiveFftSize();
  std::printf("Korvel %d.%d.%d: %.1f s of a stereo sine at %.0f Hz in %d-frame blocks, %d frames drained, FFT %d\n",
              korvel.Version() >> 16, (korvel.Version() >> 8) & 0xFF, korvel.Version() & 0xFF, kSeconds, kRate, kBlock,
              drained, n);
  std::printf("%-8s %10s %8s %14s %10s   %s\n", "channel", "level dB", "bin", "frequency Hz", "magnitude", "signal");
  for (int c = 0; c < Korvel::kChannels; ++c) {
    const KorvelChannel* channel = korvel.Channel(c);
    const char* label = korvel.ChannelLabelOf(framework::Input, c);
    if (!channel->enabled) {
      std::printf("%-8s %10s\n", label, "(off)");
      continue;
    }
    framework::ShortText level;
    Korvel::FormatLevel(channel->level, level);
    const float* spectrum = channel->analyser.Spectrum();
    int best = 1;  // the DC bin says nothing about a tone
    for (int i = 1; i < n / 2; ++i)
      if (spectrum[i] > spectrum[best]) best = i;
    std::printf("%-8s %10s %8d %14.1f %10.3f   %.0f Hz at %.2f\n", label, level.Get(), best,
                best * korvel.referenceRate.load() / n, spectrum[best], kTones[c].hz, kTones[c].amplitude);
  }
  return 0;
}
