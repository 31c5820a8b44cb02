#pragma once
// Points SANE at its own "test" back end only, in a private configuration folder, with a
// chosen number of pretend devices; never a real device. SANE reads SANE_CONFIG_DIR once per
// process, so the folder is made on the first call and kept; each call rewrites the count,
// which the next SANE start reads.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

inline void UseSaneTestBackend(int Devices) {
  static const std::filesystem::path Folder = [] {
    std::filesystem::path Made =
        std::filesystem::temp_directory_path() / ("tv-sane-" + std::to_string(getpid()));
    std::filesystem::create_directories(Made);
    std::ofstream(Made / "dll.conf") << "test\n";
    setenv("SANE_CONFIG_DIR", Made.c_str(), 1);
    return Made;
  }();
  std::ofstream(Folder / "test.conf") << "number_of_devices " << Devices << "\n";
}
