#pragma once
// The commands of the packwright tool, one function each. They get the
// arguments after the command name and return the exit status.

#include <string>
#include <vector>

enum : int {
    kExitOk = 0,      // the operation succeeded (verify: the archive is clean)
    kExitFailed = 1,  // an operation failed or verify found problems
    kExitUsage = 2,   // unknown command or option, or wrong arguments
};

using Args = std::vector<std::string>;

// The whole tool: reads the command line, runs the command, reports to the
// console, and returns the exit status.
int PackwrightMain(int argc, char** argv);

struct Options {
    // Save over an archive even though records it holds beyond what the
    // table takes (or out of reach) would be lost.
    bool dropExtra = false;
    // Refuse, rather than warn about, files whose names extract cannot write.
    bool strict = false;
    // list: records end in NUL and names are written raw.
    bool null = false;
    // list, info, verify: one JSON value instead of lines.
    bool json = false;
};

int CmdList(const Args& args, const Options& options);
int CmdInfo(const Args& args, const Options& options);
int CmdCat(const Args& args, const Options& options);
int CmdExtract(const Args& args, const Options& options);
int CmdCreate(const Args& args, const Options& options);
int CmdAdd(const Args& args, const Options& options);
int CmdRemove(const Args& args, const Options& options);
int CmdVerify(const Args& args, const Options& options);

// Console output of raw bytes: names are written exactly as stored. A failed
// write to standard output is remembered; StdoutFailure() then gives the
// system's reason (empty while all went well).
void WriteOut(const std::string& bytes);
void WriteOut(const void* data, size_t size);
const std::string& StdoutFailure();
void WriteErr(const std::string& bytes);

// "packwright: what: message", on standard error, what escaped as list
// escapes names, so that every message stays one line.
void ReportFailure(const std::string& what, const std::string& message);
// "packwright: archive: name: message" for one entry of archive.
void ReportEntry(const std::string& archive, const std::string& name, const std::string& message);

// The archive or file the document is working on, as the user named it:
// messages of the document and the framework are put under its name.
const std::string& MessageSubject();
