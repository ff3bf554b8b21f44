#include "output/ColourReduction.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstddef>

namespace karvelo {

namespace {

// The 20 static colours of a standard 256-entry system palette: the first ten and the
// last ten entries, which a palette-based display never gives away.
constexpr std::array<QRgb, 20> kStaticColours = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080,
    0xFFC0C0C0, 0xFFC0DCC0, 0xFFA6CAF0, 0xFFFFFBF0, 0xFFA0A0A4, 0xFF808080, 0xFFFF0000,
    0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

constexpr int kOctreeDepth = 6;  // bits per channel the octree tells apart
constexpr int kMaxOctreeColours = 256 - static_cast<int>(kStaticColours.size());

class Octree {
 public:
  explicit Octree(std::size_t expectedNodes) {
    nodes_.reserve(expectedNodes + 1);
    nodes_.emplace_back();
  }

  // Adds n pixels of the 6-bit colour cell of `c` whose channel sums are r, g, b.
  void Add(QRgb c, std::uint64_t n, std::uint64_t r, std::uint64_t g, std::uint64_t b) {
    int node = 0;
    for (int level = 0; level < kOctreeDepth; ++level) {
      nodes_[node].count += n;
      const int slot = ChildSlot(c, level);
      int child = nodes_[node].child[slot];
      if (child < 0) {
        child = static_cast<int>(nodes_.size());
        nodes_[node].child[slot] = child;
        if (nodes_[node].children++ == 0) levels_[level].push_back(node);
        nodes_.emplace_back();
        if (level + 1 == kOctreeDepth) ++leaves_;
      }
      node = child;
    }
    Node& leaf = nodes_[node];
    leaf.count += n;
    leaf.r += r;
    leaf.g += g;
    leaf.b += b;
  }

  // Folds the rarest deepest branches into their parents until few enough leaves remain.
  void Reduce(int maxLeaves) {
    for (int level = kOctreeDepth - 1; level >= 0 && leaves_ > maxLeaves; --level) {
      std::vector<int>& parents = levels_[level];
      std::stable_sort(parents.begin(), parents.end(),
                       [this](int a, int b) { return nodes_[a].count < nodes_[b].count; });
      for (const int parent : parents) {
        if (leaves_ <= maxLeaves) break;
        Fold(parent);
      }
    }
  }

  // Average colours of the leaves, appended to `palette`.
  void AppendPalette(std::vector<QRgb>& palette) const { Collect(0, palette); }

 private:
  struct Node {
    std::array<int, 8> child{-1, -1, -1, -1, -1, -1, -1, -1};
    int children = 0;
    std::uint64_t count = 0;
    std::uint64_t r = 0, g = 0, b = 0;
  };

  static int ChildSlot(QRgb c, int level) {
    const int shift = 7 - level;
    return (((qRed(c) >> shift) & 1) << 2) | (((qGreen(c) >> shift) & 1) << 1) |
           ((qBlue(c) >> shift) & 1);
  }

  void Fold(int parent) {
    Node& p = nodes_[parent];
    for (int& child : p.child) {
      if (child < 0) continue;
      p.r += nodes_[child].r;
      p.g += nodes_[child].g;
      p.b += nodes_[child].b;
      child = -1;
    }
    leaves_ -= p.children - 1;
    p.children = 0;
  }

  void Collect(int node, std::vector<QRgb>& palette) const {
    const Node& n = nodes_[node];
    if (n.children == 0) {
      if (n.count == 0) return;
      const auto avg = [&](std::uint64_t sum) {
        return static_cast<int>((sum + n.count / 2) / n.count);
      };
      palette.push_back(qRgb(avg(n.r), avg(n.g), avg(n.b)));
      return;
    }
    for (const int child : n.child) {
      if (child >= 0) Collect(child, palette);
    }
  }

