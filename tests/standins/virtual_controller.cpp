// Virtual game controllers: a stand-in for dinput8.dll that Wine loads instead of its own
// (WINEDLLOVERRIDES="dinput8=n,b"). It offers DirectInput8Create, IDirectInput8W and IDirectInputDevice8W as
// far as Tarvelix uses them; every other method answers E_NOTIMPL.
//
// The text file named by TARVELIX_VC_SCRIPT (UTF-8) describes the attached controllers. It is looked at again
// at every call and takes effect as soon as its text changes, so a test may rewrite it while the program runs.
// (It is read again only when its size or write time changed, or while it is younger than the time stamps'
// grain, so that a program polling 20 times a second does not pay for a file read at every call.)
// No file, or no variable, means no controller. One statement per line; blank lines and lines starting
// with # are skipped; a name is the rest of its line and may hold blanks.
//
//   device {GUID} Name            a controller, reported in the order of these lines
//   axis KIND INSTANCE POS Name   an absolute axis of the last device: dwType = DIDFT_ABSAXIS | instance << 8
//   button INSTANCE Name          a push button (GUID_Button)
//   pov INSTANCE Name             a hat switch (GUID_POV)
//   object KIND TYPE INSTANCE POS Name   any object: TYPE holds the dwType bits below the instance (0x1 rel axis)
//   unplugged {GUID}              the device is gone: not enumerated, its objects lose their input
//   fail CALL CODE [{GUID}] [after N] [times N]
//       CALL (DirectInput8Create, EnumDevices, CreateDevice, GetProperty, EnumObjects, SetProperty, Acquire,
//       Poll, GetDeviceState, GetDeviceInfo, ...) answers CODE (hex or decimal), for one device or all;
//       EnumDevices/EnumObjects report N entries first ("after"); "times N" fails only the next N calls
//       (counted from the moment the script text last changed). A success code given to
//       DirectInput8Create still hands out the object.
//
// KIND is XAxis, YAxis, ZAxis, RxAxis, RyAxis, RzAxis, Slider, Button, Key, POV, Unknown or a {GUID}.
// POS is the position as a fraction of the axis's range (0 = minimum, 1 = maximum); the range is
// 0..65535 until DIPROP_RANGE changes it for that device object. A name of 260 characters or more fills
// DirectInput's name buffers without a terminator, as a careless driver would.
//
//   device {6F1D2B61-D5A0-11CF-BFC7-444553540000} Alpha Stick
//   axis XAxis 0 0.5 X Axis
//   axis Slider 6 1 Throttle
//   button 0 Trigger
//   pov 0 Hat
//   device {6F1D2B62-D5A0-11CF-BFC7-444553540000} Bravo Pedals
//   axis RzAxis 5 0.25 Rudder
//   fail Acquire 0x8007001E {6F1D2B62-D5A0-11CF-BFC7-444553540000} times 2
//
// Devices behave like real drivers: reading the state needs SetDataFormat and Acquire (Poll and
// GetDeviceState answer DIERR_NOTACQUIRED before), SetDataFormat is refused while acquired, Poll answers
// DI_NOEFFECT, and an unplugged device answers DIERR_INPUTLOST once, then DIERR_NOTACQUIRED, while Acquire
// answers DIERR_UNPLUGGED. The n-th axis entry of the data format receives the axis with instance number n.
//
// For tests: VirtualControllerLookAgain() makes the next call read a script just rewritten in process;
// VirtualControllerLiveObjects(0) counts DirectInput objects alive, (1) device objects alive,
// (2) calls made on objects already released; VirtualControllerCallCount("Acquire") counts calls by name.
// TARVELIX_VC_LOG names a file that gets one line per call as it returns: "Poll {GUID} -> -2147024884".
#define CINTERFACE
#include <windows.h>

#include <dinput.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {
struct ScriptObject {
  GUID kind = GUID_Unknown;
  DWORD type = 0;
  double position = 0;
  std::wstring name;
};
struct ScriptDevice {
  GUID instance = GUID_NULL;
  std::wstring name;
  std::vector<ScriptObject> objects;
  bool unplugged = false;
};
struct Failure {
  std::string call;
  HRESULT code = E_FAIL;
  GUID device = GUID_NULL;  // GUID_NULL: every device
  long after = 0;
  long times = -1;
  long used = 0;
};

