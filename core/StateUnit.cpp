#include "core/StateUnit.h"

#include <algorithm>
#include <array>
#include <concepts>
#include <cstring>
#include <limits>
#include <string_view>
#include <type_traits>
#include <utility>

#include "core/CPUUnit.h"
#include "core/JOYUnit.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "platform/Checksum.h"
#include "platform/DIB.h"

namespace {

constexpr std::string_view Magic = "PIXSTATE";
constexpr size_t VersionAt = 8;
constexpr size_t LengthAt = 12;
constexpr size_t DigestAt = 16;
constexpr size_t HeaderSize = DigestAt + sizeof(TSha256Digest);
constexpr size_t SectionHeaderSize = 8;
constexpr size_t CrcSize = 4;
constexpr size_t PictureBytes = TDIB::Width * TDIB::Height;

// A run that never ends in practice, kept far from overflowing the line count.
constexpr int64_t MaxFrameCount = int64_t(1) << 47;
// The lowest sprite-0 line there is: sprite 0 at Y 255, 16 rows high.
constexpr int32_t MaxSprite0Line = 255 + 16;

template <std::integral T> constexpr T Lowest = std::numeric_limits<T>::min();
template <std::integral T> constexpr T Highest = std::numeric_limits<T>::max();

// Appends fields, little-endian.
struct TWriter {
  static constexpr bool Saving = true;
  std::vector<uint8_t>& Out;

  template <std::integral T>
  void operator()(const T& Value, std::type_identity_t<T> = Lowest<T>, std::type_identity_t<T> = Highest<T>) {
    for (size_t i = 0; i < sizeof(T); ++i)
      Out.push_back(uint8_t(std::make_unsigned_t<T>(Value) >> (8 * i)));
  }
  void operator()(const bool& Value) { Out.push_back(Value ? 1 : 0); }
  // A mark that decides what follows: written as given.
  bool Flag(bool Value) {
    (*this)(Value);
    return Value;
  }
  void Block(const uint8_t* Data, size_t Count) { Out.insert(Out.end(), Data, Data + Count); }
  template <size_t N> void Block(const std::array<uint8_t, N>& Data) { Block(Data.data(), N); }
};

// Reads fields from one section's payload and checks each against its range.
// A first pass with Apply false only checks; the second, made only when every
// section passed, stores the values into the console.
struct TReader {
  static constexpr bool Saving = false;
  std::span<const uint8_t> In;
  bool Apply;
  size_t At = 0;
  bool Bad = false;

  // Gives the next Count bytes, or null when the payload ends first.
  const uint8_t* Take(size_t Count) {
    if (In.size() - At < Count) {
      Bad = true;
      return nullptr;
    }
    At += Count;
    return In.data() + At - Count;
  }
  // The next value, checked against its range; 0 past the payload's end.
  template <std::integral T> T Next(T Low, T High) {
    const uint8_t* bytes = Take(sizeof(T));
    if (!bytes) return 0;
    std::make_unsigned_t<T> bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits |= std::make_unsigned_t<T>(bytes[i]) << (8 * i);
    const T value = T(bits);
    if (value < Low || value > High) Bad = true;
    return value;
  }

