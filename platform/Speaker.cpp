#include "platform/Speaker.h"

namespace {

class TNoSpeaker final : public TSpeakerPort {
public:
  void Sound(uint16_t) override {}
  void Silence() override {}
};

TNoSpeaker NoSpeaker;
TSpeakerPort* CurrentPort = &NoSpeaker;

} // namespace

void SetSpeakerPort(TSpeakerPort* Port) { CurrentPort = Port ? Port : &NoSpeaker; }

TSpeakerPort& SpeakerPort() { return *CurrentPort; }
