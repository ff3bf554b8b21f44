#include "output/ImageWriters.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Files.h"
#include "output/OutputTestImages.h"

namespace karvelo {
namespace {

class ImageWriters : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }
  QTemporaryDir dir_;
};

std::string FileBytes(const std::string& path) {
  return ReadWholeFile(path).value_or("");
}

void ExpectSamePixels(const QImage& want, const QImage& got) {
  ASSERT_EQ(got.size(), want.size());
  int wrong = 0;
  for (int y = 0; y < want.height(); ++y) {
    for (int x = 0; x < want.width(); ++x)
      wrong += (got.pixel(x, y) | 0xFF000000u) != want.pixel(x, y);
  }
  EXPECT_EQ(wrong, 0);
}

// The colour type byte of a PNG's header chunk: 3 for a palette, 2 for RGB.
int PngColourType(const std::string& bytes) {
  return bytes.size() > 25 ? bytes[25] : -1;
}
int PngBitDepth(const std::string& bytes) {
  return bytes.size() > 24 ? bytes[24] : -1;
}
int BmpBitsPerPixel(const std::string& bytes) {
  return bytes.size() > 29 ? static_cast<unsigned char>(bytes[28]) : -1;
}

TEST_F(ImageWriters, PngOfADiagramIsAnExactPalettePng) {
  const QImage diagram = testimages::Diagram(321, 123);
  const std::string path = PathOf("diagram.png");
  std::string error;
  ASSERT_TRUE(WritePng(diagram, path, &error)) << error;
  const std::string bytes = FileBytes(path);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(PngColourType(bytes), 3);
  EXPECT_EQ(PngBitDepth(bytes), 8);
  ExpectSamePixels(diagram, QImage(QString::fromStdString(path)));
  EXPECT_EQ(Entries(), QStringList{"diagram.png"});
}

TEST_F(ImageWriters, PngWithManyColoursIsRgbAndExact) {
  const QImage photo = testimages::Photo(200, 150);
  const std::string path = PathOf("photo.png");
  ASSERT_TRUE(WritePng(photo, path));
  EXPECT_EQ(PngColourType(FileBytes(path)), 2);
  ExpectSamePixels(photo, QImage(QString::fromStdString(path)));
}

TEST_F(ImageWriters, TransparentPartsAreWrittenWhite) {
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  image.setPixel(1, 1, qRgba(0, 128, 0, 255));
  QImage want(3, 2, QImage::Format_RGB32);
  want.fill(Qt::white);
  want.setPixel(1, 1, qRgb(0, 128, 0));
  for (const char* name : {"a.png", "a.gif", "a.bmp"}) {
    const std::string path = PathOf(name);
    const bool ok = name[2] == 'p'   ? WritePng(image, path)
                    : name[2] == 'g' ? WriteGif(image, path)
                                     : WriteBmp(image, path);
    ASSERT_TRUE(ok) << name;
    ExpectSamePixels(want, QImage(QString::fromStdString(path)));
  }
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Reads a GIF back with giflib: its pixels and the size of its colour table.
QImage ReadGif(const std::string& path, int* paletteSize) {
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpenFileName(path.c_str(), &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount != 1) return {};
  const SavedImage& frame = gif->SavedImages[0];
  const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
  if (map == nullptr) return {};
  *paletteSize = map->ColorCount;
  QImage image(frame.ImageDesc.Width, frame.ImageDesc.Height, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int index = frame.RasterBits[y * image.width() + x];
      if (index >= map->ColorCount) return {};
      const GifColorType c = map->Colors[index];
      image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
    }
  }
  return image;
}

TEST_F(ImageWriters, GifOfADiagramKeepsItsExactColours) {
  const QImage diagram = testimages::Diagram(300, 101);
  const std::string path = PathOf("diagram.gif");
  std::string error;
  ASSERT_TRUE(WriteGif(diagram, path, &error)) << error;
  int paletteSize = 0;
  const QImage back = ReadGif(path, &paletteSize);
  EXPECT_LE(paletteSize, 32);
  ExpectSamePixels(diagram, back);
}