std::string scriptText = "\x01";  // never a real file's text, so the first call parses
std::vector<ScriptDevice> devices;
std::vector<Failure> failures;
std::map<std::string, long> callCounts;
long liveInputs = 0, liveDevices = 0, callsOnReleased = 0;

struct VirtualInput {
  IDirectInput8W face;
  LONG refs;
};
struct DeviceState {
  ScriptDevice created;  // as it was when the object was created
  std::vector<DIOBJECTDATAFORMAT> format;
  DWORD dataSize = 0;
  bool hasFormat = false;
  bool acquired = false;
  std::map<DWORD, std::pair<LONG, LONG>> ranges;  // by object type id
};
struct VirtualDevice {
  IDirectInputDevice8W face;
  LONG refs;
  VirtualInput* parent;
  DeviceState* state;
};
// Released objects stay readable for a while, so that a call on one is counted instead of crashing.
std::deque<void*> retired;

std::string environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : "";
}

std::wstring widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

bool parseGuid(const std::string& text, GUID& guid) {
  unsigned long data1 = 0;
  unsigned int p[10] = {};
  if (std::sscanf(text.c_str(), "{%8lx-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &data1, &p[0], &p[1], &p[2], &p[3], &p[4],
                  &p[5], &p[6], &p[7], &p[8], &p[9]) != 11) {
    return false;
  }
  guid.Data1 = data1;
  guid.Data2 = static_cast<WORD>(p[0]);
  guid.Data3 = static_cast<WORD>(p[1]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<BYTE>(p[i + 2]);
  return true;
}

std::string guidText(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

GUID kindGuid(const std::string& word) {
  const std::pair<const char*, const GUID*> kinds[] = {
      {"XAxis", &GUID_XAxis},   {"YAxis", &GUID_YAxis},   {"ZAxis", &GUID_ZAxis},   {"RxAxis", &GUID_RxAxis},
      {"RyAxis", &GUID_RyAxis}, {"RzAxis", &GUID_RzAxis}, {"Slider", &GUID_Slider}, {"Button", &GUID_Button},
      {"Key", &GUID_Key},       {"POV", &GUID_POV}};
  for (const auto& [name, guid] : kinds) {
    if (word == name) return *guid;
  }
  GUID guid = GUID_Unknown;
  parseGuid(word, guid);
  return guid;
}

// Takes the next blank-separated word off the front of a line.
std::string word(std::string& rest) {
  const std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string::npos) return rest = "";
  const std::size_t end = rest.find_first_of(" \t", start);
  std::string taken = rest.substr(start, end - start);
  rest = end == std::string::npos ? "" : rest.substr(end);
  return taken;
}

std::wstring restName(const std::string& rest) {
  const std::size_t start = rest.find_first_not_of(" \t");
  return start == std::string::npos ? L"" : widen(rest.substr(start));
}

void addObject(const GUID& kind, DWORD typeBits, std::string& rest, bool positioned) {
  if (devices.empty()) return;
  ScriptObject object;
  object.kind = kind;
  object.type = typeBits | DIDFT_MAKEINSTANCE(std::strtoul(word(rest).c_str(), nullptr, 0));
  if (positioned) object.position = std::strtod(word(rest).c_str(), nullptr);
  object.name = restName(rest);
  devices.back().objects.push_back(object);
}

void parseFailure(std::string& rest) {
  Failure failure;
  failure.call = word(rest);
  failure.code = static_cast<HRESULT>(std::strtoul(word(rest).c_str(), nullptr, 0));
  for (std::string option = word(rest); !option.empty(); option = word(rest)) {
    if (option == "after") failure.after = std::strtol(word(rest).c_str(), nullptr, 0);
    if (option == "times") failure.times = std::strtol(word(rest).c_str(), nullptr, 0);
    if (option.front() == '{') parseGuid(option, failure.device);
  }
  failures.push_back(failure);
}

void parseLine(std::string rest) {
  const std::string verb = word(rest);
  GUID guid = GUID_NULL;
  if (verb == "device" && parseGuid(word(rest), guid)) devices.push_back({guid, restName(rest), {}, false});
  if (verb == "axis") {
    const GUID kind = kindGuid(word(rest));
    addObject(kind, DIDFT_ABSAXIS, rest, true);
  }
  if (verb == "button") addObject(GUID_Button, DIDFT_PSHBUTTON, rest, false);
  if (verb == "pov") addObject(GUID_POV, DIDFT_POV, rest, false);
  if (verb == "object") {
    const GUID kind = kindGuid(word(rest));
    const DWORD bits = std::strtoul(word(rest).c_str(), nullptr, 0) & 0xFF0000FF;
    addObject(kind, bits, rest, true);
  }
  if (verb == "fail") parseFailure(rest);
  if (verb == "unplugged" && parseGuid(word(rest), guid)) {
    for (ScriptDevice& device : devices) device.unplugged |= IsEqualGUID(device.instance, guid) != 0;
  }
}

// The script file as last read. File times are coarse (a few milliseconds on Linux, 2 s on FAT), so
// two writes in quick succession may carry the same time: a file written less than stampGrain before
// it was read is read again at the next call, until it is older.
struct ScriptStamp {
  std::string path;
  bool known = false;
  ULONGLONG size = 0;
  ULONGLONG written = 0;
  ULONGLONG readAt = 0;
};
constexpr ULONGLONG stampGrain = 2 * 10000000ULL;  // 2 s in FILETIME units
ScriptStamp lastRead;

ULONGLONG fileTimeValue(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ScriptStamp stampOf(const std::string& path) {
  ScriptStamp stamp;
  stamp.path = path;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
  stamp.known = true;
  stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.written = fileTimeValue(data.ftLastWriteTime);
  return stamp;
}

bool unchangedSinceLastRead(const ScriptStamp& stamp) {
  return stamp.known && lastRead.known && stamp.path == lastRead.path && stamp.size == lastRead.size &&
         stamp.written == lastRead.written && stamp.written + stampGrain < lastRead.readAt;
}

// A program polls 20 times a second with several calls a poll: the file is looked at no more often than
// every lookInterval, unless its name changed or a test asked for a fresh look (VirtualControllerLookAgain).
constexpr ULONGLONG lookInterval = 20;  // milliseconds
ULONGLONG lastLook = 0;
bool lookNow = true;

void loadScript() {
  const std::string path = environment("TARVELIX_VC_SCRIPT");
  const ULONGLONG tick = GetTickCount64();
  if (!lookNow && path == lastRead.path && tick - lastLook < lookInterval) return;
  lookNow = false;
  lastLook = tick;
  ScriptStamp stamp = stampOf(path);
  if (unchangedSinceLastRead(stamp)) return;
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  stamp.readAt = fileTimeValue(now);  // before the read: a write during it is never taken for old
  lastRead = stamp;
  std::string text;
  if (std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb")) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
  }
  if (text == scriptText) return;
  scriptText = text;
  devices.clear();
  failures.clear();
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '#') parseLine(line);
  }
}

