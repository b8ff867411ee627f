#pragma once
#include <filesystem>
#include <string>

// GTK's renderer for this machine. Without a GPU render node GTK's GL renderer runs on software
// GL, which costs about 50 MB of memory and draws nothing the cairo renderer does not; there
// the cairo renderer is chosen and GDK's GL is switched off as well: GDK would otherwise load the
// software GL driver and make a context at start-up only to find it unused (about half the CPU
// time of a bare window's first frame). Web pages are then composited in software, as they
// effectively were on software GL. A renderer the user named in GSK_RENDERER is kept.
class RendererChoice {
 public:
  // The renderer to ask for, or nullptr to leave GTK's own choice. `chosen` is GSK_RENDERER
  // (may be null); `devices` is the folder of the GPU device nodes.
  static const char* rendererFor(const char* chosen, const std::filesystem::path& devices);
  // GDK_DEBUG with GL switched off, keeping the flags already in `flags` (may be null).
  static std::string withoutGl(const char* flags);
  // Sets GSK_RENDERER (and, with the cairo renderer, GDK_DEBUG and WebKit's compositing mode) for
  // this process and the programs it starts when a choice is made; call before GTK starts.
  static void apply(const std::filesystem::path& devices = "/dev/dri");
};
