#include "platform/qt/Screens.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPainter>


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

namespace {

// A context that can be made current on a surface of Screen is what the
// widget will paint with.
bool ContextWorks(QScreen* Screen) {
  QOpenGLContext context;
  QOffscreenSurface surface(Screen);
  surface.create();
  const bool works = context.create() && context.makeCurrent(&surface);
  if (works) context.doneCurrent();
  return works;
}

} // namespace

bool TDXScreen::Possible() { return ContextWorks(QGuiApplication::primaryScreen()); }

bool TDXScreen::Initialize() {
  Initialized = ContextWorks(screen());
  return Initialized;
}

void TDXScreen::Assign(const TDIB& Image) {
  if (Image == Picture) return;
  Picture = Image;
  const std::array<QRgb, 256> rgb = ColorTableRgb(Image);
  for (int y = 0; y < TDIB::Height; ++y) {
    const uint8_t* source = Image.ScanLine(y);
    QRgb* target = reinterpret_cast<QRgb*>(Frame.scanLine(y));
    for (int x = 0; x < TDIB::Width; ++x) target[x] = rgb[source[x]];
  }
  Changed = true;
}

// A picture that is the one on the screen already is not painted again:
// an idle window redrawing its frame costs next to nothing.
void TDXScreen::Flip() {
  ++Flips;
  if (!Changed) return;
  Changed = false;
  // Shown now, as a flip does: a posted update waits behind the run loop's
  // own event handling, which can hold it back for as long as a game runs.
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
  if (Image == Picture && Origin == QPoint(X, Y)) return; // the screen shows it already
  Picture = Image;
  Origin = QPoint(X, Y);
  const std::array<QRgb, 256> rgb = ColorTableRgb(Image);
  Frame.setColorTable(QList<QRgb>(rgb.begin(), rgb.end()));
  for (int y = 0; y < TDIB::Height; ++y) std::copy_n(Image.ScanLine(y), TDIB::Width, Frame.scanLine(y));
  repaint(); // now, as the accelerated screen's flip
}

void TPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(Origin, Frame);
}
