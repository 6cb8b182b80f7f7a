#include "sim/sim_link.h"

#include "sim/simconnect_api.h"
#include "state/app_state.h"

namespace {
constexpr DWORD cockpitDefinition = 0;
constexpr DWORD chaseDefinition = 1;
constexpr DWORD datumTypeInt32 = 1;
constexpr DWORD unusedDatumId = 0xFFFFFFFF;
constexpr DWORD userObjectId = 0;
}  // namespace

static HRESULT addZoomDefinition(const SimConnectApi& api, DWORD definition, const char* variable) {
  return api.addToDataDefinition(app.simHandle, definition, variable, "percentage", datumTypeInt32, 0.0f,
                                 unusedDatumId);
}

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
  if (FAILED(addZoomDefinition(*api, cockpitDefinition, "COCKPIT CAMERA ZOOM"))) {
    showStatus(notConnectedText);
    return;
  }
  const HRESULT chase = addZoomDefinition(*api, chaseDefinition, "CHASE CAMERA ZOOM");
  showStatus(SUCCEEDED(chase) ? connectedText : notConnectedText);
}

static bool writeZoom(const SimConnectApi& api, DWORD definition, int value) {
  INT32 datum = value;
  return SUCCEEDED(api.setDataOnSimObject(app.simHandle, definition, userObjectId, 0, 0, sizeof datum, &datum));
}

void sendZoomToSim(int value) {
  const SimConnectApi* api = simConnectApi();
  if (api == nullptr || app.simHandle == nullptr) return;
  if (app.cockpitCamera && !writeZoom(*api, cockpitDefinition, value)) {
    closeSimLink();
    return;
  }
  if (app.chaseCamera && !writeZoom(*api, chaseDefinition, value)) closeSimLink();
}

void closeSimLink() {
  if (app.simHandle != nullptr) {
    if (const SimConnectApi* api = simConnectApi()) api->close(app.simHandle);
    app.simHandle = nullptr;
  }
  showStatus(notConnectedText);
}