TEST_F(ImageWriters, GifOfASinglePixelAndOfTwoColours) {
  for (const int width : {1, 2}) {
    QImage image(width, 1, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(width - 1, 0, qRgb(200, 0, 100));
    const std::string path = PathOf("tiny.gif");
    ASSERT_TRUE(WriteGif(image, path));
    int paletteSize = 0;
    ExpectSamePixels(image, ReadGif(path, &paletteSize));
    EXPECT_EQ(paletteSize, 2);
  }
}

TEST_F(ImageWriters, GifOfManyColoursIsDitheredToAClosePicture) {
  const QImage photo = testimages::Photo(240, 180);
  const std::string path = PathOf("photo.gif");
  ASSERT_TRUE(WriteGif(photo, path));
  int paletteSize = 0;
  const QImage back = ReadGif(path, &paletteSize);
  ASSERT_EQ(back.size(), photo.size());
  EXPECT_EQ(paletteSize, 256);
  std::array<double, 3> want{}, got{};
  for (int y = 0; y < photo.height(); ++y) {
    for (int x = 0; x < photo.width(); ++x) {
      const QRgb a = photo.pixel(x, y), b = back.pixel(x, y);
      want[0] += qRed(a), want[1] += qGreen(a), want[2] += qBlue(a);
      got[0] += qRed(b), got[1] += qGreen(b), got[2] += qBlue(b);
    }
  }
  const double n = photo.width() * photo.height();
  for (int ch = 0; ch < 3; ++ch) EXPECT_NEAR(got[ch] / n, want[ch] / n, 1.0) << ch;
  EXPECT_EQ(back.pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(ImageWriters, BmpRoundTripsWithPaddedRows) {
  struct Case {
    QImage image;
    int bits;
  };
  const Case cases[] = {
      {testimages::Diagram(1, 1), 8},   {testimages::Diagram(13, 7), 8},
      {testimages::Diagram(64, 3), 8},  {testimages::Photo(41, 31), 24},
      {testimages::Photo(130, 70), 24},
  };
  for (const Case& c : cases) {
    const std::string path = PathOf("x.bmp");
    std::string error;
    ASSERT_TRUE(WriteBmp(c.image, path, &error)) << error;
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(BmpBitsPerPixel(bytes), c.bits) << c.image.width();
    ExpectSamePixels(c.image, QImage(QString::fromStdString(path), "BMP"));
  }
}

TEST_F(ImageWriters, FailedWritesSayWhyAndLeaveNoFile) {
  const QImage diagram = testimages::Diagram(40, 30);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("taken.png"));  // a folder where the file should go
  struct Case {
    std::string path;
    QImage image;
  };
  const Case cases[] = {
      {PathOf("no such folder/out.png"), diagram},
      {PathOf("taken.png"), diagram},
      {PathOf("empty.png"), QImage()},
  };
  using Writer = bool (*)(const QImage&, const std::string&, std::string*);
  for (const Writer write : {Writer{WritePng}, Writer{WriteGif}, Writer{WriteBmp}}) {
    for (const Case& c : cases) {
      std::string error;
      EXPECT_FALSE(write(c.image, c.path, &error)) << c.path;
      EXPECT_FALSE(error.empty()) << c.path;
    }
  }
  EXPECT_EQ(Entries(), QStringList{"taken.png"});
  EXPECT_TRUE(QFileInfo(QString::fromStdString(PathOf("taken.png"))).isDir());
}

TEST_F(ImageWriters, AFailedWriteKeepsTheOldFile) {
  const std::string path = PathOf("keep.png");
  ASSERT_TRUE(WritePng(testimages::Diagram(20, 10), path));
  const std::string before = FileBytes(path);
  std::string error;
  EXPECT_FALSE(WritePng(QImage(), path, &error));
  EXPECT_EQ(error, "the image is empty");
  EXPECT_EQ(FileBytes(path), before);
  ASSERT_TRUE(WritePng(testimages::Diagram(30, 10), path));  // and a good one replaces it
  EXPECT_NE(FileBytes(path), before);
  EXPECT_EQ(Entries(), QStringList{"keep.png"});
}

TEST_F(ImageWriters, GifRefusesSidesBeyondItsSixteenBits) {
  const QImage wide(70000, 1, QImage::Format_RGB32);
  std::string bytes, error;
  EXPECT_FALSE(EncodeGif(wide, &bytes, &error));
  EXPECT_EQ(error, "the image is too large for a GIF file");
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace karvelo
