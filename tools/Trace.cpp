#include "tools/Trace.h"

#include <array>
#include <cstdio>

#include "core/NESUnit.h"

namespace {

enum TMode : uint8_t { Imp, Acc, Imm, Zp, ZpX, ZpY, Abs, AbsX, AbsY, IndX, IndY, Ind, Rel };

struct TOpcodeInfo {
  const char* Mnemonic = nullptr; // none: the processor runs it as a one-byte no-op
  TMode Mode = Imp;
};

constexpr std::array<TOpcodeInfo, 256> OpcodeTable = [] {
  std::array<TOpcodeInfo, 256> t{};
  auto set = [&t](int opcode, const char* mnemonic, TMode mode) { t[opcode] = {mnemonic, mode}; };
  auto group = [&set](const char* mnemonic, std::initializer_list<std::pair<int, TMode>> modes) {
    for (auto [opcode, mode] : modes) set(opcode, mnemonic, mode);
  };
  group("ADC", {{0x69, Imm}, {0x65, Zp}, {0x75, ZpX}, {0x6D, Abs}, {0x7D, AbsX}, {0x79, AbsY}, {0x61, IndX}, {0x71, IndY}});
  group("SBC", {{0xE9, Imm}, {0xE5, Zp}, {0xF5, ZpX}, {0xED, Abs}, {0xFD, AbsX}, {0xF9, AbsY}, {0xE1, IndX}, {0xF1, IndY}});
  group("AND", {{0x29, Imm}, {0x25, Zp}, {0x35, ZpX}, {0x2D, Abs}, {0x3D, AbsX}, {0x39, AbsY}, {0x21, IndX}, {0x31, IndY}});
  group("ORA", {{0x09, Imm}, {0x05, Zp}, {0x15, ZpX}, {0x0D, Abs}, {0x1D, AbsX}, {0x19, AbsY}, {0x01, IndX}, {0x11, IndY}});
  group("EOR", {{0x49, Imm}, {0x45, Zp}, {0x55, ZpX}, {0x4D, Abs}, {0x5D, AbsX}, {0x59, AbsY}, {0x41, IndX}, {0x51, IndY}});
  group("LDA", {{0xA9, Imm}, {0xA5, Zp}, {0xB5, ZpX}, {0xAD, Abs}, {0xBD, AbsX}, {0xB9, AbsY}, {0xA1, IndX}, {0xB1, IndY}});
  group("CMP", {{0xC9, Imm}, {0xC5, Zp}, {0xD5, ZpX}, {0xCD, Abs}, {0xDD, AbsX}, {0xD9, AbsY}, {0xC1, IndX}, {0xD1, IndY}});
  group("STA", {{0x85, Zp}, {0x95, ZpX}, {0x8D, Abs}, {0x9D, AbsX}, {0x99, AbsY}, {0x81, IndX}, {0x91, IndY}});
  group("LDX", {{0xA2, Imm}, {0xA6, Zp}, {0xB6, ZpY}, {0xAE, Abs}, {0xBE, AbsY}});
  group("LDY", {{0xA0, Imm}, {0xA4, Zp}, {0xB4, ZpX}, {0xAC, Abs}, {0xBC, AbsX}});
  group("STX", {{0x86, Zp}, {0x96, ZpY}, {0x8E, Abs}});
  group("STY", {{0x84, Zp}, {0x94, ZpX}, {0x8C, Abs}});
  group("CPX", {{0xE0, Imm}, {0xE4, Zp}, {0xEC, Abs}});
  group("CPY", {{0xC0, Imm}, {0xC4, Zp}, {0xCC, Abs}});
  group("BIT", {{0x24, Zp}, {0x2C, Abs}});
  group("INC", {{0xE6, Zp}, {0xF6, ZpX}, {0xEE, Abs}, {0xFE, AbsX}});
  group("DEC", {{0xC6, Zp}, {0xD6, ZpX}, {0xCE, Abs}, {0xDE, AbsX}});
  group("ASL", {{0x0A, Acc}, {0x06, Zp}, {0x16, ZpX}, {0x0E, Abs}, {0x1E, AbsX}});
  group("LSR", {{0x4A, Acc}, {0x46, Zp}, {0x56, ZpX}, {0x4E, Abs}, {0x5E, AbsX}});
  group("ROL", {{0x2A, Acc}, {0x26, Zp}, {0x36, ZpX}, {0x2E, Abs}, {0x3E, AbsX}});
  group("ROR", {{0x6A, Acc}, {0x66, Zp}, {0x76, ZpX}, {0x6E, Abs}, {0x7E, AbsX}});
  group("JMP", {{0x4C, Abs}, {0x6C, Ind}});
  group("JSR", {{0x20, Abs}});
  const std::pair<int, const char*> implied[] = {
      {0xE8, "INX"}, {0xC8, "INY"}, {0xCA, "DEX"}, {0x88, "DEY"}, {0xAA, "TAX"}, {0xA8, "TAY"},
      {0x8A, "TXA"}, {0x98, "TYA"}, {0xBA, "TSX"}, {0x9A, "TXS"}, {0x48, "PHA"}, {0x08, "PHP"},
      {0x68, "PLA"}, {0x28, "PLP"}, {0x60, "RTS"}, {0x40, "RTI"}, {0x00, "BRK"}, {0x18, "CLC"},
      {0x38, "SEC"}, {0x58, "CLI"}, {0x78, "SEI"}, {0xB8, "CLV"}, {0xD8, "CLD"}, {0xF8, "SED"},
      {0xEA, "NOP"}};
  for (auto [opcode, mnemonic] : implied) set(opcode, mnemonic, Imp);
  const std::pair<int, const char*> branches[] = {{0x10, "BPL"}, {0x30, "BMI"}, {0x50, "BVC"}, {0x70, "BVS"},
                                                  {0x90, "BCC"}, {0xB0, "BCS"}, {0xD0, "BNE"}, {0xF0, "BEQ"}};
  for (auto [opcode, mnemonic] : branches) set(opcode, mnemonic, Rel);
  return t;
}();

constexpr int OperandBytes(TMode mode) {
  switch (mode) {
  case Imp: case Acc: return 0;
  case Abs: case AbsX: case AbsY: case Ind: return 2;
  default: return 1;
  }
}

} // namespace