  std::vector<Node> nodes_;
  std::array<std::vector<int>, kOctreeDepth> levels_;  // nodes with children, per level
  int leaves_ = 0;
};

int CellOf(int r, int g, int b) {
  return ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
}

std::vector<QRgb> OctreePalette(const QImage& image) {
  // A histogram of the 6-bit cells first: the tree then takes each cell once, not each
  // pixel, and a cell is exactly one leaf of the full tree.
  struct Cell {
    std::uint64_t count = 0, r = 0, g = 0, b = 0;
  };
  std::vector<Cell> cells(std::size_t{1} << 18);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = line[x];
      Cell& cell = cells[static_cast<std::size_t>(CellOf(qRed(c), qGreen(c), qBlue(c)))];
      ++cell.count;
      cell.r += static_cast<std::uint64_t>(qRed(c));
      cell.g += static_cast<std::uint64_t>(qGreen(c));
      cell.b += static_cast<std::uint64_t>(qBlue(c));
    }
  }
  const auto used = static_cast<std::size_t>(
      std::count_if(cells.begin(), cells.end(), [](const Cell& c) { return c.count != 0; }));
  Octree tree(used + used / 4);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    if (cell.count == 0) continue;
    const int key = static_cast<int>(i);
    const QRgb c = qRgb((key >> 12) << 2, ((key >> 6) & 63) << 2, (key & 63) << 2);
    tree.Add(c, cell.count, cell.r, cell.g, cell.b);
  }
  tree.Reduce(kMaxOctreeColours);
  std::vector<QRgb> palette(kStaticColours.begin(), kStaticColours.end());
  tree.AppendPalette(palette);
  return palette;
}

// Nearest palette entry of a colour, remembered per 6-bit colour cell. The search walks
// the palette sorted by red outwards from the wanted red and stops once red alone is
// farther than the best match.
class NearestColour {
 public:
  explicit NearestColour(const std::vector<QRgb>& palette) : cache_(std::size_t{1} << 18, -1) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
      const QRgb c = palette[i];
      byRed_.push_back({qRed(c), qGreen(c), qBlue(c), static_cast<int>(i)});
    }
    std::sort(byRed_.begin(), byRed_.end(),
              [](const Entry& a, const Entry& b) { return a.r < b.r; });
  }

  int operator()(int r, int g, int b) {
    std::int16_t& hit = cache_[static_cast<std::size_t>(CellOf(r, g, b))];
    if (hit < 0) hit = static_cast<std::int16_t>(Search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2));
    return hit;
  }

 private:
  struct Entry {
    int r, g, b, index;
  };

  int Search(int r, int g, int b) const {
    const auto n = static_cast<std::ptrdiff_t>(byRed_.size());
    const std::ptrdiff_t start =
        std::lower_bound(byRed_.begin(), byRed_.end(), r,
                         [](const Entry& e, int red) { return e.r < red; }) -
        byRed_.begin();
    int best = byRed_.empty() ? 0 : byRed_.front().index;
    int bestDistance = 1 << 30;
    const auto consider = [&](std::ptrdiff_t i) {
      const Entry& e = byRed_[static_cast<std::size_t>(i)];
      const int dr = e.r - r;
      if (dr * dr > bestDistance) return false;
      const int d = dr * dr + (e.g - g) * (e.g - g) + (e.b - b) * (e.b - b);
      // Equal distances go to the earlier palette entry, whatever the walk's order.
      if (d < bestDistance || (d == bestDistance && e.index < best)) {
        bestDistance = d;
        best = e.index;
      }
      return true;
    };
    bool up = true, down = true;
    for (std::ptrdiff_t k = 0; up || down; ++k) {
      if (up) up = start + k < n && consider(start + k);
      if (down) down = start - k - 1 >= 0 && consider(start - k - 1);
    }
    return best;
  }

  std::vector<Entry> byRed_;
  std::vector<std::int16_t> cache_;
};

// Stucki's kernel: the error of a pixel goes 8/42 and 4/42 to the next two on its row and
// 2 4 8 4 2 and 1 2 4 2 1 (/42) to the two rows below. Errors are kept times 42.
class StuckiDiffuser {
 public:
  explicit StuckiDiffuser(int width) {
    for (auto& row : rows_) row.assign(static_cast<std::size_t>(width + 4) * 3, 0);
  }

