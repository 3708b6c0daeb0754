#pragma once
#include "framework/CmdTarget.h"

// Runs the update handler of `ui`'s command along `target`'s command route. When no update
// handler exists and `disableIfNoHandler` is set, the command is disabled unless someone along
// the route handles the command itself.
void AfxRunCommandUpdate(CCmdUI& ui, CCmdTarget* target, BOOL disableIfNoHandler);
