#include "core/PSGUnit.h"

#include <algorithm>
#include <cmath>

#include "core/BleepInt.h"

TPSG::TPSG(TNES* Owner) : NES(Owner) {
  MidiHandle = MidiOutOpen();
  MidiOpen = MidiHandle != nullptr;
  if (MidiOpen) {
    SendMidiMessage(0xC0, 0x02, 0x00); // program 2 on MIDI channel 1; the others keep the default
    OnToneOn = TToneOnEvent::Bind<&TPSG::MidiToneOn>(this);
    OnToneLevel = TToneLevelEvent::Bind<&TPSG::MidiToneLevel>(this);
  } else {
    OnToneOn = TToneOnEvent::Bind<&TPSG::SpeakerToneOn>(this);
    OnToneLevel = TToneLevelEvent::Bind<&TPSG::SpeakerToneLevel>(this);
  }
}

// Notes still sounding are not stopped before the output closes.
TPSG::~TPSG() {
  if (!MidiOpen) SpeakerOff();
  MidiHandle.reset();
}

uint8_t TPSG::ReadRegister(uint16_t Addr) {
  return Addr >= 0x4000 && Addr <= 0x4015 ? Registers[Addr - 0x4000] : 0xFF;
}

// Per channel: register 0 (duty, envelope) is only stored, register 1 holds
// the sweep, and a write to either period register (2 low, 3 high) starts a
// tone. $4010-$4013 are only stored.
void TPSG::WriteRegister(uint16_t Addr, uint8_t Value) {
  if (Addr < 0x4000 || Addr > 0x4013) return;
  const uint16_t reg = Addr - 0x4000;
  Registers[reg] = Value;
  if (reg >= 0x10) return;
  const int32_t channel = reg >> 2;
  switch (reg & 3) {
  case 1: Sweep[channel] = (Value & 0x80) != 0; break;
  case 2:
  case 3: ToneStart(channel); break;
  default: break;
  }
}

void TPSG::ToneStart(int32_t Channel) {
  const uint8_t low = Registers[Channel * 4 + 2];
  const uint8_t high = Registers[Channel * 4 + 3];
  Period[Channel] = uint16_t((high & 7) << 8 | low);
  if (ChannelOn[Channel]) {
    OnToneLevel(uint8_t(Channel), Volume);
    OnToneOn(uint8_t(Channel), ToneFrequency(Period[Channel]));
  } else {
    OnToneLevel(uint8_t(Channel), 0);
  }
  Length[Channel] = LengthTable[Channel][high >> 3];
}

// A sweeping channel moves its period by (shift x amount) every frame, down
// when bit 3 of its sweep register is set, and restarts its tone even when
// the step is 0.
void TPSG::FrameStep() {
  for (int32_t c = 0; c < SoundChannels; ++c) {
    if (Length[c] == 0) continue;
    if (Sweep[c]) {
      const uint8_t r = Registers[c * 4 + 1];
      const uint16_t d = uint16_t(((r >> 4) & 7) * (r & 7));
      Period[c] = uint16_t(r & 0x08 ? Period[c] - d : Period[c] + d);
      if (ChannelOn[c]) OnToneOn(uint8_t(c), ToneFrequency(Period[c]));
    }
    if (--Length[c] == 0) OnToneLevel(uint8_t(c), 0);
  }
}

void TPSG::ResetSound() {}

// Equal temperament with 440 Hz as note 69, the step below truncated toward
// zero, so a frequency a little under a note's sounds the note below. Note
// 128 (13982 Hz, period 7) does not fit a data byte and plays as 127, the
// highest note there is.
void TPSG::MidiToneOn(uint8_t Channel, uint32_t Frequency) {
  if (Frequency < 10 || Frequency > 14000) return;
  const double ratio = double(32 * Frequency) * (1.0 / 440.0);
  const uint8_t note = uint8_t(std::min(9 + int32_t(12.0 * std::log2(ratio)), 127));
  SendMidiMessage(uint8_t(0x90 + Channel), note, 0x40);
  SoundingNotes[Channel & 3][note >> 6] |= uint64_t(1) << (note & 63);
}

// Only silence is carried out, as All Notes Off: the MIDI driver never sends
// Note Off and never changes loudness.
void TPSG::MidiToneLevel(uint8_t Channel, int32_t Level) {
  if (Level != 0) return;
  SendMidiMessage(uint8_t(0xB0 + Channel), 0x7B, 0x00);
  SoundingNotes[Channel & 3] = {};
}

// The latest tone started on any channel replaces the one sounding.
void TPSG::SpeakerToneOn(uint8_t, uint32_t Frequency) {
  if (Volume == 0) return;
  SpeakerTone(Frequency, -1);
  if (SpeakerReaches(Frequency)) SpeakerFrequency = Frequency;
}

// Any channel's silence stops the speaker, whatever the others are doing.
void TPSG::SpeakerToneLevel(uint8_t, int32_t Level) {
  if (Level != 0) return;
  SpeakerOff();
  SpeakerFrequency = 0;
}

void TPSG::Resound() {
  if (MidiOpen) {
    for (uint8_t c = 0; c < SoundChannels; ++c)
      SendMidiMessage(uint8_t(0xB0 + c), 0x7B, 0x00);
    for (uint8_t c = 0; c < SoundChannels; ++c)
      for (uint8_t note = 0; note < 128; ++note)
        if (SoundingNotes[c][note >> 6] >> (note & 63) & 1) SendMidiMessage(uint8_t(0x90 + c), note, 0x40);
  } else {
    SpeakerOff();
    if (SpeakerFrequency != 0) SpeakerTone(SpeakerFrequency, -1);
  }
}

void TPSG::SendMidiMessage(uint8_t Status, uint8_t Data1, uint8_t Data2) {
  MidiMessage = {Status, Data1, Data2, 0};
  MidiHandle->ShortMsg(MidiShortMessage(Status, Data1, Data2));
}
