// Stand-in for the simulator's SimConnect.dll. It checks every call against what Tarvelix must pass and appends
// one line per call to the file named by TARVELIX_SIM_LOG: "Open", "Define0", "Define1", "Write0=50",
// "Write1=50", "Close", each with "!" when the call failed. A call fails when its arguments are not the
// expected ones, or on request: the file named by TARVELIX_SIM_CONTROL, read at every call and free to change
// while the program runs, holds lines "fail-open", "fail-define N" and "fail-writes".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

namespace {
std::set<UINT_PTR> openHandles;
UINT_PTR nextHandle = 1;

std::string environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length < MAX_PATH ? value : "";
}

bool requested(const std::string& request) {
  std::ifstream control(environment("TARVELIX_SIM_CONTROL"));
  for (std::string line; std::getline(control, line);)
    if (line == request) return true;
  return false;
}

bool isOpen(HANDLE handle) { return openHandles.contains(reinterpret_cast<UINT_PTR>(handle)); }

// Logs the call and answers it.
HRESULT answer(const std::string& call, bool good) {
  if (std::FILE* log = std::fopen(environment("TARVELIX_SIM_LOG").c_str(), "a")) {
    std::fprintf(log, "%s%s\n", call.c_str(), good ? "" : "!");
    std::fclose(log);
  }
  return good ? S_OK : E_FAIL;
}
}  // namespace

extern "C" {

__declspec(dllexport) HRESULT __stdcall SimConnect_Open(HANDLE* handle, LPCSTR name, HWND window, DWORD userEvent,
                                                        HANDLE event, DWORD configIndex) {
  const bool good = handle != nullptr && std::strcmp(name, "Tarvelix Helper") == 0 && window == nullptr &&
                    userEvent == 0 && event == nullptr && configIndex == 0 && !requested("fail-open");
  if (good) *handle = reinterpret_cast<HANDLE>(nextHandle), openHandles.insert(nextHandle++);
  return answer("Open", good);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_AddToDataDefinition(HANDLE handle, DWORD defineId, LPCSTR datum, LPCSTR units, DWORD type,
                                             float epsilon, DWORD datumId) {
  const char* const variables[] = {"COCKPIT CAMERA ZOOM", "CHASE CAMERA ZOOM"};
  const bool good = isOpen(handle) && defineId < 2 && std::strcmp(datum, variables[defineId % 2]) == 0 &&
                    std::strcmp(units, "percentage") == 0 && type == 1 && epsilon == 0 && datumId == 0xFFFFFFFF &&
                    !requested("fail-define " + std::to_string(defineId));
  return answer("Define" + std::to_string(defineId), good);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_SetDataOnSimObject(HANDLE handle, DWORD defineId, DWORD objectId, DWORD flags, DWORD count,
                                            DWORD size, void* data) {
  const bool good = isOpen(handle) && objectId == 0 && flags == 0 && count == 0 && size == sizeof(INT32) &&
                    data != nullptr && !requested("fail-writes");
  const long value = data != nullptr ? *static_cast<const INT32*>(data) : 0;
  return answer("Write" + std::to_string(defineId) + "=" + std::to_string(value), good);
}

__declspec(dllexport) HRESULT __stdcall SimConnect_Close(HANDLE handle) {
  return answer("Close", openHandles.erase(reinterpret_cast<UINT_PTR>(handle)) != 0);
}
}
