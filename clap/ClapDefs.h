#pragma once
// Our own definitions of the CLAP 1.2.10 plug-in interface: the records, constants, event
// types and extension identifiers the binding and its tests use, with CLAP's published
// names, values and layouts. Every record size and every field offset the binding relies
// on is checked below against the published x86-64 layout.
// Each function the binding implements carries CLAP's thread contract: [main-thread],
// [audio-thread] or [thread-safe], with the state it must be called in ("active",
// "processing"); the host keeps to it, so the binding may rely on it.
#include <cstddef>
#include <cstdint>

extern "C" {

// ---- Versions and ids ----------------------------------------------------------------

typedef struct clap_version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
} clap_version_t;

#define CLAP_VERSION_MAJOR 1
#define CLAP_VERSION_MINOR 2
#define CLAP_VERSION_REVISION 10
#define CLAP_VERSION_INIT {CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION}

typedef uint32_t clap_id;
static const clap_id CLAP_INVALID_ID = UINT32_MAX;

enum { CLAP_NAME_SIZE = 256, CLAP_PATH_SIZE = 1024 };

// ---- Host ----------------------------------------------------------------------------

typedef struct clap_host {
  clap_version_t clap_version;
  void* host_data;
  const char* name;
  const char* vendor;
  const char* url;
  const char* version;
  const void*(*get_extension)(const struct clap_host* host, const char* extension_id);
  void (*request_restart)(const struct clap_host* host);
  void (*request_process)(const struct clap_host* host);
  void (*request_callback)(const struct clap_host* host);
} clap_host_t;

// ---- Events --------------------------------------------------------------------------

typedef struct clap_event_header {
  uint32_t size;
  uint32_t time;
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
} clap_event_header_t;

static const uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

enum clap_event_flags { CLAP_EVENT_IS_LIVE = 1 << 0, CLAP_EVENT_DONT_RECORD = 1 << 1 };

enum {
  CLAP_EVENT_NOTE_ON = 0,
  CLAP_EVENT_NOTE_OFF = 1,
  CLAP_EVENT_NOTE_CHOKE = 2,
  CLAP_EVENT_NOTE_END = 3,
  CLAP_EVENT_NOTE_EXPRESSION = 4,
  CLAP_EVENT_PARAM_VALUE = 5,
  CLAP_EVENT_PARAM_MOD = 6,
  CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
  CLAP_EVENT_PARAM_GESTURE_END = 8,
  CLAP_EVENT_TRANSPORT = 9,
  CLAP_EVENT_MIDI = 10,
  CLAP_EVENT_MIDI_SYSEX = 11,
  CLAP_EVENT_MIDI2 = 12,
};

typedef struct clap_event_note {
  clap_event_header_t header;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double velocity;
} clap_event_note_t;

typedef struct clap_event_param_value {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
} clap_event_param_value_t;

typedef struct clap_event_param_gesture {
  clap_event_header_t header;
  clap_id param_id;
} clap_event_param_gesture_t;

enum clap_transport_flags {
  CLAP_TRANSPORT_HAS_TEMPO = 1 << 0,
  CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1,
  CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2,
  CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3,
  CLAP_TRANSPORT_IS_PLAYING = 1 << 4,
  CLAP_TRANSPORT_IS_RECORDING = 1 << 5,
  CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6,
  CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7,
};

typedef int64_t clap_beattime;
typedef int64_t clap_sectime;
static const clap_beattime CLAP_BEATTIME_FACTOR = 1LL << 31;
static const clap_sectime CLAP_SECTIME_FACTOR = 1LL << 31;

typedef struct clap_event_transport {
  clap_event_header_t header;
  uint32_t flags;
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;
  double tempo_inc;
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
} clap_event_transport_t;

typedef struct clap_event_midi {
  clap_event_header_t header;
  uint16_t port_index;
  uint8_t data[3];
} clap_event_midi_t;

typedef struct clap_event_midi_sysex {
  clap_event_header_t header;
  uint16_t port_index;
  const uint8_t* buffer;
  uint32_t size;
} clap_event_midi_sysex_t;

typedef struct clap_input_events {
  void* ctx;
  uint32_t (*size)(const struct clap_input_events* list);
  const clap_event_header_t* (*get)(const struct clap_input_events* list, uint32_t index);
} clap_input_events_t;

typedef struct clap_output_events {
  void* ctx;
  bool (*try_push)(const struct clap_output_events* list, const clap_event_header_t* event);
} clap_output_events_t;

