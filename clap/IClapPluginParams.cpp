// The CLAP binding's parameters and state: "clap.params" and "clap.state".
#include <cstring>

#include "clap/IClapPlugin.h"

using framework::IParam;

namespace {

bool IsContinuous(const IParam& param) noexcept { return param.Kind() == IParam::Kind::Continuous; }

}  // namespace

uint32_t IClapPlugin::ParamsCount() noexcept { return static_cast<uint32_t>(ParamCount()); }

bool IClapPlugin::ParamsInfo(uint32_t index, clap_param_info_t* info) noexcept {
  if (!info || index >= ParamsCount()) return false;
  const IParam& param = *GetParam(static_cast<int>(index));
  const bool continuous = IsContinuous(param);
  *info = {};
  info->id = index;
  info->flags = CLAP_PARAM_REQUIRES_PROCESS;
  if (!continuous) info->flags |= CLAP_PARAM_IS_STEPPED;
  if (!(param.Flags() & IParam::CannotAutomate)) info->flags |= CLAP_PARAM_IS_AUTOMATABLE;
  info->cookie = nullptr;
  framework::CopyText(info->name, CLAP_NAME_SIZE, param.Name());
  framework::CopyText(info->module, CLAP_PATH_SIZE, param.Group());
  info->min_value = continuous ? 0.0 : param.Min();
  info->max_value = continuous ? 1.0 : param.Max();
  info->default_value = param.DefaultOf(continuous);
  return true;
}

bool IClapPlugin::ParamsValue(clap_id id, double* value) noexcept {
  if (!value || id >= ParamsCount()) return false;
  const IParam& param = *GetParam(static_cast<int>(id));
  *value = IsContinuous(param) ? param.CurrentNormalised() : param.Current();
  return true;
}

bool IClapPlugin::ParamsValueToText(clap_id id, double value, char* text, uint32_t capacity) noexcept {
  if (!text || capacity == 0 || id >= ParamsCount()) return false;
  const IParam& param = *GetParam(static_cast<int>(id));
  try {
    framework::ShortText shown;
    if (IsContinuous(param))
      param.FormatValue(param.Normalise(param.Denormalise(value)), true, shown, true);
    else
      param.FormatValue(param.Confine(value), false, shown, true);
    if (*param.ShownLabel()) {
      shown.Append(" ");
      shown.Append(param.ShownLabel());
    }
    const size_t length = std::strlen(shown.Get());
    if (length >= capacity) return false;
    std::memcpy(text, shown.Get(), length + 1);
    return true;
  } catch (...) {
    return false;
  }
}

bool IClapPlugin::ParamsTextToValue(clap_id id, const char* text, double* value) noexcept {
  if (!text || !value || id >= ParamsCount()) return false;
  const IParam& param = *GetParam(static_cast<int>(id));
  try {
    const double parsed = param.ParseValue(text);
    *value = IsContinuous(param) ? param.Normalise(parsed) : parsed;
    return true;
  } catch (...) {
    return false;
  }
}

void IClapPlugin::ParamsFlush(const clap_input_events_t* in, const clap_output_events_t* out) noexcept {
  HandleHostEvents(in);
  FlushParamsToHost(out);
}

// ---- State ----------------------------------------------------------------------------------

bool IClapPlugin::StateSave(const clap_ostream_t* stream) noexcept {
  if (!stream || !stream->write) return false;
  framework::StateChunk chunk;
  if (!SaveState(chunk)) return false;
  const int64_t size = chunk.Size();
  for (int64_t done = 0; done < size;) {
    const int64_t rest = size - done;
    const int64_t written = stream->write(stream, chunk.Data() + done, static_cast<uint64_t>(rest));
    if (written < 1 || written > rest) return false;
    done += written;
  }
  return true;
}

bool IClapPlugin::StateLoad(const clap_istream_t* stream) noexcept {
  if (!stream || !stream->read) return false;
  framework::StateChunk chunk;
  uint8_t buffer[256];
  for (;;) {
    const int64_t got = stream->read(stream, buffer, sizeof buffer);
    if (got == 0) break;
    // An error, a count beyond the buffer, or a stream that will not end.
    if (got < 0 || got > static_cast<int64_t>(sizeof buffer) || chunk.Size() + got > kMaxStateBytes ||
        !chunk.PutBytes(buffer, static_cast<int>(got)))
      return false;
  }
  if (chunk.Size() == 0) return false;

  // A refused state must not leave half of itself behind: keep the current one to go back to.
  framework::StateChunk previous;
  if (!SaveState(previous)) return false;
  const int read = LoadState(chunk, 0);
  if (read < 0 || read != chunk.Size()) {
    LoadState(previous, 0);
    return false;
  }
  OnStateLoaded();
  if (host.ParamsUsable()) host.ParamsRescan(CLAP_PARAM_RESCAN_VALUES);
  return true;
}
