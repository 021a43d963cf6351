// <windows.h> for the Win32 layer, without the macros that would rename the
// seam's own methods (the layer calls the "A" functions by their full names).
//
// The seam's headers come first: they name constants as Windows does
// (WM_CREATE, SWP_NOSIZE ...), which <windows.h> would otherwise turn into
// macros before the seam could declare them. Include this header instead of
// <windows.h> everywhere in the Win32 layer.
#pragma once
#include "platform/Platform.h"

#include <windows.h>

#undef DeleteFile
#undef MoveFile
#undef CopyFile
#undef CreateDirectory
#undef MessageBox
#undef LoadLibrary
#undef GetMonitorInfo
#undef FindFirstFile
#undef FindNextFile
