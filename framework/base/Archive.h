#pragma once
// The framework's serialization context: which way the data flows, the file
// underneath and the document being serialized. Unbuffered: whoever reads or
// writes goes straight to the file.

#include "framework/base/File.h"

class CDocument;

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* pFile, UINT mode) : m_pFile(pFile), m_nMode(mode) {}

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    CDocument* m_pDocument = nullptr;

private:
    CFile* m_pFile;
    UINT m_nMode;
};
