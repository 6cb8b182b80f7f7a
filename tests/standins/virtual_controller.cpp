// Virtual game controllers: a stand-in for dinput8.dll that Wine loads instead of its own
// (WINEDLLOVERRIDES="dinput8=n,b"), with DirectInput8Create, IDirectInput8W and IDirectInputDevice8W as far as
// Tarvelix uses them (other methods answer E_NOTIMPL). A test in the same process hands it a script with
// VirtualControllerUseScript; another process names a file in TARVELIX_VC_SCRIPT, looked at again at most every
// 20 ms. One statement a line; a name is the rest of its line, in UTF-8:
//   device {GUID} Name                   a controller, reported in the order of these lines
//   product {GUID}                       the last device's product GUID (else its instance GUID)
//   axis KIND INSTANCE POS Name          an absolute axis of the last device
//   object KIND TYPE INSTANCE POS Name   any object; TYPE: dwType bits below the instance (0x1 relative axis,
//                                        0x2 absolute axis, 0x4 button, 0x10 hat)
//   fail CALL CODE [{GUID}] [after N] [times N]   CALL answers CODE, for one device or all; EnumDevices and
//       EnumObjects report N entries first; "times N" fails the next N calls only. A success code given to
//       DirectInput8Create still hands out the object.
// KIND Slider is of type GUID_Slider, any other word of another type. POS is a fraction of the axis's range. A
// name of 260 characters or more fills the name buffers without a terminator, as a careless driver's would.
// Devices behave like real drivers: reading needs SetDataFormat and Acquire; an unplugged device (gone from the
// script) answers DIERR_INPUTLOST once, then DIERR_NOTACQUIRED, and Acquire DIERR_UNPLUGGED. The n-th axis entry
// of the data format receives the axis of instance n. VirtualControllerLiveObjects(k) counts: 0 DirectInput
// objects alive, 1 devices alive, 2 calls on released objects, 3 devices released while still acquired.
#define CINTERFACE
#include <windows.h>

#include <dinput.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
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
  GUID product = GUID_NULL;
};
struct Failure {
  std::string call;
  HRESULT code = E_FAIL;
  GUID device = GUID_NULL;  // every device
  long after = 0, times = -1, used = 0;
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
struct VirtualDevice {
  IDirectInputDevice8W face;
  LONG refs;
  VirtualInput* parent;
  ScriptDevice created;  // as it was when the object was created
  std::vector<DIOBJECTDATAFORMAT> format;
  DWORD dataSize;
  bool acquired;
  LONG minimum, maximum;
};
// Released devices stay readable for a while, so that a call on one is counted instead of crashing, and the
// bench's memory figures stay the program's.
std::deque<VirtualDevice*> retired;

GUID guidOf(const std::string& text) {
  GUID guid = GUID_NULL;
  CLSIDFromString(std::wstring(text.begin(), text.end()).c_str(), &guid);
  return guid;
}

// The rest of the line, in UTF-8: drivers name their objects in the display language.
std::wstring nameFrom(std::istringstream& in) {
  std::string text;
  std::getline(in >> std::ws, text);
  std::wstring name(text.size(), L'\0');
  const int size = static_cast<int>(text.size());
  name.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, name.data(), size));
  return name;
}

unsigned long numberFrom(std::istringstream& in) {
  std::string word;
  in >> word;
  return std::strtoul(word.c_str(), nullptr, 0);
}

void parseLine(const std::string& line) {
  std::istringstream in(line);
  std::string verb, word;
  in >> verb;
  if (verb == "device" && in >> word) devices.push_back({guidOf(word), nameFrom(in), {}, guidOf(word)});
  if (verb == "product" && !devices.empty() && in >> word) devices.back().product = guidOf(word);
  if ((verb == "axis" || verb == "object") && !devices.empty() && in >> word) {
    ScriptObject object{word == "Slider" ? GUID_Slider : GUID_Unknown,
                        verb == "axis" ? DWORD{DIDFT_ABSAXIS} : numberFrom(in) & 0xFF0000FF, 0, L""};
    object.type |= DIDFT_MAKEINSTANCE(numberFrom(in));
    in >> object.position;
    object.name = nameFrom(in);
    devices.back().objects.push_back(object);
  }
  if (verb != "fail") return;
  Failure failure;
  in >> failure.call;
  failure.code = static_cast<HRESULT>(numberFrom(in));
  while (in >> word) {
    if (word == "after") failure.after = static_cast<long>(numberFrom(in));
    if (word == "times") failure.times = static_cast<long>(numberFrom(in));
    if (word.front() == '{') failure.device = guidOf(word);
  }
  failures.push_back(failure);
}

