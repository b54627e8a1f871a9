// packwright: scripts VPP archives with the same document class the editor
// uses, so rules and messages match the editor's. Its entry points
// (cli/main for the console, cliw/ for the windowless build) call
// PackwrightMain.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/Commands.h"
#include "cli/NameText.h"
#include "core/Packwright32Doc.h"
#include "framework/base/Exception.h"
#include "framework/base/Path.h"
#include "framework/base/PendingFile.h"
#include "framework/base/Report.h"
#include "res/version.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The release the tool belongs to: that of the editor.
const char* const kVersion = PACKWRIGHT_VERSION_DOTTED;

// The options, each a bit of the set a command accepts.
enum : unsigned {
    kOptNull = 1,
    kOptJson = 2,
    kOptStrict = 4,
    kOptDropExtra = 8,
};

struct Option {
    const char* name;
    const char* shortName;  // or nullptr
    unsigned bit;
    bool Options::*flag;
    const char* help;
};

const Option kOptions[] = {
    {"--null", "-0", kOptNull, &Options::null, "list: end each record with a NUL byte, names raw"},
    {"--json", nullptr, kOptJson, &Options::json, "list, info, verify: print one JSON value"},
    {"--strict", nullptr, kOptStrict, &Options::strict,
     "create, add: refuse files whose names extract could not write;\n"
     "                 verify: count non-zero padding as a problem"},
    {"--drop-extra", nullptr, kOptDropExtra, &Options::dropExtra,
     "add, remove: save even though records not loaded are lost"},
};

struct Command {
    const char* name;
    const char* options;  // as the usage line shows them
    const char* usage;    // the arguments
    int minArgs;
    int maxArgs;   // -1: any number
    int nonEmpty;  // how many leading arguments must not be empty
    unsigned accepted;
    int (*run)(const Args&, const Options&);
    const char* summary;
    const char* help;
};

const char* const kNameRule =
    "Names are escaped so that each entry stays on one line: control bytes\n"
    "(tab and newline among them), DEL, the double quote and a backslash that\n"
    "starts \"\\x\" are written as \"\\xNN\" (two hex digits); every other byte is\n"
    "written as stored.\n";

