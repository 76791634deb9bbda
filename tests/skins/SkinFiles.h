#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

// A skin folder of the test's own, its path ending with a separator.
struct TSkinFolder {
  QTemporaryDir Dir;
  QString Path() const { return Dir.path() + "/"; }

  void Write(const QString& Name, const QByteArray& Bytes) const {
    QFile File(Path() + Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly)) << Name.toStdString();
    File.write(Bytes);
  }
  void Save(const QString& Name, const QImage& Picture) const {
    ASSERT_TRUE(Picture.save(Path() + Name, "BMP")) << Name.toStdString();
  }
  // SKIN.INI naming the six bitmaps MAIN.BMP ... TEXT.BMP.
  void WriteIni() const {
    Write("SKIN.INI",
          "[INFO]\r\nName=Test\r\n[BITMAPS]\r\nMain=MAIN.BMP\r\nSystem=SYSTEM.BMP\r\n"
          "Settings=SETTINGS.BMP\r\nNumbers=NUMBERS.BMP\r\nButtons=BUTTONS.BMP\r\nText=TEXT.BMP\r\n");
  }
  // A whole skin of plain pictures of the right sizes, each its own colour.
  void WriteSkin() const {
    WriteIni();
    const struct {
      const char* Name;
      int Width, Height;
      QRgb Color;
    } Pictures[] = {
        {"MAIN.BMP", 400, 310, 0xff102030},    {"SYSTEM.BMP", 200, 80, 0xff405060},
        {"SETTINGS.BMP", 400, 52, 0xff708090}, {"NUMBERS.BMP", 150, 300, 0xffa0b0c0},
        {"BUTTONS.BMP", 165, 165, 0xffd0e0f0}, {"TEXT.BMP", 155, 18, 0xff112233},
    };
    for (const auto& Picture : Pictures) {
      QImage Image(Picture.Width, Picture.Height, QImage::Format_RGB32);
      Image.fill(Picture.Color);
      Save(Picture.Name, Image);
    }
  }
};

// The headers of a bitmap declaring Width x Height pixels (a negative height:
// rows from the top down), its pixels at Offset, Bits a pixel.
inline QByteArray BitmapHeader(int32_t Width, int32_t Height, uint32_t Offset = 54, int Bits = 24) {
  QByteArray Bytes(54, '\0');
  auto* Data = reinterpret_cast<uchar*>(Bytes.data());
  Data[0] = 'B', Data[1] = 'M';
  qToLittleEndian<uint32_t>(Offset, Data + 10);
  qToLittleEndian<uint32_t>(40, Data + 14);
  qToLittleEndian<int32_t>(Width, Data + 18);
  qToLittleEndian<int32_t>(Height, Data + 22);
  qToLittleEndian<uint16_t>(1, Data + 26);
  qToLittleEndian<uint16_t>(uint16_t(Bits), Data + 28);
  return Bytes;
}

// A bitmap of 24 or 32 bits a pixel, as Qt does not write them.
inline QByteArray RawBitmap(const QImage& Picture, int Bits, bool TopDown) {
  QByteArray Bytes = BitmapHeader(Picture.width(), TopDown ? -Picture.height() : Picture.height(), 54, Bits);
  const int RowBytes = (Picture.width() * Bits / 8 + 3) / 4 * 4;
  for (int Line = 0; Line < Picture.height(); ++Line) {
    const int Y = TopDown ? Line : Picture.height() - 1 - Line;
    QByteArray Row(RowBytes, '\0');
    for (int X = 0; X < Picture.width(); ++X) {
      const QRgb Pixel = Picture.pixel(X, Y);
      char* At = Row.data() + X * Bits / 8;
      At[0] = char(qBlue(Pixel)), At[1] = char(qGreen(Pixel)), At[2] = char(qRed(Pixel));
    }
    Bytes += Row;
  }
  return Bytes;
}
