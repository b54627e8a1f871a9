#pragma once
// Explorer's "Extract to NAME\" on an archive: every entry into the folder
// NAME beside it (the archive's name without ".vpp"), through the
// document's extraction, as the editor's Extract writes them. It asks once
// before replacing files, and reports only through the program's message
// boxes, progress window and error-details dialog: no console is there.

#include <string>

class CProgressDisplay;

class CExtractHere {
public:
    // pProgress shows how far the extraction is (null: nothing shown).
    explicit CExtractHere(CProgressDisplay* pProgress) : m_pProgress(pProgress) {}

    // Extracts the archive at archivePath. Returns the exit status: 0 when
    // every entry was written, or the user chose to replace nothing; 1 when
    // anything failed, already reported.
    int Run(const std::string& archivePath);

    // The folder an archive is extracted into: "C:\a\game.vpp" gives "C:\a\game".
    static std::string FolderFor(const std::string& archivePath);
    // Asks whether count files in folder, named like entries of archive, may be replaced.
    static std::string GetReplaceQuestion(const std::string& folder, int count, const std::string& archive);

private:
    CProgressDisplay* m_pProgress;
};
