#pragma once

#include <array>
#include <cstdint>

#include <QImage>
#include <QOpenGLWidget>
#include <QWidget>

#include "platform/DIB.h"
#include "platform/Display.h"

// The accelerated screen: an OpenGL widget whose drawing surface takes the
// console's 8-bit frame through its colour table, and whose flip is a buffer
// swap that waits for the vertical blank where the platform offers it. The
// picture is scaled to fill the widget with its aspect kept.
class TDXScreen final : public QOpenGLWidget, public TDXDraw, private TDrawSurface {
public:
  explicit TDXScreen(QWidget* Parent);

  // Whether an OpenGL context can be made at all. Where none can, no such
  // screen may exist: the toolkit would composite the window through OpenGL.
  static bool Possible();
  // Tries OpenGL; false when no context can be made. Finalize undoes it.
  bool Initialize();
  void Finalize() { Initialized = false; }
  bool IsInitialized() const { return Initialized; }
  // The full-screen option and the display mode asked for while it is set.
  bool FullScreen = false;
  int DisplayWidth = 320;
  int DisplayHeight = 240;
  int DisplayBitCount = 0;

  bool CanDraw() override { return Initialized && isVisible(); }
  TDrawSurface& Surface() override { return *this; }
  void Flip() override;
  void SetVisible(bool Visible) override { setVisible(Visible); }

  // Pictures shown since start.
  uint64_t Flips = 0;

protected:
  void paintGL() override;

private:
  void Assign(const TDIB& Image) override;

  bool Initialized = false;
  bool Changed = true; // the frame differs from the picture last painted
  TDIB Picture; // the last one assigned
  QImage Frame; // Picture in 32 bits
};

// The plain screen: a widget that paints the 8-bit frame through its colour table, unscaled.
class TPaintBox final : public QWidget, public TCanvas {
public:
  explicit TPaintBox(QWidget* Parent);

  void Draw(int X, int Y, const TDIB& Image) override;
  // Pictures drawn since start.
  uint64_t Draws = 0;

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  TDIB Picture; // the last one drawn
  QImage Frame; // Picture, 8 bits with its colour table
  QPoint Origin;
};

// The colour table of an 8-bit image as 32-bit pixels.
std::array<QRgb, 256> ColorTableRgb(const TDIB& Image);
