#pragma once

// A fresh, private folder for one test, removed afterwards. Each test case runs as its
// own process under CTest, several at a time, so a fixed folder name would let cases
// trample on each other's files: mkdtemp gives every instance its own.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace karvelo::test {

class UniqueTempDir {
 public:
  explicit UniqueTempDir(const std::string& prefix = "karvelo") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~UniqueTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  UniqueTempDir(const UniqueTempDir&) = delete;
  UniqueTempDir& operator=(const UniqueTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder with a trailing separator, as the program keeps folders.
  std::string Folder() const { return path_.string() + "/"; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace karvelo::test
