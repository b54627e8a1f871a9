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

int CmdList(const Args& args);
int CmdInfo(const Args& args);
int CmdExtract(const Args& args);
int CmdCreate(const Args& args);
int CmdAdd(const Args& args);
int CmdRemove(const Args& args);
int CmdVerify(const Args& args);

// Console output of raw bytes: names are written exactly as stored.
void WriteOut(const std::string& bytes);
void WriteErr(const std::string& bytes);
