#include "platform/qt/Screens.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>

#include "platform/DIB.h"

std::array<QRgb, 256> ColorTableRgb(const TDIB& Image) {
  std::array<QRgb, 256> rgb;
  for (size_t i = 0; i < rgb.size(); ++i) {
    const TRGB& c = Image.ColorTable()[i];
    rgb[i] = qRgb(c.R, c.G, c.B);
  }
  return rgb;
}

TDXScreen::TDXScreen(QWidget* Parent)
    : QOpenGLWidget(Parent), Frame(TDIB::Width, TDIB::Height, QImage::Format_RGB32) {
  Frame.fill(Qt::black);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TDXScreen::Initialize() {
  // A context that can be made current on a surface of this screen is what
  // the widget will paint with.
  QOpenGLContext context;
  QOffscreenSurface surface(screen());
  surface.create();
  Initialized = context.create() && context.makeCurrent(&surface);
  if (Initialized) context.doneCurrent();
  return Initialized;
}

void TDXScreen::Assign(const TDIB& Image) {
  const std::array<QRgb, 256> rgb = ColorTableRgb(Image);
  for (int y = 0; y < TDIB::Height; ++y) {
    const uint8_t* source = Image.ScanLine(y);
    QRgb* target = reinterpret_cast<QRgb*>(Frame.scanLine(y));
    for (int x = 0; x < TDIB::Width; ++x) target[x] = rgb[source[x]];
  }
}

void TDXScreen::Flip() {
  ++Flips;
  update();
}

void TDXScreen::paintGL() {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  // Scaled to fill, aspect kept, pixels kept square and sharp.
  const QSize size = Frame.size().scaled(this->size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  painter.drawImage(target, Frame);
}

TPaintBox::TPaintBox(QWidget* Parent) : QWidget(Parent), Frame(TDIB::Width, TDIB::Height, QImage::Format_Indexed8) {
  Frame.setColorCount(256);
  Frame.fill(0);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::Draw(int X, int Y, const TDIB& Image) {
  const std::array<QRgb, 256> rgb = ColorTableRgb(Image);
  Frame.setColorTable(QList<QRgb>(rgb.begin(), rgb.end()));
  for (int y = 0; y < TDIB::Height; ++y) std::copy_n(Image.ScanLine(y), TDIB::Width, Frame.scanLine(y));
  Origin = QPoint(X, Y);
  ++Draws;
  update();
}

void TPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(Origin, Frame);
}