// ---- Processing ----------------------------------------------------------------------

typedef struct clap_audio_buffer {
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;
  uint64_t constant_mask;
} clap_audio_buffer_t;

enum {
  CLAP_PROCESS_ERROR = 0,
  CLAP_PROCESS_CONTINUE = 1,
  CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
  CLAP_PROCESS_TAIL = 3,
  CLAP_PROCESS_SLEEP = 4,
};
typedef int32_t clap_process_status;

typedef struct clap_process {
  int64_t steady_time;
  uint32_t frames_count;
  const clap_event_transport_t* transport;
  const clap_audio_buffer_t* audio_inputs;
  clap_audio_buffer_t* audio_outputs;
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events_t* in_events;
  const clap_output_events_t* out_events;
} clap_process_t;

// ---- Plug-in, descriptor, factory, entry ---------------------------------------------

typedef struct clap_plugin_descriptor {
  clap_version_t clap_version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manual_url;
  const char* support_url;
  const char* version;
  const char* description;
  const char* const* features;
} clap_plugin_descriptor_t;

typedef struct clap_plugin {
  const clap_plugin_descriptor_t* desc;
  void* plugin_data;
  // [main-thread]
  bool (*init)(const struct clap_plugin* plugin);
  // [main-thread]
  void (*destroy)(const struct clap_plugin* plugin);
  // [main-thread] & !active
  bool (*activate)(const struct clap_plugin* plugin, double sample_rate, uint32_t min_frames_count,
                   uint32_t max_frames_count);
  // [main-thread] & active
  void (*deactivate)(const struct clap_plugin* plugin);
  // [audio-thread] & active & !processing
  bool (*start_processing)(const struct clap_plugin* plugin);
  // [audio-thread] & active & processing
  void (*stop_processing)(const struct clap_plugin* plugin);
  // [audio-thread] & active
  void (*reset)(const struct clap_plugin* plugin);
  // [audio-thread] & active & processing
  clap_process_status (*process)(const struct clap_plugin* plugin, const clap_process_t* process);
  // [thread-safe]
  const void* (*get_extension)(const struct clap_plugin* plugin, const char* id);
  // [main-thread]
  void (*on_main_thread)(const struct clap_plugin* plugin);
} clap_plugin_t;

static const char CLAP_PLUGIN_FACTORY_ID[] = "clap.plugin-factory";

typedef struct clap_plugin_factory {
  // [thread-safe]
  uint32_t (*get_plugin_count)(const struct clap_plugin_factory* factory);
  // [thread-safe]
  const clap_plugin_descriptor_t* (*get_plugin_descriptor)(const struct clap_plugin_factory* factory,
                                                            uint32_t index);
  // [thread-safe]
  const clap_plugin_t* (*create_plugin)(const struct clap_plugin_factory* factory, const clap_host_t* host,
                                        const char* plugin_id);
} clap_plugin_factory_t;

typedef struct clap_plugin_entry {
  clap_version_t clap_version;
  // [thread-safe]
  bool (*init)(const char* plugin_path);
  // [thread-safe]
  void (*deinit)(void);
  // [thread-safe]
  const void* (*get_factory)(const char* factory_id);
} clap_plugin_entry_t;

#define CLAP_PLUGIN_FEATURE_AUDIO_EFFECT "audio-effect"
#define CLAP_PLUGIN_FEATURE_ANALYZER "analyzer"
#define CLAP_PLUGIN_FEATURE_STEREO "stereo"

// ---- Streams and state ---------------------------------------------------------------

typedef struct clap_istream {
  void* ctx;
  int64_t (*read)(const struct clap_istream* stream, void* buffer, uint64_t size);
} clap_istream_t;

typedef struct clap_ostream {
  void* ctx;
  int64_t (*write)(const struct clap_ostream* stream, const void* buffer, uint64_t size);
} clap_ostream_t;

static const char CLAP_EXT_STATE[] = "clap.state";

typedef struct clap_plugin_state {
  // [main-thread]
  bool (*save)(const clap_plugin_t* plugin, const clap_ostream_t* stream);
  // [main-thread]
  bool (*load)(const clap_plugin_t* plugin, const clap_istream_t* stream);
} clap_plugin_state_t;

// ---- Parameters ----------------------------------------------------------------------

static const char CLAP_EXT_PARAMS[] = "clap.params";

