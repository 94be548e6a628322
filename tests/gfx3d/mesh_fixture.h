#pragma once
// The 3D scene on an offscreen renderer, installed as the engine's scene, with the model
// files of write_models.py (an independent writer) in a folder shared by the tests.

#include <string>

#include "gfx3d/engine3d.h"
#include "host/renderer_fixture.h"
#include "support/process_runner.h"

class MeshFixture : public RendererFixture {
 protected:
  static void SetUpTestSuite() {
    models = new ScratchDirectory;
    const ProcessResult result =
        RunProcess("/usr/bin/python3", {std::string(TEST_SOURCE_DIR) + "/gfx3d/write_models.py", models->Path()});
    ASSERT_EQ(result.exitCode, 0) << result.output;
  }
  static void TearDownTestSuite() {
    delete models;
    models = nullptr;
  }

  void SetUp() override {
    RendererFixture::SetUp();
    scene = new Diveduva3D(*renderer, false);
    Subsystems().scene = scene;
    DeleteErrorLog();
  }
  void TearDown() override {
    delete scene;
    Subsystems().scene = nullptr;
    RendererFixture::TearDown();
  }

  static std::string ModelPath(const std::string& name) { return models->Path() + "/" + name; }

  inline static ScratchDirectory* models = nullptr;
  Diveduva3D* scene = nullptr;
};
