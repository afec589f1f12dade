// Module resources, the shared caches and the font tables; bad bytes give safe results.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GraphicsTestSupport.h"
#include "graphics/IFontInfo.h"
#include "graphics/IGraphicsCaches.h"
#include "graphics/IResources.h"
#include "graphics/platform/headless/IGuiHeadless.h"

namespace {

using namespace graphics;

TEST(Resources, LookUpIsCaseInsensitiveAndFallsBackToFiles) {
  std::string found;
  EXPECT_EQ(LocateResource("bg@2x.png", "png", found), ResourceLocation::Resource);
  EXPECT_EQ(found, "BG@2X.PNG");
  EXPECT_EQ(LocateResource("Roboto-Regular.ttf", "TTF", found), ResourceLocation::Resource);
  EXPECT_EQ(LocateResource("bg.png", "ttf", found), ResourceLocation::NotFound) << "the type must match";
  EXPECT_EQ(LocateResource("/etc/hostname", "png", found), ResourceLocation::File);
  EXPECT_EQ(LocateResource("missing.png", "png", found), ResourceLocation::NotFound);
  size_t size = 0;
  EXPECT_NE(ResourceBytes("KNOB_LINE.PNG", "PNG", size), nullptr);
  EXPECT_GT(size, 100u);
  EXPECT_EQ(ResourceBytes("nothing", "PNG", size), nullptr);
  EXPECT_EQ(size, 0u);
}

TEST(Resources, EveryPictureHasTheLayoutsPixelSizeAtBothScales) {
  struct Art {
    const char* name;
    int w, h;
  };
  const Art arts[] = {{"bg.png", 724, 526},        {"knob_line.png", 31, 31},  {"big_knob.png", 43, 43},
                      {"sm_button.png", 27, 54},   {"bar_handle.png", 16, 16}, {"trig_handle.png", 15, 15},
                      {"mask.png", 538, 306},      {"gradient.png", 538, 306}};
  for (const Art& art : arts) {
    for (int scale : {1, 2}) {
      std::string name = art.name;
      if (scale == 2) name.insert(name.rfind('.'), "@2x");
      size_t size = 0;
      const uint8_t* bytes = ResourceBytes(name.c_str(), "png", size);
      auto bitmap = IGuiSkia::DecodeBitmap(bytes, size, scale);
      ASSERT_NE(bitmap, nullptr) << name;
      EXPECT_EQ(bitmap->width, art.w * scale) << name;
      EXPECT_EQ(bitmap->height, art.h * scale) << name;
    }
  }
}

TEST(Resources, TwoEditorsShareOneDecodePerNameAndScale) {
  graphicstest::TestDelegate delegate;
  IGuiHeadless first(delegate, 100, 100, 60, 1.0f);
  IGuiHeadless second(delegate, 100, 100, 60, 2.0f);
  const IBitmapRef a1 = first.LoadBitmap("bar_handle.png");
  const IBitmapRef b1 = second.LoadBitmap("bar_handle.png", 1, false, 1);
  const IBitmapRef b2 = second.LoadBitmap("bar_handle.png");
  EXPECT_EQ(a1.bitmap, b1.bitmap);
  EXPECT_NE(a1.bitmap, b2.bitmap);
  EXPECT_EQ(b2.bitmap->scale, 2);
  EXPECT_EQ(b2.width, 16) << "UI units";
  EXPECT_EQ(first.LoadBitmap("bar_handle.png", 1, false, 2).bitmap, b2.bitmap);
}

TEST(Resources, AMissingScaleIsMadeFromTheNextOneInTheSearchOrder) {
  // Only a 2x file exists: target 1 tries 1, 3, then 2, and scales the 2x picture down.
  size_t size = 0;
  const uint8_t* png = ResourceBytes("KNOB_LINE@2X.PNG", "PNG", size);
  const std::string dir = KORVEL_TEST_OUTPUT_DIR;
  FILE* file = std::fopen((dir + "/only@2x.png").c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(png, 1, size, file);
  std::fclose(file);
  graphicstest::TestDelegate delegate;
  IGuiHeadless g(delegate, 100, 100, 60, 1.0f);
  const std::string name = dir + "/only.png";
  const IBitmapRef one = g.LoadBitmap(name.c_str());
  ASSERT_TRUE(one.IsValid());
  EXPECT_EQ(one.bitmap->scale, 1);
  EXPECT_EQ(one.bitmap->width, 31);
  EXPECT_EQ(one.width, 31);
  const IBitmapRef two = g.LoadBitmap(name.c_str(), 1, false, 2);
  EXPECT_EQ(two.bitmap->scale, 2) << "the source stays cached at its own scale";
  EXPECT_EQ(two.bitmap->width, 62);
}

TEST(Resources, CacheKeysAreFnv1aOfNameAndScale) {
  EXPECT_EQ(CacheKeyText("knob_line.png", 2), "knob_line.png-2.0x");
  EXPECT_EQ(CacheKeyHash("", 1), CacheKeyHash("", 1.0));
  // FNV-1a of "a-1.0x", computed by hand from the offset basis and prime.
  uint64_t h = 0xcbf29ce484222325ull;
  for (char c : std::string("a-1.0x")) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  EXPECT_EQ(CacheKeyHash("a", 1), h);
}

TEST(Resources, BadNamesAndBytesGiveInvalidBitmaps) {
  graphicstest::TestDelegate delegate;
  IGuiHeadless g(delegate, 100, 100, 60, 1.0f);
  EXPECT_FALSE(g.LoadBitmap("x.gif").IsValid());
  EXPECT_FALSE(g.LoadBitmap("missing.png").IsValid());
  EXPECT_FALSE(g.LoadBitmap("").IsValid());
  EXPECT_FALSE(g.LoadBitmap(nullptr).IsValid());
  EXPECT_TRUE(g.BitmapExtSupported("PNG"));
  EXPECT_TRUE(g.BitmapExtSupported("jpeg"));
  EXPECT_FALSE(g.BitmapExtSupported("gif"));
  size_t size = 0;
  const uint8_t* png = ResourceBytes("KNOB_LINE.PNG", "PNG", size);
  std::vector<uint8_t> corrupt(png, png + size);
  corrupt[20] ^= 0xFF;  // the width in the header, with its checksum now wrong
  for (size_t length : {size_t{0}, size_t{8}, size_t{30}, size / 2}) {
    auto bitmap = IGuiSkia::DecodeBitmap(png, length, 1);
    if (bitmap) {
      EXPECT_EQ(bitmap->width, 31) << "a truncated picture keeps its header's size";
    }
  }
  (void)IGuiSkia::DecodeBitmap(corrupt.data(), corrupt.size(), 1);
  EXPECT_EQ(IGuiSkia::DecodeBitmap(png, size, 0), nullptr) << "scale 0";
  const std::string path = std::string(KORVEL_TEST_OUTPUT_DIR) + "/corrupt.png";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(png, 1, 40, file);
  std::fclose(file);
  EXPECT_FALSE(g.LoadBitmap(path.c_str()).IsValid() && g.LoadBitmap(path.c_str()).width != 31);
  EXPECT_FALSE(g.LoadFont("Broken", path.c_str()));
  EXPECT_FALSE(g.LoadFont("Missing", "missing.ttf"));
}

TEST(FontInfo, ReadsTheRealFontAndRejectsCorruptBytes) {
  size_t size = 0;
  const uint8_t* font = ResourceBytes("ROBOTO-REGULAR.TTF", "TTF", size);
  ASSERT_NE(font, nullptr) << "Roboto-Regular.ttf is embedded (fonts-roboto-unhinted)";
  const IFontInfo info = ParseFontInfo(font, size, 0);
  ASSERT_TRUE(info.IsValid());
  EXPECT_EQ(info.family, "Roboto");
  EXPECT_EQ(info.style, "Regular");
  EXPECT_EQ(info.macStyle & (IFontInfo::kBold | IFontInfo::kItalic), 0);
  EXPECT_EQ(info.unitsPerEm, 2048);
  EXPECT_GT(info.ascender, 0);
  EXPECT_LT(info.descender, 0);
  EXPECT_FALSE(ParseFontInfo(font, size, 1).IsValid()) << "a single font has only face 0";
  EXPECT_FALSE(ParseFontInfo(font, 64, 0).IsValid()) << "truncated";
  EXPECT_FALSE(ParseFontInfo(nullptr, 0, 0).IsValid());
  std::vector<uint8_t> collection = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_FALSE(ParseFontInfo(collection.data(), collection.size(), 0).IsValid()) << "offset past the end";
  std::vector<uint8_t> damaged(font, font + size);
  const size_t tables = size_t{font[4]} << 8 | font[5];
  for (size_t i = 12; i < 12 + 16 * tables; i += 16) damaged[i + 8] = 0xFF;  // every table far past the end
  EXPECT_FALSE(ParseFontInfo(damaged.data(), damaged.size(), 0).IsValid());
}

}  // namespace
