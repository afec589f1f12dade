#pragma once
// Drives a Korvel as a binding would: connects channels, binds double-precision host
// buffers and runs blocks.
#include <cmath>
#include <memory>
#include <vector>

#include "display/Korvel.h"

struct KorvelHarness {
  std::unique_ptr<Korvel> korvel = std::make_unique<Korvel>(KorvelCreationInfo{});
  std::vector<std::vector<double>> in, out;

  // Connects `inputs` and `outputs` channels for blocks of up to maxFrames.
  void Connect(int inputs, int outputs, int maxFrames = 512) {
    korvel->ResizeBlock(maxFrames);
    korvel->MarkChannelsConnected(framework::Input, 0, 4, false);
    korvel->MarkChannelsConnected(framework::Output, 0, 4, false);
    korvel->MarkChannelsConnected(framework::Input, 0, inputs, true);
    korvel->MarkChannelsConnected(framework::Output, 0, outputs, true);
    in.assign(inputs, std::vector<double>(maxFrames));
    out.assign(outputs, std::vector<double>(maxFrames));
  }

  // Fills input c, frame i with f(c, first + i) and runs one block of `frames`.
  template <class F>
  void Run(int frames, long first, F f) {
    std::vector<double*> ip, op;
    for (int c = 0; c < static_cast<int>(in.size()); ++c) {
      for (int i = 0; i < frames; ++i) in[c][i] = f(c, first + i);
      ip.push_back(in[c].data());
    }
    for (auto& o : out) op.push_back(o.data());
    korvel->BindHostBuffers(framework::Input, 0, static_cast<int>(ip.size()), ip.data(), frames);
    korvel->BindHostBuffers(framework::Output, 0, static_cast<int>(op.size()), op.data(), frames);
    korvel->RunBlock(frames);
  }

  void SetParam(KorvelParam p, double value) {
    korvel->GetParam(ParamIdx(p))->Store(value);
    korvel->OnParamChange(ParamIdx(p), framework::ParamSource::Host, 0);
  }

  std::vector<float> History(int channel) const {
    const float* h = korvel->Channel(channel)->History();
    return {h, h + Korvel::kHistorySamples};
  }
};

// A counter that stays exact in single precision.
inline double Counter(int channel, long frame) { return static_cast<double>(frame % 1000000) + channel * 0.25; }
