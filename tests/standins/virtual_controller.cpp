// Virtual game controllers: a stand-in for dinput8.dll that Wine loads instead of its own
// (WINEDLLOVERRIDES="dinput8=n,b"). It offers DirectInput8Create, IDirectInput8W and IDirectInputDevice8W as
// far as Tarvelix uses them; every other method answers E_NOTIMPL.
//
// The script describes the attached controllers. A test in the same process hands it over with
// VirtualControllerUseScript; another process names a UTF-8 file in TARVELIX_VC_SCRIPT, which is looked at
// again at most every 20 ms, so it may be rewritten while the program runs. One statement per line; lines
// starting with # are skipped; a name is the rest of its line and may hold blanks.
//
//   device {GUID} Name            a controller, reported in the order of these lines
//   axis KIND INSTANCE POS Name   an absolute axis of the last device: dwType = DIDFT_ABSAXIS | instance << 8
//   button INSTANCE Name          a push button
//   pov INSTANCE Name             a hat switch
//   object KIND TYPE INSTANCE POS Name   any object: TYPE holds the dwType bits below the instance (0x1 rel axis)
//   unplugged {GUID}              the device is gone: not enumerated, its objects lose their input
//   fail CALL CODE [{GUID}] [after N] [times N]
//       CALL (DirectInput8Create, EnumDevices, CreateDevice, GetProperty, EnumObjects, Acquire, Poll,
//       GetDeviceState, GetDeviceInfo) answers CODE, for one device or all; EnumDevices/EnumObjects report
//       N entries first ("after"); "times N" fails only the next N calls after the script changed. A success
//       code given to DirectInput8Create still hands out the object.
//
// KIND is XAxis, YAxis, ZAxis, RxAxis, RyAxis, RzAxis, Slider, Button, POV, Unknown or a {GUID}. POS is the
// position as a fraction of the axis's range, which is 0..65535 until DIPROP_RANGE changes it. A name of 260
// characters or more fills DirectInput's name buffers without a terminator, as a careless driver would.
//
// Devices behave like real drivers: reading the state needs SetDataFormat and Acquire, SetDataFormat is
// refused while acquired, Poll answers DI_NOEFFECT, and an unplugged device answers DIERR_INPUTLOST once, then
// DIERR_NOTACQUIRED, while Acquire answers DIERR_UNPLUGGED. The n-th axis entry of the data format receives
// the axis with instance number n.
//
// VirtualControllerLiveObjects(k) counts for tests: 0 DirectInput objects alive, 1 device objects alive,
// 2 calls made on released objects, 3 device objects released while still acquired.
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

std::string scriptText = "\x01";  // never a real script, so the first look parses
std::vector<ScriptDevice> devices;
std::vector<Failure> failures;
long counts[4] = {};  // see VirtualControllerLiveObjects
bool handedOver = false;
ULONGLONG lastLook = 0;

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
  guid = {data1, static_cast<WORD>(p[0]), static_cast<WORD>(p[1]), {}};
  for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<BYTE>(p[i + 2]);
  return true;
}

