// Virtual game controllers: a stand-in for dinput8.dll that Wine loads instead of its own
// (WINEDLLOVERRIDES="dinput8=n,b"), as far as Tarvelix uses DirectInput; every other method answers E_NOTIMPL.
// A test in the same process hands over its script with VirtualControllerUseScript; another process names a file
// in TARVELIX_VC_SCRIPT, read again at most every 20 ms. One statement a line, a name the rest of it in UTF-8:
//   device {GUID} Name                   a controller, reported in the order of these lines
//   product {GUID}                       the last device's product GUID (else its instance GUID)
//   axis KIND INSTANCE POS Name          an absolute axis of the last device (KIND XAxis ... RzAxis, Slider)
//   object KIND TYPE INSTANCE POS Name   any object: TYPE holds the dwType bits below the instance (other KINDs
//                                        than those of axis lines are GUID_Unknown)
//   fail CALL CODE [{GUID}] [after N] [times N]   CALL answers CODE, for one device or all; EnumDevices
//       reports N entries first; "times N" fails only the next N calls after the script changed. A success
//       CODE fills nothing in: GetDeviceState 0 is the empty state of a device that has not reported yet
// POS is a fraction of the axis's range (0..65535 until DIPROP_RANGE changes it). Names of 260 characters or more
// fill the name buffers without a terminator. As real drivers do, reading needs SetDataFormat and Acquire, and a
// device that leaves the script is unplugged: reading answers DIERR_INPUTLOST once, then DIERR_NOTACQUIRED, and
// Acquire DIERR_UNPLUGGED. As in Windows, the data format places objects by type and kind, whatever their instance
// numbers: each entry takes the first object of its kind not yet placed. GetObjectInfo answers by offset into the
// format set and by id.
// VirtualControllerLiveObjects(k) counts: 0 DirectInput objects alive, 1 devices alive, 2 calls on released
// objects, 3 devices released while still acquired.
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
#include <type_traits>
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

const std::pair<std::string, GUID> kinds[] = {{"XAxis", GUID_XAxis},   {"YAxis", GUID_YAxis},   {"ZAxis", GUID_ZAxis},
                                              {"RxAxis", GUID_RxAxis}, {"RyAxis", GUID_RyAxis}, {"RzAxis", GUID_RzAxis},
                                              {"Slider", GUID_Slider}};

