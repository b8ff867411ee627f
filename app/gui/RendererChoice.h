#pragma once
#include <filesystem>

// GTK's renderer for this machine. Without a GPU render node GTK's GL renderer runs on software
// GL, which costs about 50 MB of memory and draws nothing the cairo renderer does not; there
// the cairo renderer is chosen. A renderer the user named in GSK_RENDERER is kept.
class RendererChoice {
 public:
  // The renderer to ask for, or nullptr to leave GTK's own choice. `chosen` is GSK_RENDERER
  // (may be null); `devices` is the folder of the GPU device nodes.
  static const char* rendererFor(const char* chosen, const std::filesystem::path& devices);
  // Sets GSK_RENDERER for this process when a choice is made; call before GTK starts.
  static void apply();
};