void useScript(const std::string& text) {
  if (text == scriptText) return;
  scriptText = text;
  devices.clear();
  failures.clear();
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) parseLine(line);
}

// A program polls 20 times a second with several calls a poll: the file is read at most every 20 ms.
void lookAtScript() {
  const ULONGLONG now = GetTickCount64();
  if (handedOver || (lastLook != 0 && now - lastLook < 20)) return;
  lastLook = now;
  char path[MAX_PATH] = {};
  GetEnvironmentVariableA("TARVELIX_VC_SCRIPT", path, MAX_PATH);
  std::ifstream file(path, std::ios::binary);
  useScript(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

// The failure the script injects into this call, if any.
const Failure* injected(const char* call, const GUID& device) {
  lookAtScript();
  for (Failure& failure : failures) {
    if (failure.call != call || (failure.device != GUID_NULL && failure.device != device)) continue;
    if (failure.times >= 0 && failure.used >= failure.times) continue;
    ++failure.used;
    return &failure;
  }
  return nullptr;
}

const ScriptDevice* attached(const GUID& instance) {
  lookAtScript();
  for (const ScriptDevice& device : devices) {
    if (device.instance == instance) return &device;
  }
  return nullptr;
}

// Names longer than the buffer fill it completely, without a terminator.
void copyName(WCHAR (&target)[MAX_PATH], const std::wstring& name) {
  const std::size_t count = std::min<std::size_t>(name.size(), MAX_PATH);
  std::memcpy(target, name.data(), count * sizeof(WCHAR));
  if (count < MAX_PATH) target[count] = L'\0';
}

// Every method the program does not use; all methods take the object first and the caller cleans up.
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

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face);

// The object behind an interface pointer, or null (and counted) for a released one.
template <typename Object, typename Face>
Object* live(Face* face) {
  auto* object = reinterpret_cast<Object*>(face);
  counts[2] += object->refs > 0 ? 0 : 1;
  return object->refs > 0 ? object : nullptr;
}

template <typename Object, typename Face>
ULONG STDMETHODCALLTYPE addRef(Face* face) {
  Object* object = live<Object>(face);
  return object != nullptr ? static_cast<ULONG>(++object->refs) : 0;
}

// Starts a call on a device: its object, or the answer of a released object or of an injected failure.
HRESULT enter(IDirectInputDevice8W* face, const char* call, VirtualDevice*& device) {
  device = live<VirtualDevice>(face);
  if (device == nullptr) return DIERR_INVALIDPARAM;
  const Failure* failure = injected(call, device->created.instance);
  return failure != nullptr ? failure->code : S_OK;
}

// The script's object with this type id: from the current script while the device is in it.
const ScriptObject* findObject(const VirtualDevice& device, DWORD id) {
  const ScriptDevice* current = attached(device.created.instance);
  for (const ScriptObject& object : (current != nullptr ? *current : device.created).objects) {
    if ((object.type & 0x00FFFFFF) == (id & 0x00FFFFFF)) return &object;
  }
  return nullptr;
}

// What an unplugged device answers: lost input once, then not acquired.
HRESULT lostInput(VirtualDevice& device) {
  return std::exchange(device.acquired, false) ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
}

ULONG STDMETHODCALLTYPE deviceRelease(IDirectInputDevice8W* face) {
  VirtualDevice* device = live<VirtualDevice>(face);
  if (device == nullptr || --device->refs > 0) return device != nullptr ? static_cast<ULONG>(device->refs) : 0;
  counts[3] += device->acquired ? 1 : 0;
  --counts[1];
  inputRelease(&device->parent->face);
  retired.push_back(device);
  if (retired.size() > 256) delete retired.front(), retired.pop_front();
  return 0;
}

void describe(DIDEVICEOBJECTINSTANCEW& record, const ScriptObject& object) {
  record.guidType = object.kind;
  record.dwType = object.type;
  copyName(record.tszName, object.name);
}

void describe(DIDEVICEINSTANCEW& record, const ScriptDevice& device) {
  record.guidInstance = device.instance;
  copyName(record.tszInstanceName, device.name);
}

// Hands the callback every entry, or only as many as an injected failure lets through first. The failure is
// copied: the callback may call back into the stand-in, which may read a new script.
template <typename Record, typename Entry, typename Callback>
HRESULT report(const std::vector<Entry>& entries, const Failure* injected, Callback callback, void* context) {
  const Failure failure = injected != nullptr ? *injected : Failure{"", DI_OK, GUID_NULL, LONG_MAX};
  long reported = 0;
  for (const Entry& entry : entries) {
    if (reported++ >= failure.after) break;
    Record record = {};
    record.dwSize = sizeof record;
    describe(record, entry);
    if (callback(&record, context) == DIENUM_STOP) break;
  }
  return failure.code;
}

HRESULT STDMETHODCALLTYPE enumObjects(IDirectInputDevice8W* face, LPDIENUMDEVICEOBJECTSCALLBACKW callback,
                                      void* context, DWORD) {
  VirtualDevice* device = live<VirtualDevice>(face);
  if (device == nullptr) return DIERR_INVALIDPARAM;
  return report<DIDEVICEOBJECTINSTANCEW>(device->created.objects, injected("EnumObjects", device->created.instance),
                                         callback, context);
}

// Only the instance name can be read.
HRESULT STDMETHODCALLTYPE getProperty(IDirectInputDevice8W* face, REFGUID property, LPDIPROPHEADER header) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "GetProperty", device)) return answer;
  if (&property != &DIPROP_INSTANCENAME || header->dwSize != sizeof(DIPROPSTRING) ||
      header->dwHeaderSize != sizeof(DIPROPHEADER) || header->dwHow != DIPH_DEVICE || header->dwObj != 0) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptDevice* current = attached(device->created.instance);
  copyName(reinterpret_cast<DIPROPSTRING*>(header)->wsz, (current != nullptr ? *current : device->created).name);
  return DI_OK;
}

