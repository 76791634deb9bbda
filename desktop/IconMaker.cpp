// Draws the program's icon, a joypad on a red tile, as PNG files of the
// sizes a desktop icon theme asks for: DIR/pixtor-SIZE.png.
#include <cstdio>

#include <QImage>
#include <QPainter>
#include <QString>

namespace {

constexpr int Sizes[] = {16, 32, 48, 64, 128, 256};

// The emblem, drawn on a 256 x 256 design grid scaled to Size.
QImage DrawIcon(int Size) {
  QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(Size / 256.0, Size / 256.0);

  painter.setPen(QPen(QColor(0x5a, 0x0e, 0x10), 8));
  painter.setBrush(QColor(0xc0, 0x24, 0x28));
  painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

  painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 8));
  painter.setBrush(QColor(0xe4, 0xe4, 0xe0));
  painter.drawRoundedRect(QRectF(22, 70, 212, 116), 34, 34);

  // The cross on the left, two buttons on the right, select and start between.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x20, 0x20, 0x20));
  painter.drawRect(QRectF(50, 114, 68, 28));
  painter.drawRect(QRectF(70, 94, 28, 68));
  painter.drawRoundedRect(QRectF(123, 146, 20, 10), 5, 5);
  painter.drawRoundedRect(QRectF(123, 124, 20, 10), 5, 5);
  painter.setBrush(QColor(0xc0, 0x24, 0x28));
  painter.drawEllipse(QPointF(166, 146), 17, 17);
  painter.drawEllipse(QPointF(204, 118), 17, 17);
  return image;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  for (int size : Sizes) {
    const QString path = QStringLiteral("%1/pixtor-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (!DrawIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "%s: cannot write the file\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
