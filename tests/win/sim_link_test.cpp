// The simulator link against the SimConnect stand-in and a real status bar.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "sim/sim_link.h"
#include "win/win_test_support.h"

namespace {
const std::string cockpitDefinitionLine =
    "SimConnect_AddToDataDefinition handle=%H define=0 datum=\"COCKPIT CAMERA ZOOM\" units=\"percentage\" type=1 "
    "epsilon=0 datumId=4294967295 -> 0";

class SimLink : public ::testing::Test {
 protected:
  void SetUp() override {
    if (app.mainWindow == nullptr) createTestWindows();
    log = scratchPath("sim.log");
    setEnv("TARVELIX_SIM_LOG", log);
    setEnv("TARVELIX_SIM_FAIL_OPEN", "");
    setEnv("TARVELIX_SIM_FAIL_DEFINE", "");
    setEnv("TARVELIX_SIM_FAIL_WRITES_AFTER", "");
    app.cockpitCamera = true;
    app.chaseCamera = true;
  }
  void TearDown() override { closeSimLink(); }

  // The log's lines with the current handle's number written as %H.
  std::vector<std::string> calls() {
    std::vector<std::string> lines = readLines(log);
    const std::string handle = "handle=" + std::to_string(reinterpret_cast<UINT_PTR>(app.simHandle)) + " ";
    for (std::string& line : lines) {
      if (app.simHandle == nullptr) break;
      const auto at = line.find(handle);
      if (at != std::string::npos) line.replace(at, handle.size(), "handle=%H ");
    }
    return lines;
  }
  std::string log;
};
}  // namespace

TEST_F(SimLink, OpenAddsBothDefinitionsAndSaysConnected) {
  openSimLink();
  ASSERT_NE(app.simHandle, nullptr);
  const std::vector<std::string> lines = calls();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, lines[0].find(" handle=")), "SimConnect_Open");
  EXPECT_NE(lines[0].find("name=\"Tarvelix Helper\" window=0000000000000000 userEvent=0 event=0000000000000000 "
                          "config=0 -> 0"),
            std::string::npos)
      << lines[0];
  EXPECT_EQ(lines[1], cockpitDefinitionLine);
  EXPECT_EQ(lines[2],
            "SimConnect_AddToDataDefinition handle=%H define=1 datum=\"CHASE CAMERA ZOOM\" units=\"percentage\" "
            "type=1 epsilon=0 datumId=4294967295 -> 0");
  EXPECT_EQ(statusText(), L"Connected to Flight Simulator");
}

TEST_F(SimLink, FailedOpenLeavesNoHandle) {
  setEnv("TARVELIX_SIM_FAIL_OPEN", "1");
  openSimLink();
  EXPECT_EQ(app.simHandle, nullptr);
  EXPECT_EQ(readLines(log).size(), 1u);
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}

TEST_F(SimLink, FailedCockpitDefinitionKeepsHandleAndSkipsChase) {
  setEnv("TARVELIX_SIM_FAIL_DEFINE", "0");
  openSimLink();
  EXPECT_NE(app.simHandle, nullptr);
  const std::vector<std::string> lines = calls();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[1].find("define=0"), std::string::npos);
  EXPECT_NE(lines[1].find("-> -2147467259"), std::string::npos);
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}

TEST_F(SimLink, FailedChaseDefinitionKeepsHandleAndSaysNotConnected) {
  setEnv("TARVELIX_SIM_FAIL_DEFINE", "1");
  openSimLink();
  EXPECT_NE(app.simHandle, nullptr);
  EXPECT_EQ(calls().size(), 3u);
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}

TEST_F(SimLink, CameraFlagsChooseTheWrites) {
  struct Case {
    bool cockpit;
    bool chase;
    std::vector<std::string> writes;
  };
  const std::string write = "SimConnect_SetDataOnSimObject handle=%H define=";
  const std::string rest = " object=0 flags=0 count=0 size=4 value=37 -> 0";
  const Case cases[] = {
      {true, true, {write + "0" + rest, write + "1" + rest}},
      {true, false, {write + "0" + rest}},
      {false, true, {write + "1" + rest}},
      {false, false, {}},
  };
  openSimLink();
  for (const Case& c : cases) {
    app.cockpitCamera = c.cockpit;
    app.chaseCamera = c.chase;
    writeFile(log, "");
    sendZoomToSim(37);
    EXPECT_EQ(calls(), c.writes) << "cockpit " << c.cockpit << " chase " << c.chase;
    EXPECT_NE(app.simHandle, nullptr);
  }
}

TEST_F(SimLink, FailedCockpitWriteClosesBeforeChaseWrite) {
  openSimLink();
  const std::string handle = std::to_string(reinterpret_cast<UINT_PTR>(app.simHandle));
  setEnv("TARVELIX_SIM_FAIL_WRITES_AFTER", "0");
  writeFile(log, "");
  sendZoomToSim(5);
  const std::vector<std::string> lines = readLines(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("define=0"), std::string::npos);
  EXPECT_NE(lines[0].find("-> -2147467259"), std::string::npos);
  EXPECT_EQ(lines[1], "SimConnect_Close handle=" + handle + " -> 0");
  EXPECT_EQ(app.simHandle, nullptr);
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}

TEST_F(SimLink, FailedChaseWriteClosesTheLink) {
  openSimLink();
  app.cockpitCamera = false;
  setEnv("TARVELIX_SIM_FAIL_WRITES_AFTER", "0");
  sendZoomToSim(5);
  EXPECT_EQ(app.simHandle, nullptr);
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}

TEST_F(SimLink, CloseWithoutConnectionOnlyWritesTheText) {
  SendMessageW(app.statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  closeSimLink();
  EXPECT_TRUE(readLines(log).empty());
  EXPECT_EQ(statusText(), L"No connection to Flight Simulator");
}