  template <std::integral T>
  void operator()(T& Field, std::type_identity_t<T> Low = Lowest<T>, std::type_identity_t<T> High = Highest<T>) {
    const T value = Next<T>(Low, High);
    if (Apply) Field = value;
  }
  void operator()(bool& Field) {
    const bool value = Flag(false);
    if (Apply) Field = value;
  }
  // A mark that decides what follows: as the payload has it, in both passes.
  bool Flag(bool) { return Next<uint8_t>(0, 1) != 0; }
  void Block(uint8_t* Data, size_t Count) {
    const uint8_t* from = Take(Count);
    if (from && Apply) std::memcpy(Data, from, Count);
  }
  template <size_t N> void Block(std::array<uint8_t, N>& Data) { Block(Data.data(), N); }
};

// ---- sections: each lists its unit's fields once, for writing and reading ----

template <typename Io, typename Console> void ConsoleSection(Io& io, Console& NES) {
  io(NES.FrameCount, 0, MaxFrameCount);
  io(NES.ScanLine, JoypadPollLine, JoypadPollLine);
  io(NES.SoundCountdown, FrameLines - JoypadPollLine, FrameLines - JoypadPollLine);
  io(NES.FrameSkip, 0, Highest<int32_t> - 1);
  io(NES.PendingInterrupt, InterruptNone, InterruptNMI);
  io.Block(NES.RAM);
}

template <typename Io, typename Console> void ProcessorSection(Io& io, Console& NES) {
  TCPU& cpu = *NES.CPU;
  io(cpu.A), io(cpu.P), io(cpu.X), io(cpu.Y), io(cpu.S), io(cpu.PC);
  io(cpu.CyclesLeft, LineCycles, LineCycles); // a pause leaves a full slice
}

template <typename Io, typename Console> void PictureUnitSection(Io& io, Console& NES) {
  TPPU& ppu = *NES.PPU;
  io(ppu.ScrollX, 0, 255);
  io(ppu.ScrollY, 0, TDIB::Height - 1);
  io(ppu.ScrollLatch), io(ppu.PaletteChanged), io(ppu.FirstRead);
  io(ppu.VRAMAddr);
  io(ppu.Sprite0Line, 0, MaxSprite0Line);
  io.Block(ppu.Reg);
  io.Block(ppu.VRAM);
  io.Block(ppu.OAM);
}

// The frame buffer (which the next frames draw on) and the picture last
// presented (which the screen shows). Lines of the second that the frame
// buffer has too, all but the few drawn since, are marked rather than given.
template <typename Io, typename Console> void PictureSection(Io& io, Console& NES) {
  TDIB& buffer = *NES.PPU->FrameBuffer;
  TDIB& shown = *NES.Shown;
  io.Block(buffer.ScanLine(0), PictureBytes);

  std::array<TRGB, TDIB::ColorCount> colors = buffer.ColorTable();
  for (TRGB& color : colors)
    io(color.R), io(color.G), io(color.B);
  if constexpr (!Io::Saving) {
    if (io.Apply) {
      buffer.SetColors(0, colors);
      shown.SetColors(0, colors);
    }
  }

  for (int line = 0; line < TDIB::Height; ++line) {
    if (io.Flag(std::memcmp(shown.ScanLine(line), buffer.ScanLine(line), TDIB::Width) != 0)) {
      io.Block(shown.ScanLine(line), TDIB::Width);
    } else if constexpr (!Io::Saving) {
      if (io.Apply) std::memcpy(shown.ScanLine(line), buffer.ScanLine(line), TDIB::Width);
    }
  }
}

template <typename Io, typename Console> void SoundSection(Io& io, Console& NES) {
  TPSG& psg = *NES.PSG;
  io.Block(psg.Registers);
  for (int32_t c = 0; c < SoundChannels; ++c) {
    io(psg.Sweep[c]);
    io(psg.Period[c]);
    io(psg.Length[c], 0, LengthTable[c].back()); // the longest tone the channel is given
    io(psg.SoundingNotes[c][0]), io(psg.SoundingNotes[c][1]);
  }
  io(psg.SpeakerFrequency, 0, 5000);
}

template <typename Io, typename Console> void JoypadSection(Io& io, Console& NES) {
  TJOY& joy = *NES.JOY;
  io.Block(joy.Buttons);
  io(joy.ReadCount[0], 0, 7), io(joy.ReadCount[1], 0, 7);
  io(joy.StrobeLatch), io(joy.Port2Latch);
}

using TTag = std::array<char, 4>;

template <typename Io> using TSection = void (*)(Io&, std::conditional_t<Io::Saving, const TNES, TNES>&);

template <typename Io> struct TSectionEntry {
  TTag Tag;
  TSection<Io> Fields;
};

// In the order they are written.
template <typename Io>
constexpr std::array<TSectionEntry<Io>, 6> Sections = {{
    {{'N', 'E', 'S', ' '}, ConsoleSection<Io>},
    {{'C', 'P', 'U', ' '}, ProcessorSection<Io>},
    {{'P', 'P', 'U', ' '}, PictureUnitSection<Io>},
    {{'P', 'I', 'C', 'T'}, PictureSection<Io>},
    {{'P', 'S', 'G', ' '}, SoundSection<Io>},
    {{'J', 'O', 'Y', ' '}, JoypadSection<Io>},
}};
constexpr size_t SectionCount = Sections<TWriter>.size();

void Put32(uint8_t* At, uint32_t Value) {
  for (int i = 0; i < 4; ++i)
    At[i] = uint8_t(Value >> (8 * i));
}

uint32_t Get32(const uint8_t* At) {
  return uint32_t(At[0]) | uint32_t(At[1]) << 8 | uint32_t(At[2]) << 16 | uint32_t(At[3]) << 24;
}

// Presents the picture the state last presented, in the colours it had then,
// and leaves the frame buffer and the palette flag as the state has them.
void PresentShown(TNES& NES) {
  if (!NES.Present) return;
  std::swap(NES.PPU->FrameBuffer, NES.Shown);
  const bool changed = std::exchange(NES.PPU->PaletteChanged, false);
  NES.Present();
  NES.PPU->PaletteChanged = changed;
  std::swap(NES.PPU->FrameBuffer, NES.Shown);
}

} // namespace

const char* RefusalText(TStateRefusal Refusal) {
  switch (Refusal) {
  case TStateRefusal::Empty: return "empty file";
  case TStateRefusal::Huge: return "too big for a state";
  case TStateRefusal::NotAState: return "not a state file";
  case TStateRefusal::UnknownVersion: return "unknown version";
  case TStateRefusal::Truncated: return "truncated";
  case TStateRefusal::Corrupt: return "corrupt";
  case TStateRefusal::OtherCartridge: return "for another cartridge";
  case TStateRefusal::Malformed: return "malformed";
  }
  return "refused";
}

