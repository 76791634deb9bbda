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
    QFile file(Path() + Name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Name.toStdString();
    file.write(Bytes);
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
    } pictures[] = {
        {"MAIN.BMP", 400, 310, 0xff102030},    {"SYSTEM.BMP", 200, 80, 0xff405060},
        {"SETTINGS.BMP", 400, 52, 0xff708090}, {"NUMBERS.BMP", 150, 300, 0xffa0b0c0},
        {"BUTTONS.BMP", 165, 165, 0xffd0e0f0}, {"TEXT.BMP", 155, 18, 0xff112233},
    };
    for (const auto& picture : pictures) {
      QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
      image.fill(picture.Color);
      Save(picture.Name, image);
    }
  }
};

// The headers of a bitmap declaring Width x Height pixels (a negative height:
// rows from the top down), its pixels at Offset, Bits a pixel.
inline QByteArray BitmapHeader(int32_t Width, int32_t Height, uint32_t Offset = 54, int Bits = 24) {
  QByteArray bytes(54, '\0');
  auto* data = reinterpret_cast<uchar*>(bytes.data());
  data[0] = 'B', data[1] = 'M';
  qToLittleEndian<uint32_t>(Offset, data + 10);
  qToLittleEndian<uint32_t>(40, data + 14);
  qToLittleEndian<int32_t>(Width, data + 18);
  qToLittleEndian<int32_t>(Height, data + 22);
  qToLittleEndian<uint16_t>(1, data + 26);
  qToLittleEndian<uint16_t>(uint16_t(Bits), data + 28);
  return bytes;
}

// A bitmap of 24 or 32 bits a pixel, as Qt does not write them.
inline QByteArray RawBitmap(const QImage& Picture, int Bits, bool TopDown) {
  QByteArray bytes = BitmapHeader(Picture.width(), TopDown ? -Picture.height() : Picture.height(), 54, Bits);
  const int rowBytes = (Picture.width() * Bits / 8 + 3) / 4 * 4;
  for (int line = 0; line < Picture.height(); ++line) {
    const int y = TopDown ? line : Picture.height() - 1 - line;
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < Picture.width(); ++x) {
      const QRgb pixel = Picture.pixel(x, y);
      char* at = row.data() + x * Bits / 8;
      at[0] = char(qBlue(pixel)), at[1] = char(qGreen(pixel)), at[2] = char(qRed(pixel));
    }
    bytes += row;
  }
  return bytes;
}
