// With no SimConnect.dll to be found, the link fails the way a refused connection does.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "sim/sim_link.h"
#include "win/win_test_support.h"

TEST(SimLinkWithoutLibrary, OpenFailsAndSendDoesNothing) {
  ASSERT_TRUE(createProgramWindow(""));
  for (int attempt = 0; attempt < 2; ++attempt) {
    openSimLink();
    EXPECT_EQ(app.simHandle, nullptr);
    EXPECT_EQ(windowText(app.statusBar), L"No connection to Flight Simulator");
  }
  sendZoomToSim(50);
  closeSimLink();
  EXPECT_EQ(GetModuleHandleW(L"SimConnect.dll"), nullptr);
}
