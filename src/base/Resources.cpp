#include "base/Resources.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace karvelo {

namespace {
std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}
}  // namespace

std::string ProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return WithSeparator(fs::current_path(ec).string());
  return WithSeparator(exe.parent_path().string());
}

std::string ResourceFolder() {
  if (const char* env = std::getenv("KARVELO_RESOURCES"); env && *env) return WithSeparator(env);
  std::error_code ec;
  const fs::path installed = fs::path(ProgramFolder()) / ".." / "share" / "karvelo";
  if (fs::is_directory(installed / "palette", ec)) {
    return WithSeparator(installed.lexically_normal().string());
  }
  return WithSeparator(KARVELO_SOURCE_RESOURCES);
}

}  // namespace karvelo
