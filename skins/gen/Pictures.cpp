#include "Pictures.h"

#include <array>
#include <string>

const TScheme BuiltInScheme = {
    {70, 80, 100},   {30, 34, 46},    {86, 96, 118},  {168, 180, 204}, {36, 40, 52}, {12, 14, 20},
    {236, 240, 248}, {120, 128, 144}, {255, 176, 40}, {120, 210, 255}, {8, 22, 14},  {96, 255, 150},
};

const TScheme SampleScheme = {
    {132, 82, 44},   {70, 38, 18},  {158, 106, 62}, {232, 192, 140}, {58, 32, 14}, {24, 12, 4},
    {255, 244, 220}, {126, 94, 64}, {110, 220, 70}, {255, 220, 110}, {28, 14, 4},  {255, 196, 64},
};

namespace {

constexpr int States = 5;

struct TRect {
  int X, Y, W, H;
};

// Where the window puts its buttons; neighbouring buttons share one well.
constexpr std::array<TRect, 7> ButtonWells = {{
    {8, 4, 20, 20},     // about
    {335, 4, 60, 20},   // minimize, full screen, close
    {12, 31, 33, 165},  // the five commands
    {313, 31, 80, 26},  // settings
    {313, 61, 80, 26},  // info
    {313, 103, 80, 20}, // volume down, volume, volume up
    {28, 275, 300, 30}, // the ten slots
}};

// A sunken well whose inside is the given rectangle; the buttons' wells are
// one pixel deep because the window leaves only three pixels between them
// and the screen.
void Well(TRaster& Picture, TRect R, const TScheme& S, TRGB Inside, int Depth) {
  if (Depth == 2) Picture.Frame(R.X - 2, R.Y - 2, R.W + 4, R.H + 4, S.Shadow, S.Light);
  Picture.Frame(R.X - 1, R.Y - 1, R.W + 2, R.H + 2, S.Outline, Mix(S.Face, S.Light, 0.4));
  Picture.FillRect(R.X, R.Y, R.W, R.H, Inside);
}

TRaster Background(const TArt& Art, const TScheme& S) {
  TRaster picture(400, 310);
  for (int y = 0; y < picture.Height(); ++y)
    picture.FillRect(0, y, picture.Width(), 1, Mix(S.PanelTop, S.PanelBottom, y / 309.0));
  picture.Frame(0, 0, 400, 310, S.Light, S.Outline);
  picture.Frame(1, 1, 398, 308, Mix(S.PanelTop, S.Light, 0.5), S.Shadow);
  Well(picture, {48, 10, 257, 8}, S, S.TitlePaper, 2);
  Well(picture, {48, 30, 258, 242}, S, {0, 0, 0}, 2);
  for (const TRect& place : ButtonWells)
    Well(picture, place, S, S.Outline, 1);
  // A speaker grille and the name on the empty right-hand panel.
  for (int y = 140; y < 228; y += 6)
    for (int x = 320; x < 388; x += 6) {
      picture.FillRect(x, y, 3, 3, S.Outline);
      picture.Plot(x + 3, y + 3, Mix(S.PanelTop, S.Light, 0.5));
    }
  const TMask name = Scaled(Art.Text("PIXTOR"), 2);
  Paint(picture, name, 353 - name.Width / 2 + 1, 245, S.Outline, S.Outline);
  Paint(picture, name, 353 - name.Width / 2, 244, S.Light, S.Light);
  return picture;
}

// One button's five state images side by side: up, disabled, pressed,
// down (latched), mouse over.
TRaster ButtonStrip(int Width, int Height, const TMask& Label, const TScheme& S) {
  TRaster picture(Width * States, Height);
  const int labelX = (Width - Label.Width) / 2, labelY = (Height - Label.Height) / 2;
  for (int state = 0; state < States; ++state) {
    const int x = state * Width;
    TRGB face = S.Face, topLeft = S.Light, bottomRight = S.Shadow, ink = S.Ink;
    int shift = 0;
    switch (state) {
    case 1: // disabled: flat, the label greyed
      face = Mix(S.Face, S.PanelBottom, 0.35), topLeft = bottomRight = face, ink = S.InkDisabled;
      break;
    case 2: // pressed: sunken
      face = Mix(S.Face, S.Shadow, 0.35), topLeft = S.Shadow, bottomRight = S.Light, shift = 1;
      break;
    case 3: // down: sunken and lit
      face = S.Accent, topLeft = Mix(S.Accent, S.Outline, 0.6), bottomRight = Mix(S.Accent, S.Light, 0.6);
      ink = S.Outline, shift = 1;
      break;
    case 4: // mouse over: raised, brighter, the label in the hover colour
      face = Mix(S.Face, S.Light, 0.3), ink = S.Hover;
      break;
    }
    picture.FillRect(x, 0, Width, Height, face);
    picture.Frame(x, 0, Width, Height, state == 4 ? S.Hover : S.Outline, S.Outline);
    picture.Frame(x + 1, 1, Width - 2, Height - 2, topLeft, bottomRight);
    if (state != 1 && state != 3)
      Paint(picture, Label, x + labelX + shift + 1, labelY + shift + 1, S.Outline, S.Outline);
    Paint(picture, Label, x + labelX + shift, labelY + shift, ink, ink);
  }
  return picture;
}

// Strips of equal size stacked as the rows of one picture.
TRaster Column(const std::vector<TRaster>& Strips) {
  TRaster picture(Strips.front().Width(), Strips.front().Height() * int(Strips.size()));
  for (std::size_t row = 0; row < Strips.size(); ++row)
    picture.Draw(Strips[row], 0, int(row) * Strips[row].Height());
  return picture;
}

TRaster SmallButtons(const TArt& Art, const TScheme& S) {
  TRaster picture(200, 80);
  picture.Draw(ButtonStrip(40, 20, Join({Art.Icon("vol"), Art.Text("VOL")}, true, 3), S), 0, 0);
  const char* icons[3][2] = {{"minimize", "about"}, {"fullscreen", "voldown"}, {"close", "volup"}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 2; ++column)
      picture.Draw(ButtonStrip(20, 20, Art.Icon(icons[row][column]), S), column * 100, (row + 1) * 20);
  return picture;
}

TRaster TitleFont(const TArt& Art, const TScheme& S) {
  TRaster picture(Art.Font.Width, Art.Font.Height, S.TitlePaper);
  Paint(picture, Art.Font, 0, 0, S.TitleInk, S.TitleInk);
  return picture;
}

TRaster Logo(const TArt& Art, const TScheme& S) {
  TRaster picture(216, 144);
  for (int y = 0; y < 144; ++y)
    picture.FillRect(0, y, 216, 1, Mix(S.PanelTop, S.Outline, y / 143.0));
  picture.Frame(0, 0, 216, 144, S.Light, S.Outline);
  const TMask title = Scaled(Art.Text("PIXTOR"), 5);
  Paint(picture, title, (216 - title.Width) / 2 + 3, 15, S.Outline, S.Outline);
  Paint(picture, title, (216 - title.Width) / 2, 12, S.Accent, S.Accent);
  const TMask subtitle = Scaled(Art.Text("NES EMULATOR"), 2);
  Paint(picture, subtitle, (216 - subtitle.Width) / 2, 46, S.Ink, S.Ink);
  const TMask pad = Scaled(Art.Icon("joypad"), 3);
  Paint(picture, pad, (216 - pad.Width) / 2, 68, S.Light, S.Accent);
  return picture;
}

} // namespace

TSkinPictures MakeSkin(const TArt& Art, const TScheme& S) {
  std::vector<TRaster> slots, commands;
  for (int slot = 1; slot <= 10; ++slot)
    slots.push_back(ButtonStrip(30, 30, Scaled(Art.Text(std::to_string(slot)), 2), S));
  const std::array<std::pair<const char*, const char*>, 5> commandLabels = {
      {{"open", "OPEN"}, {"run", "RUN"}, {"reset", "RESET"}, {"pause", "PAUSE"}, {"snapshot", "SNAP"}}};
  for (const auto& [icon, word] : commandLabels)
    commands.push_back(ButtonStrip(33, 33, Join({Art.Icon(icon), Art.Text(word)}, false, 4), S));
  return {
      Background(Art, S),
      SmallButtons(Art, S),
      Column({ButtonStrip(80, 26, Scaled(Art.Text("SETUP"), 2), S),
              ButtonStrip(80, 26, Scaled(Art.Text("INFO"), 2), S)}),
      Column(slots),
      Column(commands),
      TitleFont(Art, S),
      Logo(Art, S),
  };
}
