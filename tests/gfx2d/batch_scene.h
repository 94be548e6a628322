#pragma once
// One frame that mixes every kind of batched 2D drawing with the things that must see it
// drawn first: sprites of three textures, turned, zoomed and mirrored sprites, text in two
// fonts, the alpha modes, rectangles, lines, pixels, polygons, a background, a 3D object
// between 2D commands, a read-back mid-frame and a grab into a sprite that is drawn again.

#include <cmath>
#include <string>
#include <vector>

#include "core/basic_string.h"
#include "gfx2d/background_commands.h"
#include "gfx2d/font_commands.h"
#include "gfx2d/polygon_drawing.h"
#include "gfx2d/solid_drawing.h"
#include "gfx2d/sprite_drawing.h"
#include "gfx2d/texture_commands.h"
#include "gfx3d/draw_commands.h"
#include "gfx3d/object_commands.h"
#include "gfx3d/scene_commands.h"
#include "picture_files.h"

// Writes the pictures the scene loads into folder.
inline void WriteBatchScenePictures(const std::string& folder) {
  WriteBmp(folder + "/a.bmp", 32, 32, [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x * 8), 40, static_cast<std::uint8_t>(y * 8)};
  });
  WriteBmp(folder + "/b.bmp", 20, 12, [](int x, int y) { return (x + y) % 3 ? Rgb{255, 0, 128} : Rgb{10, 250, 60}; });
  WriteBmp(folder + "/c.bmp", 48, 40, [](int x, int y) {
    return Rgb{200, static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(255 - y * 6)};
  });
  WriteBmp(folder + "/font.bmp", 128, 128, [](int x, int y) {
    return (x * 7 + y * 3) % 5 < 2 ? Rgb{255, 255, 0} : Rgb{0, 0, 0};
  });
  WriteBmp(folder + "/back.bmp", 700, 300, [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x / 3), static_cast<std::uint8_t>(y / 2), 90};
  });
}

// Draws the frame (the pictures written first); the values GetPixel read are appended
// to readBack.
inline void DrawBatchScene(const std::string& folder, std::vector<double>& readBack) {
  auto path = [&](const char* name) { return BasicString((folder + "/" + name).c_str()); };
  LoadSprite(path("a.bmp"), 1);
  LoadSprite(path("b.bmp"), 2);
  LoadSprite(path("c.bmp"), 3);
  LoadFont(BasicString(""), 0);
  LoadFont(path("font.bmp"), 1);
  SetAlphaMode(0);
  LoadBackground(path("back.bmp"));
  for (int i = 0; i < 60; ++i) DrawSprite(1 + i % 3, (i * 37) % 600 + 0.3, (i * 53) % 440 - 5);
  for (int i = 0; i < 24; ++i) {
    DrawSpriteRotated(1 + i % 2, 20 + i * 25, 300 + (i % 4) * 7.5, i * 17.3 - 90);
    DrawSpriteRotoZoom(3, 30 + i * 23.7, 120 + i % 5, i * 15.0, 0.5 + i * 0.11);
    DrawSpriteZoomed(2, 100 + i * 19, 400 - i, 1 + (i % 3) * 0.7, 0.6 + (i % 4) * 0.5);
  }
  DrawSpriteStretched(3, 300, 200, -40, 30);
  DrawSpriteStretched(1, 340, 200, 50, -45);
  DrawSpriteStretched(2, 420, 240, -30, -20);
  SetFont(0);
  PrintText(BasicString("Batched text, font 0 !@#"), 5.5, 10);
  SetFont(1);
  PrintText(BasicString("Second font"), 100, 40);
  SetAlphaMode(-0.5);
  for (int i = 0; i < 10; ++i) DrawSprite(1 + i % 3, 200 + i * 9, 220 + i * 4);
  DrawRect(10, 10, 90, 60, 0x00FF00);
  SetAlphaMode(0.7);
  for (int i = 0; i < 10; ++i) DrawSpriteRotated(3, 400 + i * 11, 60 + i * 6, i * 30);
  PrintText(BasicString("Added"), 420, 100);
  SetAlphaMode(0);
  for (int i = 0; i < 30; ++i) {
    DrawRect(500 + i, 300 + i * 3, 520 + i * 2, 302 + i * 3, 0x102030 * (i + 1));
    DrawLine(10 + i * 7, 470, 40 + i * 5, 380 + i, 0xFF00FF - i * 0x0800);
    SetPixel(600 + i, 20 + i % 7, 0xFFFFFF - i * 0x050505);
  }
  DrawRect(5, 440, 30, 470, 0x8000FF);  // the sprite key: drawn transparent
  StartPolygon(3);
  AddPolygonVertex(250, 420, 0, 0, 0xFFFFFF);
  AddPolygonVertex(330, 400, 48, 0, 0x00FFFF);
  AddPolygonVertex(350, 470, 48, 40, 0xFF00FF);
  AddPolygonVertex(260, 475, 0, 40, 0xFFFF00);
  EndPolygon();
  StartPolygon(-1);
  AddPolygonVertex(380, 400, 0, 0, 0x0000FF);
  AddPolygonVertex(430, 410, 0, 0, 0x00FF00);
  AddPolygonVertex(400, 460, 0, 0, 0xFF0000);
  EndPolygon();
  readBack.push_back(GetPixel(15, 15));
  readBack.push_back(GetPixel(320, 240));

  // A 3D triangle between 2D commands, then 2D again on top of it.
  DrawSprite(2, 320, 250);
  StartObject(7);
  AddObjectVertex(-1, -1, 0, 0, 0, 0x4080FF);
  AddObjectVertex(1, -1, 0, 1, 0, 0x40FF80);
  AddObjectVertex(0, 1, 0, 0.5, 1, 0xFF4080);
  EndObject();
  SetCamera(1, 100, 60);
  SetCameraPosition(0, 0, 6, 0, 0, 0);
  DrawObjectFrame(7, 0);
  EndScene3D();
  DrawSprite(1, 300, 240);
  PrintText(BasicString("after 3D"), 280, 230);
  GrabSprite(4, 280, 220, 64, 40);
  DrawSprite(4, 560, 420);
  DrawSpriteRotoZoom(4, 500, 380, 33, 1.3);
}
