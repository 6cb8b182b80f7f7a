// What the simulator's messages mean for the link, in any order, from the bytes the dispatch hands out.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/sim_link_state.h"

namespace {
// The bytes of a message: dwSize, dwVersion, dwID and what follows, as DWORDs.
SimMessage decoded(std::vector<std::uint32_t> words, std::size_t size = 0) {
  return simMessageFrom(words.data(), size != 0 ? size : words.size() * 4);
}

const SimMessage answer = decoded({308, 4, 2}), quit = decoded({12, 4, 3}), brokenPipe = {simBrokenPipe};
SimMessage refusal(std::uint32_t exception, std::uint32_t sendId) { return decoded({24, 4, 1, exception, sendId, 0}); }

// A link that defined the cockpit with send id 5 and the chase with 6, and wrote each camera in turn with ids 7 to
// 39, more than it keeps; then the messages. Its text, and which cameras it writes.
std::wstring after(const std::vector<SimMessage>& messages) {
  SimLinkState link = openedSimLink();
  noteDefinitionSent(link, cockpitZoom, 5);
  noteDefinitionSent(link, chaseZoom, 6);
  for (int i = 0; i <= recentWriteCount; ++i) noteWriteSent(link, i % 2, 7 + static_cast<std::uint32_t>(i));
  for (const SimMessage& message : messages) link = simLinkAfter(link, message);
  return std::wstring(simLinkStatus(link)) + (zoomWritable(link, cockpitZoom) ? L" cockpit" : L"") +
         (zoomWritable(link, chaseZoom) ? L" chase" : L"");
}
}  // namespace

TEST(SimLink, MessagesInAnyOrderGiveTheStatusAndTheCamerasWritten) {
  const std::wstring waiting = L"Waiting for Flight Simulator to answer", none = L"No connection to Flight Simulator";
  const std::wstring cockpit = L"Flight Simulator refused COCKPIT CAMERA ZOOM";
  const std::pair<std::vector<SimMessage>, std::wstring> cases[] = {
      {{}, waiting},
      {{answer, answer, decoded({16, 4, 9, 1})}, L"Connected to Flight Simulator cockpit chase"},
      {{quit}, none},
      {{answer, brokenPipe}, none},
      {{answer, quit, answer, refusal(7, 5)}, none},  // nothing opens a closed link again
      // A refused definition is never written; refused writes are named and written still; the other camera goes on.
      {{answer, refusal(7, 5)}, cockpit + L" chase"},
      {{refusal(7, 5), answer}, cockpit + L" chase"},
      {{answer, refusal(3, 39), refusal(20, 6)}, cockpit + L" and CHASE CAMERA ZOOM cockpit"},
      // Only the last writes are kept: the oldest kept is known, the one before it fallen out unknown, like an id never
      // sent or an exception too short to carry one.
      {{answer, refusal(20, 8)}, L"Flight Simulator refused CHASE CAMERA ZOOM cockpit chase"},
      {{answer, refusal(20, 7), refusal(20, 4), decoded({24, 4, 1, 20, 5}, 20)},
       L"Connected to Flight Simulator cockpit chase"}};
  for (const auto& [messages, expected] : cases) EXPECT_EQ(after(messages), expected) << messages.size();
  // Short or torn bytes mean nothing; no bytes at all neither.
  for (const SimMessage& message : {decoded({12, 4}), decoded({308, 4, 2}, 11), simMessageFrom(nullptr, 308)})
    EXPECT_EQ(message.kind, simOtherMessage);
}
