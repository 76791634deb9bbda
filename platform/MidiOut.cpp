#include "platform/MidiOut.h"

#include <utility>

namespace {
TMidiOutOpener CurrentOpener;
} // namespace

void SetMidiOutOpener(TMidiOutOpener Opener) { CurrentOpener = std::move(Opener); }

std::unique_ptr<TMidiOut> MidiOutOpen() { return CurrentOpener ? CurrentOpener() : nullptr; }
