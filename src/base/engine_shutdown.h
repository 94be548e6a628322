#pragma once
// The end of the subsystem objects. Each subsystem hands its release step down when it
// creates its object, so this floor releases them all without knowing any of them;
// ShutdownEngine runs the steps in a fixed order.

// The release steps in the order ShutdownEngine runs them.
enum class ReleaseStep {
  kGameFiles,  // channels closed, changed line file and settings file written back
  kMusic,      // the music stops before the window and the sound device go
  kScene,      // the 3D scene: its GL names need the context, it borrows the renderer
  kRenderer,   // back to windowed mode, window and GL context destroyed
  kInput,      // mouse freed, joysticks closed
  kSound,      // sound bank slots from the last to the first, then the device
  kNetwork,    // thread stopped, a leave notice for each local player, sockets closed
  kArchives,   // the archive slots
  kCount
};

// Sets the release of one step (again: replaces it). A step never set is skipped. Each
// release does nothing when its object is absent and clears its pointer afterwards.
void SetReleaseStep(ReleaseStep step, void (*release)());

// Engine: releases every subsystem object in the fixed order; a second call does nothing.
void ShutdownEngine();
