#pragma once

#include <cstdint>
#include <string>

class TNES;

// Reads processor memory as the processor's opcode fetch does: no picture
// unit, sound or joypad state changes.
uint8_t PeekByte(TNES& NES, uint16_t Addr);

// One trace line for the instruction at the processor's PC, before it
// executes, in the column layout of the widely used nestest.log:
// "C000  4C F5 C5  JMP $C5F5                       A:00 X:00 Y:00 P:24 SP:FD".
std::string TraceLine(TNES& NES);
