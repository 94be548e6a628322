#pragma once
// Detection of a software OpenGL renderer and the warning the player gets about it.

#include <string>

class OpenGLDiveduva;

inline constexpr const char* kSoftwareWarningCaption = "!!OpenGL Software Emulation!!";
inline constexpr const char* kSoftwareWarningText =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE unterst\xC3\xBCtzt!";
inline constexpr const char* kSoftwareLogLine = "OpenGL Software Emulation";
inline constexpr const char* kHardwareLogLine = "OpenGL Hardware Support";

// True for the names GL_RENDERER gives for rasterisers that run on the processor
// (llvmpipe, softpipe, swrast, the generic Windows renderers and the like).
bool IsSoftwareRenderer(const std::string& rendererName);

// False for video drivers that have no screen to show a message box on (offscreen,
// dummy): there a box could only fail or, worse, wait for a click nobody can give.
bool CanShowMessageBox(const char* videoDriver);

// Until the warning has been shown once in this process: reads the renderer name (once),
// and for a software renderer shows the warning box and logs kSoftwareLogLine; for
// hardware logs kHardwareLogLine. Needs a current context.
void CheckSoftwareRendering(OpenGLDiveduva& renderer);