void parseLine(const std::string& line) {
  std::istringstream in(line);
  std::string verb, word;
  in >> verb;
  if (verb == "device" && in >> word) devices.push_back({guidOf(word), nameFrom(in), {}, guidOf(word)});
  if (verb == "product" && !devices.empty() && in >> word) devices.back().product = guidOf(word);
  if ((verb == "axis" || verb == "object") && !devices.empty() && in >> word) {
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto& k) { return k.first == word; });
    ScriptObject object{kind != std::end(kinds) ? kind->second : GUID_Unknown,
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
    const bool applies = failure.call == call && (failure.device == GUID_NULL || failure.device == device);
    if (applies && (failure.times < 0 || failure.used++ < failure.times)) return &failure;
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

// The device as the script has it now, or as it was while it is unplugged.
const ScriptDevice& current(const VirtualDevice& device) {
  const ScriptDevice* now = attached(device.created.instance);
  return now != nullptr ? *now : device.created;
}

// Names longer than the buffer fill it completely, without a terminator.
void copyName(WCHAR (&target)[MAX_PATH], const std::wstring& name) {
  std::fill(std::copy_n(name.begin(), std::min<std::size_t>(name.size(), MAX_PATH), target), std::end(target), L'\0');
}

// Every method the program does not use; all methods take the object first and the caller cleans up.
HRESULT STDMETHODCALLTYPE notImplemented() { return E_NOTIMPL; }

template <typename Table>
Table unimplemented() {
  Table table;
  std::fill_n(reinterpret_cast<void**>(&table), sizeof table / sizeof(void*), reinterpret_cast<void*>(notImplemented));
  return table;
}

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

// A device's last reference lets go of its DirectInput object, as the real one does.
template <typename Object, typename Face>
ULONG STDMETHODCALLTYPE release(Face* face) {
  Object* object = live<Object>(face);
  if (object == nullptr || --object->refs > 0) return object != nullptr ? static_cast<ULONG>(object->refs) : 0;
  if constexpr (std::is_same_v<Object, VirtualInput>) {
    --counts[0];
  } else {
    counts[3] += object->acquired ? 1 : 0;
    --counts[1];
    release<VirtualInput>(&object->parent->face);
    retired.push_back(object);
    if (retired.size() > 256) delete retired.front(), retired.pop_front();
  }
  return 0;
}

// A method's name, for the script's fail lines.
template <std::size_t size>
struct Call {
  constexpr Call(const char (&text)[size]) { std::copy_n(text, size, name); }
  char name[size];
};

// A device method: the answer of a released object or of an injected failure, else its body's.
template <Call call, auto body, typename... Args>
HRESULT STDMETHODCALLTYPE method(IDirectInputDevice8W* face, Args... args) {
  VirtualDevice* device = live<VirtualDevice>(face);
  if (device == nullptr) return DIERR_INVALIDPARAM;
  const Failure* failure = injected(call.name, device->created.instance);
  return failure != nullptr ? failure->code : body(*device, args...);
}

// The script's object with this type id: from the current script while the device is in it.
const ScriptObject* findObject(const VirtualDevice& device, DWORD id) {
  for (const ScriptObject& object : current(device).objects) {
    if ((object.type & 0x00FFFFFF) == (id & 0x00FFFFFF)) return &object;
  }
  return nullptr;
}

// Where the data format puts the objects: each entry takes the first object not yet placed of its type, of its
// kind when it names one, and of its aspect (the objects here are all positions).
std::vector<std::pair<DWORD, const ScriptObject*>> placement(const VirtualDevice& device) {
  std::vector<std::pair<DWORD, const ScriptObject*>> placed;
  const std::vector<ScriptObject>& objects = current(device).objects;
  std::vector<bool> taken(objects.size());
  for (const DIOBJECTDATAFORMAT& entry : device.format) {
    const DWORD aspect = entry.dwFlags & DIDOI_ASPECTMASK;
    for (std::size_t i = 0; i < objects.size() && (aspect == 0 || aspect == DIDOI_ASPECTPOSITION); ++i) {
      if (taken[i] || (DIDFT_GETTYPE(entry.dwType) & DIDFT_GETTYPE(objects[i].type)) == 0 ||
          (entry.pguid != nullptr && *entry.pguid != objects[i].kind))
        continue;
      taken[i] = true;
      placed.emplace_back(entry.dwOfs, &objects[i]);
      break;
    }
  }
  return placed;
}

// Reading needs an attached and acquired device; an unplugged one has lost its input once, then is not acquired.
HRESULT readable(VirtualDevice& device) {
  if (attached(device.created.instance) == nullptr)
    return std::exchange(device.acquired, false) ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
  return device.acquired ? DI_OK : DIERR_NOTACQUIRED;
}

void describe(DIDEVICEINSTANCEW& record, const ScriptDevice& device) {
  record.guidInstance = device.instance;
  record.guidProduct = device.product;
  copyName(record.tszInstanceName, device.name);
}

// Only the instance name can be read.
HRESULT getProperty(VirtualDevice& device, REFGUID property, LPDIPROPHEADER header) {
  if (&property != &DIPROP_INSTANCENAME || header->dwSize != sizeof(DIPROPSTRING) ||
      header->dwHeaderSize != sizeof(DIPROPHEADER) || header->dwHow != DIPH_DEVICE || header->dwObj != 0) {
    return DIERR_INVALIDPARAM;
  }
  copyName(reinterpret_cast<DIPROPSTRING*>(header)->wsz, current(device).name);
  return DI_OK;
}

// Only the range of an axis, by its type id, can be set; it holds for all axes of the device.
HRESULT setProperty(VirtualDevice& device, REFGUID property, LPCDIPROPHEADER header) {
  const auto& range = *reinterpret_cast<const DIPROPRANGE*>(header);
  if (&property != &DIPROP_RANGE || header->dwSize != sizeof range || header->dwHeaderSize != sizeof(DIPROPHEADER) ||
      header->dwHow != DIPH_BYID || range.lMin >= range.lMax) {
    return DIERR_INVALIDPARAM;
  }
  const ScriptObject* object = findObject(device, header->dwObj);
  if (object == nullptr || (object->type & DIDFT_AXIS) == 0) return DIERR_OBJECTNOTFOUND;
  device.minimum = range.lMin;
  device.maximum = range.lMax;
  return DI_OK;
}

HRESULT acquire(VirtualDevice& device) {
  if (attached(device.created.instance) == nullptr) return DIERR_UNPLUGGED;
  if (device.format.empty()) return DIERR_INVALIDPARAM;
  return std::exchange(device.acquired, true) ? DI_NOEFFECT : DI_OK;
}

HRESULT unacquire(VirtualDevice& device) { return std::exchange(device.acquired, false) ? DI_OK : DI_NOEFFECT; }

HRESULT getDeviceState(VirtualDevice& device, DWORD size, void* data) {
  if (const HRESULT answer = readable(device)) return answer;
  if (size != device.dataSize) return DIERR_INVALIDPARAM;
  std::memset(data, 0, size);
  for (const auto& [offset, object] : placement(device)) {
    if ((object->type & DIDFT_AXIS) == 0 || offset + sizeof(LONG) > size) continue;
    const double span = static_cast<double>(device.maximum) - device.minimum;
    const LONG value = device.minimum + static_cast<LONG>(std::llround(std::clamp(object->position, 0.0, 1.0) * span));
    std::memcpy(static_cast<BYTE*>(data) + offset, &value, sizeof value);
  }
  return DI_OK;
}

HRESULT getObjectInfo(VirtualDevice& device, LPDIDEVICEOBJECTINSTANCEW record, DWORD object, DWORD how) {
  if (record->dwSize != sizeof *record || (how != DIPH_BYOFFSET && how != DIPH_BYID)) return DIERR_INVALIDPARAM;
  const ScriptObject* found = how == DIPH_BYID ? findObject(device, object) : nullptr;
  if (how == DIPH_BYOFFSET)
    for (const auto& [offset, placed] : placement(device)) found = offset == object ? placed : found;
  if (found == nullptr) return DIERR_OBJECTNOTFOUND;
  record->guidType = found->kind;
  record->dwType = found->type;
  copyName(record->tszName, found->name);
  return DI_OK;
}

HRESULT setDataFormat(VirtualDevice& device, LPCDIDATAFORMAT format) {
  if (format->dwSize != sizeof(DIDATAFORMAT) || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT))
    return DIERR_INVALIDPARAM;
  if (device.acquired) return DIERR_ACQUIRED;
  device.format.assign(format->rgodf, format->rgodf + format->dwNumObjs);
  device.dataSize = format->dwDataSize;
  return DI_OK;
}

