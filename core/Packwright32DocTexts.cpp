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

std::string CPackwright32Doc::GetAddResultText(int code)
{
    switch (code) {
    case ADD_ADDED: return "File successfully added.";
    case ADD_REPLACED: return "File successfully replaced.";
    case ADD_TABLE_FULL: return FormatString("VPP exceeds %i files.", VPP_MAX_FILES);
    case ADD_NO_ACCESS: return "Could not access file. Please verify that it is not opened in another program.";
    case ADD_TOO_LARGE: return "File too large: a VPP archive and every file in it must stay below 2 GB.";
    default: return FormatString("Unknown error %i.", code);
    }
}

std::string CPackwright32Doc::GetExtractResultText(int code)
{
    switch (code) {
    case EXTRACT_OK: return "File successfully extracted.";
    case EXTRACT_NOT_FOUND: return "Internal error (file reference not found in memory).";
    case EXTRACT_NO_ARCHIVE: return "Error while trying to access the .VP file.";
    case EXTRACT_CANNOT_CREATE: return "Error while trying to save file (File/Directory access problem?).";
    case EXTRACT_NOT_SAVED: return "Skipped since this file is not yet saved in a .VPP.";
    case EXTRACT_SOURCE_SHORT: return kTextSourceShort;
    case EXTRACT_ARCHIVE_CHANGED:
        return "The archive was changed by another program after it was opened. Open it again to see what it holds "
               "now.";
    default: return FormatString("Unknown error %i.", code);
    }
}

std::string CPackwright32Doc::GetCopyResultText(int code)
{
    switch (code) {
    case COPY_OK: return "File successfully copied.";
    case COPY_NO_SOURCE: return "Error while trying to access source file.";
    case COPY_WRITE_FAILED: return "Error while saving data to file (Disk full?).";
    case COPY_SOURCE_SHORT: return kTextSourceShort;
    default: return FormatString("Unknown error %i.", code);
    }
}