const Command kCommands[] = {
    {"list", "[-0|--json]", "ARCHIVE", 1, 1, 1, kOptNull | kOptJson, CmdList, "list the entries of an archive",
     "Prints one line per entry in archive order: size, data offset and name,\n"
     "separated by tabs. Numbers are decimal.\n"
     "\n"
     "-0, --null  end each record with a NUL byte instead of a newline and write\n"
     "            names raw, byte for byte (for xargs -0 and read -d '').\n"
     "--json      print an array of {\"name\", \"size\", \"offset\"} objects; name\n"
     "            bytes 0x80-0xFF become the characters U+0080-U+00FF.\n"},
    {"info", "[--json]", "ARCHIVE", 1, 1, 1, kOptJson, CmdInfo, "print the totals of an archive",
     "Prints \"N files, M bytes\": the number of entries and the size of the\n"
     "archive they make. --json prints {\"files\": N, \"bytes\": M}.\n"},
    {"cat", "", "ARCHIVE NAME", 2, 2, 1, 0, CmdCat, "write one entry to standard output",
     "Writes the data of the entry NAMEd (letter case counts; of several entries\n"
     "with one name, the later one) to standard output, byte for byte, as\n"
     "extract would write it into a file. Unlike extract it also reaches\n"
     "entries whose names cannot be files.\n"},
    {"extract", "", "ARCHIVE DIR [NAME...]", 2, -1, 2, 0, CmdExtract, "write entries out as files",
     "Writes every entry, or the NAMEs given (letter case counts), into DIR as\n"
     "files of the same name, replacing existing files. DIR and its missing\n"
     "parents are created, unless none of the NAMEs given is in the archive.\n"
     "Of several entries with one name, the later one is written. A NAME not in\n"
     "the archive is reported as \"not found\"; each entry that fails is\n"
     "reported, and the others are still written; the exit status is then 1.\n"
     "The archive is shared with other readers while entries are written.\n"},
    {"create", "[--strict]", "ARCHIVE [FILE|DIR...]", 1, -1, 1, kOptStrict, CmdCreate,
     "make a new archive from files",
     "Writes a new ARCHIVE (replacing an existing one) holding the FILEs, in\n"
     "the order given, each under its file name; without FILEs, an empty\n"
     "archive. A DIR stands for the regular files directly in it (not those of\n"
     "its subfolders: the format has no folders), in byte order of their names.\n"
     "A later file whose name differs only in letter case replaces the earlier\n"
     "one. If any FILE cannot be read, every such FILE is reported and nothing\n"
     "is written. A name that extract could not write on Windows (a control\n"
     "byte, one of <>:\"/\\|?*, a trailing dot or space, a device name such as\n"
     "NUL) is stored with a warning; --strict refuses it and writes nothing.\n"},
    {"add", "[--strict] [--drop-extra]", "ARCHIVE FILE|DIR...", 2, -1, 1, kOptStrict | kOptDropExtra, CmdAdd,
     "add or replace files in an archive",
     "Adds the FILEs (a DIR: its regular files, as for create) at the end of\n"
     "ARCHIVE; a FILE whose name matches an entry regardless of letter case\n"
     "replaces that entry in its place. The archive is rewritten through\n"
     "ARCHIVE.try, which then replaces it. If any FILE cannot be read, every\n"
     "such FILE is reported and the archive is left as it was. Names that\n"
     "extract could not write are warned about, or refused with --strict.\n"
     "An archive with files that cannot be loaded (more than 65536, or data\n"
     "past 2 GB) is left as it was unless --drop-extra is given.\n"},
    {"remove", "[--drop-extra]", "ARCHIVE NAME...", 2, -1, 1, kOptDropExtra, CmdRemove,
     "remove entries from an archive",
     "Removes the entries NAMEd (letter case counts; of several entries with\n"
     "one name, the later one) and rewrites the archive through ARCHIVE.try.\n"
     "If any NAME is not in the archive, it is reported as \"not found\" and\n"
     "the archive is left as it was. An archive with files that cannot be\n"
     "loaded is left as it was unless --drop-extra is given.\n"},
    {"verify", "[--strict] [--json]", "ARCHIVE", 1, 1, 1, kOptStrict | kOptJson, CmdVerify,
     "check an archive for damage",
     "Checks what opening an archive does not. Problems, which make the archive\n"
     "unreadable, wrong or unsafe to extract: entry data that runs past the end\n"
     "of the file, a directory shorter than the header's count, a header size\n"
     "field or a file length that disagrees with the directory, a bad signature\n"
     "or version, more files than can be loaded, names that differ only in\n"
     "letter case, names that cannot be extracted into a folder, a name that\n"
     "fills its whole field or has bytes after its end. Prints one line per\n"
     "problem, or \"OK\" when there is none; the exit status is 1 when there\n"
     "are problems.\n"
     "\n"
     "Notes, which do no harm: non-zero padding (between the header, the\n"
     "directory and the entries' data; every reader ignores it, and other tools\n"
     "leave stale bytes there) is said once per archive in a line starting\n"
     "\"note:\", with how many entries it follows and where the first byte is,\n"
     "and the exit status stays 0. --strict counts it as a problem instead, for\n"
     "checking archives this program wrote, whose padding is always zero.\n"
     "\n"
     "A file of 0 bytes is an empty archive, as for every other command.\n"
     "--json prints {\"ok\": true|false, \"problems\": [lines], \"notes\": [lines]}.\n"},
};

