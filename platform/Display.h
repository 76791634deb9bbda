#pragma once

class TDIB;

// A drawing surface of the accelerated display: it takes a copy of an 8-bit
// image with its colour table and converts it to its own pixel format.
class TDrawSurface {
public:
  virtual ~TDrawSurface() = default;
  virtual void Assign(const TDIB& Image) = 0;
};

// The accelerated display: the console draws on its surface and flips it.
class TDXDraw {
public:
  virtual ~TDXDraw() = default;
  // Initialised, with a drawing surface, and able to show it now.
  virtual bool CanDraw() = 0;
  virtual TDrawSurface& Surface() = 0;
  // Shows the drawing surface; waits for the monitor's vertical blank where it can.
  virtual void Flip() = 0;
  virtual void SetVisible(bool Visible) = 0;
};

// A plain window canvas.
class TCanvas {
public:
  virtual ~TCanvas() = default;
  // Draws an 8-bit image through its colour table, unscaled, top left at (X, Y).
  virtual void Draw(int X, int Y, const TDIB& Image) = 0;
};
