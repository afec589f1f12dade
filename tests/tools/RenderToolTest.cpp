// korvel-render as a user runs it: the demo and a sound file rendered in each domain and at
// draw scale 2, probed where the traces must be; every refused input exits non-zero with
// its message.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "graphics/skia/SkiaCApi.h"

namespace {

struct Result {
  int status = -1;
  std::string output;  // standard output and error
};

// A decoded PNG as 0xAARRGGBB pixels.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
  // A pixel of a trace: clearly coloured (not the grey of the grid and text, not the black plot).
  bool IsTrace(int x, int y) const {
    const uint32_t p = At(x, y);
    const int r = p >> 16 & 0xff, g = p >> 8 & 0xff, b = p & 0xff;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    return hi > 90 && hi - lo > 40;
  }
  // A pixel of the main pair's pale trace, or any other far brighter than the grid's grey.
  bool IsBright(int x, int y) const {
    const uint32_t p = At(x, y);
    return std::max({p >> 16 & 0xff, p >> 8 & 0xff, p & 0xff}) > 200;
  }
  // How many pixels of the rectangle [x0, x1) × [y0, y1) are trace (or bright) pixels.
  int TraceIn(int x0, int y0, int x1, int y1) const { return CountIn(x0, y0, x1, y1, &Picture::IsTrace); }
  int BrightIn(int x0, int y0, int x1, int y1) const { return CountIn(x0, y0, x1, y1, &Picture::IsBright); }
  int CountIn(int x0, int y0, int x1, int y1, bool (Picture::*is)(int, int) const) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += (this->*is)(x, y);
    return n;
  }
};

class RenderTool : public testing::Test {
protected:
  static void SetUpTestSuite() {
    char folder[] = "/tmp/korvel-render-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    dir = folder;
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir); }

  static Result Run(const std::string& arguments) {
    Result result;
    const std::string command = std::string("\"") + KORVEL_RENDER + "\" " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
  }
  static Picture Load(const std::string& path) {
    Picture picture;
    sk_data_t* data = sk_data_new_from_file(path.c_str());
    if (!data) return picture;
    sk_image_t* image = sk_image_new_from_encoded(data);
    sk_data_unref(data);
    if (!image) return picture;
    picture.width = sk_image_get_width(image);
    picture.height = sk_image_get_height(image);
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    const sk_imageinfo_t info = {nullptr, picture.width, picture.height, BGRA_8888_SK_COLORTYPE, PREMUL_SK_ALPHATYPE};
    if (!sk_image_read_pixels(image, &info, picture.pixels.data(), static_cast<size_t>(picture.width) * 4, 0, 0,
                              ALLOW_SK_IMAGE_CACHING_HINT))
      picture = {};
    sk_image_unref(image);
    return picture;
  }
  static std::string Path(const char* name) { return dir + "/" + name; }

  static std::string dir;
};

std::string RenderTool::dir;

