#include "platform/WindowInput.h"

void TWindowInput::Press(uint32_t ScanCode, uint32_t Code) {
  if (Code == 0 || Code >= Held.size()) return;
  Held.set(Code);
  if (ScanCode != 0) CodeOfScanCode[ScanCode] = Code;
}

void TWindowInput::Release(uint32_t ScanCode, uint32_t Code) {
  if (auto pressed = CodeOfScanCode.find(ScanCode); ScanCode != 0 && pressed != CodeOfScanCode.end()) {
    Code = pressed->second;
    CodeOfScanCode.erase(pressed);
  }
  if (Code < Held.size()) Held.reset(Code);
}

void TWindowInput::SetActive(bool Value) {
  IsActive = Value;
  if (!IsActive) {
    Held.reset();
    CodeOfScanCode.clear();
  }
}
