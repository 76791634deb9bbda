// Save states: a console that loads one goes on exactly as the one that
// saved it, loading and saving again gives the same bytes, and every refusal
// leaves the console as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestImages.h"
#include "core/MMCUnit.h"
#include "core/NESUnit.h"
#include "core/PPUUnit.h"
#include "core/PSGUnit.h"
#include "core/StateUnit.h"
#include "platform/Checksum.h"
#include "platform/DIB.h"
#include "platform/MidiOut.h"
#include "tools/InputScript.h"

namespace {

uint64_t Hash(const uint8_t* Bytes, size_t Count, uint64_t Value = 0xCBF29CE484222325ull) {
  for (size_t i = 0; i < Count; ++i) Value = (Value ^ Bytes[i]) * 0x100000001B3ull;
  return Value;
}

// A MIDI output that notes each message with the line it was sent on.
struct TMidiLog {
  const int64_t* Line = nullptr;
  std::vector<std::pair<int64_t, uint32_t>> Messages;
};

class TLoggingMidiOut final : public TMidiOut {
public:
  explicit TLoggingMidiOut(TMidiLog& Log) : Log(Log) {}
  void ShortMsg(uint32_t Message) override { Log.Messages.emplace_back(*Log.Line, Message); }

private:
  TMidiLog& Log;
};

// One console on a cartridge, the demo with its script, its MIDI output
// logged, run to line 8 of a chosen frame, a hash kept of every picture presented.
class TStateRun {
public:
  TMidiLog Midi;
  int64_t Line = 0;
  std::unique_ptr<TNES> NES;
  std::unique_ptr<TScriptedPads> Pads;
  std::vector<uint64_t> Pictures;
  int64_t StopFrame = 0;
  // Without a pause: line 8 of TakeFrame gives Taken; line 8 of PutFrame loads Put.
  int64_t TakeFrame = -1, PutFrame = -1;
  std::vector<uint8_t> Taken, Put;

  explicit TStateRun(const std::string& Cartridge, bool Demo) {
    Midi.Line = &Line;
    SetMidiOutOpener([this] { return std::make_unique<TLoggingMidiOut>(Midi); });
    NES = std::make_unique<TNES>();
    SetMidiOutOpener(nullptr);
    EXPECT_TRUE(NES->MMC->LoadROM(Cartridge)) << Cartridge;
    if (Demo) {
      Pads = std::make_unique<TScriptedPads>(ReadInputScriptFile(PIXTOR_DEMO_SCRIPT));
      NES->SetInput(&Pads->Pad1, &Pads->Pad2);
    }
    NES->FrameRate = 3;
    NES->Present = TPresentEvent::Bind<&TStateRun::Present>(this);
    NES->PowerOn();
    NES->CPU->OnLoop = TLoopEvent::Bind<&TStateRun::Loop>(this);
    NES->Reset();
  }

