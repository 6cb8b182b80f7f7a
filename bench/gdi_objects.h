// Counting the GDI objects of this process, for the bench's checkpoints and the tests that hold them flat.
#pragma once

#include <windows.h>

#include <winternl.h>

// GDI objects of this process. Wine answers GetGuiResources with 0; its GDI handle table, reached
// through the PEB, is counted instead: the entries in use that are not stock objects.
inline long gdiObjectCount() {
  if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(reported);
  struct GdiHandleEntry {
    UINT64 object;
    ULONG owner;
    UCHAR extType, generation, type, flags;
    UINT64 userPointer;
  };
  constexpr std::size_t gdiSharedTableOffset = 0xF8;  // PEB::GdiSharedHandleTable on x64
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (query == nullptr || query(GetCurrentProcess(), 0, &basic, sizeof basic, nullptr) != 0) return -1;
  const auto* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + gdiSharedTableOffset);
  long used = 0;
  for (int i = 0; table != nullptr && i < 0x10000; ++i) used += table[i].type != 0 && (table[i].extType & 0x80) == 0;
  return table != nullptr ? used : -1;
}
