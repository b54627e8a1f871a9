#pragma once
// The commands of the packwright tool, one function each. They get the
// arguments after the command name and return the exit status.

#include <string>
#include <vector>

enum : int {
    kExitOk = 0,      // the operation succeeded (verify: the archive is clean)
    kExitFailed = 1,  // an operation failed or verify found problems
    kExitUsage = 2,   // unknown command or wrong arguments
};

using Args = std::vector<std::string>;

struct Options {
    // Save over an archive even though records it holds beyond what the
    // table takes (or out of reach) would be lost.
    bool dropExtra = false;
};

int CmdList(const Args& args, const Options& options);
int CmdInfo(const Args& args, const Options& options);
int CmdExtract(const Args& args, const Options& options);
int CmdCreate(const Args& args, const Options& options);
int CmdAdd(const Args& args, const Options& options);
int CmdRemove(const Args& args, const Options& options);
int CmdVerify(const Args& args, const Options& options);

// Console output of raw bytes: names are written exactly as stored.
void WriteOut(const std::string& bytes);
void WriteErr(const std::string& bytes);
