#pragma once
// Runs the built parvex-list from outside, the way a user's shell would.

#include "temp_dir.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace parvex::test {

struct CliOutcome {
    int status = -1;
    std::string out; // standard output
    std::string err; // standard error
};

inline std::string shell_quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command line (already quoted) with its standard error caught in a file in `dir`.
inline CliOutcome run_shell(const TempDir& dir, const std::string& command) {
    const std::string err_file = (dir.path() / ".stderr").string();
    const std::string cmd = command + " 2>" + shell_quote(err_file);
    CliOutcome r;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        r.out.append(buf.data(), n);
    int raw = ::pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = read_bytes(err_file);
    std::remove(err_file.c_str());
    return r;
}

// Runs parvex-list with `args` (already quoted) in the folder `cwd` (the current one when
// empty); with `as_nobody` it runs without root's right to read every folder.
inline CliOutcome run_cli(const TempDir& dir, const std::string& args, const std::string& cwd = {},
                          bool as_nobody = false) {
    std::string cmd;
    if (!cwd.empty())
        cmd = "cd " + shell_quote(cwd) + " && ";
    if (as_nobody && ::geteuid() == 0)
        cmd += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    return run_shell(dir, cmd + std::string(PARVEX_LIST_EXE) + " " + args);
}

inline std::string personal_option(const TempDir& dir) {
    return "--personal " + shell_quote(dir.write("personal.dat", "").string());
}

} // namespace parvex::test
