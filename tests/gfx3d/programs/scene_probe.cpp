// A game that draws a few frames of a lit, fogged 3D scene of lines and points over a 2D
// background, goes back to 2D text on top, prints "scene done" and returns.

#include <cstdio>

#include "gfx2d/font_commands.h"
#include "gfx2d/solid_drawing.h"
#include "gfx3d/scene_commands.h"
#include "host/frame_present.h"
#include "host/game_interface.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Scene probe";
  return settings;
}

int GameMain() {
  for (int frame = 0; frame < 10; ++frame) {
    DrawRect(0, 0, 639, 479, 0x402010);
    SetCamera(1, 200, 60);
    SetCameraPosition(20, 15, 30, 0, 0, 0);
    SetLight(0, 0xFFFFFF, 0, 0, 0, -1, -1, -1, 180);
    SetLight(1, 0x80FF80, 10, 10, 10, 0, 0, 0, 120);
    SetFog(0x808080, 0, 10, 150);
    PushObjectTransform();
    SetObjectTranslation(frame, 0, 0);
    AddObjectRotation(frame * 10, 0, 1, 0);
    PopObjectTransform();
    DrawAxes(0, 0, 0);
    for (int i = 0; i < 20; ++i) {
      DrawLine3D(-20 + 2 * i, 0, -20, -20 + 2 * i, 0, 20, 2, 0x00FFFF);
      DrawPoint3D(-20 + 2 * i, 5, 0, 6, 0xFF00FF);
    }
    ClearDepthBuffer();
    EndScene3D();
    PrintText("3D scene", 10, 10);
    PresentFrame();
  }
  std::printf("scene done\n");
  std::fflush(stdout);
  return 0;
}
