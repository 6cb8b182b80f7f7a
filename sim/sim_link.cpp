#include "sim/sim_link.h"

#include "sim/simconnect_api.h"
#include "state/app_state.h"

namespace {
constexpr const char* zoomVariables[zoomCameraCount] = {"COCKPIT CAMERA ZOOM", "CHASE CAMERA ZOOM"};
constexpr DWORD datumTypeInt32 = 1;
constexpr DWORD unusedDatumId = 0xFFFFFFFF;
constexpr DWORD userObjectId = 0;
// A flood of messages must not hold the tick: the rest waits for the next one.
constexpr int messagesPerTick = 16;

// Notes the send id of the request just made, when the library tells it.
template <typename Note>
void noteSendId(const SimConnectApi& api, int camera, Note note) {
  DWORD sendId = 0;
  if (SUCCEEDED(api.getLastSentPacketId(app.simHandle, &sendId))) note(app.simLink, camera, sendId);
}

HRESULT addZoomDefinition(const SimConnectApi& api, int camera) {
  const HRESULT result = api.addToDataDefinition(app.simHandle, static_cast<DWORD>(camera), zoomVariables[camera],
                                                 "percentage", datumTypeInt32, 0.0f, unusedDatumId);
  if (SUCCEEDED(result)) noteSendId(api, camera, noteDefinitionSent);
  return result;
}

bool writeZoom(const SimConnectApi& api, int camera, int value) {
  INT32 datum = value;
  if (FAILED(
          api.setDataOnSimObject(app.simHandle, static_cast<DWORD>(camera), userObjectId, 0, 0, sizeof datum, &datum)))
    return false;
  noteSendId(api, camera, noteWriteSent);
  return true;
}
}  // namespace

void openSimLink() {
  const SimConnectFound found = lookForSimConnect();
  if (found != simConnectUsable) {
    app.simHandle = nullptr;
    showStatus(found == simConnectMissing ? libraryMissingText : libraryUnusableText);
    return;
  }
  const SimConnectApi* api = simConnectApi();
  const HRESULT result = api->open(&app.simHandle, "Tarvelix Helper", nullptr, 0, nullptr, 0);
  if (FAILED(result) || app.simHandle == nullptr) {
    app.simHandle = nullptr;
    showStatus(notConnectedText);
    return;
  }
  app.simLink = openedSimLink();
  // A definition the library will not take leaves the link standing but of no use, and the chase one unasked.
  app.simLink.definitionFailed =
      FAILED(addZoomDefinition(*api, cockpitZoom)) || FAILED(addZoomDefinition(*api, chaseZoom));
  showStatus(simLinkStatus(app.simLink));
}

bool listenToSim() {
  const SimConnectApi* api = simConnectApi();
  if (api == nullptr || app.simHandle == nullptr) return false;
  const SimLinkPhase phase = app.simLink.phase;
  const wchar_t* const status = simLinkStatus(app.simLink);
  for (int i = 0; i < messagesPerTick && app.simLink.phase != simLinkClosed; ++i) {
    void* data = nullptr;
    DWORD size = 0;
    const HRESULT result = api->getNextDispatch(app.simHandle, &data, &size);
    if (result == E_FAIL) break;  // nothing waits
    const SimMessage message = FAILED(result) ? SimMessage{simBrokenPipe} : simMessageFrom(data, size);
    app.simLink = simLinkAfter(app.simLink, message);
  }
  if (app.simLink.phase == simLinkClosed) {
    closeSimLink();
    return false;
  }
  if (simLinkStatus(app.simLink) != status) showStatus(simLinkStatus(app.simLink));
  return phase == simLinkWaiting && app.simLink.phase == simLinkAnswered;
}

void sendZoomToSim(int value) {
  const SimConnectApi* api = simConnectApi();
  if (api == nullptr || app.simHandle == nullptr) return;
  const bool ticked[zoomCameraCount] = {app.cockpitCamera, app.chaseCamera};
  for (int camera = 0; camera < zoomCameraCount; ++camera) {
    if (!ticked[camera] || !zoomWritable(app.simLink, camera)) continue;
    if (!writeZoom(*api, camera, value)) {
      closeSimLink();
      return;
    }
  }
}

void closeSimLink() {
  if (app.simHandle != nullptr) {
    if (const SimConnectApi* api = simConnectApi()) api->close(app.simHandle);
    app.simHandle = nullptr;
  }
  app.simLink = {};
  showStatus(notConnectedText);
}
