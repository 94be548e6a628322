#include "files/archive.h"
#include "files/game_files.h"
#include "gfx3d/engine3d.h"
#include "host/engine_state.h"
#include "host/program_end.h"
#include "host/renderer.h"
#include "input/input_system.h"
#include "net/net_commands.h"
#include "sound/music_commands.h"
#include "sound/sound_system.h"

// Releases every subsystem object in the fixed order; each step is skipped when its
// object is absent and each pointer is cleared after its release, so a second call
// does nothing.
void ShutdownEngine() {
  EngineSubsystems& subsystems = Subsystems();
  // The game's files go first: open channels closed, the changed line file and settings
  // file written back, before any teardown below could fail and lose them.
  ReleaseGameFiles();
  // The music stops before the window and the sound device go.
  StopMusic();
  // The 3D scene goes just before the renderer: its shader programs and its objects'
  // textures and buffers are GL names that need the context, and it borrows the
  // renderer's 2D state.
  delete subsystems.scene;
  subsystems.scene = nullptr;
  // Then the renderer: back to windowed mode, window and GL context destroyed.
  delete subsystems.renderer;
  subsystems.renderer = nullptr;
  // The input manager: mouse freed, joysticks closed.
  ReleaseInput();
  // The sound bank, every slot released from the last to the first, then the device.
  ShutdownSound();
  // The network session: thread stopped, a leave notice for each local player, sockets
  // closed, session freed.
  ReleaseNetSession();
  // The archive slots go after the network session and before the main window.
  ReleaseArchiveSlots();
  Engine().mainWindow = nullptr;
}
