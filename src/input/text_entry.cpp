#include "input/text_entry.h"

#include "core/number_text.h"
#include "core/number_truncation.h"
#include "gfx2d/font_commands.h"
#include "gfx2d/text_drawing.h"
#include "gfx2d/texture_store.h"
#include "host/engine_state.h"
#include "host/frame_present.h"
#include "host/message_pump.h"
#include "host/program_end.h"
#include "host/renderer.h"
#include "input/typed_characters.h"

BasicString ReadTypedKey() {
  const int character = ReadTypedChar();
  if (character == 0) return BasicString();
  const char byte = static_cast<char>(character);
  return BasicString(std::string_view(&byte, 1));
}

void WaitForKey() {
  if (Subsystems().input == nullptr) return;
  while (AnyKeyTyped() == 0) {
    OpenGLDiveduva* renderer = Subsystems().renderer;
    if (renderer != nullptr) PumpMessages(*renderer);
    // The window gone (closed, or never made) ends the program as its close request does.
    if (renderer == nullptr || renderer->window == nullptr) EndProgram();
    IdleWait();
  }
}

TextEntrySession::TextEntrySession(OpenGLDiveduva& renderer, BasicString& text, double x, double y)
    : renderer_(renderer), editor_(text), left_(TruncateToInt32(x)), top_(TruncateToInt32(y)) {
  CaptureScreenToSet(renderer_, kSavedScreenSet);
  DrawBackgroundSet(renderer_, kSavedScreenSet);
  DrawText(Subsystems().currentFont, text.TextPointer(), x, y, 0);
}

TextEntrySession::~TextEntrySession() { ClearBackgroundSet(renderer_, kSavedScreenSet); }

bool TextEntrySession::Frame() {
  if (!editor_.Apply(ReadTypedChar())) return false;
  DrawBackgroundSet(renderer_, kSavedScreenSet);
  PrintText(editor_.Shown(), left_, top_);
  return true;
}

void InputText(BasicString& text, double x, double y) {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  // Without a screen or a keyboard nothing could be shown or typed.
  if (renderer == nullptr || renderer->context == nullptr || Subsystems().input == nullptr) return;
  TextEntrySession session(*renderer, text, x, y);
  do {
    PresentFrame();
  } while (session.Frame());
}

void InputNumber(double& number, double x, double y) {
  BasicString text;
  InputText(text, x, y);
  number = TextToNumber(text);
}
