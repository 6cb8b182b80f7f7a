#include "sim/simconnect_api.h"

#include <string>

namespace {
SimConnectApi api;
bool loaded = false;

// Longer than any path Windows gives a module.
constexpr std::size_t longestPath = 32768;
}  // namespace

template <typename Fn>
static bool lookUp(HMODULE library, const char* name, Fn& target) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return target != nullptr;
}

// The folder of Tarvelix.exe with its trailing backslash, or empty. The buffer grows, since the exe may lie
// deeper than MAX_PATH.
static std::wstring exeFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= longestPath) return {};
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

SimConnectFound lookForSimConnect() {
  if (loaded) return simConnectUsable;
  const std::wstring folder = exeFolder();
  if (folder.empty()) return simConnectMissing;
  const std::wstring file = folder + L"SimConnect.dll";
  // By full path and never from the current folder or PATH, where anyone may have planted a SimConnect.dll;
  // its own dependencies come from its folder and System32.
  HMODULE library =
      LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr) {
    // A file that is there and does not load (32-bit, damaged, a dependency missing) is unusable, not missing.
    return GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES ? simConnectMissing : simConnectUnusable;
  }
  SimConnectApi found;
  if (!lookUp(library, "SimConnect_Open", found.open) ||
      !lookUp(library, "SimConnect_AddToDataDefinition", found.addToDataDefinition) ||
      !lookUp(library, "SimConnect_SetDataOnSimObject", found.setDataOnSimObject) ||
      !lookUp(library, "SimConnect_Close", found.close) ||
      !lookUp(library, "SimConnect_GetNextDispatch", found.getNextDispatch) ||
      !lookUp(library, "SimConnect_GetLastSentPacketID", found.getLastSentPacketId)) {
    // Freed, so that the user can replace the file while Tarvelix runs.
    FreeLibrary(library);
    return simConnectUnusable;
  }
  api = found;
  loaded = true;
  return simConnectUsable;
}

const SimConnectApi* simConnectApi() { return loaded ? &api : nullptr; }
