// Stand-in for the simulator's SimConnect.dll. It checks every call against what Tarvelix must pass and appends
// one line per call to the file named by TARVELIX_SIM_LOG: "Open", "Define0", "Define1", "Write0=50",
// "Write1=50", "Close", each with "!" when the call failed; a dispatch logs the message it hands out ("Answer",
// "Quit", "Exception7") or "Dispatch!" when it fails, and nothing when the queue is empty (E_FAIL).
// It answers as the simulator does, on request: the file named by TARVELIX_SIM_CONTROL, read at every call and
// free to change while the program runs, holds lines
//   "fail-open", "fail-define N", "fail-writes": the library refuses the call;
//   "answer-after MS", "answer-never": the simulator answers an open that late, or never (at once otherwise);
//   "quit": the simulator exits: a connection gets QUIT, then every call on it fails with 0xC00000B0;
//   "crash": the pipe breaks: dispatches fail with 0xC000014B, writes still succeed;
//   "refuse-name N": definition N's variable is unknown (exception 7), and so is every write to it (3);
//   "refuse-data N": every write to definition N is refused (20).
// While the simulator is gone (quit or crash), no open succeeds. Send ids run on across connections.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {
constexpr HRESULT pipeDisconnected = static_cast<HRESULT>(0xC00000B0), pipeBroken = static_cast<HRESULT>(0xC000014B);
constexpr DWORD exceptionId = 1, openId = 2, quitId = 3;

struct Connection {
  DWORD openedAt = 0, lastSendId = 0;
  bool answered = false, quit = false;
  std::deque<std::vector<DWORD>> messages;
  std::vector<DWORD> handedOut;  // valid until the next dispatch, as the library's own
};
std::map<UINT_PTR, Connection> connections;
UINT_PTR nextHandle = 1;
DWORD nextSendId = 41;

std::string environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length < MAX_PATH ? value : "";
}

// The control file's lines, each between line breaks. Read again only when it changed: a dispatch comes every tick,
// and opening a file costs Wine a server call, which would count against the program.
std::string requests() {
  static std::string lines;
  static std::tuple<DWORD, DWORD, DWORD> seen;
  const std::string path = environment("TARVELIX_SIM_CONTROL");
  WIN32_FILE_ATTRIBUTE_DATA file = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file)) return "\n";
  const auto stamp =
      std::tuple(file.ftLastWriteTime.dwLowDateTime, file.ftLastWriteTime.dwHighDateTime, file.nFileSizeLow);
  if (stamp == seen && !lines.empty()) return lines;
  std::ifstream control(path);
  lines.assign(1, '\n');
  lines.append(std::istreambuf_iterator<char>(control), {});
  seen = stamp;
  return lines += '\n';
}

bool has(const std::string& lines, const std::string& line) { return lines.find("\n" + line + "\n") != lines.npos; }

Connection* connection(HANDLE handle) {
  const auto found = connections.find(reinterpret_cast<UINT_PTR>(handle));
  return found == connections.end() ? nullptr : &found->second;
}

// Logs the call or message and answers it.
HRESULT answer(const std::string& call, HRESULT result) {
  if (std::FILE* log = std::fopen(environment("TARVELIX_SIM_LOG").c_str(), "a")) {
    std::fprintf(log, "%s%s\n", call.c_str(), FAILED(result) ? "!" : "");
    std::fclose(log);
  }
  return result;
}

// The result of a call on a connection: a refusal when asked, the dead pipe after a quit.
HRESULT outcome(const Connection* c, bool good) {
  return c != nullptr && c->quit ? pipeDisconnected : good ? S_OK : E_FAIL;
}

// A request taken: its send id, and the exception the simulator will send for it, if any.
void sent(Connection& c, DWORD exception) {
  c.lastSendId = nextSendId++;
  if (exception != 0) c.messages.push_back({24, 4, exceptionId, exception, c.lastSendId, 0});
}

bool answerDue(const std::string& lines, const Connection& c) {
  const std::size_t after = lines.find("\nanswer-after ");
  if (after != lines.npos) return GetTickCount() - c.openedAt >= std::strtoul(lines.c_str() + after + 14, nullptr, 10);
  return !has(lines, "answer-never");
}
}  // namespace

