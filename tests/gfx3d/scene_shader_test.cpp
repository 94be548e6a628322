// Shader programs on the driver's shader-object entry points.

#include <gtest/gtest.h>

#include <fstream>

#include "gfx3d/scene_commands.h"
#include "gfx3d/shader_programs.h"
#include "scene_fixture.h"
#include "support/process_runner.h"

namespace {

class ShaderPrograms : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    ASSERT_NE(renderer->extensions.glCreateProgramObjectARB, nullptr) << "the driver offers no shader objects";
    SetCamera(1, 100, 45);
    SetCameraPosition(0, 0, 10, 0, 0, 0);
  }
  BasicString Write(const std::string& name, const std::string& source) {
    const std::string path = scratch.Path() + "/" + name;
    std::ofstream(path) << source;
    return BasicString(path.c_str());
  }
  Pixel DrawnColour() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawSquare(0, 0, 0, 1);
    return PixelAt(320, 240);
  }
  ScratchDirectory scratch;
};

TEST_F(ShaderPrograms, AFragmentShaderPaintsItsColourAndTakesValues) {
  const BasicString fragment = Write("level.frag",
                                     "uniform float level;\n"
                                     "void main() { gl_FragColor = vec4(level, 0.0, 1.0, 1.0); }\n");
  ASSERT_EQ(LoadShader(3, "", fragment), 1) << ReadErrorLog();
  UseShader(3);
  SetShaderValue("level", 1);
  EXPECT_EQ(DrawnColour(), (Pixel{255, 0, 255, 255}));
  SetShaderValue("level", 0);
  SetShaderValue("no such value", 1);
  EXPECT_EQ(DrawnColour(), (Pixel{0, 0, 255, 255}));
  UseShader(255);  // the fixed function again: the current colour, white
  EXPECT_EQ(DrawnColour(), kWhite);
}

TEST_F(ShaderPrograms, FailuresReturnZeroAndSayWhyInTheErrorLog) {
  const BasicString broken = Write("broken.frag", "void main() { gl_FragColor = vec4(1.0, 0.0 }\n");
  EXPECT_EQ(LoadShader(0, "", broken), 0);
  EXPECT_NE(ReadErrorLog().find("error"), std::string::npos) << ReadErrorLog();
  EXPECT_EQ(LoadShader(1, "missing.vert", ""), 0);
  EXPECT_EQ(CountOf(ReadErrorLog(), "missing.vert"), 1);
  EXPECT_EQ(LoadShader(255, "", broken), 0);
  EXPECT_EQ(scene->shaders[1].program, 0u);
}

TEST_F(ShaderPrograms, MissingSupportIsReportedOncePerRun) {
  renderer->extensions.glCreateProgramObjectARB = nullptr;
  EXPECT_EQ(LoadShader(0, "a.vert", "a.frag"), 0);
  EXPECT_EQ(LoadShader(0, "a.vert", "a.frag"), 0);
  EXPECT_EQ(CountOf(ReadErrorLog(), "No OpenGL 2.0 Shader Support"), 1);
}

}  // namespace
