// Stand-in for the simulator's SimConnect.dll: records every call with its arguments, one line each,
// in the file named by TARVELIX_SIM_LOG, and fails on request. Requests are read at every call from
// the environment, or from the file named by TARVELIX_SIM_CONTROL (lines NAME=VALUE), which a test may
// rewrite while the program runs:
//   TARVELIX_SIM_FAIL_OPEN=1          SimConnect_Open fails
//   TARVELIX_SIM_FAIL_DEFINE=N        adding definition N fails
//   TARVELIX_SIM_FAIL_WRITES_AFTER=N  every write after the Nth (counted since the DLL was loaded) fails
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {
constexpr HRESULT standInFailure = E_FAIL;
std::set<UINT_PTR> openHandles;
UINT_PTR nextHandle = 1;
long writeCount = 0;

std::string controlValue(const char* name) {
  char buffer[256] = {};
  std::string value;
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) value = buffer;
  length = GetEnvironmentVariableA("TARVELIX_SIM_CONTROL", buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return value;
  FILE* file = std::fopen(buffer, "r");
  if (file == nullptr) return value;
  char line[256];
  const std::size_t nameLength = std::strlen(name);
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (std::strncmp(line, name, nameLength) != 0 || line[nameLength] != '=') continue;
    value = line + nameLength + 1;
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
  }
  std::fclose(file);
  return value;
}

long controlNumber(const char* name, long fallback) {
  const std::string text = controlValue(name);
  return text.empty() ? fallback : std::strtol(text.c_str(), nullptr, 10);
}

void record(const char* format, ...) {
  char path[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("TARVELIX_SIM_LOG", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fputc('\n', file);
  std::fclose(file);
}

bool isOpen(HANDLE handle) { return openHandles.count(reinterpret_cast<UINT_PTR>(handle)) != 0; }
const char* text(const char* s) { return s != nullptr ? s : "(null)"; }
}  // namespace

extern "C" {

__declspec(dllexport) HRESULT __stdcall SimConnect_Open(HANDLE* handle, LPCSTR name, HWND window, DWORD userEvent,
                                                        HANDLE eventHandle, DWORD configIndex) {
  HRESULT result = S_OK;
  if (handle == nullptr || controlNumber("TARVELIX_SIM_FAIL_OPEN", 0) != 0) {
    result = standInFailure;
  } else {
    *handle = reinterpret_cast<HANDLE>(nextHandle);
    openHandles.insert(nextHandle++);
  }
  record("SimConnect_Open handle=%llu name=\"%s\" window=%p userEvent=%lu event=%p config=%lu -> %ld",
         result == S_OK ? static_cast<unsigned long long>(nextHandle - 1) : 0ULL, text(name),
         static_cast<void*>(window), userEvent, eventHandle, configIndex, result);
  return result;
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_AddToDataDefinition(HANDLE handle, DWORD defineId, LPCSTR datumName, LPCSTR unitsName,
                                             DWORD datumType, float epsilon, DWORD datumId) {
  HRESULT result = S_OK;
  if (!isOpen(handle) || controlNumber("TARVELIX_SIM_FAIL_DEFINE", -1) == static_cast<long>(defineId)) {
    result = standInFailure;
  }
  record(
      "SimConnect_AddToDataDefinition handle=%llu define=%lu datum=\"%s\" units=\"%s\" type=%lu epsilon=%g "
      "datumId=%lu -> %ld",
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)), defineId, text(datumName), text(unitsName),
      datumType, static_cast<double>(epsilon), datumId, result);
  return result;
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_SetDataOnSimObject(HANDLE handle, DWORD defineId, DWORD objectId, DWORD flags,
                                            DWORD arrayCount, DWORD unitSize, void* data) {
  HRESULT result = S_OK;
  long value = 0;
  if (data != nullptr && unitSize == sizeof(INT32)) value = *static_cast<const INT32*>(data);
  ++writeCount;
  const long failAfter = controlNumber("TARVELIX_SIM_FAIL_WRITES_AFTER", -1);
  if (!isOpen(handle) || data == nullptr || (failAfter >= 0 && writeCount > failAfter)) result = standInFailure;
  record(
      "SimConnect_SetDataOnSimObject handle=%llu define=%lu object=%lu flags=%lu count=%lu size=%lu value=%ld "
      "-> %ld",
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)), defineId, objectId, flags, arrayCount,
      unitSize, value, result);
  return result;
}

__declspec(dllexport) HRESULT __stdcall SimConnect_Close(HANDLE handle) {
  const HRESULT result = isOpen(handle) ? S_OK : standInFailure;
  openHandles.erase(reinterpret_cast<UINT_PTR>(handle));
  record("SimConnect_Close handle=%llu -> %ld", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)),
         result);
  return result;
}
}
