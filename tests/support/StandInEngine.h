// An engine on the stand-in propagation program (VX_FAKE_VOACAP of the test
// target) and a data folder, its installation checked.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "engine/VoaEng.h"

namespace vxtest {

inline std::unique_ptr<vx::TVoaEngine> StandInEngine(std::unique_ptr<vx::IProcessRunner> runner,
                                                     const std::string& dataFolder) {
  auto engine = std::make_unique<vx::TVoaEngine>(std::move(runner), vx::TVoacapSetup{VX_FAKE_VOACAP, dataFolder});
  engine->CheckInstallation();
  EXPECT_EQ(engine->Status(), vx::vsReady) << engine->StatusMessageBox().Detail;
  return engine;
}

}  // namespace vxtest
