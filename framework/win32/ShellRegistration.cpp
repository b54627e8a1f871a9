#include "framework/win32/ShellRegistration.h"

// SHDeleteKey, not RegDeleteTree: Windows XP has only the former.
#include <shlwapi.h>

#include "framework/win32/RegKey.h"

namespace {
BOOL SetKeyValue(HKEY hRoot, const std::string& key, const char* name, const std::string& value)
{
    CRegKey reg;
    return reg.Create(hRoot, key, KEY_WRITE) && reg.SetString(name, value);
}

std::string DefaultValue(HKEY hRoot, const std::string& key)
{
    CRegKey reg;
    std::string value;
    if (!reg.Open(hRoot, key, KEY_READ) || !reg.QueryString(nullptr, value)) return {};
    return value;
}

BOOL SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }
}  // namespace

BOOL RegisterShellFileType(HKEY hRoot, const CShellFileType& type, BOOL bCompat)
{
    if (type.m_strFileTypeId.empty()) return FALSE;
    const std::string& id = type.m_strFileTypeId;
    const std::string exe = "\"" + type.m_strExePath + "\"";
    BOOL ok = SetKeyValue(hRoot, id, nullptr, type.m_strFileTypeName);
    if (!ok) return FALSE;  // no right to write here: nothing more to try
    if (bCompat) ok &= SetKeyValue(hRoot, id + "\\DefaultIcon", nullptr,
                                   type.m_strExePath + "," + std::to_string(type.m_nIconIndex));

    struct Verb {
        const char* name;
        const char* switches;  // without DDE
        const char* ddeCommand;
    };
    const Verb verbs[] = {
        {"open", " \"%1\"", "[open(\"%1\")]"},
        {"print", " /p \"%1\"", "[print(\"%1\")]"},
        {"printto", " /pt \"%1\" \"%2\" \"%3\" \"%4\"", "[printto(\"%1\",\"%2\",\"%3\",\"%4\")]"},
    };
    for (const Verb& verb : verbs) {
        if (!bCompat && std::string(verb.name) != "open") continue;
        const std::string shell = id + "\\shell\\" + verb.name;
        if (!type.m_strDdeService.empty()) {
            ok &= SetKeyValue(hRoot, shell + "\\command", nullptr, exe + " /dde");
            ok &= SetKeyValue(hRoot, shell + "\\ddeexec", nullptr, verb.ddeCommand);
            ok &= SetKeyValue(hRoot, shell + "\\ddeexec\\application", nullptr, type.m_strDdeService);
            ok &= SetKeyValue(hRoot, shell + "\\ddeexec\\topic", nullptr, "system");
        } else {
            ok &= SetKeyValue(hRoot, shell + "\\command", nullptr, exe + verb.switches);
        }
    }
    for (const CShellVerb& verb : type.m_verbs) {
        const std::string shell = id + "\\shell\\" + verb.m_strName;
        ok &= SetKeyValue(hRoot, shell, nullptr, verb.m_strText);
        ok &= SetKeyValue(hRoot, shell + "\\command", nullptr, verb.m_strCommand);
    }

    if (!type.m_strFilterExt.empty()) {
        const std::string current = DefaultValue(hRoot, type.m_strFilterExt);
        // Another program's association is left alone.
        if (current.empty() || SameText(current, id)) {
            ok &= SetKeyValue(hRoot, type.m_strFilterExt, nullptr, id);
            if (bCompat) ok &= SetKeyValue(hRoot, type.m_strFilterExt + "\\ShellNew", "NullFile", "");
        }
    }
    return ok;
}

BOOL UnregisterShellFileType(HKEY hRoot, const CShellFileType& type)
{
    if (type.m_strFileTypeId.empty()) return FALSE;
    BOOL ok = TRUE;
    if (!type.m_strFilterExt.empty() && SameText(DefaultValue(hRoot, type.m_strFilterExt), type.m_strFileTypeId)) {
        const LSTATUS status = ::SHDeleteKeyA(hRoot, type.m_strFilterExt.c_str());
        ok &= status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    const LSTATUS status = ::SHDeleteKeyA(hRoot, type.m_strFileTypeId.c_str());
    ok &= status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    return ok;
}
