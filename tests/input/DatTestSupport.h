#pragma once

// Points the plot state at a data file the way the load sequence does, and runs the
// two scans of a DAT file.

#include <string>

#include "base/Files.h"
#include "base/PlotState.h"
#include "input/DatReader.h"

namespace karvelo::testing_dat {

inline std::string Fixture(const std::string& name) {
  return std::string(KARVELO_FIXTURES_DIR) + "/dat/" + name;
}

// Folder, base name (up to the first ".") and extension into optrec.
inline void PointStateAt(const std::string& path) {
  optrec.DataDisk = "";
  optrec.DataDir = FolderOf(path);
  const std::string name = FileNameOf(path);
  const auto dot = name.find('.');
  optrec.FileName = name.substr(0, dot);
  optrec.DataExt = dot == std::string::npos ? std::string() : name.substr(dot);
}

// Header scan then data scan, as a diagram loads a ".DAT" file.
inline bool LoadDat(const std::string& path, TDatData* data = nullptr) {
  PointStateAt(path);
  IsDatFile = ScanDatHeader();
  return ScanDatFile(data);
}

}  // namespace karvelo::testing_dat
