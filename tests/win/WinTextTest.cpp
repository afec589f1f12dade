#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "graphics/platform/win/WinText.h"

namespace graphics::win {
namespace {

TEST(WinText, Utf8AndUtf16RoundTrip) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC \xF0\x9D\x84\x9E";  // Grüß € 𝄞
  const std::u16string wide = Utf16Of(text);
  EXPECT_EQ(wide, u"Gr\u00FC\u00DF \u20AC \U0001D11E");
  EXPECT_EQ(Utf8Of(wide), text);
}

TEST(WinText, IllFormedTextBecomesReplacementCharacters) {
  struct Case {
    const char* utf8;
    std::u16string utf16;
  } cases[] = {
      {"a\xFF" "b", u"a\uFFFDb"},
      {"a\xE2\x82", u"a\uFFFD\uFFFD"},       // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(Utf16Of(c.utf8), c.utf16) << c.utf8;
  const char16_t lone[] = {u'x', 0xD800, u'y'};
  EXPECT_EQ(Utf8Of(lone, 3), "x\xEF\xBF\xBDy");
  EXPECT_EQ(Utf8Of(nullptr, 4), "");
}

TEST(WinText, EveryResourceTheEditorAsksForIsInResourcesUnderItsModuleName) {
  // The module's resources are named after the files, upper-cased; the layout asks in lower case.
  const char* names[] = {"BG.PNG",        "BG@2X.PNG",        "MASK.PNG",        "MASK@2X.PNG",
                         "GRADIENT.PNG",  "GRADIENT@2X.PNG",  "BIG_KNOB.PNG",    "BIG_KNOB@2X.PNG",
                         "KNOB_LINE.PNG", "KNOB_LINE@2X.PNG", "SM_BUTTON.PNG",   "SM_BUTTON@2X.PNG",
                         "BAR_HANDLE.PNG", "BAR_HANDLE@2X.PNG", "TRIG_HANDLE.PNG", "TRIG_HANDLE@2X.PNG"};
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(KORVEL_RESOURCES_DIR))
    files.push_back(ResourceNameOf(entry.path().filename().string().c_str()));
  for (const char* name : names) EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
  EXPECT_EQ(ResourceNameOf("Roboto-Regular.ttf"), "ROBOTO-REGULAR.TTF");
  EXPECT_EQ(ResourceNameOf("bg@2x.png"), "BG@2X.PNG");
  EXPECT_EQ(ResourceNameOf(nullptr), "");
}

TEST(WinText, FileDropListHoldsOneWidePath) {
  const std::u16string path = u"C:\\a.wav";
  const std::vector<uint8_t> list = FileDropList(path);
  ASSERT_EQ(list.size(), 20u + (path.size() + 2) * 2) << "header, path, its terminator and the list's";
  uint32_t offset = 0, wide = 0;
  std::memcpy(&offset, list.data(), 4);
  std::memcpy(&wide, list.data() + 16, 4);
  EXPECT_EQ(offset, 20u);
  EXPECT_EQ(wide, 1u);
  EXPECT_EQ(std::memcmp(list.data() + 20, path.data(), path.size() * 2), 0);
  EXPECT_EQ(list[list.size() - 1] | list[list.size() - 2] | list[list.size() - 3] | list[list.size() - 4], 0);
  EXPECT_EQ(PathsOfFileDropList(list.data(), list.size()), std::vector<std::string>{"C:\\a.wav"});
}

TEST(WinText, FileDropListsAreReadSafely) {
  // Two narrow paths.
  std::vector<uint8_t> narrow(20, 0);
  narrow[0] = 20;
  for (const char* p : {"a.wav", "b.aif"}) narrow.insert(narrow.end(), p, p + std::strlen(p) + 1);
  narrow.push_back(0);
  EXPECT_EQ(PathsOfFileDropList(narrow.data(), narrow.size()), (std::vector<std::string>{"a.wav", "b.aif"}));
  // A path without its terminator is not taken.
  std::vector<uint8_t> open = FileDropList(u"x");
  open.resize(open.size() - 4);
  EXPECT_EQ(PathsOfFileDropList(open.data(), open.size()), std::vector<std::string>{});
  std::vector<uint8_t> bad = FileDropList(u"x");
  bad[0] = 200;  // the list would start past the end
  EXPECT_TRUE(PathsOfFileDropList(bad.data(), bad.size()).empty());
  EXPECT_TRUE(PathsOfFileDropList(bad.data(), 10).empty());
  EXPECT_TRUE(PathsOfFileDropList(nullptr, 100).empty());
}

TEST(WinText, CursorTypesMapToSystemCursors) {
  struct Case {
    CursorType type;
    uint16_t id;
  } cases[] = {{CursorType::Arrow, 32512}, {CursorType::TextBeam, 32513}, {CursorType::SizeNWSE, 32642},
               {CursorType::Forbidden, 32648}, {CursorType::Hand, 32649}, {CursorType::Help, 32651},
               {static_cast<CursorType>(99), 32512}, {static_cast<CursorType>(-1), 32512}};
  for (const Case& c : cases) EXPECT_EQ(SystemCursorId(c.type), c.id) << static_cast<int>(c.type);
}

}  // namespace
}  // namespace graphics::win
