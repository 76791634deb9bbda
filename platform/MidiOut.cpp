#include "platform/MidiOut.h"

#include <utility>

namespace {
TMidiOutOpener CurrentOpener;
} // namespace

TMidiOutOpener SetMidiOutOpener(TMidiOutOpener Opener) { return std::exchange(CurrentOpener, std::move(Opener)); }

std::unique_ptr<TMidiOut> MidiOutOpen() { return CurrentOpener ? CurrentOpener() : nullptr; }
