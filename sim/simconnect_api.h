// The six calls of the simulator's client library, looked up at run time from Tarvelix.exe's own folder.
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
// The next message the simulator sent (a SIMCONNECT_RECV and what follows), or E_FAIL when none waits.
using SimConnectGetNextDispatchFn = HRESULT(__stdcall*)(HANDLE handle, void** data, DWORD* size);
using SimConnectGetLastSentPacketIdFn = HRESULT(__stdcall*)(HANDLE handle, DWORD* sendId);

struct SimConnectApi {
  SimConnectOpenFn open = nullptr;
  SimConnectAddToDataDefinitionFn addToDataDefinition = nullptr;
  SimConnectSetDataOnSimObjectFn setDataOnSimObject = nullptr;
  SimConnectCloseFn close = nullptr;
  SimConnectGetNextDispatchFn getNextDispatch = nullptr;
  SimConnectGetLastSentPacketIdFn getLastSentPacketId = nullptr;
};

// What a look for SimConnect.dll found.
enum SimConnectFound : int { simConnectMissing, simConnectUnusable, simConnectUsable };

// Loads SimConnect.dll from beside Tarvelix.exe, unless a usable one is loaded already. A missing or unusable
// library is looked for again on the next call; a usable one stays loaded for the life of the process.
SimConnectFound lookForSimConnect();

// The table of the library's calls, or null while no usable SimConnect.dll is loaded. Never loads.
const SimConnectApi* simConnectApi();