GUID kindGuid(const std::string& word) {
  const std::pair<const char*, const GUID*> kinds[] = {
      {"XAxis", &GUID_XAxis},   {"YAxis", &GUID_YAxis},   {"ZAxis", &GUID_ZAxis},
      {"RxAxis", &GUID_RxAxis}, {"RyAxis", &GUID_RyAxis}, {"RzAxis", &GUID_RzAxis},
      {"Slider", &GUID_Slider}, {"Button", &GUID_Button}, {"POV", &GUID_POV}};
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

long number(std::string& rest) { return std::strtol(word(rest).c_str(), nullptr, 0); }

std::wstring restName(const std::string& rest) {
  const std::size_t start = rest.find_first_not_of(" \t");
  return start == std::string::npos ? L"" : widen(rest.substr(start));
}

void addObject(const GUID& kind, DWORD typeBits, std::string& rest, bool positioned) {
  if (devices.empty()) return;
  ScriptObject object{kind, typeBits | DIDFT_MAKEINSTANCE(number(rest)), 0, L""};
  if (positioned) object.position = std::strtod(word(rest).c_str(), nullptr);
  object.name = restName(rest);
  devices.back().objects.push_back(object);
}

void parseLine(std::string rest) {
  const std::string verb = word(rest);
  GUID guid = GUID_NULL;
  if (verb == "device" && parseGuid(word(rest), guid)) devices.push_back({guid, restName(rest), {}, false});
  if (verb == "axis") addObject(kindGuid(word(rest)), DIDFT_ABSAXIS, rest, true);
  if (verb == "button") addObject(GUID_Button, DIDFT_PSHBUTTON, rest, false);
  if (verb == "pov") addObject(GUID_POV, DIDFT_POV, rest, false);
  if (verb == "object") {
    const GUID kind = kindGuid(word(rest));
    addObject(kind, static_cast<DWORD>(number(rest)) & 0xFF0000FF, rest, true);
  }
  if (verb == "unplugged" && parseGuid(word(rest), guid)) {
    for (ScriptDevice& device : devices) device.unplugged |= IsEqualGUID(device.instance, guid) != 0;
  }
  if (verb != "fail") return;
  Failure failure;
  failure.call = word(rest);
  failure.code = static_cast<HRESULT>(std::strtoul(word(rest).c_str(), nullptr, 0));
  for (std::string option = word(rest); !option.empty(); option = word(rest)) {
    if (option == "after") failure.after = number(rest);
    if (option == "times") failure.times = number(rest);
    if (option.front() == '{') parseGuid(option, failure.device);
  }
  failures.push_back(failure);
}

void useScript(std::string text) {
  if (text == scriptText) return;
  scriptText = text;
  devices.clear();
  failures.clear();
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '#') parseLine(line);
  }
}

// A program polls 20 times a second with several calls a poll: the file is read at most every 20 ms.
void lookAtScript() {
  const ULONGLONG now = GetTickCount64();
  if (handedOver || (lastLook != 0 && now - lastLook < 20)) return;
  lastLook = now;
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("TARVELIX_VC_SCRIPT", path, MAX_PATH);
  std::string text;
  if (std::FILE* file = length > 0 && length < MAX_PATH ? std::fopen(path, "rb") : nullptr) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
  }
  useScript(text);
}

// The failure the script injects into this call, if any; "after" tells how many entries to report first.
const Failure* injected(const char* call, const GUID& device) {
  lookAtScript();
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
  lookAtScript();
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

// Every method the program does not use; all methods take the object first and clean up after the caller.
HRESULT STDMETHODCALLTYPE notImplemented() { return E_NOTIMPL; }

template <typename Table>
Table unimplemented() {
  Table table;
  for (void*& slot : reinterpret_cast<void*(&)[sizeof(Table) / sizeof(void*)]>(table)) {
    slot = reinterpret_cast<void*>(notImplemented);
  }
  return table;
}

// ---- devices

VirtualDevice* self(IDirectInputDevice8W* face) { return reinterpret_cast<VirtualDevice*>(face); }

// The state of a live device object, or null (and counted) for a released one.
DeviceState* live(IDirectInputDevice8W* face) {
  DeviceState* state = self(face)->state;
  if (state == nullptr) ++counts[2];
  return state;
}

// The script's object with this type id: from the current script while the device is in it.
const ScriptObject* findObject(const DeviceState& state, DWORD id) {
  const ScriptDevice* current = attached(state.created.instance);
  for (const ScriptObject& object : (current != nullptr ? *current : state.created).objects) {
    if ((object.type & 0x00FFFFFF) == (id & 0x00FFFFFF)) return &object;
  }
  return nullptr;
}

// What an unplugged device answers: lost input once, then not acquired.
HRESULT lostInput(DeviceState& state) {
  const bool wasAcquired = state.acquired;
  state.acquired = false;
  return wasAcquired ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
}

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face);

ULONG STDMETHODCALLTYPE deviceAddRef(IDirectInputDevice8W* face) {
  return live(face) != nullptr ? static_cast<ULONG>(++self(face)->refs) : 0;
}

