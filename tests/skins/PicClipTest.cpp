#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

#include "SkinFiles.h"
#include "platform/qt/SkinLibrary.h"

namespace {

// Each pixel tells where it is: red = x, green = y (both below 256 here).
QImage Positions(int Width, int Height) {
  QImage Image(Width, Height, QImage::Format_RGB32);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Image.setPixel(X, Y, qRgb(X, Y, 0));
  return Image;
}

TEST(PicClip, CutsCellsByTheirNumber) {
  const struct {
    int Width, Height, Columns, Rows, Cell;
    QSize Size;
    QPoint From;
  } Cases[] = {
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
  for (const auto& Case : Cases) {
    const QImage Cell = PicClip(Positions(Case.Width, Case.Height), Case.Columns, Case.Rows, Case.Cell);
    ASSERT_EQ(Cell.size(), Case.Size) << Case.Columns << "x" << Case.Rows << " cell " << Case.Cell;
    EXPECT_EQ(Cell.pixel(0, 0), qRgb(Case.From.x(), Case.From.y(), 0)) << Case.Cell;
    const QPoint Last = Case.From + QPoint(Case.Size.width() - 1, Case.Size.height() - 1);
    EXPECT_EQ(Cell.pixel(Cell.width() - 1, Cell.height() - 1), qRgb(Last.x(), Last.y(), 0)) << Case.Cell;
  }
}

TEST(PicClip, NoCellGivesNullImage) {
  const QImage Picture = Positions(200, 80);
  const struct {
    int Columns, Rows, Cell;
  } Cases[] = {{2, 4, 0}, {2, 4, 9},   {2, 4, -1}, {0, 4, 1},
               {2, 0, 1}, {300, 1, 1}, {1, 81, 1}, {65536, 65536, 2}};
  for (const auto& Case : Cases)
    EXPECT_TRUE(PicClip(Picture, Case.Columns, Case.Rows, Case.Cell).isNull())
        << Case.Columns << "x" << Case.Rows << " cell " << Case.Cell;
  EXPECT_TRUE(PicClip(QImage(), 1, 1, 1).isNull());
}

QImage Decode(const QByteArray& Bytes, QString& Error) {
  QBuffer Buffer;
  Buffer.setData(Bytes);
  Buffer.open(QIODevice::ReadOnly);
  return ReadBitmap(Buffer, Error);
}

TEST(ReadBitmap, RefusesHostileHeadersBeforeDecoding) {
  const struct {
    const char* Name;
    QByteArray Bytes;
  } Cases[] = {
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
  for (const auto& Case : Cases) {
    QString Error;
    EXPECT_TRUE(Decode(Case.Bytes, Error).isNull()) << Case.Name;
    EXPECT_FALSE(Error.isEmpty()) << Case.Name;
  }
}

TEST(ReadBitmap, BrokenBodiesDoNotFault) {
  const QByteArray Truncated = BitmapHeader(64, 64) + QByteArray(100, '\x55');
  const QByteArray FarOffset = BitmapHeader(8, 8, 0xFFFFFFF0u) + QByteArray(8 * 8 * 3, '\x55');
  const QByteArray BadDepth = BitmapHeader(8, 8, 54, 13) + QByteArray(256, '\x55');
  for (const QByteArray& Bytes : {Truncated, FarOffset, BadDepth}) {
    QString Error;
    const QImage Image = Decode(Bytes, Error);
    EXPECT_TRUE(Image.isNull() || Image.width() <= 64) << Error.toStdString();
  }
}

// Corrupted and cut copies of real skin bitmaps: whatever comes back fits the limits.
TEST(ReadBitmap, SurvivesCorruptedBitmaps) {
  std::mt19937 Random(11);
  for (const char* Name : {"TEXT.BMP", "SYSTEM.BMP", "SETTINGS.BMP"}) {
    QFile File(QStringLiteral(PIXTOR_SAMPLE_SKIN) + Name);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Original = File.readAll();
    for (int Trial = 0; Trial < 300; ++Trial) {
      QByteArray Bytes = Original;
      for (int Change = 0; Change < 4; ++Change) Bytes[int(Random() % 64)] = char(Random());
      if (Trial % 3 == 0) Bytes.truncate(int(Random() % Bytes.size()));
      QString Error;
      const QImage Image = Decode(Bytes, Error);
      EXPECT_LE(Image.width(), MaxBitmapSide);
      EXPECT_LE(Image.height(), MaxBitmapSide);
    }
  }
}

} // namespace
