#include "core/PSGUnit.h"

TPSG::TPSG(TNES* Owner) : NES(Owner) {}
uint8_t TPSG::ReadRegister(uint16_t Addr) {
  return Addr >= 0x4000 && Addr <= 0x4015 ? Registers[Addr - 0x4000] : 0xFF;
}
void TPSG::WriteRegister(uint16_t Addr, uint8_t Value) {
  if (Addr >= 0x4000 && Addr <= 0x4013) Registers[Addr - 0x4000] = Value;
}
void TPSG::FrameStep() {}
void TPSG::ResetSound() {}