const Command* FindCommand(const std::string& name)
{
    for (const Command& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::string Synopsis(const Command& c)
{
    return std::string("packwright ") + c.name + (*c.options ? " " : "") + c.options + " " + c.usage;
}

std::string UsageLine(const Command& c) { return "usage: " + Synopsis(c) + "\n"; }

std::string CommandHelp(const Command& c)
{
    std::string text = UsageLine(c) + "\n" + c.help;
    if (c.run == CmdList || c.run == CmdExtract || c.run == CmdRemove || c.run == CmdCat)
        text += std::string("\n") + (c.run == CmdList ? kNameRule : "Names in messages are escaped as list escapes them.\n");
    return text;
}

const char* const kMainHint = "usage: packwright COMMAND [OPTION...] ARGUMENT... (\"packwright --help\" lists the commands)\n";

std::string MainHelp()
{
    std::string text =
        "usage: packwright COMMAND [OPTION...] ARGUMENT...\n"
        "       packwright help [COMMAND] | --help | --version\n"
        "\n"
        "Reads and writes VPP archives.\n"
        "\n"
        "Commands:\n";
    for (const Command& c : kCommands) text += FormatString("  %-8s %s\n", c.name, c.summary);
    text += "\nSynopses:\n";
    for (const Command& c : kCommands) text += "  " + Synopsis(c) + "\n";
    text += "\nOptions may stand anywhere among the arguments; \"--\" ends them, so that\n"
            "later arguments may start with \"-\".\n"
            "  -h, --help     explain packwright, or the command given\n"
            "  --version      print the version\n";
    for (const Option& o : kOptions)
        text += FormatString("  %-14s %s\n",
                             (o.shortName ? std::string(o.shortName) + ", " + o.name : std::string(o.name)).c_str(),
                             o.help);
    text += "\n";
    text += kNameRule;
    text +=
        "\n"
        "Messages go to standard error, each starting with \"packwright:\" and the\n"
        "archive or file it concerns.\n"
        "\n"
        "Example: edit one entry of an archive.\n"
        "  packwright cat game.vpp table.tbl > table.tbl\n"
        "  sed -i 's/speed=1/speed=2/' table.tbl\n"
        "  packwright add game.vpp table.tbl && packwright verify game.vpp\n"
        "\n"
        "Exit status: 0 success, 1 an operation failed (verify: problems found;\n"
        "notes alone leave it 0), 2 usage error.\n";
    return text;
}

int UsageError(const std::string& message, const std::string& hint)
{
    WriteErr("packwright: " + message + "\n" + hint);
    return kExitUsage;
}

int Dispatch(int argc, char** argv)
{
    // Options anywhere before "--"; a lone "-" is an argument.
    Args operands, options;
    bool ended = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!ended && arg == "--")
            ended = true;
        else if (!ended && arg.size() > 1 && arg[0] == '-')
            options.push_back(arg);
        else
            operands.push_back(arg);
    }
    const Command* command = nullptr;
    bool helpCommand = false;
    if (!operands.empty()) {
        helpCommand = operands[0] == "help";
        command = FindCommand(operands[0]);
        if (!command && !helpCommand) return UsageError("unknown command \"" + operands[0] + "\"", kMainHint);
        operands.erase(operands.begin());
    }
    const std::string hint = command ? UsageLine(*command) : kMainHint;

    Options set;
    bool help = false, version = false;
    unsigned given = 0;
    for (const std::string& arg : options) {
        if (arg == "--help" || arg == "-h") {
            help = true;
            continue;
        }
        if (arg == "--version") {
            version = true;
            continue;
        }
        const Option* option = nullptr;
        for (const Option& o : kOptions)
            if (arg == o.name || (o.shortName && arg == o.shortName)) option = &o;
        if (!option) return UsageError("unknown option \"" + arg + "\"", hint);
        if (!command || !(command->accepted & option->bit))
            return UsageError("option \"" + arg + "\" does not apply to " +
                                  (command ? std::string("\"") + command->name + "\"" : std::string("no command")),
                              hint);
        set.*(option->flag) = true;
        given |= option->bit;
    }

    if (helpCommand) {
        if (operands.size() > 1) return UsageError("too many arguments", kMainHint);
        if (operands.empty()) {
            WriteOut(MainHelp());
            return kExitOk;
        }
        const Command* about = FindCommand(operands[0]);
        if (!about) return UsageError("unknown command \"" + operands[0] + "\"", kMainHint);
        WriteOut(CommandHelp(*about));
        return kExitOk;
    }
    if (help) {
        WriteOut(command ? CommandHelp(*command) : MainHelp());
        return kExitOk;
    }
    if (version) {
        WriteOut(std::string("packwright ") + kVersion + "\n");
        return kExitOk;
    }
    if (!command) return UsageError("no command given", kMainHint);
    if ((given & kOptNull) && (given & kOptJson)) return UsageError("--null and --json exclude each other", hint);

    const int count = int(operands.size());
    if (count < command->minArgs || (command->maxArgs >= 0 && count > command->maxArgs))
        return UsageError(count < command->minArgs ? "missing arguments" : "too many arguments", hint);
    // An empty ARCHIVE or DIR would quietly mean the current folder.
    for (int k = 0; k < command->nonEmpty; ++k) {
        if (operands[size_t(k)].empty()) {
            std::string usage = command->usage;
            size_t from = 0;
            for (int skip = 0; skip < k; ++skip) from = usage.find(' ', from) + 1;
            return UsageError("empty " + usage.substr(from, usage.find(' ', from) - from) + " argument", hint);
        }
    }
    return command->run(operands, set);
}

