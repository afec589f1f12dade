#include "tools/render/RenderOptions.h"

#include <cmath>
#include <cstdlib>

namespace {

bool PositiveNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && std::isfinite(value) && value > 0.0;
}

}  // namespace

bool ParseArguments(int argc, char** argv, RenderOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    auto value = [&]() -> const char* { return argv[++i]; };
    if ((arg == "--plugin" || arg == "--param" || arg == "--domain" || arg == "--freeze-at" || arg == "--scale" ||
         arg == "--seconds" || arg == "-o") && !hasValue) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--plugin") {
      options.plugin = value();
    } else if (arg == "--param") {
      const std::string setting = value();
      const size_t eq = setting.rfind('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--param wants NAME=VALUE, not \"" + setting + "\"";
        return false;
      }
      options.params.emplace_back(setting.substr(0, eq), setting.substr(eq + 1));
    } else if (arg == "--domain") {
      const std::string d = value();
      if (d == "time") options.domain = "Time";
      else if (d == "freq") options.domain = "Freq";
      else if (d == "phase") options.domain = "Phase";
      else {
        error = "--domain is time, freq or phase, not \"" + d + "\"";
        return false;
      }
    } else if (arg == "--freeze-at") {
      const char* text = value();
      if (!PositiveNumber(text, options.freezeAt) && std::string(text) != "0") {
        error = std::string("--freeze-at wants seconds, not \"") + text + "\"";
        return false;
      }
      if (std::string(text) == "0") options.freezeAt = 0.0;
    } else if (arg == "--scale") {
      const char* text = value();
      if (!PositiveNumber(text, options.scale)) {
        error = std::string("--scale wants a positive number, not \"") + text + "\"";
        return false;
      }
    } else if (arg == "--seconds") {
      const char* text = value();
      if (!PositiveNumber(text, options.seconds) || options.seconds > 3600.0) {
        error = std::string("--seconds wants a length up to 3600, not \"") + text + "\"";
        return false;
      }
    } else if (arg == "-o") {
      options.output = value();
    } else if (arg == "-h" || arg == "--help") {
      error.clear();
      return false;
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (options.audioFile.empty()) {
      options.audioFile = arg;
    } else {
      error = "only one audio file, please (got \"" + options.audioFile + "\" and \"" + arg + "\")";
      return false;
    }
  }
  return true;
}
