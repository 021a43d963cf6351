// Moving or copying a file into a folder, as the file manager does when a
// file is dropped on a folder: an existing file of the same name is never
// replaced (the new one takes the next free name, "Nome (2).lnk"), and a
// move that cannot finish leaves the file where it was.
#pragma once
#include <string>

namespace tov {

enum class TTransferResult {
  Done,           // the file is at destination
  SameFolder,     // a move into the folder it is already in: nothing to do
  SourceMissing,  // the file is gone
  FolderMissing,  // the folder is gone
  Refused,        // the system refused (file in use, folder not writable): the file is where it was
};

struct TTransfer {
  TTransferResult result = TTransferResult::Refused;
  std::string destination;  // where the file went (Done)
};

// The name a file called name takes in folder: name itself when nothing
// there has it, else the first of "Stem (2).ext", "Stem (3).ext" ... that is
// free (the extension is what follows the last dot; a name starting with its
// only dot has none).
std::string FreeNameIn(const std::string& folder, const std::string& name);

// Moves (move) or copies file into folder under FreeNameIn. A move the
// system cannot make in one step (another drive) is a copy and a delete; when
// the delete fails the copy is taken back, so the file is in one place only.
TTransfer TransferFileInto(const std::string& file, const std::string& folder, bool move);

}  // namespace tov
