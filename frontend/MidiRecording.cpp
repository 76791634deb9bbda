#include "frontend/MidiRecording.h"

#include <stdexcept>

#include "tools/SoundRecorder.h"

namespace {

// Plays a message on the live output, if there is one, and writes it.
class TTeeMidiOut final : public TMidiOut {
public:
  TTeeMidiOut(std::unique_ptr<TMidiOut> Live, std::function<void(uint32_t)> Write)
      : Live(std::move(Live)), Write(std::move(Write)) {}
  void ShortMsg(uint32_t Message) override {
    if (Live) Live->ShortMsg(Message);
    Write(Message);
  }

private:
  std::unique_ptr<TMidiOut> Live;
  std::function<void(uint32_t)> Write;
};

} // namespace

TMidiRecording::TMidiRecording(const std::string& Path) : File(Path) {
  Live = SetMidiOutOpener([this] {
    return std::make_unique<TTeeMidiOut>(Live ? Live() : nullptr,
                                         [this](uint32_t Message) { File.Message(LineSeconds(Now), Message); });
  });
}

TMidiRecording::~TMidiRecording() { SetMidiOutOpener(std::move(Live)); }

std::optional<QString> TMidiRecording::Finish(int64_t EndLine) {
  try {
    File.Close(LineSeconds(EndLine));
  } catch (const std::runtime_error& failure) {
    return QString::fromLocal8Bit(failure.what());
  }
  return {};
}
