#pragma once

#include <cstdint>

#include "core/NESUnit.h"

// The two ways the processor can reach the console's bus: the direct run,
// taken while the memory slots hold the console's own handlers, and calls
// through the slots, taken when the slots hold anything else.
enum class TPath { Direct, Slots };

inline const char* PathName(TPath Path) { return Path == TPath::Direct ? "Direct" : "Slots"; }

// Slot handlers that only pass each access on to the console's own handler,
// so that the processor calls through its slots. Install after power-on.
struct TSlotForwarder {
  TNES& NES;
  int64_t Calls = 0;

  void Read(TCPU* Sender, uint16_t Addr, uint8_t& Value) { ++Calls, NES.CPUReadMemory(Sender, Addr, Value); }
  void Fetch(TCPU* Sender, uint16_t Addr, uint8_t& Value) { ++Calls, NES.CPUReadOpcode(Sender, Addr, Value); }
  void Write(TCPU* Sender, uint16_t Addr, uint8_t Value) { ++Calls, NES.CPUWriteMemory(Sender, Addr, Value); }

  // Puts the forwarders in the slots for Slots; leaves the console's handlers for Direct.
  void Install(TPath Path) {
    if (Path == TPath::Direct) return;
    NES.CPU->OnReadMemory = TReadMemory::Bind<&TSlotForwarder::Read>(this);
    NES.CPU->OnReadOpcode = TReadMemory::Bind<&TSlotForwarder::Fetch>(this);
    NES.CPU->OnWriteMemory = TWriteMemory::Bind<&TSlotForwarder::Write>(this);
  }
};