// Counts the call and brings the script up to date.
void begin(const char* call) {
  loadScript();
  ++callCounts[call];
}

HRESULT done(const char* call, const GUID& device, HRESULT result) {
  const std::string path = environment("TARVELIX_VC_LOG");
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "a");
  if (file == nullptr) return result;
  std::fprintf(file, "%s %s -> %ld\n", call, guidText(device).c_str(), static_cast<long>(result));
  std::fclose(file);
  return result;
}

// The failure the script injects into this call, if any; "after" tells how many entries to report first.
const Failure* injected(const char* call, const GUID& device) {
  for (Failure& failure : failures) {
    if (failure.call != call) continue;
    if (!IsEqualGUID(failure.device, GUID_NULL) && !IsEqualGUID(failure.device, device)) continue;
    if (failure.times >= 0 && failure.used >= failure.times) continue;
    ++failure.used;
    return &failure;
  }
  return nullptr;
}

const ScriptDevice* attached(const GUID& instance) {
  for (const ScriptDevice& device : devices) {
    if (IsEqualGUID(device.instance, instance)) return device.unplugged ? nullptr : &device;
  }
  return nullptr;
}

void retire(void* object) {
  retired.push_back(object);
  if (retired.size() <= 256) return;
  std::free(retired.front());
  retired.pop_front();
}