  void RunTo(int64_t Frame) {
    StopFrame = Frame;
    NES->Run();
  }

private:
  void Present() {
    NES->PPU->UpdatePalette();
    const TDIB& picture = *NES->PPU->FrameBuffer;
    uint64_t hash = Hash(picture.ScanLine(0), TDIB::Width * TDIB::Height);
    Pictures.push_back(Hash(reinterpret_cast<const uint8_t*>(picture.ColorTable().data()), 64 * 3, hash));
  }
  void Loop(TCPU* Sender, uint8_t& Interrupt) {
    Line = NES->LineCount() + 1;
    if (Pads) Pads->SetFrame(Line / FrameLines);
    NES->CPULoop(Sender, Interrupt);
    if (NES->ScanLine == JoypadPollLine && NES->FrameCount == TakeFrame) Taken = SaveStateOnLine8(*NES, Interrupt);
    if (NES->ScanLine == JoypadPollLine && NES->FrameCount == PutFrame) {
      PutFrame = -1; // once: the state takes the count back
      EXPECT_EQ(LoadStateOnLine8(*NES, Put, Interrupt), std::nullopt);
      Pictures.clear(); // the state's picture, and the notes sounded again
      Midi.Messages.clear();
      Line = NES->LineCount();
    }
    if (NES->ScanLine == 0 && NES->FrameCount == StopFrame) NES->Pause();
  }
};

std::vector<std::filesystem::path> ProjectCartridges() {
  std::vector<std::filesystem::path> cartridges;
  for (const auto& entry : std::filesystem::directory_iterator(PIXTOR_ROM_DIR))
    if (entry.path().extension() == ".nes") cartridges.push_back(entry.path());
  std::sort(cartridges.begin(), cartridges.end());
  return cartridges;
}

// What the driver sends first after a load: every channel silenced, then the notes the state holds.
std::vector<uint32_t> Resounding(const TPSG& PSG) {
  std::vector<uint32_t> messages;
  for (uint8_t c = 0; c < 4; ++c) messages.push_back(MidiShortMessage(0xB0 + c, 0x7B, 0));
  for (uint8_t c = 0; c < 4; ++c)
    for (uint8_t note = 0; note < 128; ++note)
      if (PSG.SoundingNotes[c][note / 64] >> (note % 64) & 1) messages.push_back(MidiShortMessage(0x90 + c, note, 0x40));
  return messages;
}

TEST(State, LoadedConsoleGoesOnExactlyAsTheOneThatSaved) {
  const std::vector<std::filesystem::path> cartridges = ProjectCartridges();
  ASSERT_GE(cartridges.size(), 9u) << "the project's cartridges are built into " << PIXTOR_ROM_DIR;
  int notesHeld = 0; // states saved with notes sounding
  for (const auto& cartridge : cartridges) {
    const bool demo = cartridge.stem() == "demo";
    TStateRun saver(cartridge.string(), demo);
    saver.RunTo(600);
    const std::vector<uint8_t> saved = SaveState(*saver.NES);
    const std::vector<uint32_t> resound = Resounding(*saver.NES->PSG);
    notesHeld += resound.size() > 4;
    const size_t picturesBefore = saver.Pictures.size(), midiBefore = saver.Midi.Messages.size();
    saver.RunTo(1200);

    TStateRun loader(cartridge.string(), demo);
    loader.Midi.Messages.clear();
    loader.Pictures.clear();
    ASSERT_EQ(LoadState(*loader.NES, saved), std::nullopt) << cartridge;
    loader.Line = loader.NES->LineCount();
    EXPECT_EQ(SaveState(*loader.NES), saved) << cartridge << ": loading and saving again changes the bytes";
    EXPECT_EQ(loader.NES->FrameCount, 600);
    ASSERT_EQ(loader.Pictures.size(), 1u) << "the state's picture is presented at once";
    EXPECT_EQ(loader.Pictures[0], saver.Pictures[picturesBefore - 1]) << cartridge;
    ASSERT_GE(loader.Midi.Messages.size(), resound.size());
    for (size_t i = 0; i < resound.size(); ++i) EXPECT_EQ(loader.Midi.Messages[i].second, resound[i]) << cartridge;
    loader.Midi.Messages.erase(loader.Midi.Messages.begin(), loader.Midi.Messages.begin() + long(resound.size()));
    loader.Pictures.clear();
    loader.RunTo(1200);

    EXPECT_EQ(loader.Pictures, std::vector<uint64_t>(saver.Pictures.begin() + long(picturesBefore), saver.Pictures.end()))
        << cartridge;
    EXPECT_EQ(loader.Midi.Messages, decltype(saver.Midi.Messages)(saver.Midi.Messages.begin() + long(midiBefore),
                                                                   saver.Midi.Messages.end()))
        << cartridge;
    EXPECT_EQ(SaveState(*loader.NES), SaveState(*saver.NES)) << cartridge;

    // The same without pausing: taken on frame 600; put back on frame 650, and run on.
    TStateRun unpaused(cartridge.string(), demo);
    unpaused.TakeFrame = 600;
    unpaused.PutFrame = 650;
    unpaused.Put = saved;
    unpaused.RunTo(1200); // the frame count goes back to 600 on 650
    EXPECT_EQ(unpaused.Taken, saved) << cartridge << ": taken on line 8 without a pause";
    EXPECT_EQ(unpaused.Pictures, loader.Pictures) << cartridge << ": put back on line 8 without a pause";
    EXPECT_EQ(unpaused.Midi.Messages, loader.Midi.Messages) << cartridge;
  }
  EXPECT_GE(notesHeld, 2);
}

// A state with its CRC made right again after a change.
std::vector<uint8_t> Resealed(std::vector<uint8_t> Bytes) {
  const uint32_t crc = Crc32(std::span(Bytes).first(Bytes.size() - 4));
  for (int i = 0; i < 4; ++i) Bytes[Bytes.size() - 4 + i] = uint8_t(crc >> (8 * i));
  return Bytes;
}

size_t SectionAt(const std::vector<uint8_t>& Bytes, const char* Tag) {
  for (size_t at = 48; at + 8 <= Bytes.size();) {
    if (std::equal(Tag, Tag + 4, Bytes.begin() + long(at))) return at;
    at += 8 + (Bytes[at + 4] | Bytes[at + 5] << 8 | Bytes[at + 6] << 16 | size_t(Bytes[at + 7]) << 24);
  }
  ADD_FAILURE() << "no section " << Tag;
  return 0;
}

// A copy of the state with a section the reader does not know inserted before Tag's.
std::vector<uint8_t> WithSectionBefore(std::vector<uint8_t> Bytes, const char* Tag, const char* NewTag) {
  const std::vector<uint8_t> extra = {uint8_t(NewTag[0]), uint8_t(NewTag[1]), uint8_t(NewTag[2]), uint8_t(NewTag[3]), 2, 0, 0, 0, 7, 7};
  Bytes.insert(Bytes.begin() + long(SectionAt(Bytes, Tag)), extra.begin(), extra.end());
  const uint32_t length = uint32_t(Bytes.size());
  for (int i = 0; i < 4; ++i) Bytes[12 + i] = uint8_t(length >> (8 * i));
  return Resealed(Bytes);
}

TEST(State, EveryRefusalHasItsReasonAndChangesNothing) {
  TStateRun run(std::string(PIXTOR_ROM_DIR) + "/test_sprites.nes", false);
  run.RunTo(30);
  const std::vector<uint8_t> good = SaveState(*run.NES);
  TStateRun other(std::string(PIXTOR_ROM_DIR) + "/test_palette.nes", false);
  other.RunTo(30);
  const std::vector<uint8_t> foreign = SaveState(*other.NES);

  auto changed = [&](size_t At, uint8_t Value) {
    std::vector<uint8_t> bytes = good;
    bytes[At] = Value;
    return bytes;
  };
  // The console's scan line sits 8 bytes into the "NES " payload.
  const size_t scanLine = SectionAt(good, "NES ") + 8 + 8;
  std::vector<uint8_t> withoutJoypads = good;
  withoutJoypads.erase(withoutJoypads.begin() + long(SectionAt(good, "JOY ")), withoutJoypads.end() - 4);
  for (int i = 0; i < 4; ++i) withoutJoypads[12 + i] = uint8_t(withoutJoypads.size() >> (8 * i));

  const struct {
    const char* What;
    std::vector<uint8_t> Bytes;
    TStateRefusal Refusal;
  } cases[] = {
      {"nothing", {}, TStateRefusal::Empty},
      {"too long", std::vector<uint8_t>(MaxStateBytes + 1), TStateRefusal::Huge},
      {"a picture", std::vector<uint8_t>{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, TStateRefusal::NotAState},
      {"half the name", std::vector<uint8_t>(good.begin(), good.begin() + 4), TStateRefusal::Truncated},
      {"version 2", changed(8, 2), TStateRefusal::UnknownVersion},
      {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 100), TStateRefusal::Truncated},
      {"a byte changed", changed(good.size() / 2, uint8_t(good[good.size() / 2] ^ 1)), TStateRefusal::Corrupt},
      {"a byte too many", [&] { auto b = good; b.push_back(0); return b; }(), TStateRefusal::Corrupt},
      {"another cartridge's", foreign, TStateRefusal::OtherCartridge},
      {"stopped on line 9", Resealed(changed(scanLine, 9)), TStateRefusal::Malformed},
      {"a section missing", Resealed(withoutJoypads), TStateRefusal::Malformed},
      {"a section twice", WithSectionBefore(good, "CPU ", "JOY "), TStateRefusal::Malformed},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LoadState(*run.NES, c.Bytes), c.Refusal) << c.What;
    EXPECT_EQ(SaveState(*run.NES), good) << c.What << " changed the console";
  }
  for (TStateRefusal refusal : {TStateRefusal::Empty, TStateRefusal::Huge, TStateRefusal::NotAState,
                                TStateRefusal::UnknownVersion, TStateRefusal::Truncated, TStateRefusal::Corrupt,
                                TStateRefusal::OtherCartridge, TStateRefusal::Malformed}) {
    const std::string text = RefusalText(refusal);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return (c >= 'a' && c <= 'z') || c == ' '; }))
        << text << ": the title line's font has no such letter";
  }
}

TEST(State, SectionsOfALaterVersionAreSkipped) {
  TStateRun run(std::string(PIXTOR_ROM_DIR) + "/test_sprites.nes", false);
  run.RunTo(30);
  const std::vector<uint8_t> good = SaveState(*run.NES);
  run.RunTo(40);
  EXPECT_EQ(LoadState(*run.NES, WithSectionBefore(good, "PSG ", "MAP2")), std::nullopt);
  EXPECT_EQ(SaveState(*run.NES), good);
}

} // namespace
