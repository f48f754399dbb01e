// The game's data for benchmarks that run it in their own process: read
// relative to the working directory, and linked in from the source tree so
// that a benchmark can run from any folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <system_error>

inline void linkGameData() {
  namespace fs = std::filesystem;
  const char *source_dir = std::getenv("QM_SOURCE_DIR");
  const fs::path root = source_dir ? source_dir : ".";
  for (const char *name : {"Sprites", "Sounds", "qm-font.ttf"}) {
    std::error_code ignored;
    if (!fs::exists(name) && fs::exists(root / name)) {
      fs::create_symlink(root / name, name, ignored);
    }
  }
}
