// The built module as a host finds it on disk: what it exports and where it finds Skia.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "ClapTestHost.h"

namespace {

namespace fs = std::filesystem;

// The paths of the loaded objects whose file name starts with `prefix`.
std::set<std::string> Loaded(const std::string& prefix) {
  std::set<std::string> paths;
  std::pair<std::string, std::set<std::string>*> query(prefix, &paths);
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto& out = *static_cast<std::pair<std::string, std::set<std::string>*>*>(data);
        const std::string path = info->dlpi_name ? info->dlpi_name : "";
        if (fs::path(path).filename().string().rfind(out.first, 0) == 0) out.second->insert(path);
        return 0;
      },
      &query);
  return paths;
}

TEST(ClapModuleFiles, ExportsExactlyTheEntryAndTheFactory) {
  const std::string command = std::string("nm -D --defined-only ") + KORVEL_CLAP_MODULE;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    const size_t last = text.find_last_of(' ');
    names.insert(text.substr(last + 1, text.find_last_not_of("\r\n") - last));
  }
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(names, (std::set<std::string>{"clap_entry", "clap_factory"}));
}

// The layout of an installed module: Skia in korvel-lib beside it, found through the run path.
TEST(ClapModuleFiles, LoadsFromAnotherFolderWithSkiaInItsSubfolder) {
  if (!Loaded("libSkiaSharp").empty()) GTEST_SKIP() << "Skia is already loaded in this process";
  const fs::path built(KORVEL_CLAP_MODULE);
  const fs::path skiaFolder = built.parent_path() / "korvel-lib";
  if (!fs::exists(skiaFolder)) GTEST_SKIP() << "built without Skia";
  const fs::path folder = fs::temp_directory_path() / ("korvel-clap-moved-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(built, folder / "Korvel.clap");
  fs::copy(skiaFolder, folder / "korvel-lib");  // the library itself, not the build tree's link to it
  {
    claptest::Module moved((folder / "Korvel.clap").string());
    const std::set<std::string> skia = Loaded("libSkiaSharp");
    ASSERT_EQ(skia.size(), 1u);
    EXPECT_EQ(fs::path(*skia.begin()).parent_path(), folder / "korvel-lib") << "found through $ORIGIN/korvel-lib";
    ASSERT_TRUE(moved.Entry()->init(moved.Path().c_str()));
    claptest::FakeHost host;
    { claptest::Instance plugin(moved.Entry(), host); }
    moved.Entry()->deinit();
  }
  fs::remove_all(folder);
}

}  // namespace
