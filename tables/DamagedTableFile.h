// A table file that cannot be read is never lost: it is moved aside under a
// name beside it, and when even that fails no table is saved over it for the
// rest of the session.
#pragma once
#include <string>

namespace tov {

// Moves the file to path + ".damaged" (or ".damaged2", ".damaged3", ... when
// that name is taken) and answers the new name. When it cannot be moved the
// answer is empty and the path is kept from being written over.
std::string SetDamagedTableFileAside(const std::string& path);

// Whether a save to this path must be refused, the file at it being a
// damaged table file that could not be moved aside.
bool IsGuardedTableFile(const std::string& path);
void ForgetGuardedTableFiles();  // for tests

}  // namespace tov
