#pragma once
// The render tool's command line: what it asks for, and the parser that reads it.
#include <string>
#include <utility>
#include <vector>

// What a run renders, from the command line.
struct RenderOptions {
  std::string plugin;
  std::string audioFile;
  std::vector<std::pair<std::string, std::string>> params;
  std::string domain;
  double freezeAt = -1.0;
  double scale = 1.0;
  double seconds = 1.5;
  std::string output = "korvel.png";
};

// False with the reason in error for anything that is not a valid command line; false with
// an empty error for a request for help.
bool ParseArguments(int argc, char** argv, RenderOptions& options, std::string& error);
