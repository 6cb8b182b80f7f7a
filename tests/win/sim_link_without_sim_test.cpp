// With no SimConnect.dll to be found, opening fails the way a refused connection does.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "sim/sim_link.h"
#include "win/win_test_support.h"

TEST(SimLinkWithoutLibrary, OpenFailsAndSendDoesNothing) {
  createTestWindows();
  for (int attempt = 0; attempt < 3; ++attempt) {
    openSimLink();
    EXPECT_EQ(app.simHandle, nullptr);
    EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
  }
  sendZoomToSim(50);
  closeSimLink();
  EXPECT_EQ(app.simHandle, nullptr);
  EXPECT_EQ(GetModuleHandleW(L"SimConnect.dll"), nullptr);
}
