#include "core/sim_link_state.h"

#include <cstring>

namespace {
// SIMCONNECT_RECV's dwID values, and the size of the header (dwSize, dwVersion, dwID) and of an exception.
constexpr std::uint32_t exceptionId = 1, openId = 2, quitId = 3;
constexpr std::size_t headerSize = 12, exceptionSize = 24;

std::uint32_t dwordAt(const void* data, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, static_cast<const unsigned char*>(data) + offset, sizeof value);
  return value;
}

void refuse(SimLinkState& link, std::uint32_t sendId) {
  for (int camera = 0; camera < zoomCameraCount; ++camera) {
    const SentRequest& definition = link.definitions[static_cast<std::size_t>(camera)];
    if (definition.camera == camera && definition.sendId == sendId) link.definitionRefused[camera] = true;
  }
  for (const SentRequest& write : link.recentWrites) {
    if (write.camera >= 0 && write.sendId == sendId) link.writesRefused[static_cast<std::size_t>(write.camera)] = true;
  }
}
}  // namespace

SimMessage simMessageFrom(const void* data, std::size_t size) {
  if (data == nullptr || size < headerSize) return {};
  switch (dwordAt(data, 8)) {
    case openId:
      return {simOpenAnswer};
    case quitId:
      return {simQuit};
    case exceptionId:
      if (size < exceptionSize) return {};
      return {simException, dwordAt(data, 12), dwordAt(data, 16)};
    default:
      return {};
  }
}

SimLinkState openedSimLink() {
  SimLinkState link;
  link.phase = simLinkWaiting;
  return link;
}

SimLinkState simLinkAfter(const SimLinkState& link, const SimMessage& message) {
  if (link.phase == simLinkClosed) return link;
  SimLinkState next = link;
  switch (message.kind) {
    case simOpenAnswer:
      next.phase = simLinkAnswered;
      break;
    case simQuit:
    case simBrokenPipe:
      return SimLinkState{};
    case simException:
      refuse(next, message.sendId);
      break;
    case simOtherMessage:
      break;
  }
  return next;
}

const wchar_t* simLinkStatus(const SimLinkState& link) {
  if (link.phase == simLinkClosed || link.definitionFailed) return notConnectedText;
  if (link.phase == simLinkWaiting) return waitingText;
  const bool cockpit = link.definitionRefused[cockpitZoom] || link.writesRefused[cockpitZoom];
  const bool chase = link.definitionRefused[chaseZoom] || link.writesRefused[chaseZoom];
  if (cockpit && chase) return L"Flight Simulator refused COCKPIT CAMERA ZOOM and CHASE CAMERA ZOOM";
  if (cockpit) return L"Flight Simulator refused COCKPIT CAMERA ZOOM";
  if (chase) return L"Flight Simulator refused CHASE CAMERA ZOOM";
  return connectedText;
}

void noteDefinitionSent(SimLinkState& link, int camera, std::uint32_t sendId) {
  if (camera < 0 || camera >= zoomCameraCount) return;
  link.definitions[static_cast<std::size_t>(camera)] = {sendId, camera};
}

void noteWriteSent(SimLinkState& link, int camera, std::uint32_t sendId) {
  if (camera < 0 || camera >= zoomCameraCount) return;
  link.recentWrites[static_cast<std::size_t>(link.nextWrite)] = {sendId, camera};
  link.nextWrite = (link.nextWrite + 1) % recentWriteCount;
}

bool zoomWritable(const SimLinkState& link, int camera) {
  return camera >= 0 && camera < zoomCameraCount && link.phase == simLinkAnswered &&
         !link.definitionRefused[static_cast<std::size_t>(camera)];
}
