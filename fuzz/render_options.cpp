// Random command lines to the render tool's parser: arguments are the input's pieces between
// zero bytes. A line it accepts must ask for something the tool can do.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzFail.h"
#include "tools/render/RenderOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{"korvel-render"};
  std::string piece;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != 0) {
      piece += static_cast<char>(data[i]);
      continue;
    }
    args.push_back(piece);
    piece.clear();
  }
  if (!piece.empty()) args.push_back(piece);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  RenderOptions options;
  std::string error;
  if (!ParseArguments(static_cast<int>(args.size()), argv.data(), options, error)) return 0;
  if (!(std::isfinite(options.scale) && options.scale > 0.0)) FuzzFail("accepted a scale that is no size");
  if (!(options.seconds > 0.0 && options.seconds <= 3600.0)) FuzzFail("accepted a length out of range");
  if (!(options.freezeAt == -1.0 || (std::isfinite(options.freezeAt) && options.freezeAt >= 0.0)))
    FuzzFail("accepted a freeze time that is no time");
  for (const auto& [name, value] : options.params)
    if (name.empty()) FuzzFail("accepted a parameter without a name");
  return 0;
}
