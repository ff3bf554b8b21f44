#include "output/ImageWriters.h"

#include <gif_lib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "base/Files.h"
#include "output/ColourReduction.h"

namespace karvelo {

namespace {

bool Fail(std::string* error, const std::string& why) {
  if (error != nullptr) *error = why;
  return false;
}

bool CheckImage(const QImage& image, int maxSide, const char* format, std::string* error) {
  if (image.isNull() || image.width() < 1 || image.height() < 1) {
    return Fail(error, "the image is empty");
  }
  if (image.width() > maxSide || image.height() > maxSide) {
    return Fail(error, std::string("the image is too large for a ") + format + " file");
  }
  return true;
}

// ---- PNG ---------------------------------------------------------------------------

// Everything libpng needs, prepared before it runs: libpng reports errors by longjmp, so
// the frame that calls it holds no object with a destructor.
struct PngJob {
  int width = 0;
  int height = 0;
  int colourType = PNG_COLOR_TYPE_RGB;
  std::vector<png_color> palette;
  std::vector<png_bytep> rows;
  png_uint_32 dotsPerMeter = 0;
  std::string* out = nullptr;
  char message[256] = {};
};

void PngWriteData(png_structp png, png_bytep data, png_size_t length) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  bool ok = true;
  try {
    job->out->append(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    ok = false;
  }
  if (!ok) png_error(png, "out of memory");
}

void PngFlush(png_structp /*png*/) {}

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
  auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
  std::strncpy(job->message, message, sizeof job->message - 1);
  png_longjmp(png, 1);
}

void PngWarning(png_structp /*png*/, png_const_charp /*message*/) {}

bool RunLibpng(PngJob& job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, PngError, PngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &job, PngWriteData, PngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(job.width), static_cast<png_uint_32>(job.height),
               8, job.colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  const bool indexed = job.colourType == PNG_COLOR_TYPE_PALETTE;
  if (indexed) png_set_PLTE(png, info, job.palette.data(), static_cast<int>(job.palette.size()));
  if (job.dotsPerMeter > 0) {
    png_set_pHYs(png, info, job.dotsPerMeter, job.dotsPerMeter, PNG_RESOLUTION_METER);
  }
  // Speed first: a 1920 x 1080 diagram should encode in a few milliseconds. Palette rows
  // of a diagram are long runs of one index, which run-length deflate finds as well as
  // the slow levels do (and smaller than level 1). RGB rows get the cheap "sub" filter
  // and the fastest ordinary level.
  png_set_compression_level(png, Z_BEST_SPEED);
  png_set_compression_strategy(png, indexed ? Z_RLE : Z_DEFAULT_STRATEGY);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, indexed ? PNG_FILTER_NONE : PNG_FILTER_SUB);
  png_set_compression_buffer_size(png, 1 << 16);
  png_write_info(png, info);
  png_write_image(png, job.rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// ---- GIF ---------------------------------------------------------------------------

int GifWriteData(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::string*>(gif->UserData);
  try {
    out->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  } catch (...) {
    return 0;
  }
  return length;
}

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, MapDeleter> GifColourMap(const std::vector<QRgb>& palette,
                                                         int* bits) {
  *bits = 1;
  while ((std::size_t{1} << *bits) < palette.size()) ++*bits;
  std::vector<GifColorType> colours(std::size_t{1} << *bits, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < palette.size(); ++i) {
    colours[i] = GifColorType{static_cast<GifByteType>(qRed(palette[i])),
                              static_cast<GifByteType>(qGreen(palette[i])),
                              static_cast<GifByteType>(qBlue(palette[i]))};
  }
  return std::unique_ptr<ColorMapObject, MapDeleter>(
      GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
}

std::string GifFailure(int code) {
  const char* text = GifErrorString(code);
  return std::string("GIF: ") + (text != nullptr ? text : "write error");
}

bool WriteGifStream(GifFileType* gif, const IndexedImage& indexed, std::string* error) {
  int bits = 1;
  const auto map = GifColourMap(indexed.palette, &bits);
  if (!map) return Fail(error, "out of memory");
  if (EGifPutScreenDesc(gif, indexed.width, indexed.height, 8, 0, map.get()) == GIF_ERROR ||
      EGifPutImageDesc(gif, 0, 0, indexed.width, indexed.height, false, nullptr) == GIF_ERROR) {
    return Fail(error, GifFailure(gif->Error));
  }
  for (int y = 0; y < indexed.height; ++y) {
    auto* row = const_cast<GifPixelType*>(indexed.Row(y));
    if (EGifPutLine(gif, row, indexed.width) == GIF_ERROR) {
      return Fail(error, GifFailure(gif->Error));
    }
  }
  return true;
}

// ---- BMP ---------------------------------------------------------------------------

void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// File header and BITMAPINFOHEADER for a bottom-up, uncompressed bitmap.
void PutBmpHeaders(std::string& out, const QImage& image, int bitsPerPixel, std::uint32_t colours,
                   std::uint32_t rowBytes) {
  const std::uint32_t headers = 14 + 40 + 4 * colours;
  const std::uint32_t pixels = rowBytes * static_cast<std::uint32_t>(image.height());
  const auto dpm = static_cast<std::uint32_t>(std::max(image.dotsPerMeterX(), 0));
  out += "BM";
  Put32(out, headers + pixels);
  Put32(out, 0);
  Put32(out, headers);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(image.width()));
  Put32(out, static_cast<std::uint32_t>(image.height()));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
  Put32(out, 0);  // BI_RGB
  Put32(out, pixels);
  Put32(out, dpm);
  Put32(out, dpm);
  Put32(out, colours);
  Put32(out, 0);
}

void EncodeBmp8(const QImage& image, const IndexedImage& indexed, std::string& out) {
  const auto rowBytes = (static_cast<std::uint32_t>(indexed.width) + 3u) & ~3u;
  PutBmpHeaders(out, image, 8, static_cast<std::uint32_t>(indexed.palette.size()), rowBytes);
  for (const QRgb c : indexed.palette) {
    out.push_back(static_cast<char>(qBlue(c)));
    out.push_back(static_cast<char>(qGreen(c)));
    out.push_back(static_cast<char>(qRed(c)));
    out.push_back('\0');
  }
  for (int y = indexed.height - 1; y >= 0; --y) {
    out.append(reinterpret_cast<const char*>(indexed.Row(y)),
               static_cast<std::size_t>(indexed.width));
    out.append(rowBytes - static_cast<std::uint32_t>(indexed.width), '\0');
  }
}

void EncodeBmp24(const QImage& rgb, std::string& out) {
  const auto rowBytes = (static_cast<std::uint32_t>(rgb.width()) * 3u + 3u) & ~3u;
  PutBmpHeaders(out, rgb, 24, 0, rowBytes);
  std::string row(rowBytes, '\0');
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) {
      row[static_cast<std::size_t>(x) * 3] = static_cast<char>(qBlue(line[x]));
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>(qGreen(line[x]));
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>(qRed(line[x]));
    }
    out += row;
  }
}

}  // namespace