// Names longer than the buffer fill it completely, without a terminator.
void copyName(WCHAR (&target)[MAX_PATH], const std::wstring& name) {
  const std::size_t count = std::min<std::size_t>(name.size(), MAX_PATH);
  std::memcpy(target, name.data(), count * sizeof(WCHAR));
  if (count < MAX_PATH) target[count] = L'\0';
}

template <typename Self, typename... Args>
HRESULT STDMETHODCALLTYPE notImplemented(Self*, Args...) {
  return E_NOTIMPL;
}

// ---- devices

VirtualDevice* self(IDirectInputDevice8W* face) { return reinterpret_cast<VirtualDevice*>(face); }

// The state of a live device object, or null (and counted) for a released one.
DeviceState* live(IDirectInputDevice8W* face) {
  DeviceState* state = self(face)->state;
  if (state == nullptr) ++callsOnReleased;
  return state;
}

const GUID& deviceGuid(IDirectInputDevice8W* face) {
  return self(face)->state != nullptr ? self(face)->state->created.instance : GUID_NULL;
}

// The script's object with this type id: from the current script while the device is in it.
const ScriptObject* findObject(DeviceState& state, DWORD id) {
  const ScriptDevice* current = attached(state.created.instance);
  const ScriptDevice& device = current != nullptr ? *current : state.created;
  for (const ScriptObject& object : device.objects) {
    if ((object.type & 0x00FFFFFF) == (id & 0x00FFFFFF)) return &object;
  }
  return nullptr;
}

std::pair<LONG, LONG> rangeOf(DeviceState& state, DWORD type) {
  const auto found = state.ranges.find(type & 0x00FFFFFF);
  return found != state.ranges.end() ? found->second : std::pair<LONG, LONG>{0, 65535};
}

// What an unplugged device answers: lost input once, then not acquired.
HRESULT lostInput(DeviceState& state) {
  const bool wasAcquired = state.acquired;
  state.acquired = false;
  return wasAcquired ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
}

HRESULT STDMETHODCALLTYPE deviceQueryInterface(IDirectInputDevice8W* face, REFIID iid, void** out) {
  if (live(face) == nullptr || out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IDirectInputDevice8W)) return E_NOINTERFACE;
  ++self(face)->refs;
  *out = face;
  return S_OK;
}

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face);

ULONG STDMETHODCALLTYPE deviceAddRef(IDirectInputDevice8W* face) {
  return live(face) != nullptr ? static_cast<ULONG>(++self(face)->refs) : 0;
}

ULONG STDMETHODCALLTYPE deviceRelease(IDirectInputDevice8W* face) {
  VirtualDevice* device = self(face);
  if (live(face) == nullptr) return 0;
  if (--device->refs > 0) return static_cast<ULONG>(device->refs);
  delete device->state;
  device->state = nullptr;
  --liveDevices;
  inputRelease(&device->parent->face);
  retire(device);
  return 0;
}

HRESULT STDMETHODCALLTYPE enumObjects(IDirectInputDevice8W* face, LPDIENUMDEVICEOBJECTSCALLBACKW callback,
                                      void* context, DWORD flags) {
  begin("EnumObjects");
  DeviceState* state = live(face);
  if (state == nullptr || callback == nullptr) return done("EnumObjects", GUID_NULL, DIERR_INVALIDPARAM);
  const Failure* failure = injected("EnumObjects", state->created.instance);
  long reported = 0;
  for (const ScriptObject& object : state->created.objects) {
    if (failure != nullptr && reported >= failure->after) break;
    if (flags != DIDFT_ALL && (DIDFT_GETTYPE(object.type) & flags) == 0) continue;
    DIDEVICEOBJECTINSTANCEW record = {};
    record.dwSize = sizeof record;
    record.guidType = object.kind;
    record.dwType = object.type;
    record.dwFlags = (object.type & DIDFT_AXIS) != 0 ? DIDOI_ASPECTPOSITION : 0;
    copyName(record.tszName, object.name);
    ++reported;
    if (callback(&record, context) == DIENUM_STOP) break;
  }
  return done("EnumObjects", state->created.instance, failure != nullptr ? failure->code : DI_OK);
}