ULONG STDMETHODCALLTYPE deviceRelease(IDirectInputDevice8W* face) {
  VirtualDevice* device = self(face);
  if (live(face) == nullptr) return 0;
  if (--device->refs > 0) return static_cast<ULONG>(device->refs);
  counts[3] += device->state->acquired ? 1 : 0;
  delete device->state;
  device->state = nullptr;
  --counts[1];
  inputRelease(&device->parent->face);
  retire(device);
  return 0;
}

HRESULT STDMETHODCALLTYPE enumObjects(IDirectInputDevice8W* face, LPDIENUMDEVICEOBJECTSCALLBACKW callback,
                                      void* context, DWORD) {
  DeviceState* state = live(face);
  if (state == nullptr || callback == nullptr) return DIERR_INVALIDPARAM;
  const Failure* failure = injected("EnumObjects", state->created.instance);
  long reported = 0;
  for (const ScriptObject& object : state->created.objects) {
    if (failure != nullptr && reported++ >= failure->after) break;
    DIDEVICEOBJECTINSTANCEW record = {};
    record.dwSize = sizeof record;
    record.guidType = object.kind;
    record.dwType = object.type;
    copyName(record.tszName, object.name);
    if (callback(&record, context) == DIENUM_STOP) break;
  }
  return failure != nullptr ? failure->code : DI_OK;
}

// Only the instance name can be read.
HRESULT STDMETHODCALLTYPE getProperty(IDirectInputDevice8W* face, REFGUID property, LPDIPROPHEADER header) {
  DeviceState* state = live(face);
  if (state == nullptr || header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
    return DIERR_INVALIDPARAM;
  }
  if (const Failure* failure = injected("GetProperty", state->created.instance)) return failure->code;
  if (&property != &DIPROP_INSTANCENAME) return DIERR_UNSUPPORTED;
  if (header->dwSize != sizeof(DIPROPSTRING) || header->dwHow != DIPH_DEVICE || header->dwObj != 0) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptDevice* current = attached(state->created.instance);
  copyName(reinterpret_cast<DIPROPSTRING*>(header)->wsz, (current != nullptr ? *current : state->created).name);
  return DI_OK;
}

