#include "framework/IDetachedPlugin.h"

namespace framework {

IDetachedPlugin::IDetachedPlugin(const DetachedCreationInfo&, const PluginConfig& config)
    : IHostAPIBase(config, kApiKind) {
  StartIdleTimer();
}

bool IDetachedPlugin::HostResizeEditor(int width, int height) {
  hostCalls.push_back({HostCall::Kind::ResizeEditor, width, static_cast<double>(height)});
  SetEditorSize(width, height);
  return true;
}

void IDetachedPlugin::HostGestureBegin(int paramIdx) {
  hostCalls.push_back({HostCall::Kind::GestureBegin, paramIdx, 0.0});
}

void IDetachedPlugin::HostGestureEnd(int paramIdx) {
  hostCalls.push_back({HostCall::Kind::GestureEnd, paramIdx, 0.0});
}

void IDetachedPlugin::HostParamChanged(int paramIdx, double normalisedValue) {
  hostCalls.push_back({HostCall::Kind::ParamChanged, paramIdx, normalisedValue});
}

}  // namespace framework
