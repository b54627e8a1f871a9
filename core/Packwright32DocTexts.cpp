// Every text the document gives the user: the load messages and the results
// of its operations.

#include "core/Packwright32Doc.h"

#include "framework/base/Report.h"

std::string CPackwright32Doc::GetFormatErrorText(VppError error)
{
    switch (error) {
    case VppError::invalidSignature: return "Unsupported file format (Invalid signature)!";
    case VppError::invalidVersion: return "Unsupported file format (Invalid version number)!";
    case VppError::truncated: return "Unsupported file format (Truncated file)!";
    case VppError::tooLarge: return "Unsupported file format (Archive of 2 GB or more)!";
    }
    return "Unsupported file format!";
}

std::string CPackwright32Doc::GetTooManyFilesText(int32_t count)
{
    return FormatString("WARNING! This file has too many files (%i) for PACKWRIGHT32 to handle right. PACKWRIGHT32 "
                        "will only load the first %i files. If you save to the same file, all files beyond that "
                        "will be lost.",
                        count, VPP_MAX_FILES);
}

std::string CPackwright32Doc::GetUnreachableFilesText(int32_t dropped, int32_t loaded)
{
    return FormatString("WARNING! The directory of this file places %i files at 2 GB or beyond, where PACKWRIGHT32 "
                        "cannot reach them. PACKWRIGHT32 will only load the first %i files. If you save to the same "
                        "file, all files beyond that will be lost.",
                        dropped, loaded);
}

namespace {
const char* const kTextSourceShort = "The archive is shorter than its directory: the data of this file is cut off.";
}

std::string CPackwright32Doc::GetSaveFailedText()
{
    return "The archive was not saved, because these files could not be copied:";
}

std::string CPackwright32Doc::GetReplaceFailedText(const std::string& workPath, const std::string& target,
                                                  const std::string& reason)
{
    return "The new archive was written completely, but it could not replace \"" + target + "\":\n" + reason +
           "\n\nThe new archive waits in \"" + workPath + "\"; \"" + target + "\" was left as it was.";
}

std::string CPackwright32Doc::GetFolderNotFlushedText(const std::string& target, const std::string& reason)
{
    return "The archive was saved as \"" + target +
           "\", but the system could not confirm that its folder reached the disk:\n" + reason;
}

std::string CPackwright32Doc::GetArchiveChangedText(const std::string& archive)
{
    return "\"" + archive +
           "\" was changed by another program after it was opened, so nothing was saved: saving now would "
           "replace that program's archive and put wrong data under these names.\n\nOpen the archive again to see "
           "what it holds now, then add your files again.";
}

std::string CPackwright32Doc::GetArchiveBusyText(const std::string& archive)
{
    return "\"" + archive +
           "\" is being saved by another program, so nothing was saved. Try again when that program is done.";
}

std::string CPackwright32Doc::GetReloadFailedText(const std::string& archive)
{
    return "The archive was saved as \"" + archive +
           "\", but it could not be opened again, so the window was emptied. Open the archive again to go on.";
}

// Every enumerator has its case, so a new one without a text is a compiler
// warning; numbers outside the enumeration fall through to the unknown text.

std::string CPackwright32Doc::GetAddResultText(AddResult result)
{
    switch (result) {
    case AddResult::added: return "File successfully added.";
    case AddResult::replaced: return "File successfully replaced.";
    case AddResult::tableFull: return FormatString("VPP exceeds %i files.", VPP_MAX_FILES);
    case AddResult::noAccess: return "Could not access file. Please verify that it is not opened in another program.";
    case AddResult::tooLarge: return "File too large: a VPP archive and every file in it must stay below 2 GB.";
    }
    return FormatString("Unknown error %i.", int(result));
}

std::string CPackwright32Doc::GetExtractResultText(ExtractResult result)
{
    switch (result) {
    case ExtractResult::ok: return "File successfully extracted.";
    case ExtractResult::notFound: return "Internal error (file reference not found in memory).";
    case ExtractResult::noArchive: return "Error while trying to access the .VP file.";
    case ExtractResult::cannotCreate: return "Error while trying to save file (File/Directory access problem?).";
    case ExtractResult::notSaved: return "Skipped since this file is not yet saved in a .VPP.";
    case ExtractResult::sourceShort: return kTextSourceShort;
    case ExtractResult::archiveChanged:
        return "The archive was changed by another program after it was opened. Open it again to see what it holds "
               "now.";
    }
    return FormatString("Unknown error %i.", int(result));
}

std::string CPackwright32Doc::GetCopyResultText(CopyResult result)
{
    switch (result) {
    case CopyResult::ok: return "File successfully copied.";
    case CopyResult::noSource: return "Error while trying to access source file.";
    // The window's save report has never had a text of its own for a file
    // that changed size after it was added: it keeps reading as unknown.
    case CopyResult::sizeChanged: break;
    case CopyResult::writeFailed: return "Error while saving data to file (Disk full?).";
    case CopyResult::sourceShort: return kTextSourceShort;
    }
    return FormatString("Unknown error %i.", int(result));
}