enum {
  CLAP_PARAM_IS_STEPPED = 1 << 0,
  CLAP_PARAM_IS_PERIODIC = 1 << 1,
  CLAP_PARAM_IS_HIDDEN = 1 << 2,
  CLAP_PARAM_IS_READONLY = 1 << 3,
  CLAP_PARAM_IS_BYPASS = 1 << 4,
  CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
  CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
  CLAP_PARAM_IS_ENUM = 1 << 16,
};
typedef uint32_t clap_param_info_flags;

typedef struct clap_param_info {
  clap_id id;
  clap_param_info_flags flags;
  void* cookie;
  char name[CLAP_NAME_SIZE];
  char module[CLAP_PATH_SIZE];
  double min_value;
  double max_value;
  double default_value;
} clap_param_info_t;

typedef struct clap_plugin_params {
  // [main-thread]
  uint32_t (*count)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*get_info)(const clap_plugin_t* plugin, uint32_t param_index, clap_param_info_t* param_info);
  // [main-thread]
  bool (*get_value)(const clap_plugin_t* plugin, clap_id param_id, double* out_value);
  // [main-thread]
  bool (*value_to_text)(const clap_plugin_t* plugin, clap_id param_id, double value, char* out_buffer,
                        uint32_t out_buffer_capacity);
  // [main-thread]
  bool (*text_to_value)(const clap_plugin_t* plugin, clap_id param_id, const char* param_value_text,
                        double* out_value);
  // [active ? audio-thread : main-thread]
  void (*flush)(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out);
} clap_plugin_params_t;

enum {
  CLAP_PARAM_RESCAN_VALUES = 1 << 0,
  CLAP_PARAM_RESCAN_TEXT = 1 << 1,
  CLAP_PARAM_RESCAN_INFO = 1 << 2,
  CLAP_PARAM_RESCAN_ALL = 1 << 3,
};
typedef uint32_t clap_param_rescan_flags;
enum { CLAP_PARAM_CLEAR_ALL = 1 << 0 };
typedef uint32_t clap_param_clear_flags;

typedef struct clap_host_params {
  void (*rescan)(const clap_host_t* host, clap_param_rescan_flags flags);
  void (*clear)(const clap_host_t* host, clap_id param_id, clap_param_clear_flags flags);
  void (*request_flush)(const clap_host_t* host);
} clap_host_params_t;

// ---- Latency, tail, render -----------------------------------------------------------

static const char CLAP_EXT_LATENCY[] = "clap.latency";
typedef struct clap_plugin_latency {
  // [main-thread]
  uint32_t (*get)(const clap_plugin_t* plugin);
} clap_plugin_latency_t;
typedef struct clap_host_latency {
  void (*changed)(const clap_host_t* host);
} clap_host_latency_t;

static const char CLAP_EXT_TAIL[] = "clap.tail";
typedef struct clap_plugin_tail {
  // [main-thread,audio-thread]
  uint32_t (*get)(const clap_plugin_t* plugin);
} clap_plugin_tail_t;
typedef struct clap_host_tail {
  void (*changed)(const clap_host_t* host);
} clap_host_tail_t;

static const char CLAP_EXT_RENDER[] = "clap.render";
enum { CLAP_RENDER_REALTIME = 0, CLAP_RENDER_OFFLINE = 1 };
typedef int32_t clap_plugin_render_mode;
typedef struct clap_plugin_render {
  // [main-thread]
  bool (*has_hard_realtime_requirement)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*set)(const clap_plugin_t* plugin, clap_plugin_render_mode mode);
} clap_plugin_render_t;

// ---- Audio ports and configurations --------------------------------------------------

static const char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";
static const char CLAP_PORT_MONO[] = "mono";
static const char CLAP_PORT_STEREO[] = "stereo";