TEST_F(RenderTool, TheDemoInTimeShowsTheSineBandAndNothingAboveIt) {
  const Result r = Run("--domain time -o " + Path("time.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("time.png"));
  ASSERT_EQ(p.width, 724);
  ASSERT_EQ(p.height, 526);
  // The main pair peaks near 0.45 of full scale: around the middle of the plot, not near its top.
  EXPECT_GT(p.TraceIn(450, 160, 600, 255), 500);
  EXPECT_EQ(p.TraceIn(450, 60, 600, 95), 0);
}

TEST_F(RenderTool, AtDrawScaleTwoTheSamePictureIsTwiceAsLarge) {
  const Result r = Run("--domain time --scale 2 -o " + Path("time2.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("time2.png"));
  ASSERT_EQ(p.width, 1448);
  ASSERT_EQ(p.height, 1052);
  EXPECT_GT(p.TraceIn(900, 320, 1200, 510), 2000);
  EXPECT_EQ(p.TraceIn(900, 120, 1200, 190), 0);
}

TEST_F(RenderTool, TheDemoSpectrumPeaksAtItsTonesAndStaysLowElsewhere) {
  const Result r = Run("--domain freq --param \"X Zoom Low=0\" --param \"FFT Size=16384\" -o " + Path("freq.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("freq.png"));
  ASSERT_EQ(p.width, 724);
  // The main pair's pale 220 Hz peak rises high; between 3 and 4 kHz only the noise floor lies
  // along the bottom.
  EXPECT_GT(p.BrightIn(99, 130, 104, 200), 50);
  EXPECT_EQ(p.TraceIn(350, 60, 390, 330), 0);
}

TEST_F(RenderTool, TheDemoTonesPeakOnTheGridLineOfTheirFrequency) {
  // The opening range 5.5 … 22 kHz holds only the demo's 8 kHz tone above the noise: its peak
  // must stand on the "8.0k" grid line, whatever the stream's rate (48 kHz here).
  const Result r = Run("--domain freq -o " + Path("freq8k.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("freq8k.png"));
  int peakX = -1, peakTop = 1 << 30;
  for (int x = 82; x < 616; ++x)
    for (int y = 60; y < 355; ++y)
      if (p.IsTrace(x, y) || p.IsBright(x, y)) {
        if (y < peakTop) {
          peakTop = y;
          peakX = x;
        }
        break;
      }
  ASSERT_GE(peakX, 0);
  const auto isGrid = [&](int x) {
    const uint32_t c = p.At(x, 70);
    const int red = c >> 16 & 0xff, green = c >> 8 & 0xff, blue = c & 0xff;
    return red == green && green == blue && red > 90 && red < 160;
  };
  bool onGrid = false;
  for (int x = peakX - 2; x <= peakX + 2; ++x) onGrid = onGrid || isGrid(x);
  EXPECT_TRUE(onGrid) << "peak at column " << peakX;
}

// At each host rate, through files of that rate: the sine's peak stands in the column of its
// frequency on the warped axis, and a 10 ms delay moves a step by 10 ms of that rate.
TEST_F(RenderTool, FilesAtEveryRateShowTheirOwnHertzAndMilliseconds) {
  constexpr int kL = 80, kR = 618, kT = 56, kB = 362, kN = 16384;
  const auto write = [&](const std::string& path, double rate, double seconds, auto sample) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(rate);
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> frames(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = static_cast<float>(sample(static_cast<double>(i)));
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size()));
    sf_close(file);
  };
  // The first column, left to right, with a pixel of `is` in rows y0 … y1 (and, when asked,
  // none in the centre row).
  const auto firstColumn = [](const Picture& p, int y0, int y1, auto is, bool centreClear = false) {
    for (int x = kL + 1; x < kR - 1; ++x)
      for (int y = y0; y <= y1; ++y)
        if (is(p.At(x, y)) && !(centreClear && is(p.At(x, (kT + kB) / 2)))) return x;
    return -1;
  };
  const auto brightness = [](uint32_t c) { return std::max({c >> 16 & 0xff, c >> 8 & 0xff, c & 0xff}); };
  for (double rate : {8000.0, 11025.0, 16000.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    const double top = std::min(22000.0, rate / 2);
    const double hz = 0.3 * top;
    const std::string tone = Path("rate-tone.wav");
    write(tone, rate, 1.0, [&](double n) { return 0.5 * std::sin(2 * std::numbers::pi * hz * n / rate); });
    const Result r = Run("\"" + tone + "\" --domain freq --param \"X Zoom Low=0\" --param \"X Zoom High=1\"" +
                         " --param \"FFT Size=16384\" -o " + Path("rate-freq.png"));
    ASSERT_EQ(r.status, 0) << r.output;
    const Picture p = Load(Path("rate-freq.png"));
    ASSERT_EQ(p.width, 724);
    int peakX = -1;
    for (int row = kT + 1; row < kB && peakX < 0; ++row)
      peakX = firstColumn(p, row, row, [&](uint32_t c) { return brightness(c) > 200; });
    // Column x shows the bin whose warp value N^(−bin / N) lies that far between those of the
    // first and last shown bins (20 Hz and the top frequency, below bin N / 2).
    const auto warp = [&](double bin) { return std::pow(kN, -bin / kN); };
    const double first = static_cast<int>(20.0 * kN / rate) + 1;
    const double last = std::min(static_cast<int>(top * kN / rate), kN / 2 - 1);
    const double expected = kL + (warp(hz * kN / rate) - warp(first)) / (warp(last) - warp(first)) * (kR - kL);
    EXPECT_NEAR(peakX, expected, 3.0);

    // A step 20 ms before the end, in a window of about 40 ms.
    const std::string step = Path("rate-step.wav");
    const double seconds = 0.5, stepAt = (seconds - 0.02) * rate;
    write(step, rate, seconds, [&](double n) { return n >= stepAt ? 0.8 : -0.8; });
    char zoom[64];
    std::snprintf(zoom, sizeof zoom, "--param \"X Zoom Low=%.6f\"", 1.0 - 0.04 * rate / 48000.0);
    const auto stepColumn = [&](const char* delay) {
      const Result d = Run("\"" + step + "\" --domain time " + zoom + " --param \"Delay 1=" + delay +
                           "\" --param \"Input 2=off\" --param Opacity=1 -o " + Path("rate-step.png"));
      EXPECT_EQ(d.status, 0) << d.output;
      // The first column after the step: the +0.8 level runs along row 87, clear of the level
      // grid, and nothing crosses the centre row (neither the step nor a time grid line).
      const Picture s = Load(Path("rate-step.png"));
      return firstColumn(s, 85, 89, [&](uint32_t c) { return brightness(c) > 64; }, true);
    };
    const int undelayed = stepColumn("0"), delayed = stepColumn("10");
    ASSERT_GE(undelayed, 0);
    EXPECT_NEAR(delayed - undelayed, (kR - kL) / 4.0, 3.0);  // 10 ms of the 40 ms window
  }
}

TEST_F(RenderTool, TheDemoPhaseCloudRisesFromTheBottomCentre) {
  const Result r = Run("--domain phase -o " + Path("phase.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("phase.png"));
  ASSERT_EQ(p.width, 724);
  EXPECT_GT(p.TraceIn(320, 200, 380, 355), 200);
  EXPECT_EQ(p.TraceIn(90, 60, 250, 200), 0);
  EXPECT_EQ(p.TraceIn(450, 60, 610, 200), 0);
}

TEST_F(RenderTool, ASoundFileIsRenderedAndFreezeAtStopsEarly) {
  // One second of a 1 kHz stereo tone at half scale.
  const std::string wav = Path("tone.wav");
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(wav.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  std::vector<float> frames(44100 * 2);
  for (size_t i = 0; i < frames.size(); ++i)
    frames[i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i / 2) / 44100.0));
  sf_writef_float(file, frames.data(), 44100);
  sf_close(file);

  const Result r = Run("\"" + wav + "\" -o " + Path("file.png"));
  ASSERT_EQ(r.status, 0) << r.output;
  const Picture p = Load(Path("file.png"));
  ASSERT_EQ(p.width, 724);
  EXPECT_GT(p.TraceIn(450, 120, 600, 300), 500);

  // Frozen before the 544 ms window has filled: the older part of it shows no trace yet.
  const Result frozen = Run("\"" + wav + "\" --freeze-at 0.2 -o " + Path("frozen.png"));
  ASSERT_EQ(frozen.status, 0) << frozen.output;
  const Picture f = Load(Path("frozen.png"));
  EXPECT_EQ(f.TraceIn(90, 120, 250, 195), 0);  // above the centre line that silence draws
  EXPECT_EQ(f.TraceIn(90, 220, 250, 300), 0);
  EXPECT_GT(f.TraceIn(500, 120, 600, 300), 100);
}

TEST_F(RenderTool, RefusedInputsExitNonZeroWithTheirMessage) {
  const std::string notAudio = Path("not-audio.wav");
  FILE* text = std::fopen(notAudio.c_str(), "w");
  ASSERT_NE(text, nullptr);
  std::fputs("this is not a sound file\n", text);
  std::fclose(text);
  struct Case {
    std::string arguments;
    const char* message;
  };
  const Case cases[] = {
      {Path("missing.wav"), "cannot read the audio file"},
      {notAudio, "cannot read the audio file"},
      {"--param \"No Such=1\"", "unknown parameter \"No Such\""},
      {"--param 99=1", "unknown parameter \"99\""},
      {"--param \"FFT Size=7\"", "out of range for FFT Size"},
      {"--param \"Hold=10\"", "out of range for Hold"},
      {"--param \"Domain=Sideways\"", "is not a value of Domain"},
      {"--param NoEquals", "--param wants NAME=VALUE"},
      {"--domain sideways", "--domain is time, freq or phase"},
      {"--scale 0", "--scale wants a positive number"},
      {"--scale 9", "outside its size limits"},
      {"--plugin " + Path("missing.clap"), "cannot load the module"},
      {"--plugin " + notAudio, "cannot load the module"},
      {"--seconds abc", "--seconds wants a length"},
      {"--what", "unknown option --what"},
      {"--seconds 1.5 --freeze-at 99", "--freeze-at 99 s is past the end of the audio (1.5 s)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result r = Run(c.arguments + " -o " + Path("refused.png"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
  }
  EXPECT_FALSE(std::filesystem::exists(Path("refused.png")));
}

TEST_F(RenderTool, ParametersAreSetByIdAndByText) {
  const Result byId = Run("--param 10=6 --param 0=1 -o " + Path("byid.png"));
  ASSERT_EQ(byId.status, 0) << byId.output;
  const Result byText = Run("--param \"FFT Size=16384\" --param Domain=Freq -o " + Path("bytext.png"));
  ASSERT_EQ(byText.status, 0) << byText.output;
  const Picture a = Load(Path("byid.png"));
  const Picture b = Load(Path("bytext.png"));
  ASSERT_EQ(a.width, 724);
  EXPECT_EQ(a.pixels, b.pixels);
}

}  // namespace