HRESULT readProperty(DeviceState& state, std::uintptr_t property, DIPROPHEADER* header) {
  if (property == 4) {  // DIPROP_RANGE
    const ScriptObject* object = header->dwHow == DIPH_BYID ? findObject(state, header->dwObj) : nullptr;
    if (header->dwSize != sizeof(DIPROPRANGE) || object == nullptr) return DIERR_OBJECTNOTFOUND;
    auto* range = reinterpret_cast<DIPROPRANGE*>(header);
    std::tie(range->lMin, range->lMax) = rangeOf(state, object->type);
    return DI_OK;
  }
  if (property != 12 && property != 13) return DIERR_UNSUPPORTED;  // DIPROP_PRODUCTNAME, DIPROP_INSTANCENAME
  if (header->dwSize != sizeof(DIPROPSTRING) || header->dwHow != DIPH_DEVICE || header->dwObj != 0) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptDevice* current = attached(state.created.instance);
  copyName(reinterpret_cast<DIPROPSTRING*>(header)->wsz, (current != nullptr ? *current : state.created).name);
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE getProperty(IDirectInputDevice8W* face, REFGUID property, LPDIPROPHEADER header) {
  begin("GetProperty");
  DeviceState* state = live(face);
  if (state == nullptr || header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
    return done("GetProperty", deviceGuid(face), DIERR_INVALIDPARAM);
  }
  const Failure* failure = injected("GetProperty", state->created.instance);
  if (failure != nullptr) return done("GetProperty", state->created.instance, failure->code);
  return done("GetProperty", state->created.instance,
              readProperty(*state, reinterpret_cast<std::uintptr_t>(&property), header));
}

HRESULT writeRange(DeviceState& state, const DIPROPRANGE& range) {
  if (range.diph.dwSize != sizeof range || range.lMin >= range.lMax) return DIERR_INVALIDPARAM;
  if (range.diph.dwHow == DIPH_DEVICE) {
    for (const ScriptObject& object : state.created.objects) {
      if ((object.type & DIDFT_AXIS) != 0) state.ranges[object.type & 0x00FFFFFF] = {range.lMin, range.lMax};
    }
    return DI_OK;
  }
  const ScriptObject* object = range.diph.dwHow == DIPH_BYID ? findObject(state, range.diph.dwObj) : nullptr;
  if (object == nullptr || (object->type & DIDFT_AXIS) == 0) return DIERR_OBJECTNOTFOUND;
  state.ranges[object->type & 0x00FFFFFF] = {range.lMin, range.lMax};
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE setProperty(IDirectInputDevice8W* face, REFGUID property, LPCDIPROPHEADER header) {
  begin("SetProperty");
  DeviceState* state = live(face);
  if (state == nullptr || header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
    return done("SetProperty", deviceGuid(face), DIERR_INVALIDPARAM);
  }
  const Failure* failure = injected("SetProperty", state->created.instance);
  if (failure != nullptr) return done("SetProperty", state->created.instance, failure->code);
  if (reinterpret_cast<std::uintptr_t>(&property) != 4) return done("SetProperty", deviceGuid(face), DIERR_UNSUPPORTED);
  return done("SetProperty", state->created.instance,
              writeRange(*state, *reinterpret_cast<const DIPROPRANGE*>(header)));
}

HRESULT STDMETHODCALLTYPE acquire(IDirectInputDevice8W* face) {
  begin("Acquire");
  DeviceState* state = live(face);
  if (state == nullptr) return done("Acquire", GUID_NULL, DIERR_INVALIDPARAM);
  const GUID& guid = state->created.instance;
  if (const Failure* failure = injected("Acquire", guid)) return done("Acquire", guid, failure->code);
  if (attached(guid) == nullptr) return done("Acquire", guid, DIERR_UNPLUGGED);
  if (!state->hasFormat) return done("Acquire", guid, DIERR_INVALIDPARAM);
  if (state->acquired) return done("Acquire", guid, DI_NOEFFECT);
  state->acquired = true;
  return done("Acquire", guid, DI_OK);
}

HRESULT STDMETHODCALLTYPE unacquire(IDirectInputDevice8W* face) {
  begin("Unacquire");
  DeviceState* state = live(face);
  if (state == nullptr) return done("Unacquire", GUID_NULL, DIERR_INVALIDPARAM);
  const bool wasAcquired = state->acquired;
  state->acquired = false;
  return done("Unacquire", state->created.instance, wasAcquired ? DI_OK : DI_NOEFFECT);
}

// Fills the state: the n-th axis entry of the data format gets the axis with instance number n.
void fillState(DeviceState& state, BYTE* data) {
  std::memset(data, 0, state.dataSize);
  DWORD axisEntry = 0;
  for (const DIOBJECTDATAFORMAT& entry : state.format) {
    if (entry.dwOfs + sizeof(LONG) > state.dataSize) continue;
    if ((DIDFT_GETTYPE(entry.dwType) & DIDFT_POV) != 0) std::memset(data + entry.dwOfs, 0xFF, sizeof(DWORD));
    if ((DIDFT_GETTYPE(entry.dwType) & DIDFT_AXIS) == 0) continue;
    const ScriptObject* axis = findObject(state, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axisEntry++));
    if (axis == nullptr) axis = findObject(state, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(axisEntry - 1));
    if (axis == nullptr) continue;
    const auto [minimum, maximum] = rangeOf(state, axis->type);
    const double fraction = std::clamp(axis->position, 0.0, 1.0);
    const LONG value = static_cast<LONG>(minimum + std::llround(fraction * (static_cast<double>(maximum) - minimum)));
    std::memcpy(data + entry.dwOfs, &value, sizeof value);
  }
}

HRESULT STDMETHODCALLTYPE getDeviceState(IDirectInputDevice8W* face, DWORD size, void* data) {
  begin("GetDeviceState");
  DeviceState* state = live(face);
  if (state == nullptr || data == nullptr) return done("GetDeviceState", deviceGuid(face), DIERR_INVALIDPARAM);
  const GUID& guid = state->created.instance;
  if (const Failure* failure = injected("GetDeviceState", guid)) return done("GetDeviceState", guid, failure->code);
  if (attached(guid) == nullptr) return done("GetDeviceState", guid, lostInput(*state));
  if (!state->acquired) return done("GetDeviceState", guid, DIERR_NOTACQUIRED);
  if (!state->hasFormat || size != state->dataSize) return done("GetDeviceState", guid, DIERR_INVALIDPARAM);
  fillState(*state, static_cast<BYTE*>(data));
  return done("GetDeviceState", guid, DI_OK);
}

HRESULT STDMETHODCALLTYPE setDataFormat(IDirectInputDevice8W* face, LPCDIDATAFORMAT format) {
  begin("SetDataFormat");
  DeviceState* state = live(face);
  if (state == nullptr || format == nullptr || format->dwSize != sizeof(DIDATAFORMAT) ||
      format->dwObjSize != sizeof(DIOBJECTDATAFORMAT)) {
    return done("SetDataFormat", deviceGuid(face), DIERR_INVALIDPARAM);
  }
  if (state->acquired) return done("SetDataFormat", state->created.instance, DIERR_ACQUIRED);
  state->format.assign(format->rgodf, format->rgodf + format->dwNumObjs);
  state->dataSize = format->dwDataSize;
  state->hasFormat = true;
  return done("SetDataFormat", state->created.instance, DI_OK);
}

HRESULT STDMETHODCALLTYPE setCooperativeLevel(IDirectInputDevice8W* face, HWND window, DWORD flags) {
  begin("SetCooperativeLevel");
  DeviceState* state = live(face);
  const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
  const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
  if (state == nullptr || sharing == 0 || sharing == (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE) || focus == 0 ||
      focus == (DISCL_FOREGROUND | DISCL_BACKGROUND)) {
    return done("SetCooperativeLevel", deviceGuid(face), DIERR_INVALIDPARAM);
  }
  if (window != nullptr && !IsWindow(window)) return done("SetCooperativeLevel", deviceGuid(face), E_HANDLE);
  if (state->acquired) return done("SetCooperativeLevel", deviceGuid(face), DIERR_ACQUIRED);
  return done("SetCooperativeLevel", deviceGuid(face), DI_OK);
}

HRESULT STDMETHODCALLTYPE getDeviceInfo(IDirectInputDevice8W* face, LPDIDEVICEINSTANCEW info) {
  begin("GetDeviceInfo");
  DeviceState* state = live(face);
  if (state == nullptr || info == nullptr || info->dwSize != sizeof(DIDEVICEINSTANCEW)) {
    return done("GetDeviceInfo", deviceGuid(face), DIERR_INVALIDPARAM);
  }
  const GUID& guid = state->created.instance;
  if (const Failure* failure = injected("GetDeviceInfo", guid)) return done("GetDeviceInfo", guid, failure->code);
  info->guidInstance = info->guidProduct = guid;
  info->dwDevType = DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8);
  copyName(info->tszInstanceName, state->created.name);
  copyName(info->tszProductName, state->created.name);
  return done("GetDeviceInfo", guid, DI_OK);
}

