#pragma once
// The binding of a plug-in that runs without a host: command-line tools and tests drive it
// directly. What a host would be told is kept in a log that callers can read.
#include <vector>

#include "framework/IHostAPIBase.h"

namespace framework {

struct DetachedCreationInfo {};

class IDetachedPlugin : public IHostAPIBase {
public:
  static constexpr int kApiKind = -1;

  struct HostCall {
    enum class Kind { GestureBegin, ParamChanged, GestureEnd, ResizeEditor } kind;
    int paramIdx = -1;  // or width
    double value = 0.0; // normalised value, or height
  };

  IDetachedPlugin(const DetachedCreationInfo& info, const PluginConfig& config);

  // [main-thread] What the plug-in told its (absent) host, oldest first.
  const std::vector<HostCall>& HostCalls() const noexcept { return hostCalls; }
  void ClearHostCalls() { hostCalls.clear(); }

protected:
  bool HostResizeEditor(int width, int height) override;
  void HostGestureBegin(int paramIdx) override;
  void HostGestureEnd(int paramIdx) override;
  void HostParamChanged(int paramIdx, double normalisedValue) override;

private:
  std::vector<HostCall> hostCalls;
};

}  // namespace framework
