// What the simulator's messages mean for the link, in any order, from the bytes the dispatch hands out.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/sim_link_state.h"

namespace {
// The bytes of a message: dwSize, dwVersion, dwID and what follows, as DWORDs.
SimMessage decoded(std::vector<std::uint32_t> words, std::size_t size = 0) {
  return simMessageFrom(words.data(), size != 0 ? size : words.size() * 4);
}

const SimMessage answer = decoded({308, 4, 2}), quit = decoded({12, 4, 3}), brokenPipe = {simBrokenPipe};
SimMessage refusal(std::uint32_t exception, std::uint32_t sendId) { return decoded({24, 4, 1, exception, sendId, 0}); }

// A link that defined the cockpit with send id 5 and the chase with 6, and wrote each camera in turn from id 7 on;
// then the messages. Its text, and which cameras it writes.
std::wstring after(const std::vector<SimMessage>& messages, int writes = 2) {
  SimLinkState link = openedSimLink();
  noteDefinitionSent(link, cockpitZoom, 5);
  noteDefinitionSent(link, chaseZoom, 6);
  for (int i = 0; i < writes; ++i) noteWriteSent(link, i % 2, 7 + static_cast<std::uint32_t>(i));
  for (const SimMessage& message : messages) link = simLinkAfter(link, message);
  return std::wstring(simLinkStatus(link)) + (zoomWritable(link, cockpitZoom) ? L" cockpit" : L"") +
         (zoomWritable(link, chaseZoom) ? L" chase" : L"");
}
}  // namespace

TEST(SimLink, MessagesInAnyOrderGiveTheStatusAndTheCamerasWritten) {
  const std::wstring waiting = L"Waiting for Flight Simulator to answer", none = L"No connection to Flight Simulator";
  const std::wstring cockpit = L"Flight Simulator refused COCKPIT CAMERA ZOOM";
  const std::tuple<std::vector<SimMessage>, int, std::wstring> cases[] = {
      {{}, 2, waiting},
      {{answer}, 2, L"Connected to Flight Simulator cockpit chase"},
      {{answer, answer, decoded({16, 4, 9, 1})}, 2, L"Connected to Flight Simulator cockpit chase"},
      {{quit}, 2, none},
      {{answer, brokenPipe}, 2, none},
      {{answer, quit, answer, refusal(7, 5)}, 2, none},  // nothing opens a closed link again
      // A refused definition is never written; refused writes are named and written still; the other camera goes on.
      {{answer, refusal(7, 5)}, 2, cockpit + L" chase"},
      {{refusal(7, 5), answer}, 2, cockpit + L" chase"},
      {{refusal(7, 5)}, 2, waiting},
      {{answer, refusal(20, 8)}, 2, L"Flight Simulator refused CHASE CAMERA ZOOM cockpit chase"},
      {{answer, refusal(3, 7), refusal(20, 6)},
       2,
       L"Flight Simulator refused COCKPIT CAMERA ZOOM and CHASE CAMERA ZOOM cockpit"},
      // Only the last writes are kept: the oldest, fallen out, is unknown, like an id never sent or an exception too
      // short to carry one.
      {{answer, refusal(20, 7)}, recentWriteCount + 1, L"Connected to Flight Simulator cockpit chase"},
      {{answer, refusal(20, 7 + recentWriteCount)}, recentWriteCount + 1, cockpit + L" cockpit chase"},
      {{answer, refusal(20, 4), decoded({24, 4, 1, 20, 5}, 20)}, 2, L"Connected to Flight Simulator cockpit chase"}};
  for (const auto& [messages, writes, expected] : cases)
    EXPECT_EQ(after(messages, writes), expected) << messages.size();
  // Short or torn bytes mean nothing; no bytes at all neither.
  for (const SimMessage& message : {decoded({12, 4}), decoded({308, 4, 2}, 11), simMessageFrom(nullptr, 308)})
    EXPECT_EQ(message.kind, simOtherMessage);
  SimLinkState failed = openedSimLink();
  failed.definitionFailed = true;
  EXPECT_EQ(std::wstring(simLinkStatus(simLinkAfter(failed, answer))), none) << "a definition the library refused";
}
