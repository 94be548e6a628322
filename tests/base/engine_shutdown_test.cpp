#include "base/engine_shutdown.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string released;

void ReleaseFiles() { released += "files "; }
void ReleaseRenderer() { released += "renderer "; }
void ReleaseNetwork() { released += "network "; }
void ReleaseNetworkAgain() { released += "network-again "; }

class EngineShutdown : public ::testing::Test {
 protected:
  void SetUp() override { released.clear(); }
  void TearDown() override {
    for (int step = 0; step < static_cast<int>(ReleaseStep::kCount); ++step) {
      SetReleaseStep(static_cast<ReleaseStep>(step), nullptr);
    }
  }
};

TEST_F(EngineShutdown, RunsTheStepsInTheFixedOrderWhateverOrderTheSubsystemsWereMadeIn) {
  SetReleaseStep(ReleaseStep::kNetwork, &ReleaseNetwork);
  SetReleaseStep(ReleaseStep::kRenderer, &ReleaseRenderer);
  SetReleaseStep(ReleaseStep::kGameFiles, &ReleaseFiles);
  ShutdownEngine();
  EXPECT_EQ(released, "files renderer network ");
}

TEST_F(EngineShutdown, SkipsStepsNeverSetAndASecondSettingReplacesTheFirst) {
  SetReleaseStep(ReleaseStep::kNetwork, &ReleaseNetwork);
  SetReleaseStep(ReleaseStep::kNetwork, &ReleaseNetworkAgain);
  ShutdownEngine();
  EXPECT_EQ(released, "network-again ");
}

}  // namespace
