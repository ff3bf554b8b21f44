#include "k7rdump/K7rDumpTool.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <system_error>

#include "k7rdump/K7rDump.h"
#include "k7rdump/K7rText.h"

namespace k7rdump {
namespace {

namespace fs = std::filesystem;

// A file written under a temporary name beside its target and renamed over the target
// once it is complete. Destroying it without Commit removes the temporary file.
class AtomicOutput {
 public:
  explicit AtomicOutput(const std::string& target) : target_(target) {}
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;
  ~AtomicOutput() { Discard(); }

  bool Open() {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
      fs::path candidate = target_;
      candidate += ".";
      candidate += FormatInt(random() % 1000000);
      candidate += ".k7rdump-tmp";
      std::error_code ec;
      if (fs::exists(candidate, ec) || ec) continue;
      stream_.open(candidate, std::ios::out | std::ios::trunc);
      if (!stream_.is_open()) return false;
      temporary_ = candidate;
      return true;
    }
    return false;
  }

  std::ostream& Stream() { return stream_; }

  bool Commit() {
    stream_.flush();
    const bool written = stream_.good();
    stream_.close();
    if (!written || stream_.fail()) return false;
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    if (ec) return false;
    temporary_.clear();
    return true;
  }

 private:
  void Discard() {
    if (stream_.is_open()) stream_.close();
    if (temporary_.empty()) return;
    std::error_code ec;
    fs::remove(temporary_, ec);
    temporary_.clear();
  }

  fs::path target_;
  fs::path temporary_;
  std::ofstream stream_;
};

}  // namespace

int RunK7rDump(std::span<const std::string> args, std::ostream& console) {
  if (args.empty()) {
    console << "No input file\n";
    return 1;
  }
  const std::string& input = args[0];
  if (args.size() < 2) {
    WriteFileDump(input, console);
    console.flush();
    return 0;
  }
  AtomicOutput output(args[1]);
  if (!output.Open()) {
    console << "No output file\n";
    return 1;
  }
  WriteFileDump(input, output.Stream());
  if (!output.Commit()) {
    console << "No output file\n";
    return 1;
  }
  return 0;
}

}  // namespace k7rdump
