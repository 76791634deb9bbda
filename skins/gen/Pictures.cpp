#include "Pictures.h"

#include <array>
#include <string>

const TScheme BuiltInScheme = {
    {70, 80, 100}, {30, 34, 46}, {86, 96, 118}, {168, 180, 204}, {36, 40, 52}, {12, 14, 20},
    {236, 240, 248}, {120, 128, 144}, {255, 176, 40}, {120, 210, 255}, {8, 22, 14}, {96, 255, 150},
};

const TScheme SampleScheme = {
    {132, 82, 44}, {70, 38, 18}, {158, 106, 62}, {232, 192, 140}, {58, 32, 14}, {24, 12, 4},
    {255, 244, 220}, {126, 94, 64}, {110, 220, 70}, {255, 220, 110}, {28, 14, 4}, {255, 196, 64},
};

namespace {

constexpr int States = 5;

struct TRect {
  int X, Y, W, H;
};

// Where the window puts its buttons; neighbouring buttons share one well.
constexpr std::array<TRect, 7> ButtonWells = {{
    {8, 4, 20, 20},    // about
    {335, 4, 60, 20},  // minimize, full screen, close
    {12, 31, 33, 165}, // the five commands
    {313, 31, 80, 26}, // settings
    {313, 61, 80, 26}, // info
    {313, 103, 80, 20}, // volume down, volume, volume up
    {28, 275, 300, 30}, // the ten slots
}};

// A sunken well whose inside is the given rectangle; the buttons' wells are
// one pixel deep because the window leaves only three pixels between them
// and the screen.
void Well(TCanvas& C, TRect R, const TScheme& S, TColor Inside, int Depth) {
  if (Depth == 2) C.Frame(R.X - 2, R.Y - 2, R.W + 4, R.H + 4, S.Shadow, S.Light);
  C.Frame(R.X - 1, R.Y - 1, R.W + 2, R.H + 2, S.Outline, Mix(S.Face, S.Light, 0.4));
  C.FillRect(R.X, R.Y, R.W, R.H, Inside);
}

TCanvas Background(const TArt& Art, const TScheme& S) {
  TCanvas C(400, 310);
  for (int Y = 0; Y < C.Height(); ++Y) C.FillRect(0, Y, C.Width(), 1, Mix(S.PanelTop, S.PanelBottom, Y / 309.0));
  C.Frame(0, 0, 400, 310, S.Light, S.Outline);
  C.Frame(1, 1, 398, 308, Mix(S.PanelTop, S.Light, 0.5), S.Shadow);
  Well(C, {48, 10, 257, 8}, S, S.TitlePaper, 2);
  Well(C, {48, 30, 258, 242}, S, {0, 0, 0}, 2);
  for (const TRect& Place : ButtonWells) Well(C, Place, S, S.Outline, 1);
  // A speaker grille and the name on the empty right-hand panel.
  for (int Y = 140; Y < 228; Y += 6)
    for (int X = 320; X < 388; X += 6) {
      C.FillRect(X, Y, 3, 3, S.Outline);
      C.Plot(X + 3, Y + 3, Mix(S.PanelTop, S.Light, 0.5));
    }
  const TMask Name = Scaled(Art.Text("PIXTOR"), 2);
  Paint(C, Name, 353 - Name.Width / 2 + 1, 245, S.Outline, S.Outline);
  Paint(C, Name, 353 - Name.Width / 2, 244, S.Light, S.Light);
  return C;
}

// One button's five state images side by side: up, disabled, pressed,
// down (latched), mouse over.
TCanvas ButtonStrip(int Width, int Height, const TMask& Label, const TScheme& S) {
  TCanvas C(Width * States, Height);
  const int LabelX = (Width - Label.Width) / 2, LabelY = (Height - Label.Height) / 2;
  for (int State = 0; State < States; ++State) {
    const int X = State * Width;
    TColor Face = S.Face, TopLeft = S.Light, BottomRight = S.Shadow, Ink = S.Ink;
    int Shift = 0;
    switch (State) {
    case 1: // disabled: flat, the label greyed
      Face = Mix(S.Face, S.PanelBottom, 0.35), TopLeft = BottomRight = Face, Ink = S.InkDisabled;
      break;
    case 2: // pressed: sunken
      Face = Mix(S.Face, S.Shadow, 0.35), TopLeft = S.Shadow, BottomRight = S.Light, Shift = 1;
      break;
    case 3: // down: sunken and lit
      Face = S.Accent, TopLeft = Mix(S.Accent, S.Outline, 0.6), BottomRight = Mix(S.Accent, S.Light, 0.6);
      Ink = S.Outline, Shift = 1;
      break;
    case 4: // mouse over: raised, brighter, the label in the hover colour
      Face = Mix(S.Face, S.Light, 0.3), Ink = S.Hover;
      break;
    }
    C.FillRect(X, 0, Width, Height, Face);
    C.Frame(X, 0, Width, Height, State == 4 ? S.Hover : S.Outline, S.Outline);
    C.Frame(X + 1, 1, Width - 2, Height - 2, TopLeft, BottomRight);
    if (State != 1 && State != 3) Paint(C, Label, X + LabelX + Shift + 1, LabelY + Shift + 1, S.Outline, S.Outline);
    Paint(C, Label, X + LabelX + Shift, LabelY + Shift, Ink, Ink);
  }
  return C;
}

// Strips of equal size stacked as the rows of one picture.
TCanvas Column(const std::vector<TCanvas>& Strips) {
  TCanvas C(Strips.front().Width(), Strips.front().Height() * int(Strips.size()));
  for (std::size_t Row = 0; Row < Strips.size(); ++Row) C.Draw(Strips[Row], 0, int(Row) * Strips[Row].Height());
  return C;
}

TCanvas SmallButtons(const TArt& Art, const TScheme& S) {
  TCanvas C(200, 80);
  C.Draw(ButtonStrip(40, 20, Join({Art.Icon("vol"), Art.Text("VOL")}, true, 3), S), 0, 0);
  const char* Icons[3][2] = {{"minimize", "about"}, {"fullscreen", "voldown"}, {"close", "volup"}};
  for (int Row = 0; Row < 3; ++Row)
    for (int Column = 0; Column < 2; ++Column)
      C.Draw(ButtonStrip(20, 20, Art.Icon(Icons[Row][Column]), S), Column * 100, (Row + 1) * 20);
  return C;
}

TCanvas TitleFont(const TArt& Art, const TScheme& S) {
  TCanvas C(Art.Font.Width, Art.Font.Height, S.TitlePaper);
  Paint(C, Art.Font, 0, 0, S.TitleInk, S.TitleInk);
  return C;
}

TCanvas Logo(const TArt& Art, const TScheme& S) {
  TCanvas C(216, 144);
  for (int Y = 0; Y < 144; ++Y) C.FillRect(0, Y, 216, 1, Mix(S.PanelTop, S.Outline, Y / 143.0));
  C.Frame(0, 0, 216, 144, S.Light, S.Outline);
  const TMask Title = Scaled(Art.Text("PIXTOR"), 5);
  Paint(C, Title, (216 - Title.Width) / 2 + 3, 15, S.Outline, S.Outline);
  Paint(C, Title, (216 - Title.Width) / 2, 12, S.Accent, S.Accent);
  const TMask Subtitle = Scaled(Art.Text("NES EMULATOR"), 2);
  Paint(C, Subtitle, (216 - Subtitle.Width) / 2, 46, S.Ink, S.Ink);
  const TMask Pad = Scaled(Art.Icon("joypad"), 3);
  Paint(C, Pad, (216 - Pad.Width) / 2, 68, S.Light, S.Accent);
  return C;
}

} // namespace

TSkinPictures MakeSkin(const TArt& Art, const TScheme& S) {
  std::vector<TCanvas> Slots, Commands;
  for (int Slot = 1; Slot <= 10; ++Slot) Slots.push_back(ButtonStrip(30, 30, Scaled(Art.Text(std::to_string(Slot)), 2), S));
  const std::array<std::pair<const char*, const char*>, 5> CommandLabels = {
      {{"open", "OPEN"}, {"run", "RUN"}, {"reset", "RESET"}, {"pause", "PAUSE"}, {"snapshot", "SNAP"}}};
  for (const auto& [Icon, Word] : CommandLabels)
    Commands.push_back(ButtonStrip(33, 33, Join({Art.Icon(Icon), Art.Text(Word)}, false, 4), S));
  return {
      Background(Art, S),
      SmallButtons(Art, S),
      Column({ButtonStrip(80, 26, Scaled(Art.Text("SETUP"), 2), S), ButtonStrip(80, 26, Scaled(Art.Text("INFO"), 2), S)}),
      Column(Slots),
      Column(Commands),
      TitleFont(Art, S),
      Logo(Art, S),
  };
}
