// The object transform stack as GL's model-view matrix sees it.

#include <gtest/gtest.h>

#include <limits>

#include "core/runtime_array.h"
#include "gfx3d/object_transforms.h"
#include "gfx3d/scene_commands.h"
#include "scene_fixture.h"

namespace {

class ObjectTransforms : public SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    SetCamera(1, 100, 45);
  }
  // The matrix of the whole stack, from the identity.
  Matrix4 Applied() {
    glPushMatrix();
    glLoadIdentity();
    ApplyObjectTransforms(*scene);
    const Matrix4 matrix = CurrentMatrix(GL_MODELVIEW_MATRIX);
    glPopMatrix();
    return matrix;
  }
  void ExpectMatrix(const Matrix4& expected) {
    const Matrix4 actual = Applied();
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5) << "element " << i;
  }
};

TEST_F(ObjectTransforms, TranslationThenRotationsLastAddedFirstThenScale) {
  SetObjectTranslation(1, 2, 3);
  SetObjectScale(2, 3, 4);
  AddObjectRotation(90, 0, 0, 1);
  AddObjectRotation(90, 1, 0, 0);
  // x -> scaled 2 -> about z to +y -> about x to +z; y -> 3 -> -x -> -x;
  // z -> 4 -> 4 -> about x to -y.
  ExpectMatrix({0, 0, 2, 0, -3, 0, 0, 0, 0, -4, 0, 0, 1, 2, 3, 1});
}

TEST_F(ObjectTransforms, MatricesComeFirstAndLevelsMultiply) {
  NumberArray matrix;
  const double shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
  FillArrayFromList(matrix, 16, shift);
  SetObjectScale(2, 2, 2);
  PushObjectTransform();
  AddObjectMatrix(matrix);
  SetObjectTranslation(0, 1, 0);  // drops the matrix again
  AddObjectMatrix(matrix);
  // Level 0 scales by 2; level 1 moves by the matrix's 10 in x before its own 1 in y.
  ExpectMatrix({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 20, 2, 0, 1});
}

TEST_F(ObjectTransforms, AMatrixMustHoldExactly16Numbers) {
  for (int count : {15, 17}) {
    NumberArray matrix;
    DimArray(matrix, count);
    AddObjectMatrix(matrix);
  }
  EXPECT_EQ(scene->transformStack[0].matrixCount, 0);
  NumberArray square;
  DimArray(square, 4, 4);
  AddObjectMatrix(square);
  EXPECT_EQ(scene->transformStack[0].matrixCount, 1);
}

TEST_F(ObjectTransforms, TheSeventeenthRotationIsIgnored) {
  for (int i = 0; i < 16; ++i) AddObjectRotation(0, 0, 0, 1);
  AddObjectRotation(90, 0, 0, 1);
  ExpectMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TEST_F(ObjectTransforms, TheSixteenthPushIsRefusedAndLevelZeroIsNotPopped) {
  GLint depth = 0;
  PopObjectTransform();
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  for (int i = 0; i < 15; ++i) PushObjectTransform();
  EXPECT_EQ(scene->transformLevel, 15);
  EXPECT_FALSE(PushObjectTransform(*scene));
  EXPECT_EQ(scene->transformLevel, 15);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 16);
}

TEST_F(ObjectTransforms, NumbersThatAreNotFiniteCountAsZero) {
  SetObjectTranslation(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1);
  AddObjectRotation(std::numeric_limits<double>::quiet_NaN(), 0, 0, 1);
  ExpectMatrix({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1});
}

}  // namespace