HRESULT STDMETHODCALLTYPE poll(IDirectInputDevice8W* face) {
  begin("Poll");
  DeviceState* state = live(face);
  if (state == nullptr) return done("Poll", GUID_NULL, DIERR_INVALIDPARAM);
  const GUID& guid = state->created.instance;
  if (const Failure* failure = injected("Poll", guid)) return done("Poll", guid, failure->code);
  if (attached(guid) == nullptr) return done("Poll", guid, lostInput(*state));
  return done("Poll", guid, state->acquired ? DI_NOEFFECT : DIERR_NOTACQUIRED);
}

IDirectInputDevice8WVtbl deviceMethods = {deviceQueryInterface,
                                          deviceAddRef,
                                          deviceRelease,
                                          notImplemented,
                                          enumObjects,
                                          getProperty,
                                          setProperty,
                                          acquire,
                                          unacquire,
                                          getDeviceState,
                                          notImplemented,
                                          setDataFormat,
                                          notImplemented,
                                          setCooperativeLevel,
                                          notImplemented,
                                          getDeviceInfo,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          poll,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented,
                                          notImplemented};
static_assert(sizeof deviceMethods == 32 * sizeof(void*));

// ---- the DirectInput object

VirtualInput* self(IDirectInput8W* face) { return reinterpret_cast<VirtualInput*>(face); }