// One message, one line: the framework's line breaks ("\r\n", "\n", a
// blank line between parts) become single spaces.
std::string ConsoleLine(const std::string& text)
{
    std::string line;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r' || text[k] == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += text[k];
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

// "packwright: ", then the archive or file the command works on unless the
// text names it already (the framework's file errors do, by full path).
std::string Prefix(const std::string& text)
{
    const std::string& subject = MessageSubject();
    if (subject.empty() || text.find(subject) != std::string::npos ||
        text.find(GetFullPath(subject)) != std::string::npos)
        return "packwright: ";
    return "packwright: " + EscapeName(subject) + ": ";
}

// The document's messages (the load pass's, the framework's file errors) go
// to standard error; nobody is there to answer, so take the default answer.
int ConsoleMessage(const std::string& text, UINT type, const std::string&)
{
    WriteErr(Prefix(text) + ConsoleLine(text));
    const UINT buttons = type & 0x0F;
    return buttons == afx::mbYesNo || buttons == afx::mbYesNoCancel ? afx::idYes : afx::idOk;
}

// Per-file failures: the summary, then one
// "archive: name: reason" line per block of the details.
void ConsoleDetails(const std::string& summary, const std::string& details)
{
    WriteErr(Prefix(summary) + ConsoleLine(summary));
    size_t pos = 0;
    while (pos < details.size()) {
        size_t end = details.find("\r\n\r\n", pos);
        if (end == std::string::npos) end = details.size();
        const std::string block = details.substr(pos, end - pos);
        const size_t split = block.find("\r\n");
        if (split == std::string::npos)
            ReportFailure(MessageSubject(), ConsoleLine(block).substr(0, ConsoleLine(block).size() - 1));
        else
            ReportEntry(MessageSubject(), block.substr(0, split), block.substr(split + 2));
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

int PackwrightMain(int argc, char** argv)
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
    // The C runtime writes to anything it takes for a character device (NUL
    // among them) unbuffered, one system call per line: buffered unless a
    // console is watching, a list of 65,536 entries is a few calls.
    DWORD consoleMode = 0;
    if (!::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &consoleMode)) std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
#endif
    AfxSetMessageBoxHandler(ConsoleMessage);
    AfxSetErrorDetailsHandler(ConsoleDetails);
    int status;
    try {
        status = Dispatch(argc, argv);
    } catch (const CFileException& e) {
        const std::string text = e.GetErrorMessage();
        WriteErr(Prefix(text) + ConsoleLine(text));
        status = kExitFailed;
    } catch (const CUserException&) {
        status = kExitFailed;  // already reported
    } catch (const std::exception& e) {
        WriteErr(std::string("packwright: ") + e.what() + "\n");
        status = kExitFailed;
    }
    // A failed write to standard output (a full disk, a closed pipe) fails
    // the command however far it got.
    std::string failure = StdoutFailure();
    if (std::fflush(stdout) != 0 && failure.empty()) failure = std::strerror(errno);
    if (!failure.empty()) {
        WriteErr("packwright: standard output: " + failure + "\n");
        status = kExitFailed;
    }
    return status;
}
