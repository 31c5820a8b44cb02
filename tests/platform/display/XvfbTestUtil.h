#pragma once
// What the on-screen tests share: whether they run, shell commands (xdotool) and the library
// pinning of sanitizer builds.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

inline bool EnvIs(const char* Name, const char* Value) {
  const char* V = std::getenv(Name);
  return V && std::string(V) == Value;
}

// Asked for by the Xvfb runner, or a display is there and the headless back end is not forced.
inline bool OnScreenTestsWanted() {
  if (EnvIs("TILVAROK_XVFB_TEST", "1")) return true;
  const char* Display = std::getenv("DISPLAY");
  return Display && *Display && !EnvIs("TILVAROK_DISPLAY", "headless");
}

// Runs a shell command and returns what it printed, without the trailing line breaks.
inline std::string Shell(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buf[256];
    while (size_t N = fread(Buf, 1, sizeof Buf, P)) Out.append(Buf, N);
    pclose(P);
  }
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == ' ')) Out.pop_back();
  return Out;
}

// SDL and the GL driver unload the X and GL libraries they opened when SDL quits; pinning
// every loaded library keeps them mapped, so that the leak checker of sanitizer builds can
// name the library a leak report comes from (run-under-xvfb.sh suppresses by library name).
inline void PinLoadedLibraries() {
  std::ifstream Maps("/proc/self/maps");
  std::string Line;
  while (std::getline(Maps, Line)) {
    const size_t Slash = Line.find('/');
    if (Slash != std::string::npos && Line.find(".so", Slash) != std::string::npos)
      dlopen(Line.c_str() + Slash, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
  }
}
