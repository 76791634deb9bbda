#pragma once

#include <array>
#include <cstdint>

class TNES;
class TDrawSurface;
class TCanvas;

// The picture unit (first form: registers stored, nothing drawn).
class TPPU {
public:
  explicit TPPU(TNES* Owner);

  int32_t Sprite0Line = 0;
  std::array<uint8_t, 8> Reg{}; // 0 PPUCTRL, 1 PPUMASK, 2 PPUSTATUS, 3 OAMADDR
  std::array<uint8_t, 0x4000> VRAM{};
  std::array<uint8_t, 256> OAM{};

  void Reset();
  uint8_t ReadReg(uint16_t Addr);
  void WriteReg(uint16_t Addr, uint8_t Value);
  void DrawBGLine(int32_t Line);
  void DrawSprites(int32_t FirstLine);
  void FindSprite0Line();
  void DrawToSurface(TDrawSurface& Surface);
  void DrawToCanvas(TCanvas& Canvas);

private:
  TNES* NES;
};