std::vector<uint8_t> SaveState(const TNES& NES) {
  std::vector<uint8_t> out(HeaderSize);
  out.reserve(96 * 1024); // most states take about 85 KB
  std::copy(Magic.begin(), Magic.end(), out.begin());
  Put32(&out[VersionAt], StateVersion);
  std::copy(NES.MMC->ImageDigest.begin(), NES.MMC->ImageDigest.end(), out.begin() + DigestAt);

  TWriter writer{out};
  for (const TSectionEntry<TWriter>& section : Sections<TWriter>) {
    const size_t start = out.size();
    out.insert(out.end(), section.Tag.begin(), section.Tag.end());
    out.resize(out.size() + 4);
    section.Fields(writer, NES);
    Put32(&out[start + 4], uint32_t(out.size() - start - SectionHeaderSize));
  }
  Put32(&out[LengthAt], uint32_t(out.size() + CrcSize));
  const uint32_t crc = Crc32(out);
  out.resize(out.size() + CrcSize);
  Put32(&out[out.size() - CrcSize], crc);
  return out;
}

// A stop has already put the interrupt it displaced aside.
std::vector<uint8_t> SaveStateOnLine8(TNES& NES, uint8_t Interrupt) {
  const int32_t budget = std::exchange(NES.CPU->CyclesLeft, LineCycles);
  const uint8_t pending = NES.PendingInterrupt;
  if (Interrupt != InterruptStop) NES.PendingInterrupt = Interrupt == InterruptNMI ? Interrupt : uint8_t(InterruptNone);
  std::vector<uint8_t> state = SaveState(NES);
  NES.CPU->CyclesLeft = budget;
  NES.PendingInterrupt = pending;
  return state;
}

std::optional<TStateRefusal> LoadState(TNES& NES, std::span<const uint8_t> Bytes) {
  const size_t size = Bytes.size();
  if (size == 0) return TStateRefusal::Empty;
  if (size > MaxStateBytes) return TStateRefusal::Huge;
  const size_t magicLength = std::min(size, Magic.size());
  if (!std::equal(Bytes.begin(), Bytes.begin() + magicLength, Magic.begin())) return TStateRefusal::NotAState;
  if (size < LengthAt) return TStateRefusal::Truncated;
  if (Get32(&Bytes[VersionAt]) != StateVersion) return TStateRefusal::UnknownVersion;
  if (size < HeaderSize + CrcSize) return TStateRefusal::Truncated;
  const uint32_t length = Get32(&Bytes[LengthAt]);
  if (size < length) return TStateRefusal::Truncated;
  if (size > length) return TStateRefusal::Corrupt;
  if (Crc32(Bytes.first(size - CrcSize)) != Get32(&Bytes[size - CrcSize])) return TStateRefusal::Corrupt;
  if (!std::equal(NES.MMC->ImageDigest.begin(), NES.MMC->ImageDigest.end(), Bytes.begin() + DigestAt))
    return TStateRefusal::OtherCartridge;

  // Each known section exactly once; the others are skipped.
  std::array<std::optional<std::span<const uint8_t>>, SectionCount> payloads;
  for (std::span<const uint8_t> rest = Bytes.subspan(HeaderSize, size - HeaderSize - CrcSize);
       !rest.empty();) {
    if (rest.size() < SectionHeaderSize) return TStateRefusal::Malformed;
    const uint32_t payloadSize = Get32(&rest[4]);
    if (rest.size() - SectionHeaderSize < payloadSize) return TStateRefusal::Malformed;
    const TTag tag = {char(rest[0]), char(rest[1]), char(rest[2]), char(rest[3])};
    for (size_t s = 0; s < SectionCount; ++s) {
      if (Sections<TReader>[s].Tag != tag) continue;
      if (payloads[s]) return TStateRefusal::Malformed;
      payloads[s] = rest.subspan(SectionHeaderSize, payloadSize);
    }
    rest = rest.subspan(SectionHeaderSize + payloadSize);
  }
  for (bool apply : {false, true}) {
    for (size_t s = 0; s < SectionCount; ++s) {
      if (!payloads[s]) return TStateRefusal::Malformed;
      TReader reader{*payloads[s], apply};
      Sections<TReader>[s].Fields(reader, NES);
      if (reader.Bad || reader.At != payloads[s]->size()) return TStateRefusal::Malformed;
    }
  }
  NES.PSG->Resound();
  PresentShown(NES);
  return std::nullopt;
}

std::optional<TStateRefusal> LoadStateOnLine8(TNES& NES, std::span<const uint8_t> Bytes, uint8_t& Interrupt) {
  std::optional<TStateRefusal> refusal = LoadState(NES, Bytes);
  if (!refusal && Interrupt != InterruptStop) Interrupt = std::exchange(NES.PendingInterrupt, InterruptNone);
  return refusal;
}
