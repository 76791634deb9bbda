#include "platform/MessagePump.h"

namespace {
void NoMessages() {}
TMessagePump CurrentPump = NoMessages;
} // namespace

void SetMessagePump(TMessagePump pump) { CurrentPump = pump ? pump : NoMessages; }

void ProcessMessages() { CurrentPump(); }
