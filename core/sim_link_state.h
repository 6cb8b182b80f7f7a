// What the simulator's messages mean for the link: its answer to the open, its exit, a broken pipe, and the
// variables it refuses. A call's result says only that the library took the request; the simulator's own word
// comes later, in the dispatch queue.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The two cameras; each is written through the data definition of its own number.
constexpr int cockpitZoom = 0;
constexpr int chaseZoom = 1;
constexpr int zoomCameraCount = 2;
// Writes whose refusal may still be on its way: a few ticks of both cameras.
constexpr int recentWriteCount = 32;

// The status texts of the link.
inline constexpr const wchar_t* connectedText = L"Connected to Flight Simulator";
inline constexpr const wchar_t* notConnectedText = L"No connection to Flight Simulator";
inline constexpr const wchar_t* waitingText = L"Waiting for Flight Simulator to answer";

enum SimLinkPhase : int { simLinkClosed, simLinkWaiting, simLinkAnswered };

// A request whose send id an exception may name; camera -1 while none was noted.
struct SentRequest {
  std::uint32_t sendId = 0;
  int camera = -1;
};

struct SimLinkState {
  SimLinkPhase phase = simLinkClosed;
  // The library would not take a definition: the link stands, but says it is no connection.
  bool definitionFailed = false;
  std::array<SentRequest, zoomCameraCount> definitions = {};
  std::array<SentRequest, recentWriteCount> recentWrites = {};
  int nextWrite = 0;
  // Refused at its definition: never written on this link. Refused writes: named, and written still.
  std::array<bool, zoomCameraCount> definitionRefused = {};
  std::array<bool, zoomCameraCount> writesRefused = {};
};

enum SimMessageKind : int { simOtherMessage, simOpenAnswer, simQuit, simException, simBrokenPipe };

struct SimMessage {
  SimMessageKind kind = simOtherMessage;
  std::uint32_t exception = 0;
  std::uint32_t sendId = 0;
};

// The meaning of one received message: the bytes that the dispatch gave, a SIMCONNECT_RECV and what follows.
// Anything short or unknown means nothing to the link.
SimMessage simMessageFrom(const void* data, std::size_t size);

// A link just opened: waiting for the simulator's answer.
SimLinkState openedSimLink();

// The link after a message. A quit or a broken pipe closes it; once closed, nothing changes it.
SimLinkState simLinkAfter(const SimLinkState& link, const SimMessage& message);

// The status bar's text for the link.
const wchar_t* simLinkStatus(const SimLinkState& link);

// The send ids of a camera's definition and of its writes, so that a refusal can be told whose it is.
void noteDefinitionSent(SimLinkState& link, int camera, std::uint32_t sendId);
void noteWriteSent(SimLinkState& link, int camera, std::uint32_t sendId);

// Whether a camera's zoom is written now: not before the simulator answers, never once its definition is refused.
bool zoomWritable(const SimLinkState& link, int camera);
