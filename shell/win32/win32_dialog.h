#pragma once

#include <windows.h>

#include "shell/services.h"

// Runs a dialog template modally; one generic dialog procedure hands its initialisation
// and commands to the portable procedure.
int runDialogTemplate(HINSTANCE instance, int templateId, HWND owner,
                      DialogProcedure& procedure);
