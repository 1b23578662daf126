// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

namespace tovik {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Reset(); }
    int Get() const { return fd; }
    int Release() { const int f = fd; fd = -1; return f; }
    void Reset(int newFd = -1)
    {
        if (fd >= 0)
            ::close(fd);
        fd = newFd;
    }
private:
    int fd;
};

}  // namespace tovik
