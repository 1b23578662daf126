// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tovik::test {

// Starts tovik-cli with arguments given as bytes, its output thrown away.
inline pid_t StartCli(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(TOVIK_CLI)};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, TOVIK_CLI, &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

inline int ExitCodeOf(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What a run of tovik-cli left: its exit code, its standard error, and the most memory
// it held (its peak resident set, from the kernel's accounting of the child).
struct CliRun {
    int exitCode = -1;
    std::string err;
    long peakKb = 0;
};

// Runs tovik-cli to its end, standard error into `errFile`. A forked child, not a
// spawned one: a child that shares this process's memory until it runs the program
// would be charged this process's peak. It is still charged what this process holds
// when it forks, which a caller keeps below the program's own need.
inline CliRun RunCliMeasured(const std::vector<std::string>& arguments, const std::string& errFile)
{
    std::vector<char*> argv{const_cast<char*>(TOVIK_CLI)};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int devNull = ::open("/dev/null", O_WRONLY);
    const int errFd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    CliRun run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(devNull, 1);
        ::dup2(errFd, 2);
        ::execv(TOVIK_CLI, argv.data());
        ::_exit(127);
    }
    ::close(devNull);
    ::close(errFd);
    int status = 0;
    rusage usage{};
    if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) {
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakKb = usage.ru_maxrss;
    }
    std::ifstream err(errFile, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

}  // namespace tovik::test
