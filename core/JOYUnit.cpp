#include "core/JOYUnit.h"

TJOY::TJOY(TNES* Owner) : NES(Owner) {}
uint8_t TJOY::ReadPort(uint16_t Addr) { return Addr == 0x4015 ? 0xFF : 0; }
void TJOY::WritePort(uint16_t, uint8_t) {}
void TJOY::Poll() {}
void TJOY::Reset() {}
