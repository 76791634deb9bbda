#pragma once

#include "Art.h"
#include "Canvas.h"

// The colours of one look of the window.
struct TScheme {
  TColor PanelTop, PanelBottom; // background gradient
  TColor Face, Light, Shadow, Outline;
  TColor Ink, InkDisabled, Accent, Hover;
  TColor TitlePaper, TitleInk;
};

extern const TScheme BuiltInScheme; // steel blue with amber and cyan
extern const TScheme SampleScheme;  // walnut with green and gold

// The pictures of one skin, each in the grid the window cuts it by.
struct TSkinPictures {
  TCanvas Main;     // 400 x 310 background
  TCanvas System;   // small buttons: row 0 btnVol 200 x 20, rows 1-3 two 100 x 20 cells
  TCanvas Settings; // wide buttons, 1 x 2 cells of 400 x 26
  TCanvas Numbers;  // slot buttons, 1 x 10 cells of 150 x 30
  TCanvas Buttons;  // command buttons, 1 x 5 cells of 165 x 33
  TCanvas Text;     // title font
  TCanvas Logo;     // 216 x 144
};

TSkinPictures MakeSkin(const TArt& Art, const TScheme& Scheme);
