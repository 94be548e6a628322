#include "gfx3d/scene_fog.h"

#include "gfx3d/scene_camera.h"
#include "gfx3d/scene_lights.h"

void SetFog(Diveduva3D& scene, std::int32_t colour, bool exponential, float startOrDensity, float end) {
  if (!SceneHasContext(scene)) return;
  if (colour == -1) {
    glDisable(GL_FOG);
    return;
  }
  glEnable(GL_FOG);
  if (exponential) {
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, startOrDensity);
  } else {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    const bool cameraRange = startOrDensity == 0 && end == 0;
    glFogf(GL_FOG_START, cameraRange ? scene.cameraNear : startOrDensity);
    glFogf(GL_FOG_END, cameraRange ? scene.cameraFar : end);
  }
  const Vector3 rgb = UnpackColour(colour);
  const GLfloat fogColour[4] = {rgb[0], rgb[1], rgb[2], 0};
  glFogfv(GL_FOG_COLOR, fogColour);
}
