// The program's entry: creates the long-lived objects in order, runs the
// message loop and tears everything down in reverse.
#pragma once

namespace tov {

int RunProgram();

}  // namespace tov
