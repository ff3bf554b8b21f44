#include "render/ModelColumns.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "base/PlotState.h"
#include "input/QvMath.h"

namespace karvelo {
namespace {

constexpr double Missing = std::numeric_limits<double>::quiet_NaN();

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool IsSeparator(char c) {
  return IsBlankOrControl(c) || c == ',';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

// "RHO-1 IP", "RHO-2 ip": the text after the keyword says whether IP values follow.
bool HeaderAnnouncesIP(std::string_view header) {
  const std::size_t blank = header.find_first_of(" \t");
  if (blank == std::string_view::npos) return false;
  const std::string_view rest = Trim(header.substr(blank + 1));
  return rest.size() >= 2 && (rest[0] == 'I' || rest[0] == 'i') &&
         (rest[1] == 'P' || rest[1] == 'p');
}

// A count of layers or cells: a whole number from 0 up.
bool AsCount(double v, long long& count) {
  if (!(v >= 0 && v <= 1e7)) return false;
  count = std::llround(v);
  return std::fabs(v - static_cast<double>(count)) < 1e-9;
}

double Defined(double v) {
  return IsUndefined(v) ? Missing : v;
}

bool ReadNumbers(TextLines& file, int count, LineValueArray& values) {
  std::string text;
  return ReadRealLine(file, count, values, text);
}

}  // namespace

void LayeredSpans(const std::vector<double>& depths, std::vector<double>& boundary) {
  const std::size_t n = depths.size();
  boundary.assign(n + 1, 0.0);
  if (n == 0) return;
  for (std::size_t k = 1; k < n; ++k) boundary[k] = depths[k];
  const double above = n >= 2 ? depths[n - 2] : 0.0;
  boundary[n] = 2 * depths[n - 1] - above;
}

void CellSpans(const std::vector<double>& bottoms, std::vector<double>& centre,
               std::vector<double>& boundary) {
  const std::size_t m = bottoms.size() + 1;
  boundary.assign(m + 1, 0.0);
  for (std::size_t k = 1; k < m; ++k) boundary[k] = bottoms[k - 1];
  const double above = m >= 2 ? boundary[m - 2] : 0.0;
  boundary[m] = 2 * boundary[m - 1] - above;
  centre.assign(m, 0.0);
  for (std::size_t k = 0; k < m; ++k) centre[k] = (boundary[k] + boundary[k + 1]) / 2;
}

bool TModelColumnReader::Open(const std::string& path) {
  *this = TModelColumnReader();
  if (!file_.Open(path)) return false;
  std::string first;
  file_.ReadLine(first);
  const std::string_view header = Trim(first);
  const std::string_view key = header.substr(0, 5);
  if (key == "RHO-2" || key == "RHO-1") {
    rho2_ = key == "RHO-2";
    hasIP_ = HeaderAnnouncesIP(header);
  } else {
    plain_ = true;
    file_.Rewind();
  }
  if (!rho2_) layerLineBroken_ = !ReadLayerLine();
  return true;
}

TColumnStatus TModelColumnReader::Next(TModelColumn& column) {
  column.Centre.clear();
  column.Boundary.clear();
  column.Value.clear();
  column.HasElevation = false;
  column.Elevation = 0;
  return rho2_ ? NextRho2(column) : NextLayered(column);
}

double TModelColumnReader::Plotted(double resistivity, double ip) const {
  switch (quantity_) {
    case TModelQuantity::IP:
      return ip;
    case TModelQuantity::NormalisedIP:
      if (std::isnan(resistivity) || std::isnan(ip) || resistivity == 0) return Missing;
      return ip / resistivity;
    case TModelQuantity::Resistivity:
      break;
  }
  return resistivity;
}

// ---- Layered models -------------------------------------------------------------------------

TModelColumnReader::Token TModelColumnReader::NextNumber(double& value) {
  for (;;) {
    if (!loaded_) {
      if (!file_.ReadLine(line_)) return Token::End;
      loaded_ = true;
      pos_ = 0;
    }
    while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
    if (pos_ < line_.size()) break;
    loaded_ = false;
  }
  const std::size_t begin = pos_;
  while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
  const std::string_view token = std::string_view(line_).substr(begin, pos_ - begin);
  if (token == "*") return Token::Missing;
  double v = 0;
  if (!ParseReal(token, v)) return Token::Bad;
  if (IsUndefined(v)) return Token::Missing;
  value = v;
  return Token::Number;
}

bool TModelColumnReader::ReadLayerLine() {
  double n = 0;
  long long count = 0;
  if (NextNumber(n) != Token::Number || !AsCount(n, count) || count < 1) return false;
  depths_.clear();
  for (long long k = 0; k < count; ++k) {
    double d = 0;
    if (NextNumber(d) != Token::Number) return false;
    depths_.push_back(d);
  }
  SkipRestOfLine();
  return true;
}

TColumnStatus TModelColumnReader::NextLayered(TModelColumn& column) {
  if (layerLineBroken_) return TColumnStatus::End;
  double x = 0;
  const Token t = NextNumber(x);
  if (t != Token::Number) {
    SkipRestOfLine();  // the line that ends the data is consumed
    return TColumnStatus::End;
  }
  const std::size_t n = depths_.size();
  std::vector<double> rho(n, Missing), ip(n, Missing);
  const std::size_t fields = hasIP_ ? 2 * n : n;
  for (std::size_t k = 0; k < fields; ++k) {
    double v = 0;
    const Token f = NextNumber(v);
    if (f == Token::End) return TColumnStatus::ReadError;
    // A value that cannot be read is missing; the older layout also writes 0 for one.
    const double value = f == Token::Number && !(plain_ && v == 0 && k < n) ? v : Missing;
    (k < n ? rho[k] : ip[k - n]) = value;
  }
  SkipRestOfLine();
  column.X = x;
  column.Centre = depths_;
  LayeredSpans(depths_, column.Boundary);
  column.Value.resize(n);
  for (std::size_t k = 0; k < n; ++k) column.Value[k] = Plotted(rho[k], ip[k]);
  return TColumnStatus::Column;
}

// ---- RHO-2 models ---------------------------------------------------------------------------

TColumnStatus TModelColumnReader::NextRho2(TModelColumn& column) {
  LineValueArray v{};
  if (!started_) {
    // Anything before the first block that is not a position and an elevation is skipped.
    do {
      if (file_.Eof()) return TColumnStatus::End;
    } while (!ReadNumbers(file_, 2, v) || IsUndefined(v[0]) || IsUndefined(v[1]));
    started_ = true;
  } else if (!ReadNumbers(file_, 2, v) || IsUndefined(v[0]) || IsUndefined(v[1])) {
    return TColumnStatus::End;
  }
  column.X = v[0];
  column.HasElevation = true;
  column.Elevation = v[1];

  long long m = 0;
  if (!ReadNumbers(file_, 1, v) || !AsCount(v[0], m)) return TColumnStatus::ReadError;
  if (m > MaxRh2Layers) return TColumnStatus::TooManyLayers;
  const int ip = hasIP_ ? 1 : 0;
  std::vector<double> bottoms, rho, ips;
  for (long long k = 1; k <= m; ++k) {
    const bool bottomCell = k == m;
    if (!ReadNumbers(file_, (bottomCell ? 1 : 2) + ip, v)) return TColumnStatus::ReadError;
    rho.push_back(Defined(v[0]));
    if (!bottomCell) {
      if (IsUndefined(v[1])) return TColumnStatus::ReadError;
      bottoms.push_back(v[1]);
    }
    ips.push_back(ip != 0 ? Defined(v[bottomCell ? 1 : 2]) : Missing);
  }
  // A single cell has no depth to hang it by: the column only marks the ground.
  if (m < 2) return TColumnStatus::Column;
  CellSpans(bottoms, column.Centre, column.Boundary);
  column.Value.resize(static_cast<std::size_t>(m));
  for (std::size_t k = 0; k < column.Value.size(); ++k) column.Value[k] = Plotted(rho[k], ips[k]);
  return TColumnStatus::Column;
}

}  // namespace karvelo
