// The four calls of the simulator's client library, looked up once at run time.
#pragma once

#include <windows.h>

using SimConnectOpenFn = HRESULT(__stdcall*)(HANDLE* handle, LPCSTR name, HWND window, DWORD userEvent,
                                             HANDLE eventHandle, DWORD configIndex);
using SimConnectAddToDataDefinitionFn = HRESULT(__stdcall*)(HANDLE handle, DWORD defineId, LPCSTR datumName,
                                                            LPCSTR unitsName, DWORD datumType, float epsilon,
                                                            DWORD datumId);
using SimConnectSetDataOnSimObjectFn = HRESULT(__stdcall*)(HANDLE handle, DWORD defineId, DWORD objectId, DWORD flags,
                                                           DWORD arrayCount, DWORD unitSize, void* data);
using SimConnectCloseFn = HRESULT(__stdcall*)(HANDLE handle);

struct SimConnectApi {
  SimConnectOpenFn open = nullptr;
  SimConnectAddToDataDefinitionFn addToDataDefinition = nullptr;
  SimConnectSetDataOnSimObjectFn setDataOnSimObject = nullptr;
  SimConnectCloseFn close = nullptr;
};

// The table of the library's calls, or null when SimConnect.dll or one of its calls is missing.
// The library is looked for once, on the first call, and stays loaded for the life of the process.
const SimConnectApi* simConnectApi();