bool liveInput(IDirectInput8W* face) {
  if (self(face)->refs > 0) return true;
  ++callsOnReleased;
  return false;
}

HRESULT STDMETHODCALLTYPE inputQueryInterface(IDirectInput8W* face, REFIID iid, void** out) {
  if (!liveInput(face) || out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualGUID(iid, IID_IUnknown) && !IsEqualGUID(iid, IID_IDirectInput8W)) return E_NOINTERFACE;
  ++self(face)->refs;
  *out = face;
  return S_OK;
}

ULONG STDMETHODCALLTYPE inputAddRef(IDirectInput8W* face) {
  return liveInput(face) ? static_cast<ULONG>(++self(face)->refs) : 0;
}

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face) {
  if (!liveInput(face)) return 0;
  if (--self(face)->refs > 0) return static_cast<ULONG>(self(face)->refs);
  --liveInputs;
  retire(self(face));
  return 0;
}

HRESULT STDMETHODCALLTYPE createDevice(IDirectInput8W* face, REFGUID instance, LPDIRECTINPUTDEVICE8W* out,
                                       LPUNKNOWN outer) {
  begin("CreateDevice");
  if (!liveInput(face) || out == nullptr) return done("CreateDevice", instance, E_POINTER);
  *out = nullptr;
  if (outer != nullptr) return done("CreateDevice", instance, DIERR_NOAGGREGATION);
  if (const Failure* failure = injected("CreateDevice", instance)) return done("CreateDevice", instance, failure->code);
  const ScriptDevice* device = attached(instance);
  if (device == nullptr) return done("CreateDevice", instance, DIERR_DEVICENOTREG);
  auto* created = static_cast<VirtualDevice*>(std::calloc(1, sizeof(VirtualDevice)));
  created->face.lpVtbl = &deviceMethods;
  created->refs = 1;
  created->parent = self(face);
  created->state = new DeviceState;
  created->state->created = *device;
  ++self(face)->refs;  // a device keeps its DirectInput object alive, as the real one does
  ++liveDevices;
  *out = &created->face;
  return done("CreateDevice", instance, DI_OK);
}

