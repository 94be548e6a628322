#include "input/typed_characters.h"

#include "host/engine_state.h"
#include "input/input_manager.h"

int ReadTypedChar(InputManager& input) {
  CollectInputEvents(input);
  return input.typedKeys.Take();
}

int ReadTypedChar() {
  InputManager* input = Subsystems().input;
  return input != nullptr ? ReadTypedChar(*input) : 0;
}

int AnyKeyTyped() { return ReadTypedChar() != 0 ? 1 : 0; }

KeyOrClickWatch StartKeyOrClickWatch() {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return KeyOrClickWatch{};
  CollectInputEvents(*input);
  input->typedKeys.Clear();
  return KeyOrClickWatch{input->mouse.ButtonPresses()};
}

bool KeyOrClickSince(const KeyOrClickWatch& watch) {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return false;
  if (ReadTypedChar(*input) != 0) return true;
  return input->mouse.ButtonPresses() != watch.buttonPresses;
}
