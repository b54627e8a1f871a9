// packwright: scripts VPP archives with the same document class the editor
// uses, so rules and messages match the editor's.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/Commands.h"
#include "framework/base/Exception.h"
#include "framework/base/PendingFile.h"
#include "framework/base/Report.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

struct Command {
    const char* name;
    const char* usage;  // the arguments
    int minArgs;
    int maxArgs;  // -1: any number
    int (*run)(const Args&, const Options&);
    const char* summary;
    const char* help;
};

const Command kCommands[] = {
    {"list", "ARCHIVE", 1, 1, CmdList, "list the entries of an archive",
     "Prints one line per entry in archive order: size, data offset and name,\n"
     "separated by tabs. Numbers are decimal; names are written as stored.\n"},
    {"info", "ARCHIVE", 1, 1, CmdInfo, "print the totals of an archive",
     "Prints \"N files, M bytes\": the number of entries and the size of the\n"
     "archive they make.\n"},
    {"extract", "ARCHIVE DIR [NAME...]", 2, -1, CmdExtract, "write entries out as files",
     "Writes every entry, or the NAMEs given (letter case counts), into DIR as\n"
     "files of the same name, replacing existing files. DIR and its missing\n"
     "parents are created. Of several entries with one name, the later one is\n"
     "written. Each entry that fails is reported as \"NAME: reason\" on standard\n"
     "error, and the others are still written; the exit status is then 1.\n"},
    {"create", "ARCHIVE FILE...", 2, -1, CmdCreate, "make a new archive from files",
     "Writes a new ARCHIVE (replacing an existing one) holding the FILEs, in\n"
     "the order given, each under its file name. A later file whose name\n"
     "differs only in letter case replaces the earlier one. If any FILE cannot\n"
     "be read, every such FILE is reported and nothing is written.\n"},
    {"add", "ARCHIVE FILE...", 2, -1, CmdAdd, "add or replace files in an archive",
     "Adds the FILEs at the end of ARCHIVE; a FILE whose name matches an entry\n"
     "regardless of letter case replaces that entry in its place. The archive\n"
     "is rewritten through ARCHIVE.try, which then replaces it. If any FILE\n"
     "cannot be read, every such FILE is reported and the archive is left as\n"
     "it was. An archive with files that cannot be loaded (more than 65536,\n"
     "or data past 2 GB) is left as it was unless --drop-extra is given.\n"},
    {"remove", "ARCHIVE NAME...", 2, -1, CmdRemove, "remove entries from an archive",
     "Removes the entries NAMEd (letter case counts; of several entries with\n"
     "one name, the later one) and rewrites the archive through ARCHIVE.try.\n"
     "If any NAME is not in the archive, it is reported as \"NAME: not found\"\n"
     "and the archive is left as it was. An archive with files that cannot be\n"
     "loaded is left as it was unless --drop-extra is given.\n"},
    {"verify", "ARCHIVE", 1, 1, CmdVerify, "check an archive for damage",
     "Checks what opening an archive does not: that every entry's data lies\n"
     "inside the file, that the header's size field and the file's length match\n"
     "the directory, that all padding is zero, that no two names differ only in\n"
     "letter case, that every name can be extracted into a folder, and that the\n"
     "archive holds no more files than can be loaded. Prints one line per\n"
     "problem, or \"OK\" when there is none.\n"},
};