enum {
  CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
  CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
  CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
  CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

typedef struct clap_audio_port_info {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t flags;
  uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;
} clap_audio_port_info_t;

typedef struct clap_plugin_audio_ports {
  // [main-thread]
  uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
  // [main-thread]
  bool (*get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
} clap_plugin_audio_ports_t;

static const char CLAP_EXT_AUDIO_PORTS_CONFIG[] = "clap.audio-ports-config";

typedef struct clap_audio_ports_config {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t input_port_count;
  uint32_t output_port_count;
  bool has_main_input;
  uint32_t main_input_channel_count;
  const char* main_input_port_type;
  bool has_main_output;
  uint32_t main_output_channel_count;
  const char* main_output_port_type;
} clap_audio_ports_config_t;

typedef struct clap_plugin_audio_ports_config {
  // [main-thread]
  uint32_t (*count)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*get)(const clap_plugin_t* plugin, uint32_t index, clap_audio_ports_config_t* config);
  // [main-thread]
  bool (*select)(const clap_plugin_t* plugin, clap_id config_id);
} clap_plugin_audio_ports_config_t;

// ---- Note ports ----------------------------------------------------------------------

static const char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";
enum {
  CLAP_NOTE_DIALECT_CLAP = 1 << 0,
  CLAP_NOTE_DIALECT_MIDI = 1 << 1,
  CLAP_NOTE_DIALECT_MIDI_MPE = 1 << 2,
  CLAP_NOTE_DIALECT_MIDI2 = 1 << 3,
};

typedef struct clap_note_port_info {
  clap_id id;
  uint32_t supported_dialects;
  uint32_t preferred_dialect;
  char name[CLAP_NAME_SIZE];
} clap_note_port_info_t;

typedef struct clap_plugin_note_ports {
  // [main-thread]
  uint32_t (*count)(const clap_plugin_t* plugin, bool is_input);
  // [main-thread]
  bool (*get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_note_port_info_t* info);
} clap_plugin_note_ports_t;

// ---- Editor --------------------------------------------------------------------------

static const char CLAP_EXT_GUI[] = "clap.gui";
#define CLAP_WINDOW_API_WIN32 "win32"
#define CLAP_WINDOW_API_COCOA "cocoa"
#define CLAP_WINDOW_API_X11 "x11"
#define CLAP_WINDOW_API_WAYLAND "wayland"

typedef struct clap_window {
  const char* api;
  union {
    void* cocoa;
    void* uikit;
    unsigned long x11;
    void* win32;
    void* ptr;
  };
} clap_window_t;

typedef struct clap_gui_resize_hints {
  bool can_resize_horizontally;
  bool can_resize_vertically;
  bool preserve_aspect_ratio;
  uint32_t aspect_ratio_width;
  uint32_t aspect_ratio_height;
} clap_gui_resize_hints_t;

typedef struct clap_plugin_gui {
  // [main-thread]
  bool (*is_api_supported)(const clap_plugin_t* plugin, const char* api, bool is_floating);
  // [main-thread]
  bool (*get_preferred_api)(const clap_plugin_t* plugin, const char** api, bool* is_floating);
  // [main-thread]
  bool (*create)(const clap_plugin_t* plugin, const char* api, bool is_floating);
  // [main-thread]
  void (*destroy)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*set_scale)(const clap_plugin_t* plugin, double scale);
  // [main-thread]
  bool (*get_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
  // [main-thread]
  bool (*can_resize)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*get_resize_hints)(const clap_plugin_t* plugin, clap_gui_resize_hints_t* hints);
  // [main-thread]
  bool (*adjust_size)(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height);
  // [main-thread]
  bool (*set_size)(const clap_plugin_t* plugin, uint32_t width, uint32_t height);
  // [main-thread]
  bool (*set_parent)(const clap_plugin_t* plugin, const clap_window_t* window);
  // [main-thread]
  bool (*set_transient)(const clap_plugin_t* plugin, const clap_window_t* window);
  // [main-thread]
  void (*suggest_title)(const clap_plugin_t* plugin, const char* title);
  // [main-thread]
  bool (*show)(const clap_plugin_t* plugin);
  // [main-thread]
  bool (*hide)(const clap_plugin_t* plugin);
} clap_plugin_gui_t;

typedef struct clap_host_gui {
  void (*resize_hints_changed)(const clap_host_t* host);
  bool (*request_resize)(const clap_host_t* host, uint32_t width, uint32_t height);
  bool (*request_show)(const clap_host_t* host);
  bool (*request_hide)(const clap_host_t* host);
  void (*closed)(const clap_host_t* host, bool was_destroyed);
} clap_host_gui_t;

// ---- Timers ---------------------------------------------------------------------------

static const char CLAP_EXT_TIMER_SUPPORT[] = "clap.timer-support";

typedef struct clap_plugin_timer_support {
  // [main-thread]
  void (*on_timer)(const clap_plugin_t* plugin, clap_id timer_id);
} clap_plugin_timer_support_t;

typedef struct clap_host_timer_support {
  bool (*register_timer)(const clap_host_t* host, uint32_t period_ms, clap_id* timer_id);
  bool (*unregister_timer)(const clap_host_t* host, clap_id timer_id);
} clap_host_timer_support_t;

// ---- File descriptors -------------------------------------------------------------------

