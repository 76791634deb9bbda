#pragma once

// Save states: everything that decides what the console does next, as one
// file. A state is taken and put back only while no run is under way, at the
// point where a pause ends one: line 8 of a frame, the processor with a full
// slice before it.
//
// File layout, integers little-endian:
//
//   offset  size  contents
//   0       8     "PIXSTATE"
//   8       4     format version, StateVersion
//   12      4     length of the whole file in bytes
//   16      32    SHA-256 of the cartridge image it belongs to (TMMC::ImageDigest:
//                 the header, program ROM and character ROM as loaded)
//   48      ...   sections: a 4-character tag, the payload's length (4 bytes), the payload
//   end-4   4     CRC-32 of every byte before it
//
// Sections of version 1, one per unit: "NES " (line and frame counters,
// frame-divisor phase, pending interrupt, work RAM), "CPU " (registers and the
// slice's budget), "PPU " (registers, latches, video and sprite memory),
// "PICT" (the frame buffer with its colours, then the picture last presented,
// each of its lines either the same as the frame buffer's or given), "PSG "
// (registers, counters, and what the voice driver holds sounding), "JOY "
// (buttons, counters, latches). A reader skips sections it does not know, so
// a later version may add one; the version changes only when a section's
// meaning does. Settings (frame divisor, volume, channel switches, keys) are
// not part of a state, nor is battery RAM, which mapper 0 never writes.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TNES;

inline constexpr uint32_t StateVersion = 1;
// Far more than any state of this version takes (about 85 KB).
inline constexpr size_t MaxStateBytes = 1 << 20;

enum class TStateRefusal {
  Empty,
  Huge,
  NotAState,
  UnknownVersion,
  Truncated,
  Corrupt,
  OtherCartridge,
  Malformed
};

// Short, in the letters, digits and marks the title line's font has.
const char* RefusalText(TStateRefusal Refusal);

// The console's state as a file, for the cartridge it has loaded.
std::vector<uint8_t> SaveState(const TNES& NES);

// States taken and put back without stopping the run, from the loop event
// of line 8, after the console's line handler has handed back Interrupt.
// Saving gives the state a pause on that line would have left (a full slice,
// the interrupt held back for the next run) and leaves the console as it
// was. Loading puts the state in place as LoadState does and hands the
// interrupt the state holds back to the processor through Interrupt, so the
// run goes on from the state as a run resumed from it would; a stop stays a
// stop.
std::vector<uint8_t> SaveStateOnLine8(TNES& NES, uint8_t Interrupt);

// Checks a state through before anything changes, and refuses it, leaving
// the console as it was, unless it is whole, for this cartridge and of
// possible values. Once it is in place, the voice driver first silences
// every note and then sounds those the state holds (TPSG::Resound), and the
// picture the state last presented is presented again.
std::optional<TStateRefusal> LoadState(TNES& NES, std::span<const uint8_t> Bytes);
std::optional<TStateRefusal> LoadStateOnLine8(TNES& NES, std::span<const uint8_t> Bytes, uint8_t& Interrupt);