const Command* FindCommand(const std::string& name)
{
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::string UsageLine(const Command& c)
{
    return std::string("usage: packwright ") + c.name + " " + c.usage + "\n";
}

std::string MainHelp()
{
    std::string text =
        "usage: packwright COMMAND [--] ARGUMENTS...\n"
        "\n"
        "Reads and writes VPP archives.\n"
        "\n"
        "Commands:\n";
    for (const Command& c : kCommands)
        text += FormatString("  %-8s %-22s %s\n", c.name, c.usage, c.summary);
    text +=
        "\n"
        "\"packwright COMMAND --help\" explains one command. \"--\" before the\n"
        "arguments lets them start with \"-\".\n"
        "\n"
        "Exit status: 0 success, 1 an operation failed (verify: problems found),\n"
        "2 usage error.\n";
    return text;
}

int UsageError(const std::string& message, const std::string& usage)
{
    WriteErr("packwright: " + message + "\n" + usage);
    return kExitUsage;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

int Dispatch(int argc, char** argv)
{
    if (argc < 2) return UsageError("no command given", MainHelp());
    const std::string name = argv[1];
    if (IsHelp(name) || name == "help") {
        if (argc > 2) {
            if (const Command* c = FindCommand(argv[2])) {
                WriteOut(UsageLine(*c) + "\n" + c->help);
                return kExitOk;
            }
        }
        WriteOut(MainHelp());
        return kExitOk;
    }
    const Command* command = FindCommand(name);
    if (!command) return UsageError("unknown command \"" + name + "\"", MainHelp());

    // Options come before the arguments; "--" ends them.
    Options options;
    int i = 2;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        }
        if (IsHelp(argv[i])) {
            WriteOut(UsageLine(*command) + "\n" + command->help);
            return kExitOk;
        }
        if (std::strcmp(argv[i], "--drop-extra") == 0 && (command->run == CmdAdd || command->run == CmdRemove)) {
            options.dropExtra = true;
            continue;
        }
        return UsageError(std::string("unknown option \"") + argv[i] + "\"", UsageLine(*command));
    }
    const Args args(argv + i, argv + argc);
    const int count = int(args.size());
    if (count < command->minArgs || (command->maxArgs >= 0 && count > command->maxArgs))
        return UsageError(count < command->minArgs ? "missing arguments" : "too many arguments",
                          UsageLine(*command));
    return command->run(args, options);
}

// Messages of the framework may hold "\r\n"; the console wants "\n".
std::string ConsoleLine(const std::string& text)
{
    std::string line;
    for (size_t k = 0; k < text.size(); ++k)
        if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) line += text[k];
    return line + "\n";
}

// The document's messages (the load pass's, the framework's file errors) go
// to standard error; nobody is there to answer, so take the default answer.
int ConsoleMessage(const std::string& text, UINT type, const std::string&)
{
    WriteErr(ConsoleLine(text));
    const UINT buttons = type & 0x0F;
    return buttons == afx::mbYesNo || buttons == afx::mbYesNoCancel ? afx::idYes : afx::idOk;
}

// Per-file failures (a failed save's entries): the summary, then one
// "name: reason" line per block of the details.
void ConsoleDetails(const std::string& summary, const std::string& details)
{
    WriteErr(ConsoleLine(summary));
    size_t pos = 0;
    while (pos < details.size()) {
        size_t end = details.find("\r\n\r\n", pos);
        if (end == std::string::npos) end = details.size();
        const std::string block = details.substr(pos, end - pos);
        const size_t split = block.find("\r\n");
        WriteErr(split == std::string::npos ? block + "\n"
                                            : block.substr(0, split) + ": " + block.substr(split + 2) + "\n");
        pos = end + 4;
    }
}

// A save or an extraction stopped by Ctrl+C or a kill leaves no
// half-written file: remove it, then end as the signal would have.
void OnStopSignal(int signal)
{
    AfxRemovePendingFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

int main(int argc, char** argv)
{
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#ifdef SIGHUP
    std::signal(SIGHUP, OnStopSignal);
#endif
#ifdef _WIN32
    // Names are written byte for byte, and lines end in "\n" alone.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    AfxSetMessageBoxHandler(ConsoleMessage);
    AfxSetErrorDetailsHandler(ConsoleDetails);
    int status;
    try {
        status = Dispatch(argc, argv);
    } catch (const CFileException& e) {
        WriteErr(ConsoleLine(e.GetErrorMessage()));
        status = kExitFailed;
    } catch (const CUserException&) {
        status = kExitFailed;  // already reported
    } catch (const std::exception& e) {
        WriteErr(std::string("packwright: ") + e.what() + "\n");
        status = kExitFailed;
    }
    if (std::fflush(stdout) != 0) status = kExitFailed;
    return status;
}
