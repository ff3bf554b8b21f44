#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace karvelo {

// A string of at most N 8-bit characters: longer text is cut to N when stored.
// The settings files and titles rely on these fixed widths (a title keeps 80
// characters, a marker label 20), so the cut happens on every assignment.
template <std::size_t N>
class ShortString {
 public:
  static constexpr std::size_t kCapacity = N;

  ShortString() = default;
  ShortString(std::string_view s) : text_(s.substr(0, N)) {}  // NOLINT(implicit)
  ShortString(const char* s) : ShortString(std::string_view(s)) {}
  ShortString(const std::string& s) : ShortString(std::string_view(s)) {}

  ShortString& operator=(std::string_view s) {
    text_.assign(s.substr(0, N));
    return *this;
  }
  ShortString& operator=(const std::string& s) { return *this = std::string_view(s); }
  ShortString& operator=(const char* s) { return *this = std::string_view(s); }

  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }  // NOLINT(implicit)
  const char* c_str() const { return text_.c_str(); }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }
  void clear() { text_.clear(); }

  friend bool operator==(const ShortString& a, std::string_view b) { return a.text_ == b; }
  friend bool operator==(const ShortString& a, const char* b) { return a.text_ == b; }
  friend bool operator==(const ShortString& a, const std::string& b) { return a.text_ == b; }
  friend bool operator==(const ShortString& a, const ShortString& b) { return a.text_ == b.text_; }

 private:
  std::string text_;
};

}  // namespace karvelo