static const char CLAP_EXT_POSIX_FD_SUPPORT[] = "clap.posix-fd-support";
typedef uint32_t clap_posix_fd_flags_t;
enum { CLAP_POSIX_FD_READ = 1 << 0, CLAP_POSIX_FD_WRITE = 1 << 1, CLAP_POSIX_FD_ERROR = 1 << 2 };

typedef struct clap_plugin_posix_fd_support {
  // [main-thread]
  void (*on_fd)(const clap_plugin_t* plugin, int fd, clap_posix_fd_flags_t flags);
} clap_plugin_posix_fd_support_t;

typedef struct clap_host_posix_fd_support {
  bool (*register_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
  bool (*modify_fd)(const clap_host_t* host, int fd, clap_posix_fd_flags_t flags);
  bool (*unregister_fd)(const clap_host_t* host, int fd);
} clap_host_posix_fd_support_t;

// ---- Host services the binding asks for ----------------------------------------------

static const char CLAP_EXT_LOG[] = "clap.log";
enum {
  CLAP_LOG_DEBUG = 0,
  CLAP_LOG_INFO = 1,
  CLAP_LOG_WARNING = 2,
  CLAP_LOG_ERROR = 3,
  CLAP_LOG_FATAL = 4,
  CLAP_LOG_HOST_MISBEHAVING = 5,
  CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};
typedef int32_t clap_log_severity;
typedef struct clap_host_log {
  void (*log)(const clap_host_t* host, clap_log_severity severity, const char* msg);
} clap_host_log_t;

static const char CLAP_EXT_THREAD_CHECK[] = "clap.thread-check";
typedef struct clap_host_thread_check {
  bool (*is_main_thread)(const clap_host_t* host);
  bool (*is_audio_thread)(const clap_host_t* host);
} clap_host_thread_check_t;

static const char CLAP_EXT_TRACK_INFO[] = "clap.track-info/1";
static const char CLAP_EXT_TRACK_INFO_COMPAT[] = "clap.track-info.draft/1";
typedef struct clap_color {
  uint8_t alpha;
  uint8_t red;
  uint8_t green;
  uint8_t blue;
} clap_color_t;
typedef struct clap_track_info {
  uint64_t flags;
  char name[CLAP_NAME_SIZE];
  clap_color_t color;
  int32_t audio_channel_count;
  const char* audio_port_type;
} clap_track_info_t;
typedef struct clap_host_track_info {
  bool (*get)(const clap_host_t* host, clap_track_info_t* info);
} clap_host_track_info_t;

}  // extern "C"

// ---- The published layouts on x86-64 ------------------------------------------------

#define KORVEL_CLAP_AT(record, field, offset) static_assert(offsetof(record, field) == (offset), #record "." #field)

static_assert(sizeof(clap_version_t) == 12);
KORVEL_CLAP_AT(clap_version_t, minor, 4);
KORVEL_CLAP_AT(clap_version_t, revision, 8);

static_assert(sizeof(clap_plugin_entry_t) == 40);
KORVEL_CLAP_AT(clap_plugin_entry_t, init, 16);
KORVEL_CLAP_AT(clap_plugin_entry_t, deinit, 24);
KORVEL_CLAP_AT(clap_plugin_entry_t, get_factory, 32);

static_assert(sizeof(clap_plugin_factory_t) == 24);
KORVEL_CLAP_AT(clap_plugin_factory_t, get_plugin_descriptor, 8);
KORVEL_CLAP_AT(clap_plugin_factory_t, create_plugin, 16);

static_assert(sizeof(clap_plugin_descriptor_t) == 88);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, id, 16);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, name, 24);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, vendor, 32);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, url, 40);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, manual_url, 48);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, support_url, 56);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, version, 64);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, description, 72);
KORVEL_CLAP_AT(clap_plugin_descriptor_t, features, 80);

static_assert(sizeof(clap_plugin_t) == 96);
KORVEL_CLAP_AT(clap_plugin_t, plugin_data, 8);
KORVEL_CLAP_AT(clap_plugin_t, init, 16);
KORVEL_CLAP_AT(clap_plugin_t, destroy, 24);
KORVEL_CLAP_AT(clap_plugin_t, activate, 32);
KORVEL_CLAP_AT(clap_plugin_t, deactivate, 40);
KORVEL_CLAP_AT(clap_plugin_t, start_processing, 48);
KORVEL_CLAP_AT(clap_plugin_t, stop_processing, 56);
KORVEL_CLAP_AT(clap_plugin_t, reset, 64);
KORVEL_CLAP_AT(clap_plugin_t, process, 72);
KORVEL_CLAP_AT(clap_plugin_t, get_extension, 80);
KORVEL_CLAP_AT(clap_plugin_t, on_main_thread, 88);

