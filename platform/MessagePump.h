#pragma once

// The hook through which the processor's run loop dispatches the window's
// pending messages once per line. The front end installs the toolkit's
// dispatcher; tools and tests leave the default, which does nothing.
using TMessagePump = void (*)();

void SetMessagePump(TMessagePump pump);
void ProcessMessages();
