#include "files/FileTransfer.h"

#include "files/FileHelpers.h"
#include "platform/Platform.h"

namespace tov {

namespace {

bool Exists(const std::string& path) { return Files().FileExists(path) || Files().DirExists(path); }

}  // namespace

std::string FreeNameIn(const std::string& folder, const std::string& name) {
  if (!Exists(JoinPath(folder, name))) return name;
  const size_t dot = name.rfind('.');
  const bool hasExt = dot != std::string::npos && dot > 0;
  const std::string stem = hasExt ? name.substr(0, dot) : name;
  const std::string ext = hasExt ? name.substr(dot) : std::string();
  for (int n = 2;; ++n) {
    const std::string candidate = stem + " (" + std::to_string(n) + ")" + ext;
    if (!Exists(JoinPath(folder, candidate))) return candidate;
  }
}

TTransfer TransferFileInto(const std::string& file, const std::string& folder, bool move) {
  TTransfer out;
  if (!Files().FileExists(file)) {
    out.result = TTransferResult::SourceMissing;
    return out;
  }
  if (!Files().DirExists(folder)) {
    out.result = TTransferResult::FolderMissing;
    return out;
  }
  if (move && IsFileInFolder(file, folder)) {
    out.result = TTransferResult::SameFolder;
    return out;
  }
  const std::string to = JoinPath(folder, FreeNameIn(folder, FileNamePart(file)));
  // Never over a file: one that came meanwhile under the free name stops it.
  bool done = move ? Files().MoveFile(file, to, false) : Files().CopyFile(file, to, true);
  if (!done && move && Files().FileExists(file) && !Exists(to) && Files().CopyFile(file, to, true)) {
    done = Files().DeleteFile(file);
    if (!done) Files().DeleteFile(to);  // the original stays: the copy goes
  }
  out.result = done ? TTransferResult::Done : TTransferResult::Refused;
  if (done) out.destination = to;
  return out;
}

}  // namespace tov
