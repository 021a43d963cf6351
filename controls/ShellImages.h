// The two shell image lists the buttons take their icons from, "LARGE" and
// "SMALL": shared views of the shell's system lists, made once (at start-up,
// or on first use) and kept for the life of the process.
#pragma once
#include <memory>

#include "files/ProgramFolders.h"

namespace tov {

// The shared list, or null when the shell has none.
const TImageList* SharedImageList(bool small);
// Installs the lists the start-up made (null leaves one to be made on first use).
void SetSharedImageLists(std::unique_ptr<TImageList> large, std::unique_ptr<TImageList> small);

}  // namespace tov
