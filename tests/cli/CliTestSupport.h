#pragma once

// Runs the real karvelo-plot executable as a child process.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace karvelo::test {

struct RunResult {
  int status = -1;
  std::string out;  // standard output
};

inline std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// `args` are passed through the shell already quoted by the caller where needed.
// Standard error goes to `errFile` when given, else to /dev/null.
inline RunResult RunPlot(const std::string& args, const std::string& errFile = "") {
  const std::string cmd = ShellQuote(KARVELO_PLOT_EXE) + " " + args + " 2>" +
                          (errFile.empty() ? std::string("/dev/null") : ShellQuote(errFile));
  RunResult r;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf{};
  std::size_t n = 0;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int raw = ::pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

}  // namespace karvelo::test