// Only the range of an axis, by its type id, can be set; it holds for all axes of the device.
HRESULT STDMETHODCALLTYPE setProperty(IDirectInputDevice8W* face, REFGUID property, LPCDIPROPHEADER header) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "SetProperty", device)) return answer;
  const auto& range = *reinterpret_cast<const DIPROPRANGE*>(header);
  if (&property != &DIPROP_RANGE || header->dwSize != sizeof range || header->dwHeaderSize != sizeof(DIPROPHEADER) ||
      header->dwHow != DIPH_BYID || range.lMin >= range.lMax) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptObject* object = findObject(*device, header->dwObj);
  if (object == nullptr || (object->type & DIDFT_AXIS) == 0) return DIERR_OBJECTNOTFOUND;
  device->minimum = range.lMin;
  device->maximum = range.lMax;
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE acquire(IDirectInputDevice8W* face) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "Acquire", device)) return answer;
  if (attached(device->created.instance) == nullptr) return DIERR_UNPLUGGED;
  if (device->format.empty()) return DIERR_INVALIDPARAM;
  return std::exchange(device->acquired, true) ? DI_NOEFFECT : DI_OK;
}

HRESULT STDMETHODCALLTYPE unacquire(IDirectInputDevice8W* face) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "Unacquire", device)) return answer;
  return std::exchange(device->acquired, false) ? DI_OK : DI_NOEFFECT;
}

HRESULT STDMETHODCALLTYPE getDeviceState(IDirectInputDevice8W* face, DWORD size, void* data) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "GetDeviceState", device)) return answer;
  if (attached(device->created.instance) == nullptr) return lostInput(*device);
  if (!device->acquired) return DIERR_NOTACQUIRED;
  if (size != device->dataSize) return DIERR_INVALIDPARAM;
  std::memset(data, 0, size);
  DWORD axisEntry = 0;
  for (const DIOBJECTDATAFORMAT& entry : device->format) {
    if ((DIDFT_GETTYPE(entry.dwType) & DIDFT_AXIS) == 0 || entry.dwOfs + sizeof(LONG) > size) continue;
    const ScriptObject* axis = findObject(*device, DIDFT_MAKEINSTANCE(axisEntry++) | DIDFT_ABSAXIS);
    if (axis == nullptr) continue;
    const double span = static_cast<double>(device->maximum) - device->minimum;
    const LONG value = device->minimum + static_cast<LONG>(std::llround(std::clamp(axis->position, 0.0, 1.0) * span));
    std::memcpy(static_cast<BYTE*>(data) + entry.dwOfs, &value, sizeof value);
  }
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE setDataFormat(IDirectInputDevice8W* face, LPCDIDATAFORMAT format) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "SetDataFormat", device)) return answer;
  if (format->dwSize != sizeof(DIDATAFORMAT) || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT))
    return DIERR_INVALIDPARAM;
  if (device->acquired) return DIERR_ACQUIRED;
  device->format.assign(format->rgodf, format->rgodf + format->dwNumObjs);
  device->dataSize = format->dwDataSize;
  return DI_OK;
}