extern "C" {

__declspec(dllexport) HRESULT __stdcall SimConnect_Open(HANDLE* handle, LPCSTR name, HWND window, DWORD userEvent,
                                                        HANDLE event, DWORD configIndex) {
  const auto lines = requests();
  const bool good = handle != nullptr && std::strcmp(name, "Tarvelix Helper") == 0 && window == nullptr &&
                    userEvent == 0 && event == nullptr && configIndex == 0 && !has(lines, "fail-open") &&
                    !has(lines, "quit") && !has(lines, "crash");
  if (good) *handle = reinterpret_cast<HANDLE>(nextHandle), connections[nextHandle++].openedAt = GetTickCount();
  return answer("Open", good ? S_OK : E_FAIL);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_AddToDataDefinition(HANDLE handle, DWORD defineId, LPCSTR datum, LPCSTR units, DWORD type,
                                             float epsilon, DWORD datumId) {
  const char* const variables[] = {"COCKPIT CAMERA ZOOM", "CHASE CAMERA ZOOM"};
  const auto lines = requests();
  const std::string id = std::to_string(defineId);
  Connection* c = connection(handle);
  const HRESULT result = outcome(c, c != nullptr && defineId < 2 && std::strcmp(datum, variables[defineId % 2]) == 0 &&
                                        std::strcmp(units, "percentage") == 0 && type == 1 && epsilon == 0 &&
                                        datumId == 0xFFFFFFFF && !has(lines, "fail-define " + id));
  if (result == S_OK) sent(*c, has(lines, "refuse-name " + id) ? 7 : 0);
  return answer("Define" + id, result);
}

__declspec(dllexport) HRESULT
    __stdcall SimConnect_SetDataOnSimObject(HANDLE handle, DWORD defineId, DWORD objectId, DWORD flags, DWORD count,
                                            DWORD size, void* data) {
  const auto lines = requests();
  const std::string id = std::to_string(defineId);
  Connection* c = connection(handle);
  const HRESULT result = outcome(c, c != nullptr && objectId == 0 && flags == 0 && count == 0 &&
                                        size == sizeof(INT32) && data != nullptr && !has(lines, "fail-writes"));
  if (result == S_OK) sent(*c, has(lines, "refuse-name " + id) ? 3 : has(lines, "refuse-data " + id) ? 20 : 0);
  const long value = data != nullptr ? *static_cast<const INT32*>(data) : 0;
  return answer("Write" + id + "=" + std::to_string(value), result);
}

__declspec(dllexport) HRESULT __stdcall SimConnect_GetLastSentPacketID(HANDLE handle, DWORD* sendId) {
  Connection* c = connection(handle);
  const HRESULT result = outcome(c, c != nullptr && sendId != nullptr && c->lastSendId != 0);
  if (result == S_OK) *sendId = c->lastSendId;
  return result == S_OK ? result : answer("SendId", result);
}

__declspec(dllexport) HRESULT __stdcall SimConnect_GetNextDispatch(HANDLE handle, void** data, DWORD* size) {
  Connection* c = connection(handle);
  const auto lines = requests();
  if (c == nullptr || data == nullptr || size == nullptr) return answer("Dispatch", E_INVALIDARG);
  if (c->quit || has(lines, "crash")) return answer("Dispatch", c->quit ? pipeDisconnected : pipeBroken);
  std::string what;
  if (!c->answered && answerDue(lines, *c)) {
    c->answered = true;
    c->handedOut.assign(77, 0);  // the answer carries the simulator's name and ten version fields
    c->handedOut[0] = 308, c->handedOut[1] = 4, c->handedOut[2] = openId, what = "Answer";
  } else if (c->answered && !c->messages.empty()) {
    c->handedOut = c->messages.front();
    c->messages.pop_front();
    what = "Exception" + std::to_string(c->handedOut[3]);
  } else if (has(lines, "quit")) {
    c->quit = true;
    c->handedOut = {12, 4, quitId}, what = "Quit";
  } else {
    return E_FAIL;  // nothing waits
  }
  *data = c->handedOut.data();
  *size = c->handedOut[0];
  return answer(what, S_OK);
}

__declspec(dllexport) HRESULT __stdcall SimConnect_Close(HANDLE handle) {
  return answer("Close", connections.erase(reinterpret_cast<UINT_PTR>(handle)) != 0 ? S_OK : E_FAIL);
}
}
