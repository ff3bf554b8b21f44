#include "base/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace karvelo {

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

std::string FolderOf(const std::string& path) {
  const auto p = path.find_last_of('/');
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
  const auto p = path.find_last_of('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string BaseNameOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  return name.substr(0, name.find('.'));
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const auto p = name.find_last_of('.');
  return p == std::string::npos ? std::string() : name.substr(p);
}

std::optional<std::string> FindFileNoCase(const std::string& path) {
  std::error_code ec;
  if (path.empty()) return std::nullopt;
  if (fs::is_regular_file(path, ec)) return path;
  const std::string folder = FolderOf(path);
  const std::string wanted = UpperCase(FileNameOf(path));
  const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
  fs::directory_iterator it(dir, ec);
  if (ec) return std::nullopt;
  // Sort the candidates so the choice between two spellings is the same on every run.
  std::vector<std::string> matches;
  for (const auto& entry : it) {
    const std::string name = entry.path().filename().string();
    if (UpperCase(name) == wanted && entry.is_regular_file(ec)) matches.push_back(name);
  }
  if (matches.empty()) return std::nullopt;
  std::sort(matches.begin(), matches.end());
  return folder + matches.front();
}

std::string ResolveFileNoCase(const std::string& path) {
  return FindFileNoCase(path).value_or(path);
}

bool FileExistsNoCase(const std::string& path) {
  return FindFileNoCase(path).has_value();
}

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string* error) {
  const std::string target = ResolveFileNoCase(path);
  std::random_device rd;
  const std::string temp = target + ".tmp" + std::to_string(rd() % 1000000u);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Fail(error, "cannot create " + temp);
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const bool r = Fail(error, "cannot write " + temp);
      ::close(fd);
      ::unlink(temp.c_str());
      return r;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const bool r = Fail(error, "cannot flush " + temp);
    ::close(fd);
    ::unlink(temp.c_str());
    return r;
  }
  if (::close(fd) != 0) {
    const bool r = Fail(error, "cannot close " + temp);
    ::unlink(temp.c_str());
    return r;
  }
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    const bool r = Fail(error, "cannot rename " + temp + " to " + target);
    ::unlink(temp.c_str());
    return r;
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // A folder opens as a stream on Linux and reports a nonsense size: not a file.
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data;
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size > 0) {
    data.resize(static_cast<std::size_t>(size));
    in.seekg(0, std::ios::beg);
    in.read(data.data(), size);
    data.resize(static_cast<std::size_t>(in.gcount()));
  }
  return data;
}

bool TextLines::Open(const std::string& path) {
  auto data = ReadWholeFile(path);
  if (!data) return false;
  text_ = std::move(*data);
  Trim();
  Rewind();
  return true;
}

void TextLines::Trim() {
  const auto z = text_.find('\x1A');
  if (z != std::string::npos) text_.resize(z);
}

bool TextLines::ReadLine(std::string& line) {
  if (pos_ >= text_.size()) {
    line.clear();
    return false;
  }
  // A plain scan: find_first_of would call memchr once per character of the text.
  std::size_t end = pos_;
  const std::size_t size = text_.size();
  const char* data = text_.data();
  while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
  if (end == size) {
    line.assign(text_, pos_, std::string::npos);
    pos_ = text_.size();
  } else {
    line.assign(text_, pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  }
  ++lineNumber_;
  return true;
}

}  // namespace karvelo
