#include "platform/qt/Screens.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>

#include <cstring>

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
  bool changed = false;
  for (int y = 0; y < TDIB::Height; ++y) {
    const uint8_t* source = Image.ScanLine(y);
    QRgb* target = reinterpret_cast<QRgb*>(Frame.scanLine(y));
    for (int x = 0; x < TDIB::Width; ++x) {
      changed |= target[x] != rgb[source[x]];
      target[x] = rgb[source[x]];
    }
  }
  Changed |= changed;
}

// A picture that is the one on the screen already is not painted again:
// an idle window redrawing its frame costs next to nothing.
void TDXScreen::Flip() {
  ++Flips;
  if (!Changed) return;
  Changed = false;
  // Shown now, as a flip does; a posted update can wait behind the run
  // loop's own event handling (seen after a drop) and never come.
  repaint();
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
  ++Draws;
  const std::array<QRgb, 256> rgb = ColorTableRgb(Image);
  const QList<QRgb> colors(rgb.begin(), rgb.end());
  bool changed = colors != Frame.colorTable() || Origin != QPoint(X, Y);
  for (int y = 0; y < TDIB::Height; ++y) {
    changed = changed || std::memcmp(Image.ScanLine(y), Frame.constScanLine(y), TDIB::Width) != 0;
    std::copy_n(Image.ScanLine(y), TDIB::Width, Frame.scanLine(y));
  }
  if (!changed) return; // the screen shows it already
  Frame.setColorTable(colors);
  Origin = QPoint(X, Y);
  repaint(); // now, as the accelerated screen's flip
}

void TPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(Origin, Frame);
}