HRESULT getDeviceInfo(VirtualDevice& device, LPDIDEVICEINSTANCEW info) {
  if (info->dwSize != sizeof(DIDEVICEINSTANCEW)) return DIERR_INVALIDPARAM;
  describe(*info, device.created);
  return DI_OK;
}

HRESULT poll(VirtualDevice& device) {
  const HRESULT answer = readable(device);
  return answer == DI_OK ? DI_NOEFFECT : answer;
}

IDirectInputDevice8WVtbl deviceMethods = [] {
  auto table = unimplemented<IDirectInputDevice8WVtbl>();
  table.AddRef = addRef<VirtualDevice>;
  table.Release = release<VirtualDevice>;
  table.GetObjectInfo = method<"GetObjectInfo", getObjectInfo>;
  table.GetProperty = method<"GetProperty", getProperty>;
  table.SetProperty = method<"SetProperty", setProperty>;
  table.Acquire = method<"Acquire", acquire>;
  table.Unacquire = method<"Unacquire", unacquire>;
  table.GetDeviceState = method<"GetDeviceState", getDeviceState>;
  table.SetDataFormat = method<"SetDataFormat", setDataFormat>;
  table.GetDeviceInfo = method<"GetDeviceInfo", getDeviceInfo>;
  table.Poll = method<"Poll", poll>;
  return table;
}();

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

// Hands the callback every device, or only as many as an injected failure lets through first. The failure and the
// devices are copied: the callback may call back into the stand-in, which may read a new script.
HRESULT STDMETHODCALLTYPE enumDevices(IDirectInput8W* face, DWORD deviceClass, LPDIENUMDEVICESCALLBACKW callback,
                                      void* context, DWORD) {
  if (live<VirtualInput>(face) == nullptr || callback == nullptr || deviceClass != DI8DEVCLASS_GAMECTRL)
    return DIERR_INVALIDPARAM;
  Failure failure{"", DI_OK, GUID_NULL, LONG_MAX};
  if (const Failure* injectedFailure = injected("EnumDevices", GUID_NULL)) failure = *injectedFailure;
  long reported = 0;
  for (const ScriptDevice& device : std::vector<ScriptDevice>(devices)) {
    DIDEVICEINSTANCEW record = {};
    record.dwSize = sizeof record;
    describe(record, device);
    if (reported++ >= failure.after || callback(&record, context) == DIENUM_STOP) break;
  }
  return failure.code;
}

IDirectInput8WVtbl inputMethods = [] {
  auto table = unimplemented<IDirectInput8WVtbl>();
  table.AddRef = addRef<VirtualInput>;
  table.Release = release<VirtualInput>;
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
