#pragma once
// Where the rendered audio comes from: a sound file read through libsndfile, or the
// built-in demo signal. Both hand out four channels (two main, two aux), block by block.
#include <cstdint>
#include <memory>
#include <string>

class AudioSource {
public:
  static constexpr int kChannels = 4;

  virtual ~AudioSource() = default;

  // A file's channels in order (a mono file feeds both main channels); null with the
  // reason in error when it is missing or cannot be read as audio.
  static std::unique_ptr<AudioSource> OpenFile(const std::string& path, std::string& error);
  // The demo: a stereo pair with a small phase difference and one transient, and an aux
  // pair of a 110 Hz saw and a noisy copy of it, and a quiet 8 kHz tone on the main pair; `seconds` long at `sampleRate`.
  static std::unique_ptr<AudioSource> Demo(double seconds, double sampleRate);

  virtual double SampleRate() const = 0;
  // Fills up to `frames` frames of each channel; returns how many, 0 at the end.
  virtual int Read(float* const channels[kChannels], int frames) = 0;
};
