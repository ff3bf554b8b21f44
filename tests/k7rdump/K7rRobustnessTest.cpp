// Random and damaged inputs: the dump must end, stay in bounds (run under the
// sanitizers) and print no more lines than the input can account for.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "k7rdump/K7rDumpFixtures.h"

namespace {

using k7rtest::Dump;
using k7rtest::HeaderFields;
using k7rtest::Lines;
using k7rtest::MakeFile;
using k7rtest::RecordFields;

// The header prints about a hundred lines whatever the input; after that, every line
// needs at least a few bytes of input (twelve per geometry item, sixteen per smallest
// record), plus one repeated record at the end.
void ExpectBoundedDump(const std::vector<unsigned char>& bytes) {
  const std::string dump = Dump(bytes);
  ASSERT_FALSE(dump.empty());
  EXPECT_EQ(dump.back(), '\n');
  EXPECT_LE(Lines(dump).size(), 300 + bytes.size()) << "input of " << bytes.size() << " bytes";
}

std::vector<std::vector<unsigned char>> SeedFiles() {
  std::vector<std::vector<unsigned char>> files;
  for (const std::uint16_t version : {3, 8, 12, 16, 17}) {
    for (const std::uint16_t mode : {2, 3, 4}) {
      HeaderFields h;
      h.version = version;
      h.mode = mode;
      h.protocolType = mode == 4 ? 2 : 1;
      h.dimensions = {{"Line", {{1, 2, 3}, {4, 5, 6}}}};
      RecordFields a;
      a.valueOptions = 1;
      RecordFields b;
      b.scaled = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
      files.push_back(MakeFile(h, {a, b, a}));
    }
  }
  return files;
}

TEST(K7rRobustness, EveryPrefixOfValidFiles) {
  for (const auto& file : SeedFiles()) {
    for (std::size_t cut = 0; cut <= file.size(); cut += 3) {
      ExpectBoundedDump(std::vector<unsigned char>(file.begin(), file.begin() + cut));
    }
  }
}

TEST(K7rRobustness, MutatedValidFiles) {
  std::mt19937 random(20240611u);
  const auto seeds = SeedFiles();
  for (int round = 0; round < 400; ++round) {
    std::vector<unsigned char> bytes = seeds[random() % seeds.size()];
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
    }
    if (random() % 2 == 0) bytes.resize(random() % (bytes.size() + 1));
    ExpectBoundedDump(bytes);
  }
}

TEST(K7rRobustness, RandomBytes) {
  std::mt19937 random(7u);
  for (int round = 0; round < 300; ++round) {
    std::vector<unsigned char> bytes(random() % 2000);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    // Half of them with a plausible version so that the geometry and records are reached.
    if (bytes.size() >= 2 && round % 2 == 0) {
      bytes[0] = static_cast<unsigned char>(random() % 20);
      bytes[1] = 0;
    }
    ExpectBoundedDump(bytes);
  }
}

}  // namespace