static_assert(sizeof(clap_host_t) == 88);
KORVEL_CLAP_AT(clap_host_t, host_data, 16);
KORVEL_CLAP_AT(clap_host_t, name, 24);
KORVEL_CLAP_AT(clap_host_t, vendor, 32);
KORVEL_CLAP_AT(clap_host_t, url, 40);
KORVEL_CLAP_AT(clap_host_t, version, 48);
KORVEL_CLAP_AT(clap_host_t, get_extension, 56);
KORVEL_CLAP_AT(clap_host_t, request_restart, 64);
KORVEL_CLAP_AT(clap_host_t, request_process, 72);
KORVEL_CLAP_AT(clap_host_t, request_callback, 80);

static_assert(sizeof(clap_process_t) == 64);
KORVEL_CLAP_AT(clap_process_t, frames_count, 8);
KORVEL_CLAP_AT(clap_process_t, transport, 16);
KORVEL_CLAP_AT(clap_process_t, audio_inputs, 24);
KORVEL_CLAP_AT(clap_process_t, audio_outputs, 32);
KORVEL_CLAP_AT(clap_process_t, audio_inputs_count, 40);
KORVEL_CLAP_AT(clap_process_t, audio_outputs_count, 44);
KORVEL_CLAP_AT(clap_process_t, in_events, 48);
KORVEL_CLAP_AT(clap_process_t, out_events, 56);

static_assert(sizeof(clap_audio_buffer_t) == 32);
KORVEL_CLAP_AT(clap_audio_buffer_t, data64, 8);
KORVEL_CLAP_AT(clap_audio_buffer_t, channel_count, 16);
KORVEL_CLAP_AT(clap_audio_buffer_t, latency, 20);
KORVEL_CLAP_AT(clap_audio_buffer_t, constant_mask, 24);

static_assert(sizeof(clap_event_header_t) == 16);
KORVEL_CLAP_AT(clap_event_header_t, time, 4);
KORVEL_CLAP_AT(clap_event_header_t, space_id, 8);
KORVEL_CLAP_AT(clap_event_header_t, type, 10);
KORVEL_CLAP_AT(clap_event_header_t, flags, 12);

static_assert(sizeof(clap_event_note_t) == 40);
KORVEL_CLAP_AT(clap_event_note_t, note_id, 16);
KORVEL_CLAP_AT(clap_event_note_t, port_index, 20);
KORVEL_CLAP_AT(clap_event_note_t, channel, 22);
KORVEL_CLAP_AT(clap_event_note_t, key, 24);
KORVEL_CLAP_AT(clap_event_note_t, velocity, 32);

static_assert(sizeof(clap_event_param_value_t) == 56);
KORVEL_CLAP_AT(clap_event_param_value_t, param_id, 16);
KORVEL_CLAP_AT(clap_event_param_value_t, cookie, 24);
KORVEL_CLAP_AT(clap_event_param_value_t, note_id, 32);
KORVEL_CLAP_AT(clap_event_param_value_t, port_index, 36);
KORVEL_CLAP_AT(clap_event_param_value_t, channel, 38);
KORVEL_CLAP_AT(clap_event_param_value_t, key, 40);
KORVEL_CLAP_AT(clap_event_param_value_t, value, 48);

static_assert(sizeof(clap_event_param_gesture_t) == 20);
KORVEL_CLAP_AT(clap_event_param_gesture_t, param_id, 16);

static_assert(sizeof(clap_event_transport_t) == 104);
KORVEL_CLAP_AT(clap_event_transport_t, flags, 16);
KORVEL_CLAP_AT(clap_event_transport_t, song_pos_beats, 24);
KORVEL_CLAP_AT(clap_event_transport_t, song_pos_seconds, 32);
KORVEL_CLAP_AT(clap_event_transport_t, tempo, 40);
KORVEL_CLAP_AT(clap_event_transport_t, tempo_inc, 48);
KORVEL_CLAP_AT(clap_event_transport_t, loop_start_beats, 56);
KORVEL_CLAP_AT(clap_event_transport_t, loop_end_beats, 64);
KORVEL_CLAP_AT(clap_event_transport_t, loop_start_seconds, 72);
KORVEL_CLAP_AT(clap_event_transport_t, loop_end_seconds, 80);
KORVEL_CLAP_AT(clap_event_transport_t, bar_start, 88);
KORVEL_CLAP_AT(clap_event_transport_t, bar_number, 96);
KORVEL_CLAP_AT(clap_event_transport_t, tsig_num, 100);
KORVEL_CLAP_AT(clap_event_transport_t, tsig_denom, 102);

