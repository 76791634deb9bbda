#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/DIB.h"

class TNES;
class TDrawSurface;
class TCanvas;

// The console's 64 colours, indexed by a palette RAM byte.
// clang-format off
inline constexpr std::array<TRGB, 64> NESPalette = {{
//     +0               +1               +2               +3
  {104, 104, 104}, {  0,  64, 128}, {  0,   0, 128}, { 64,   0, 128}, // 0x00
  {128,   0, 128}, {128,   0,  64}, {128,   0,   0}, { 85,   0,   0}, // 0x04
  { 64,  64,   0}, { 51,  80,   0}, {  0,  80,   0}, {  0,  80,   0}, // 0x08
  {  0,  64,  64}, {  0,   0,   0}, {  0,   0,   0}, {  0,   0,   0}, // 0x0C
  {152, 152, 152}, {  0, 128, 192}, { 64,  64, 192}, {128,   0, 192}, // 0x10
  {192,   0, 192}, {192,   0, 128}, {192,  32,  32}, {192,  64,   0}, // 0x14
  {128, 128,   0}, { 85, 128,   0}, {  0, 128,   0}, { 51, 128,  51}, // 0x18
  {  0, 128, 128}, {  0,   0,   0}, {  0,   0,   0}, {  0,   0,   0}, // 0x1C
  {208, 208, 208}, { 64, 192, 255}, {128, 128, 255}, {192,  64, 255}, // 0x20
  {255,   0, 255}, {255,  64, 192}, {255,  80,  80}, {255, 128,  64}, // 0x24
  {192, 192,   0}, {128, 192,   0}, {  0, 192,   0}, { 85, 192,  85}, // 0x28
  {  0, 192, 192}, { 51,  51,  51}, {  0,   0,   0}, {  0,   0,   0}, // 0x2C
  {255, 255, 255}, {128, 255, 255}, {192, 192, 255}, {255, 128, 255}, // 0x30
  {255,  64, 255}, {255, 128, 255}, {255, 128, 128}, {255, 192, 128}, // 0x34
  {255, 255,  64}, {192, 255,  64}, { 64, 255,  64}, {170, 255, 170}, // 0x38
  { 64, 255, 255}, {153, 153, 153}, {  0,   0,   0}, {  0,   0,   0}, // 0x3C
}};
// clang-format on

// Register bits with an effect: PPUCTRL (Reg[0]), PPUMASK (Reg[1]), PPUSTATUS (Reg[2]).
inline constexpr uint8_t CtrlNameTable = 0x03;
inline constexpr uint8_t CtrlStep32 = 0x04;
inline constexpr uint8_t CtrlSpriteTable = 0x08;
inline constexpr uint8_t CtrlBGTable = 0x10;
inline constexpr uint8_t CtrlTallSprites = 0x20;
inline constexpr uint8_t CtrlNMIOnSprite0 = 0x40;
inline constexpr uint8_t CtrlNMIOnVBlank = 0x80;
inline constexpr uint8_t MaskBackground = 0x08;
inline constexpr uint8_t MaskSprites = 0x10;
inline constexpr uint8_t StatusNoVRAMWrite = 0x10;
inline constexpr uint8_t StatusSprite0 = 0x40;
inline constexpr uint8_t StatusVBlank = 0x80;

// The picture unit: registers $2000-$2007 and sprite DMA, 16 KB of video
// memory, sprite memory, and the frame buffer of palette RAM indexes.
class TPPU {
public:
  explicit TPPU(TNES* Owner);
  ~TPPU();
  TPPU(const TPPU&) = delete;
  TPPU& operator=(const TPPU&) = delete;

  TNES* NES;
  std::unique_ptr<TDIB> FrameBuffer;
  int32_t ScrollX = 0;         // 0 to 255
  int32_t ScrollY = 0;         // 0 to 239
  bool ScrollLatch = false;    // the next $2005 write is the vertical one
  bool PaletteChanged = false; // palette RAM written since the last colour rebuild
  bool FirstRead = false;      // the next $2007 read is the first after a $2006 write
  uint32_t VRAMAddr = 0;       // only the low 14 bits address anything
  int32_t Sprite0Line = 0;
  std::array<uint8_t, 8> Reg{}; // 0 PPUCTRL, 1 PPUMASK, 2 PPUSTATUS, 3 OAMADDR
  alignas(64) std::array<uint8_t, 0x4000> VRAM{};
  alignas(64) std::array<uint8_t, 256> OAM{}; // 64 entries: Y, tile, attributes, X

  void Reset();
  uint8_t ReadReg(uint16_t Addr);
  // $2000-$3FFF, and $4014 for sprite DMA.
  void WriteReg(uint16_t Addr, uint8_t Value);

  void DrawBGLine(int32_t Line);
  void DrawSprites(int32_t FirstLine);
  void FindSprite0Line();

  void UpdatePalette();
  void DrawToSurface(TDrawSurface& Surface);
  void DrawToCanvas(TCanvas& Canvas);
  // Writes the frame buffer as it stands, colours included, as a BMP file.
  void SaveToFile(const std::string& FileName) const;

private:
  uint8_t PatternByte(uint32_t Addr) const;
  void WriteData(uint8_t Value);
  uint8_t ReadData();
  void StepAddress();
  void SpriteDMA(uint8_t Page);
};
