#include "settings/settings_file.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <system_error>

namespace {
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring settingsFilePath(const std::wstring& folder) { return folder + L"\\Tarvelix.cfg"; }

// Reads at most settingsReadLimit bytes. complete is false when the read stopped before the end.
bool readFileBytes(const std::wstring& path, std::string& bytes, bool& complete) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, shareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[16384];
  complete = false;
  while (bytes.size() <= settingsReadLimit) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) break;
    if (got == 0) {
      complete = true;
      break;
    }
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  if (bytes.size() > settingsReadLimit) bytes.resize(settingsReadLimit);
  return true;
}

// The settings folder as an existing directory, made with its parents when missing.
bool ensureFolder(const std::wstring& folder) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(folder, error);
  if (std::filesystem::is_directory(status)) return true;
  if (status.type() != std::filesystem::file_type::not_found) return false;  // in the way, or not to be examined
  std::filesystem::create_directories(folder, error);
  if (error) return false;
  return std::filesystem::is_directory(folder, error);
}

// Writes the bytes to a new file, through to the disk.
bool writeWholeFile(const std::wstring& path, const std::string& bytes) {
  if (bytes.size() > MAXDWORD) return false;
  // Not shared: a second instance saving at the same moment fails instead of mixing its bytes in.
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size() && FlushFileBuffers(file);
  const bool closed = CloseHandle(file);
  return wrote && closed;
}

// Puts the new file in the old one's place. A virus scanner, a backup tool or the search indexer holds a file
// for a moment after it changes; such a lock passes, so the replace is tried for about a second before it fails.
bool replaceFile(const std::wstring& from, const std::wstring& to) {
  const ULONGLONG giveUp = GetTickCount64() + 1000;
  while (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    const bool passing =
        error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
    if (!passing || GetTickCount64() >= giveUp) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace

std::wstring settingsFolderPath() {
  PWSTR root = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &root);
  std::wstring folder = SUCCEEDED(result) && root != nullptr ? root : L"";
  CoTaskMemFree(root);
  if (folder.empty()) return folder;
  if (folder.back() != L'\\') folder += L'\\';
  return folder + L"Tarvelix";
}

ZoomSettings readSettings(ZoomSettings presets) {
  const std::wstring folder = settingsFolderPath();
  std::string bytes;
  bool complete = false;
  if (folder.empty() || !readFileBytes(settingsFilePath(folder), bytes, complete)) return presets;
  // A line cut off by a failed or bounded read is left out rather than taken half.
  applySettingsText(complete ? std::string_view(bytes) : wholeLines(bytes), presets);
  return presets;
}

bool writeSettings(const ZoomSettings& settings) {
  const std::wstring folder = settingsFolderPath();
  if (folder.empty() || !ensureFolder(folder)) return false;
  const std::wstring path = settingsFilePath(folder);
  // Windows refuses to replace a read-only file, but not every system that runs us does.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // The new text goes in beside the old file and takes its place in one step, so that a
  // failure part way leaves the old settings whole.
  const std::wstring temporary = path + L".tmp";
  if (!writeWholeFile(temporary, settingsFileText(settings))) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  if (!replaceFile(temporary, path)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}