static_assert(sizeof(clap_event_midi_t) == 24);
KORVEL_CLAP_AT(clap_event_midi_t, port_index, 16);
KORVEL_CLAP_AT(clap_event_midi_t, data, 18);

static_assert(sizeof(clap_event_midi_sysex_t) == 40);
KORVEL_CLAP_AT(clap_event_midi_sysex_t, port_index, 16);
KORVEL_CLAP_AT(clap_event_midi_sysex_t, buffer, 24);
KORVEL_CLAP_AT(clap_event_midi_sysex_t, size, 32);

static_assert(sizeof(clap_input_events_t) == 24);
KORVEL_CLAP_AT(clap_input_events_t, size, 8);
KORVEL_CLAP_AT(clap_input_events_t, get, 16);
static_assert(sizeof(clap_output_events_t) == 16);
KORVEL_CLAP_AT(clap_output_events_t, try_push, 8);
static_assert(sizeof(clap_istream_t) == 16);
KORVEL_CLAP_AT(clap_istream_t, read, 8);
static_assert(sizeof(clap_ostream_t) == 16);
KORVEL_CLAP_AT(clap_ostream_t, write, 8);

static_assert(sizeof(clap_param_info_t) == 1320);
KORVEL_CLAP_AT(clap_param_info_t, flags, 4);
KORVEL_CLAP_AT(clap_param_info_t, cookie, 8);
KORVEL_CLAP_AT(clap_param_info_t, name, 16);
KORVEL_CLAP_AT(clap_param_info_t, module, 272);
KORVEL_CLAP_AT(clap_param_info_t, min_value, 1296);
KORVEL_CLAP_AT(clap_param_info_t, max_value, 1304);
KORVEL_CLAP_AT(clap_param_info_t, default_value, 1312);

static_assert(sizeof(clap_plugin_params_t) == 48);
KORVEL_CLAP_AT(clap_plugin_params_t, get_info, 8);
KORVEL_CLAP_AT(clap_plugin_params_t, get_value, 16);
KORVEL_CLAP_AT(clap_plugin_params_t, value_to_text, 24);
KORVEL_CLAP_AT(clap_plugin_params_t, text_to_value, 32);
KORVEL_CLAP_AT(clap_plugin_params_t, flush, 40);
static_assert(sizeof(clap_host_params_t) == 24);
KORVEL_CLAP_AT(clap_host_params_t, clear, 8);
KORVEL_CLAP_AT(clap_host_params_t, request_flush, 16);

static_assert(sizeof(clap_plugin_state_t) == 16);
KORVEL_CLAP_AT(clap_plugin_state_t, load, 8);
static_assert(sizeof(clap_plugin_latency_t) == 8);
static_assert(sizeof(clap_host_latency_t) == 8);
static_assert(sizeof(clap_plugin_tail_t) == 8);
static_assert(sizeof(clap_host_tail_t) == 8);
static_assert(sizeof(clap_plugin_render_t) == 16);
KORVEL_CLAP_AT(clap_plugin_render_t, set, 8);

static_assert(sizeof(clap_audio_port_info_t) == 288);
KORVEL_CLAP_AT(clap_audio_port_info_t, name, 4);
KORVEL_CLAP_AT(clap_audio_port_info_t, flags, 260);
KORVEL_CLAP_AT(clap_audio_port_info_t, channel_count, 264);
KORVEL_CLAP_AT(clap_audio_port_info_t, port_type, 272);
KORVEL_CLAP_AT(clap_audio_port_info_t, in_place_pair, 280);
static_assert(sizeof(clap_plugin_audio_ports_t) == 16);
KORVEL_CLAP_AT(clap_plugin_audio_ports_t, get, 8);

