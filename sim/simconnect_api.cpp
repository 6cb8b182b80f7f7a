#include "sim/simconnect_api.h"

template <typename Fn>
static bool lookUp(HMODULE library, const char* name, Fn& target) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return target != nullptr;
}

const SimConnectApi* simConnectApi() {
  static SimConnectApi api;
  static bool tried = false;
  static bool usable = false;
  if (tried) return usable ? &api : nullptr;
  tried = true;
  HMODULE library = LoadLibraryW(L"SimConnect.dll");
  if (library == nullptr) return nullptr;
  if (!lookUp(library, "SimConnect_Open", api.open) ||
      !lookUp(library, "SimConnect_AddToDataDefinition", api.addToDataDefinition) ||
      !lookUp(library, "SimConnect_SetDataOnSimObject", api.setDataOnSimObject) ||
      !lookUp(library, "SimConnect_Close", api.close)) {
    FreeLibrary(library);
    return nullptr;
  }
  usable = true;
  return &api;
}
