#include "core/PPUUnit.h"

TPPU::TPPU(TNES* Owner) : NES(Owner) {}
void TPPU::Reset() { Reg.fill(0); }
uint8_t TPPU::ReadReg(uint16_t Addr) { return Addr == 0x2002 ? Reg[2] : 0; }
void TPPU::WriteReg(uint16_t Addr, uint8_t Value) {
  if (Addr >= 0x2000 && Addr <= 0x2003) Reg[Addr & 7] = Value;
}
void TPPU::DrawBGLine(int32_t) {}
void TPPU::DrawSprites(int32_t) {}
void TPPU::FindSprite0Line() {}
void TPPU::DrawToSurface(TDrawSurface&) {}
void TPPU::DrawToCanvas(TCanvas&) {}
