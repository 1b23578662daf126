// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "core/filedescriptor.h"

namespace tovik {

// The new content on its way to the target, beside it in the same folder. Where the
// file system allows it has no name until just before the rename, so a save killed
// while writing leaves nothing behind; a named one is locked while it exists, so that
// the clean-up of a later save leaves it alone.
class SaveTemporary {
public:
    // The random letters after FileAccess::kTemporaryPrefix in a temporary's name.
    static constexpr std::size_t kRandomLength = 6;

    explicit SaveTemporary(std::string directory) : directory(std::move(directory)) {}
    SaveTemporary(const SaveTemporary&) = delete;
    SaveTemporary& operator=(const SaveTemporary&) = delete;
    ~SaveTemporary() { Discard(); }

    // Leftovers of saves that were killed between naming their temporary and the rename.
    // A save holds its temporary's lock as long as it lives, so a temporary that can be
    // locked has no owner any more.
    static void RemoveStale(const std::string& directory);

    int Fd() const { return fd.Get(); }

    // 0, or the errno value; EOPNOTSUPP, EISDIR and EINVAL say that the file system
    // (or the kernel) has no unnamed files.
    int CreateUnnamed();

    // A temporary with a name from the start, locked; 0 or the errno value.
    int CreateNamed();

    // Gives an unnamed temporary its name, locked before it is visible.
    int Publish();

    // Replaces `target` by the named temporary; 0 or the errno value.
    int RenameOver(const std::string& target);

    // Removes a named temporary that was not renamed; closing an unnamed one is enough.
    void Discard();

private:
    std::string directory;
    FileDescriptor fd;
    std::string name;
};

}  // namespace tovik