uint8_t PeekByte(TNES& NES, uint16_t Addr) {
  uint8_t value;
  NES.CPUReadOpcode(NES.CPU.get(), Addr, value);
  return value;
}

std::string TraceLine(TNES& NES) {
  const TCPU& cpu = *NES.CPU;
  uint16_t pc = cpu.PC;
  uint8_t opcode = PeekByte(NES, pc);
  const TOpcodeInfo& info = OpcodeTable[opcode];
  int count = info.Mnemonic ? OperandBytes(info.Mode) : 0;
  uint8_t low = count > 0 ? PeekByte(NES, pc + 1) : 0;
  uint8_t high = count > 1 ? PeekByte(NES, pc + 2) : 0;
  unsigned word = high << 8 | low;

  char bytes[16];
  if (count == 0) std::snprintf(bytes, sizeof bytes, "%02X", opcode);
  else if (count == 1) std::snprintf(bytes, sizeof bytes, "%02X %02X", opcode, low);
  else std::snprintf(bytes, sizeof bytes, "%02X %02X %02X", opcode, low, high);

  char text[40];
  const char* m = info.Mnemonic ? info.Mnemonic : "NOP";
  switch (info.Mode) {
  case Imp: std::snprintf(text, sizeof text, "%s", m); break;
  case Acc: std::snprintf(text, sizeof text, "%s A", m); break;
  case Imm: std::snprintf(text, sizeof text, "%s #$%02X", m, low); break;
  case Zp: std::snprintf(text, sizeof text, "%s $%02X", m, low); break;
  case ZpX: std::snprintf(text, sizeof text, "%s $%02X,X", m, low); break;
  case ZpY: std::snprintf(text, sizeof text, "%s $%02X,Y", m, low); break;
  case Abs: std::snprintf(text, sizeof text, "%s $%04X", m, word); break;
  case AbsX: std::snprintf(text, sizeof text, "%s $%04X,X", m, word); break;
  case AbsY: std::snprintf(text, sizeof text, "%s $%04X,Y", m, word); break;
  case IndX: std::snprintf(text, sizeof text, "%s ($%02X,X)", m, low); break;
  case IndY: std::snprintf(text, sizeof text, "%s ($%02X),Y", m, low); break;
  case Ind: std::snprintf(text, sizeof text, "%s ($%04X)", m, word); break;
  case Rel: std::snprintf(text, sizeof text, "%s $%04X", m, (pc + 2 + static_cast<int8_t>(low)) & 0xFFFF); break;
  }

  char line[96];
  std::snprintf(line, sizeof line, "%04X  %-9s%c%-32sA:%02X X:%02X Y:%02X P:%02X SP:%02X", pc, bytes,
                info.Mnemonic ? ' ' : '*', text, cpu.A, cpu.X, cpu.Y, cpu.P, cpu.S);
  return line;
}
