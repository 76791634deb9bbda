#pragma once

#include "Art.h"
#include "Raster.h"

// The colours of one look of the window.
struct TScheme {
  TRGB PanelTop, PanelBottom; // background gradient
  TRGB Face, Light, Shadow, Outline;
  TRGB Ink, InkDisabled, Accent, Hover;
  TRGB TitlePaper, TitleInk;
};

extern const TScheme BuiltInScheme; // steel blue with amber and cyan
extern const TScheme SampleScheme;  // walnut with green and gold

// The pictures of one skin, each in the grid the window cuts it by.
struct TSkinPictures {
  TRaster Main;     // 400 x 310 background
  TRaster System;   // small buttons: row 0 btnVol 200 x 20, rows 1-3 two 100 x 20 cells
  TRaster Settings; // wide buttons, 1 x 2 cells of 400 x 26
  TRaster Numbers;  // slot buttons, 1 x 10 cells of 150 x 30
  TRaster Buttons;  // command buttons, 1 x 5 cells of 165 x 33
  TRaster Text;     // title font
  TRaster Logo;     // 216 x 144
};

TSkinPictures MakeSkin(const TArt& Art, const TScheme& Scheme);
