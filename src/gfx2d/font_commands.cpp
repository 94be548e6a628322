#include "gfx2d/font_commands.h"

#include "base/engine_state.h"
#include "core/number_text.h"
#include "gfx2d/font_store.h"
#include "gfx2d/text_drawing.h"
#include "video/renderer.h"

void LoadFont(const BasicString& fileName, double font) {
  const int number = ClampFontNumber(font);
  Subsystems().currentFont = number;
  OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr || renderer->context == nullptr) return;
  LoadFontSlot(*renderer, number, fileName.TextPointer());
}

void SetFont(double font) { Subsystems().currentFont = ClampFontNumber(font); }

void GetFontSize(double& width, double& height) {
  const OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer == nullptr) {
    width = height = 0;
    return;
  }
  const FontGrid grid = FontGridOfSlot(*renderer, Subsystems().currentFont);
  width = grid.cellWidth;
  height = grid.cellHeight;
}

void PrintText(const BasicString& text, double x, double y) {
  DrawText(Subsystems().currentFont, text.TextPointer(), x, y, 0);
}

void PrintNumber(double number, double x, double y) { PrintText(NumberToText(number), x, y); }
