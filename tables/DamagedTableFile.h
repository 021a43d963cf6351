// A table file that cannot be read is never lost. One whose bytes do not
// parse is damaged: it is moved aside under a name beside it. One that exists
// but cannot be opened (held by another program, access denied) is left where
// it is. Either way, a file that is still there unread is guarded: no table is
// saved over it until it has been read again.
#pragma once
#include <string>

namespace tov {

// Moves the file to path + ".damaged" (or ".damaged2", ".damaged3", ... when
// that name is taken) and answers the new name. When it cannot be moved the
// answer is empty and the path is guarded.
std::string SetDamagedTableFileAside(const std::string& path);

// A file that exists but could not be opened: guarded where it is.
void GuardUnreadTableFile(const std::string& path);
// The file at path was read: saves over it are allowed again.
void ReleaseTableFileGuard(const std::string& path);

// Whether a save to this path must be refused, the file at it holding a
// table that was never read.
bool IsGuardedTableFile(const std::string& path);
void ForgetGuardedTableFiles();  // for tests

}  // namespace tov
