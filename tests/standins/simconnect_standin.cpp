// Stand-in for the simulator's SimConnect.dll: appends one line per call, with its arguments and result, to
// the file named by TARVELIX_SIM_LOG, and fails on request. The requests are read at every call from the
// file named by TARVELIX_SIM_CONTROL, which may be rewritten while the program runs:
//   fail-open          SimConnect_Open fails
//   fail-define N      adding definition N fails
//   fail-writes        every write fails
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <set>
#include <string>

namespace {
std::set<UINT_PTR> openHandles;
UINT_PTR nextHandle = 1;

std::string environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : "";
}

// True when the control file holds this request as a line of its own.
bool requested(const std::string& request) {
  std::FILE* file = std::fopen(environment("TARVELIX_SIM_CONTROL").c_str(), "r");
  if (file == nullptr) return false;
  char line[128];
  bool found = false;
  while (!found && std::fgets(line, sizeof line, file) != nullptr) found = request + "\n" == line || request == line;
  std::fclose(file);
  return found;
}

HRESULT record(HRESULT result, const char* format, ...) {
  std::FILE* file = std::fopen(environment("TARVELIX_SIM_LOG").c_str(), "a");
  if (file == nullptr) return result;
  va_list args;
  va_start(args, format);
  std::vfprintf(file, format, args);
  va_end(args);
  std::fprintf(file, " -> %ld\n", result);
  std::fclose(file);
  return result;
}

bool isOpen(HANDLE handle) { return openHandles.count(reinterpret_cast<UINT_PTR>(handle)) != 0; }
unsigned long long number(HANDLE handle) { return reinterpret_cast<UINT_PTR>(handle); }
}  // namespace

extern "C" {

__declspec(dllexport) HRESULT __stdcall SimConnect_Open(HANDLE* handle, LPCSTR name, HWND window, DWORD userEvent,
                                                        HANDLE eventHandle, DWORD configIndex) {
  const bool refused = handle == nullptr || requested("fail-open");
  if (!refused) {
    *handle = reinterpret_cast<HANDLE>(nextHandle);
    openHandles.insert(nextHandle++);
  }
  return record(refused ? E_FAIL : S_OK,
                "SimConnect_Open handle=%llu name=\"%s\" window=%p userEvent=%lu event=%p config=%lu",
                refused ? 0ULL : nextHandle - 1, name, static_cast<void*>(window), userEvent, eventHandle, configIndex);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_AddToDataDefinition(HANDLE handle, DWORD defineId, LPCSTR datumName, LPCSTR unitsName,
                                             DWORD datumType, float epsilon, DWORD datumId) {
  const bool failed = !isOpen(handle) || requested("fail-define " + std::to_string(defineId));
  return record(failed ? E_FAIL : S_OK,
                "SimConnect_AddToDataDefinition handle=%llu define=%lu datum=\"%s\" units=\"%s\" type=%lu epsilon=%g "
                "datumId=%lu",
                number(handle), defineId, datumName, unitsName, datumType, static_cast<double>(epsilon), datumId);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_SetDataOnSimObject(HANDLE handle, DWORD defineId, DWORD objectId, DWORD flags,
                                            DWORD arrayCount, DWORD unitSize, void* data) {
  const long value = data != nullptr && unitSize == sizeof(INT32) ? *static_cast<const INT32*>(data) : 0;
  const bool failed = !isOpen(handle) || data == nullptr || requested("fail-writes");
  return record(
      failed ? E_FAIL : S_OK,
      "SimConnect_SetDataOnSimObject handle=%llu define=%lu object=%lu flags=%lu count=%lu size=%lu value=%ld",
      number(handle), defineId, objectId, flags, arrayCount, unitSize, value);
}

__declspec(dllexport) HRESULT __stdcall SimConnect_Close(HANDLE handle) {
  const bool wasOpen = openHandles.erase(reinterpret_cast<UINT_PTR>(handle)) != 0;
  return record(wasOpen ? S_OK : E_FAIL, "SimConnect_Close handle=%llu", number(handle));
}
}