// Only the sharing the program asks for is accepted: non-exclusive, in the background, for a window.
HRESULT STDMETHODCALLTYPE setCooperativeLevel(IDirectInputDevice8W* face, HWND window, DWORD flags) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "SetCooperativeLevel", device)) return answer;
  return flags != (DISCL_NONEXCLUSIVE | DISCL_BACKGROUND) || !IsWindow(window) ? DIERR_INVALIDPARAM
         : device->acquired                                                    ? DIERR_ACQUIRED
                                                                               : DI_OK;
}

HRESULT STDMETHODCALLTYPE getDeviceInfo(IDirectInputDevice8W* face, LPDIDEVICEINSTANCEW info) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "GetDeviceInfo", device)) return answer;
  if (info->dwSize != sizeof(DIDEVICEINSTANCEW)) return DIERR_INVALIDPARAM;
  info->guidInstance = device->created.instance;
  info->guidProduct = device->created.product;
  copyName(info->tszInstanceName, device->created.name);
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE poll(IDirectInputDevice8W* face) {
  VirtualDevice* device;
  if (const HRESULT answer = enter(face, "Poll", device)) return answer;
  if (attached(device->created.instance) == nullptr) return lostInput(*device);
  return device->acquired ? DI_NOEFFECT : DIERR_NOTACQUIRED;
}

IDirectInputDevice8WVtbl deviceMethods = [] {
  auto table = unimplemented<IDirectInputDevice8WVtbl>();
  table.AddRef = addRef<VirtualDevice>;
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

ULONG STDMETHODCALLTYPE inputRelease(IDirectInput8W* face) {
  VirtualInput* input = live<VirtualInput>(face);
  if (input == nullptr || --input->refs > 0) return input != nullptr ? static_cast<ULONG>(input->refs) : 0;
  --counts[0];
  return 0;
}

HRESULT STDMETHODCALLTYPE createDevice(IDirectInput8W* face, REFGUID instance, LPDIRECTINPUTDEVICE8W* out,
                                       LPUNKNOWN outer) {
  VirtualInput* input = live<VirtualInput>(face);
  if (input == nullptr || out == nullptr || outer != nullptr) return E_POINTER;
  *out = nullptr;
  if (const Failure* failure = injected("CreateDevice", instance)) return failure->code;
  const ScriptDevice* device = attached(instance);
  if (device == nullptr) return DIERR_DEVICENOTREG;
  ++input->refs;  // a device keeps its DirectInput object alive, as the real one does
  ++counts[1];
  *out = &(new VirtualDevice{{&deviceMethods}, 1, input, *device, {}, 0, false, 0, 65535})->face;
  return DI_OK;
}

HRESULT STDMETHODCALLTYPE enumDevices(IDirectInput8W* face, DWORD deviceClass, LPDIENUMDEVICESCALLBACKW callback,
                                      void* context, DWORD) {
  if (live<VirtualInput>(face) == nullptr || callback == nullptr || deviceClass != DI8DEVCLASS_GAMECTRL)
    return DIERR_INVALIDPARAM;
  const Failure* failure = injected("EnumDevices", GUID_NULL);
  return report<DIDEVICEINSTANCEW>(std::vector<ScriptDevice>(devices), failure, callback, context);  // a copy, too
}

IDirectInput8WVtbl inputMethods = [] {
  auto table = unimplemented<IDirectInput8WVtbl>();
  table.AddRef = addRef<VirtualInput>;
  table.Release = inputRelease;
  table.CreateDevice = createDevice;
  table.EnumDevices = enumDevices;
  return table;
}();
}  // namespace

extern "C" {

HRESULT WINAPI DirectInput8Create(HINSTANCE module, DWORD version, REFIID iid, void** out, LPUNKNOWN outer) {
  *out = nullptr;
  if (module == nullptr || version != 0x0800 || outer != nullptr || iid != IID_IDirectInput8W) return E_INVALIDARG;
  const Failure* failure = injected("DirectInput8Create", GUID_NULL);
  if (failure != nullptr && FAILED(failure->code)) return failure->code;
  ++counts[0];
  *out = &(new VirtualInput{{&inputMethods}, 1})->face;
  return failure != nullptr ? failure->code : DI_OK;
}

long WINAPI VirtualControllerLiveObjects(int kind) { return kind >= 0 && kind < 4 ? counts[kind] : -1; }

// From now on this script, not the file, describes the controllers.
void WINAPI VirtualControllerUseScript(const char* text) {
  handedOver = true;
  useScript(text != nullptr ? text : "");
}
}
