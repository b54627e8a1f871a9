#pragma once
// The framework's side of a data object offered by a drag or the clipboard:
// its formats in the object's order, and the data of one format read whole.

#include <windows.h>
#include <objidl.h>

#include <vector>

#include "framework/win32/Handles.h"

class COleDataObject {
public:
    // Takes a reference of its own to pDataObject.
    void Attach(IDataObject* pDataObject);
    void Release() { m_pDataObject.Reset(); m_pEnum.Reset(); }
    IDataObject* GetIDataObject() const { return m_pDataObject.Get(); }

    // Goes through the formats the object offers, in its order.
    void BeginEnumFormats();
    BOOL GetNextFormat(FORMATETC* pFormatEtc);
    // Whether the object gives cfFormat (in the medium and aspect of
    // pFormatEtc when given, else as a global memory block).
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, const FORMATETC* pFormatEtc = nullptr) const;
    // The whole data of cfFormat, from global memory or a stream; FALSE when
    // the object does not give it or fewer bytes arrive than it promised.
    BOOL GetData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes, const FORMATETC* pFormatEtc = nullptr) const;

private:
    CScopedComPtr<IDataObject> m_pDataObject;
    CScopedComPtr<IEnumFORMATETC> m_pEnum;
};