  // The wanted value of channel `ch` at x on the current row: source plus diffused error.
  int Wanted(int x, int ch, int source) const {
    const int acc = rows_[0][Slot(x, ch)];
    return std::clamp(source + (acc >= 0 ? acc + 21 : acc - 21) / 42, 0, 255);
  }

  void Spread(int x, int ch, int error) {
    static constexpr std::array<int, 5> kNext1 = {2, 4, 8, 4, 2};
    static constexpr std::array<int, 5> kNext2 = {1, 2, 4, 2, 1};
    rows_[0][Slot(x + 1, ch)] += 8 * error;
    rows_[0][Slot(x + 2, ch)] += 4 * error;
    for (int k = 0; k < 5; ++k) {
      rows_[1][Slot(x + k - 2, ch)] += kNext1[static_cast<std::size_t>(k)] * error;
      rows_[2][Slot(x + k - 2, ch)] += kNext2[static_cast<std::size_t>(k)] * error;
    }
  }

  void NextRow() {
    std::swap(rows_[0], rows_[1]);
    std::swap(rows_[1], rows_[2]);
    std::fill(rows_[2].begin(), rows_[2].end(), 0);
  }

 private:
  static std::size_t Slot(int x, int ch) { return static_cast<std::size_t>(x + 2) * 3 + ch; }

  std::array<std::vector<int>, 3> rows_;
};

}  // namespace

QImage OpaqueRgb32(const QImage& image) {
  if (image.format() == QImage::Format_RGB32 || image.isNull()) return image;
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter painter(&out);
  painter.drawImage(0, 0, image);
  painter.end();
  return out;
}

std::optional<IndexedImage> IndexExactly(const QImage& image, int maxColours) {
  maxColours = std::clamp(maxColours, 1, 256);
  IndexedImage out;
  out.width = image.width();
  out.height = image.height();
  out.indices.Resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  constexpr std::size_t kSlots = 1024;  // open addressing, at most a quarter full
  std::array<QRgb, kSlots> keys{};      // 0 marks a free slot; stored colours are opaque
  std::array<std::uint8_t, kSlots> values{};
  QRgb last = 0;
  std::uint8_t lastIndex = 0;
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::uint8_t* dst = out.indices.data() + static_cast<std::size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = line[x] | 0xFF000000u;
      if (c != last) {
        std::size_t slot = ((c * 0x9E3779B1u) >> 22) & (kSlots - 1);
        while (keys[slot] != 0 && keys[slot] != c) slot = (slot + 1) & (kSlots - 1);
        if (keys[slot] == 0) {
          if (static_cast<int>(out.palette.size()) == maxColours) return std::nullopt;
          keys[slot] = c;
          values[slot] = static_cast<std::uint8_t>(out.palette.size());
          out.palette.push_back(c);
        }
        last = c;
        lastIndex = values[slot];
      }
      dst[x] = lastIndex;
    }
  }
  return out;
}

IndexedImage QuantizeStucki(const QImage& image) {
  IndexedImage out;
  out.width = image.width();
  out.height = image.height();
  out.palette = OctreePalette(image);
  out.indices.Resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  NearestColour nearest(out.palette);
  StuckiDiffuser diffuser(out.width);
  for (int y = 0; y < out.height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::uint8_t* dst = out.indices.data() + static_cast<std::size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = line[x];
      const int r = diffuser.Wanted(x, 0, qRed(c));
      const int g = diffuser.Wanted(x, 1, qGreen(c));
      const int b = diffuser.Wanted(x, 2, qBlue(c));
      const int index = nearest(r, g, b);
      const QRgb chosen = out.palette[static_cast<std::size_t>(index)];
      diffuser.Spread(x, 0, r - qRed(chosen));
      diffuser.Spread(x, 1, g - qGreen(chosen));
      diffuser.Spread(x, 2, b - qBlue(chosen));
      dst[x] = static_cast<std::uint8_t>(index);
    }
    diffuser.NextRow();
  }
  return out;
}

IndexedImage ReduceTo256Colours(const QImage& image) {
  const QImage rgb = OpaqueRgb32(image);
  if (std::optional<IndexedImage> exact = IndexExactly(rgb)) return std::move(*exact);
  return QuantizeStucki(rgb);
}

}  // namespace karvelo