static_assert(sizeof(clap_audio_ports_config_t) == 304);
KORVEL_CLAP_AT(clap_audio_ports_config_t, name, 4);
KORVEL_CLAP_AT(clap_audio_ports_config_t, input_port_count, 260);
KORVEL_CLAP_AT(clap_audio_ports_config_t, output_port_count, 264);
KORVEL_CLAP_AT(clap_audio_ports_config_t, has_main_input, 268);
KORVEL_CLAP_AT(clap_audio_ports_config_t, main_input_channel_count, 272);
KORVEL_CLAP_AT(clap_audio_ports_config_t, main_input_port_type, 280);
KORVEL_CLAP_AT(clap_audio_ports_config_t, has_main_output, 288);
KORVEL_CLAP_AT(clap_audio_ports_config_t, main_output_channel_count, 292);
KORVEL_CLAP_AT(clap_audio_ports_config_t, main_output_port_type, 296);
static_assert(sizeof(clap_plugin_audio_ports_config_t) == 24);
KORVEL_CLAP_AT(clap_plugin_audio_ports_config_t, get, 8);
KORVEL_CLAP_AT(clap_plugin_audio_ports_config_t, select, 16);

static_assert(sizeof(clap_note_port_info_t) == 268);
KORVEL_CLAP_AT(clap_note_port_info_t, supported_dialects, 4);
KORVEL_CLAP_AT(clap_note_port_info_t, preferred_dialect, 8);
KORVEL_CLAP_AT(clap_note_port_info_t, name, 12);
static_assert(sizeof(clap_plugin_note_ports_t) == 16);
KORVEL_CLAP_AT(clap_plugin_note_ports_t, get, 8);

static_assert(sizeof(clap_plugin_gui_t) == 120);
KORVEL_CLAP_AT(clap_plugin_gui_t, get_preferred_api, 8);
KORVEL_CLAP_AT(clap_plugin_gui_t, create, 16);
KORVEL_CLAP_AT(clap_plugin_gui_t, destroy, 24);
KORVEL_CLAP_AT(clap_plugin_gui_t, set_scale, 32);
KORVEL_CLAP_AT(clap_plugin_gui_t, get_size, 40);
KORVEL_CLAP_AT(clap_plugin_gui_t, can_resize, 48);
KORVEL_CLAP_AT(clap_plugin_gui_t, get_resize_hints, 56);
KORVEL_CLAP_AT(clap_plugin_gui_t, adjust_size, 64);
KORVEL_CLAP_AT(clap_plugin_gui_t, set_size, 72);
KORVEL_CLAP_AT(clap_plugin_gui_t, set_parent, 80);
KORVEL_CLAP_AT(clap_plugin_gui_t, set_transient, 88);
KORVEL_CLAP_AT(clap_plugin_gui_t, suggest_title, 96);
KORVEL_CLAP_AT(clap_plugin_gui_t, show, 104);
KORVEL_CLAP_AT(clap_plugin_gui_t, hide, 112);
static_assert(sizeof(clap_host_gui_t) == 40);
KORVEL_CLAP_AT(clap_host_gui_t, request_resize, 8);
KORVEL_CLAP_AT(clap_host_gui_t, closed, 32);
static_assert(sizeof(clap_window_t) == 16);
KORVEL_CLAP_AT(clap_window_t, x11, 8);
static_assert(sizeof(clap_gui_resize_hints_t) == 12);
KORVEL_CLAP_AT(clap_gui_resize_hints_t, aspect_ratio_width, 4);
KORVEL_CLAP_AT(clap_gui_resize_hints_t, aspect_ratio_height, 8);

static_assert(sizeof(clap_plugin_timer_support_t) == 8);
static_assert(sizeof(clap_host_timer_support_t) == 16);
KORVEL_CLAP_AT(clap_host_timer_support_t, unregister_timer, 8);
static_assert(sizeof(clap_plugin_posix_fd_support_t) == 8);
static_assert(sizeof(clap_host_posix_fd_support_t) == 24);
KORVEL_CLAP_AT(clap_host_posix_fd_support_t, modify_fd, 8);
KORVEL_CLAP_AT(clap_host_posix_fd_support_t, unregister_fd, 16);

static_assert(sizeof(clap_host_log_t) == 8);
static_assert(sizeof(clap_host_thread_check_t) == 16);
KORVEL_CLAP_AT(clap_host_thread_check_t, is_audio_thread, 8);
static_assert(sizeof(clap_track_info_t) == 280);
KORVEL_CLAP_AT(clap_track_info_t, name, 8);
KORVEL_CLAP_AT(clap_track_info_t, color, 264);
KORVEL_CLAP_AT(clap_track_info_t, audio_channel_count, 268);
KORVEL_CLAP_AT(clap_track_info_t, audio_port_type, 272);
static_assert(sizeof(clap_host_track_info_t) == 8);

#undef KORVEL_CLAP_AT