HRESULT STDMETHODCALLTYPE enumDevices(IDirectInput8W* face, DWORD deviceClass, LPDIENUMDEVICESCALLBACKW callback,
                                      void* context, DWORD) {
  begin("EnumDevices");
  if (!liveInput(face) || callback == nullptr) return done("EnumDevices", GUID_NULL, DIERR_INVALIDPARAM);
  const Failure* failure = injected("EnumDevices", GUID_NULL);
  const bool controllers = deviceClass == DI8DEVCLASS_ALL || deviceClass == DI8DEVCLASS_GAMECTRL ||
                           DIDFT_GETTYPE(deviceClass) == DI8DEVTYPE_JOYSTICK;
  long reported = 0;
  // A copy: the callback may call back into the stand-in, which may re-read the script.
  const std::vector<ScriptDevice> listed = controllers ? devices : std::vector<ScriptDevice>{};
  for (const ScriptDevice& device : listed) {
    if (failure != nullptr && reported >= failure->after) break;
    if (device.unplugged) continue;
    DIDEVICEINSTANCEW instance = {};
    instance.dwSize = sizeof instance;
    instance.guidInstance = instance.guidProduct = device.instance;
    instance.dwDevType = DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8);
    copyName(instance.tszInstanceName, device.name);
    copyName(instance.tszProductName, device.name);
    ++reported;
    if (callback(&instance, context) == DIENUM_STOP) break;
  }
  return done("EnumDevices", GUID_NULL, failure != nullptr ? failure->code : DI_OK);
}

HRESULT STDMETHODCALLTYPE deviceStatus(IDirectInput8W* face, REFGUID instance) {
  begin("GetDeviceStatus");
  if (!liveInput(face)) return E_POINTER;
  return done("GetDeviceStatus", instance, attached(instance) != nullptr ? DI_OK : DI_NOTATTACHED);
}

IDirectInput8WVtbl inputMethods = {inputQueryInterface, inputAddRef,    inputRelease,   createDevice,
                                   enumDevices,         deviceStatus,   notImplemented, notImplemented,
                                   notImplemented,      notImplemented, notImplemented};
static_assert(sizeof inputMethods == 11 * sizeof(void*));
}  // namespace

extern "C" {

HRESULT WINAPI DirectInput8Create(HINSTANCE module, DWORD version, REFIID iid, void** out, LPUNKNOWN outer) {
  begin("DirectInput8Create");
  if (out == nullptr) return done("DirectInput8Create", GUID_NULL, E_POINTER);
  *out = nullptr;
  if (module == nullptr) return done("DirectInput8Create", GUID_NULL, DIERR_INVALIDPARAM);
  if (version != 0x0800) return done("DirectInput8Create", GUID_NULL, DIERR_OLDDIRECTINPUTVERSION);
  if (outer != nullptr) return done("DirectInput8Create", GUID_NULL, DIERR_NOAGGREGATION);
  if (!IsEqualGUID(iid, IID_IDirectInput8W)) return done("DirectInput8Create", GUID_NULL, E_NOINTERFACE);
  const Failure* failure = injected("DirectInput8Create", GUID_NULL);
  if (failure != nullptr && FAILED(failure->code)) return done("DirectInput8Create", GUID_NULL, failure->code);
  auto* created = static_cast<VirtualInput*>(std::calloc(1, sizeof(VirtualInput)));
  created->face.lpVtbl = &inputMethods;
  created->refs = 1;
  ++liveInputs;
  *out = &created->face;
  return done("DirectInput8Create", GUID_NULL, failure != nullptr ? failure->code : DI_OK);
}

long WINAPI VirtualControllerLiveObjects(int kind) {
  const long counts[] = {liveInputs, liveDevices, callsOnReleased};
  return kind >= 0 && kind < 3 ? counts[kind] : -1;
}

void WINAPI VirtualControllerLookAgain() { lookNow = true; }

long WINAPI VirtualControllerCallCount(const char* call) {
  const auto found = callCounts.find(call != nullptr ? call : "");
  return found != callCounts.end() ? found->second : 0;
}
}