bool EncodePng(const QImage& image, std::string* out, std::string* error) {
  if (!CheckImage(image, PNG_USER_WIDTH_MAX, "PNG", error)) return false;
  const QImage rgb = OpaqueRgb32(image);
  const std::optional<IndexedImage> indexed = IndexExactly(rgb);
  const QImage rgb888 = indexed ? QImage() : rgb.convertToFormat(QImage::Format_RGB888);
  PngJob job;
  job.width = rgb.width();
  job.height = rgb.height();
  job.dotsPerMeter = static_cast<png_uint_32>(std::max(rgb.dotsPerMeterX(), 0));
  job.out = out;
  job.rows.resize(static_cast<std::size_t>(job.height));
  if (indexed) {
    job.colourType = PNG_COLOR_TYPE_PALETTE;
    for (const QRgb c : indexed->palette) {
      job.palette.push_back(png_color{static_cast<png_byte>(qRed(c)),
                                      static_cast<png_byte>(qGreen(c)),
                                      static_cast<png_byte>(qBlue(c))});
    }
    for (int y = 0; y < job.height; ++y)
      job.rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(indexed->Row(y));
  } else {
    for (int y = 0; y < job.height; ++y) {
      job.rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(rgb888.constScanLine(y));
    }
  }
  out->clear();
  if (!RunLibpng(job)) {
    out->clear();
    return Fail(error,
                std::string("PNG: ") + (job.message[0] != '\0' ? job.message : "out of memory"));
  }
  return true;
}

bool EncodeGif(const QImage& image, std::string* out, std::string* error) {
  if (!CheckImage(image, 0xFFFF, "GIF", error)) return false;
  const IndexedImage indexed = ReduceTo256Colours(image);
  out->clear();
  int code = 0;
  GifFileType* gif = EGifOpen(out, GifWriteData, &code);
  if (gif == nullptr) return Fail(error, GifFailure(code));
  const bool written = WriteGifStream(gif, indexed, error);
  const bool closed = EGifCloseFile(gif, &code) != GIF_ERROR;
  if (written && !closed) Fail(error, GifFailure(code));
  if (!written || !closed) {
    out->clear();
    return false;
  }
  return true;
}

bool EncodeBmp(const QImage& image, std::string* out, std::string* error) {
  if (!CheckImage(image, 0x7FFFFFFF, "BMP", error)) return false;
  // Every size in the headers must fit 31 bits (some readers take them as signed).
  const std::uint64_t largest = ((static_cast<std::uint64_t>(image.width()) * 3 + 3) & ~3ull) *
                                    static_cast<std::uint64_t>(image.height()) +
                                14 + 40 + 1024;
  if (largest > 0x7FFFFFFFull) return Fail(error, "the image is too large for a BMP file");
  const QImage rgb = OpaqueRgb32(image);
  out->clear();
  if (const std::optional<IndexedImage> indexed = IndexExactly(rgb)) {
    EncodeBmp8(rgb, *indexed, *out);
  } else {
    EncodeBmp24(rgb, *out);
  }
  return true;
}

namespace {

using Encoder = bool (*)(const QImage&, std::string*, std::string*);

bool EncodeAndWrite(Encoder encode, const QImage& image, const std::string& path,
                    std::string* error) {
  std::string bytes;
  if (!encode(image, &bytes, error)) return false;
  return WriteFileAtomically(path, bytes, error);
}

}  // namespace

bool WritePng(const QImage& image, const std::string& path, std::string* error) {
  return EncodeAndWrite(EncodePng, image, path, error);
}

bool WriteGif(const QImage& image, const std::string& path, std::string* error) {
  return EncodeAndWrite(EncodeGif, image, path, error);
}

bool WriteBmp(const QImage& image, const std::string& path, std::string* error) {
  return EncodeAndWrite(EncodeBmp, image, path, error);
}

}  // namespace karvelo