// Only an axis's range can be set, by its type id.
HRESULT STDMETHODCALLTYPE setProperty(IDirectInputDevice8W* face, REFGUID property, LPCDIPROPHEADER header) {
  DeviceState* state = live(face);
  if (state == nullptr || header == nullptr || &property != &DIPROP_RANGE) return DIERR_INVALIDPARAM;
  const auto& range = *reinterpret_cast<const DIPROPRANGE*>(header);
  if (header->dwSize != sizeof range || header->dwHeaderSize != sizeof(DIPROPHEADER) || range.lMin >= range.lMax) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptObject* object = header->dwHow == DIPH_BYID ? findObject(*state, header->dwObj) : nullptr;
  if (object == nullptr || (object->type & DIDFT_AXIS) == 0) return DIERR_OBJECTNOTFOUND;
  state->ranges[object->type & 0x00FFFFFF] = {range.lMin, range.lMax};
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE acquire(IDirectInputDevice8W* face) {
  DeviceState* state = live(face);
  if (state == nullptr) return DIERR_INVALIDPARAM;
  if (const Failure* failure = injected("Acquire", state->created.instance)) return failure->code;
  if (attached(state->created.instance) == nullptr) return DIERR_UNPLUGGED;
  if (!state->hasFormat) return DIERR_INVALIDPARAM;
  if (state->acquired) return DI_NOEFFECT;
  state->acquired = true;
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE unacquire(IDirectInputDevice8W* face) {
  DeviceState* state = live(face);
  if (state == nullptr) return DIERR_INVALIDPARAM;
  const bool wasAcquired = state->acquired;
  state->acquired = false;
  return wasAcquired ? DI_OK : DI_NOEFFECT;
}

// Fills the state: the n-th axis entry of the data format gets the axis with instance number n.
void fillState(const DeviceState& state, BYTE* data) {
  std::memset(data, 0, state.dataSize);
  DWORD axisEntry = 0;
  for (const DIOBJECTDATAFORMAT& entry : state.format) {
    if (entry.dwOfs + sizeof(LONG) > state.dataSize || (DIDFT_GETTYPE(entry.dwType) & DIDFT_AXIS) == 0) continue;
    const DWORD instance = DIDFT_MAKEINSTANCE(axisEntry++);
    const ScriptObject* axis = findObject(state, DIDFT_ABSAXIS | instance);
    if (axis == nullptr) axis = findObject(state, DIDFT_RELAXIS | instance);
    if (axis == nullptr) continue;
    const auto found = state.ranges.find(axis->type & 0x00FFFFFF);
    const auto [minimum, maximum] = found != state.ranges.end() ? found->second : std::pair<LONG, LONG>{0, 65535};
    const double fraction = std::clamp(axis->position, 0.0, 1.0);
    const LONG value = static_cast<LONG>(minimum + std::llround(fraction * (static_cast<double>(maximum) - minimum)));
    std::memcpy(data + entry.dwOfs, &value, sizeof value);
  }
}

HRESULT STDMETHODCALLTYPE getDeviceState(IDirectInputDevice8W* face, DWORD size, void* data) {
  DeviceState* state = live(face);
  if (state == nullptr || data == nullptr) return DIERR_INVALIDPARAM;
  if (const Failure* failure = injected("GetDeviceState", state->created.instance)) return failure->code;
  if (attached(state->created.instance) == nullptr) return lostInput(*state);
  if (!state->acquired) return DIERR_NOTACQUIRED;
  if (!state->hasFormat || size != state->dataSize) return DIERR_INVALIDPARAM;
  fillState(*state, static_cast<BYTE*>(data));
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE setDataFormat(IDirectInputDevice8W* face, LPCDIDATAFORMAT format) {
  DeviceState* state = live(face);
  if (state == nullptr || format == nullptr || format->dwSize != sizeof(DIDATAFORMAT) ||
      format->dwObjSize != sizeof(DIOBJECTDATAFORMAT)) {
    return DIERR_INVALIDPARAM;
  }
  if (state->acquired) return DIERR_ACQUIRED;
  state->format.assign(format->rgodf, format->rgodf + format->dwNumObjs);
  state->dataSize = format->dwDataSize;
  state->hasFormat = true;
  return DI_OK;
}

// Only the sharing the program asks for is accepted: non-exclusive, in the background.
HRESULT STDMETHODCALLTYPE setCooperativeLevel(IDirectInputDevice8W* face, HWND window, DWORD flags) {
  DeviceState* state = live(face);
  if (state == nullptr || flags != (DISCL_NONEXCLUSIVE | DISCL_BACKGROUND) || !IsWindow(window)) {
    return DIERR_INVALIDPARAM;
  }
  return state->acquired ? DIERR_ACQUIRED : DI_OK;
}

HRESULT STDMETHODCALLTYPE getDeviceInfo(IDirectInputDevice8W* face, LPDIDEVICEINSTANCEW info) {
  DeviceState* state = live(face);
  if (state == nullptr || info == nullptr || info->dwSize != sizeof(DIDEVICEINSTANCEW)) return DIERR_INVALIDPARAM;
  if (const Failure* failure = injected("GetDeviceInfo", state->created.instance)) return failure->code;
  info->guidInstance = info->guidProduct = state->created.instance;
  copyName(info->tszInstanceName, state->created.name);
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE poll(IDirectInputDevice8W* face) {
  DeviceState* state = live(face);
  if (state == nullptr) return DIERR_INVALIDPARAM;
  if (const Failure* failure = injected("Poll", state->created.instance)) return failure->code;
  if (attached(state->created.instance) == nullptr) return lostInput(*state);
  return state->acquired ? DI_NOEFFECT : DIERR_NOTACQUIRED;
}

IDirectInputDevice8WVtbl deviceMethods = [] {
  auto table = unimplemented<IDirectInputDevice8WVtbl>();
  table.AddRef = deviceAddRef;
  table.Release = deviceRelease;
  table.EnumObjects = enumObjects;
  table.GetProperty = getProperty;
  table.SetProperty = setProperty;
  table.Acquire = acquire;
  table.Unacquire = unacquire;
  table.GetDeviceState = getDeviceState;
  table.SetDataFormat = setDataFormat;
  table.SetCooperativeLevel = setCooperativeLevel;
  table.GetDeviceInfo = getDeviceInfo;
  table.Poll = poll;
  return table;
}();

// ---- the DirectInput object

VirtualInput* self(IDirectInput8W* face) { return reinterpret_cast<VirtualInput*>(face); }

bool liveInput(IDirectInput8W* face) {
  if (self(face)->refs > 0) return true;
  ++counts[2];
  return false;
}

ULONG STDMETHODCALLTYPE inputAddRef(IDirectInput8W* face) {
  return liveInput(face) ? static_cast<ULONG>(++self(face)->refs) : 0;
}

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face) {
  if (!liveInput(face)) return 0;
  if (--self(face)->refs > 0) return static_cast<ULONG>(self(face)->refs);
  --counts[0];
  retire(self(face));
  return 0;
}

HRESULT STDMETHODCALLTYPE createDevice(IDirectInput8W* face, REFGUID instance, LPDIRECTINPUTDEVICE8W* out,
                                       LPUNKNOWN outer) {
  if (!liveInput(face) || out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return DIERR_NOAGGREGATION;
  if (const Failure* failure = injected("CreateDevice", instance)) return failure->code;
  const ScriptDevice* device = attached(instance);
  if (device == nullptr) return DIERR_DEVICENOTREG;
  auto* created = static_cast<VirtualDevice*>(std::calloc(1, sizeof(VirtualDevice)));
  *created = {{&deviceMethods}, 1, self(face), new DeviceState{*device, {}, 0, false, false, {}}};
  ++self(face)->refs;  // a device keeps its DirectInput object alive, as the real one does
  ++counts[1];
  *out = &created->face;
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE enumDevices(IDirectInput8W* face, DWORD deviceClass, LPDIENUMDEVICESCALLBACKW callback,
                                      void* context, DWORD) {
  if (!liveInput(face) || callback == nullptr) return DIERR_INVALIDPARAM;
  const Failure* failure = injected("EnumDevices", GUID_NULL);
  // A copy: the callback calls back into the stand-in, which may read the script again.
  const std::vector<ScriptDevice> listed = deviceClass == DI8DEVCLASS_GAMECTRL ? devices : std::vector<ScriptDevice>{};
  long reported = 0;
  for (const ScriptDevice& device : listed) {
    if (device.unplugged) continue;
    if (failure != nullptr && reported++ >= failure->after) break;
    DIDEVICEINSTANCEW instance = {};
    instance.dwSize = sizeof instance;
    instance.guidInstance = instance.guidProduct = device.instance;
    instance.dwDevType = DI8DEVTYPE_JOYSTICK;
    copyName(instance.tszInstanceName, device.name);
    if (callback(&instance, context) == DIENUM_STOP) break;
  }
  return failure != nullptr ? failure->code : DI_OK;
}

IDirectInput8WVtbl inputMethods = [] {
  auto table = unimplemented<IDirectInput8WVtbl>();
  table.AddRef = inputAddRef;
  table.Release = inputRelease;
  table.CreateDevice = createDevice;
  table.EnumDevices = enumDevices;
  return table;
}();
}  // namespace

extern "C" {

HRESULT WINAPI DirectInput8Create(HINSTANCE module, DWORD version, REFIID iid, void** out, LPUNKNOWN outer) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (module == nullptr || version != 0x0800 || outer != nullptr) return DIERR_INVALIDPARAM;
  if (!IsEqualGUID(iid, IID_IDirectInput8W)) return E_NOINTERFACE;
  const Failure* failure = injected("DirectInput8Create", GUID_NULL);
  if (failure != nullptr && FAILED(failure->code)) return failure->code;
  auto* created = static_cast<VirtualInput*>(std::calloc(1, sizeof(VirtualInput)));
  *created = {{&inputMethods}, 1};
  ++counts[0];
  *out = &created->face;
  return failure != nullptr ? failure->code : DI_OK;
}

long WINAPI VirtualControllerLiveObjects(int kind) { return kind >= 0 && kind < 4 ? counts[kind] : -1; }

// From now on this script, not the file, describes the controllers.
void WINAPI VirtualControllerUseScript(const char* text) {
  handedOver = true;
  useScript(text != nullptr ? text : "");
}
}
