#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

#include "SkinFiles.h"
#include "platform/qt/SkinLibrary.h"

namespace {

// Each pixel tells where it is: red = x, green = y (both below 256 here).
QImage Positions(int Width, int Height) {
  QImage image(Width, Height, QImage::Format_RGB32);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      image.setPixel(x, y, qRgb(x, y, 0));
  return image;
}

TEST(PicClip, CutsCellsByTheirNumber) {
  const struct {
    int Width, Height, Columns, Rows, Cell;
    QSize Size;
    QPoint From;
  } cases[] = {
      {200, 80, 1, 4, 1, {200, 20}, {0, 0}}, // btnVol: the whole of row 0
      {200, 80, 2, 4, 1, {100, 20}, {0, 0}},
      {200, 80, 2, 4, 2, {100, 20}, {100, 0}},
      {200, 80, 2, 4, 3, {100, 20}, {100, 20}}, // btnAbout: right half of row 1
      {200, 80, 2, 4, 4, {100, 20}, {0, 20}},   // btnMinimize
      {200, 80, 2, 4, 5, {100, 20}, {100, 40}}, // btnVolDown
      {200, 80, 2, 4, 6, {100, 20}, {0, 40}},   // btnFullScreen
      {200, 80, 2, 4, 7, {100, 20}, {100, 60}}, // btnVolUp
      {200, 80, 2, 4, 8, {100, 20}, {0, 60}},   // btnClose
      {150, 255, 1, 10, 10, {150, 25}, {0, 225}},
      {150, 209, 1, 10, 10, {150, 20}, {0, 180}}, // the bottom 9 rows are lost
      {201, 83, 2, 4, 3, {100, 20}, {100, 20}},   // and so is the right column
  };
  for (const auto& test : cases) {
    const QImage cell = PicClip(Positions(test.Width, test.Height), test.Columns, test.Rows, test.Cell);
    ASSERT_EQ(cell.size(), test.Size) << test.Columns << "x" << test.Rows << " cell " << test.Cell;
    EXPECT_EQ(cell.pixel(0, 0), qRgb(test.From.x(), test.From.y(), 0)) << test.Cell;
    const QPoint last = test.From + QPoint(test.Size.width() - 1, test.Size.height() - 1);
    EXPECT_EQ(cell.pixel(cell.width() - 1, cell.height() - 1), qRgb(last.x(), last.y(), 0)) << test.Cell;
  }
}

TEST(PicClip, NoCellGivesNullImage) {
  const QImage picture = Positions(200, 80);
  const struct {
    int Columns, Rows, Cell;
  } cases[] = {{2, 4, 0}, {2, 4, 9},   {2, 4, -1}, {0, 4, 1},
               {2, 0, 1}, {300, 1, 1}, {1, 81, 1}, {65536, 65536, 2}};
  for (const auto& test : cases)
    EXPECT_TRUE(PicClip(picture, test.Columns, test.Rows, test.Cell).isNull())
        << test.Columns << "x" << test.Rows << " cell " << test.Cell;
  EXPECT_TRUE(PicClip(QImage(), 1, 1, 1).isNull());
}

QImage Decode(const QByteArray& Bytes, QString& Error) {
  QBuffer buffer;
  buffer.setData(Bytes);
  buffer.open(QIODevice::ReadOnly);
  return ReadBitmap(buffer, Error);
}

TEST(ReadBitmap, RefusesHostileHeadersBeforeDecoding) {
  const struct {
    const char* Name;
    QByteArray Bytes;
  } cases[] = {
      {"empty", {}},
      {"not BM", QByteArray("XM") + QByteArray(60, '\0')},
      {"header only", QByteArray("BM")},
      {"huge", BitmapHeader(100000, 100000)},
      {"wide", BitmapHeader(4097, 1)},
      {"tall top-down", BitmapHeader(1, -4097)},
      {"most negative height", BitmapHeader(1, INT32_MIN)},
      {"negative width", BitmapHeader(-5, 5)},
      {"no size", BitmapHeader(0, 0)},
  };
  for (const auto& test : cases) {
    QString error;
    EXPECT_TRUE(Decode(test.Bytes, error).isNull()) << test.Name;
    EXPECT_FALSE(error.isEmpty()) << test.Name;
  }
}

TEST(ReadBitmap, BrokenBodiesDoNotFault) {
  const QByteArray truncated = BitmapHeader(64, 64) + QByteArray(100, '\x55');
  const QByteArray farOffset = BitmapHeader(8, 8, 0xFFFFFFF0u) + QByteArray(8 * 8 * 3, '\x55');
  const QByteArray badDepth = BitmapHeader(8, 8, 54, 13) + QByteArray(256, '\x55');
  for (const QByteArray& bytes : {truncated, farOffset, badDepth}) {
    QString error;
    const QImage image = Decode(bytes, error);
    EXPECT_TRUE(image.isNull() || image.width() <= 64) << error.toStdString();
  }
}

// Corrupted and cut copies of real skin bitmaps: whatever comes back fits the limits.
TEST(ReadBitmap, SurvivesCorruptedBitmaps) {
  std::mt19937 random(11);
  for (const char* name : {"TEXT.BMP", "SYSTEM.BMP", "SETTINGS.BMP"}) {
    QFile file(QStringLiteral(PIXTOR_SAMPLE_SKIN) + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    for (int trial = 0; trial < 300; ++trial) {
      QByteArray bytes = original;
      for (int change = 0; change < 4; ++change) bytes[int(random() % 64)] = char(random());
      if (trial % 3 == 0) bytes.truncate(int(random() % bytes.size()));
      QString error;
      const QImage image = Decode(bytes, error);
      EXPECT_LE(image.width(), MaxBitmapSide);
      EXPECT_LE(image.height(), MaxBitmapSide);
    }
  }
}

} // namespace
