#include "framework/win32/DdeServer.h"

#include <dde.h>

#include "framework/base/CodePage.h"
#include "framework/win32/Handles.h"

namespace {
void SkipSpaces(const std::string& text, size_t& pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n'))
        ++pos;
}

// One argument: "quoted text" or bare text up to ',' or ')'.
bool ParseArgument(const std::string& text, size_t& pos, std::string& arg)
{
    SkipSpaces(text, pos);
    arg.clear();
    if (pos < text.size() && text[pos] == '"') {
        const size_t close = AnsiFind(text, "\"", pos + 1);
        if (close == std::string::npos) return false;
        arg = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    } else {
        const size_t end = AnsiFind(text, ",)", pos);
        if (end == std::string::npos) return false;
        arg = text.substr(pos, end - pos);
        while (AnsiEndsWith(arg, ' ')) arg.pop_back();
        pos = end;
    }
    SkipSpaces(text, pos);
    return true;
}

// The command text of a WM_DDE_EXECUTE in the ANSI code page. DDEML clients
// of the wide API send UTF-16; the shell's are ANSI.
std::string ReadCommandText(HGLOBAL hData, bool unicodeClient)
{
    const CScopedGlobalLock<const char> lock(hData);
    const char* data = lock.Get();
    if (!data) return {};
    const SIZE_T size = lock.Size();
    if (!unicodeClient || size < 2 || data[1] != '\0') return std::string(data, strnlen(data, size));
    const auto* wide = reinterpret_cast<const wchar_t*>(data);
    const int length = int(wcsnlen(wide, size / 2));
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string text(size_t(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, length, text.data(), n, nullptr, nullptr);
    return text;
}
}  // namespace

bool ParseDdeCommands(const std::string& text, std::vector<CDdeCommand>& commands)
{
    commands.clear();
    size_t pos = 0;
    for (;;) {
        SkipSpaces(text, pos);
        if (pos >= text.size()) break;
        if (text[pos] != '[') return false;
        ++pos;
        SkipSpaces(text, pos);
        CDdeCommand command;
        while (pos < text.size() && (isalnum(static_cast<unsigned char>(text[pos])) || text[pos] == '_'))
            command.m_strName += text[pos++];
        if (command.m_strName.empty()) return false;
        SkipSpaces(text, pos);
        if (pos < text.size() && text[pos] == '(') {
            ++pos;
            SkipSpaces(text, pos);
            if (pos < text.size() && text[pos] == ')') {
                ++pos;
            } else {
                for (;;) {
                    std::string arg;
                    if (!ParseArgument(text, pos, arg)) return false;
                    command.m_arrArgs.push_back(arg);
                    if (pos < text.size() && text[pos] == ',') {
                        ++pos;
                        continue;
                    }
                    if (pos < text.size() && text[pos] == ')') {
                        ++pos;
                        break;
                    }
                    return false;
                }
            }
        }
        SkipSpaces(text, pos);
        if (pos >= text.size() || text[pos] != ']') return false;
        ++pos;
        commands.push_back(std::move(command));
    }
    return !commands.empty();
}

CDdeServer::~CDdeServer()
{
    if (m_atomApp) ::GlobalDeleteAtom(m_atomApp);
    if (m_atomSystemTopic) ::GlobalDeleteAtom(m_atomSystemTopic);
}

void CDdeServer::Enable(const std::string& service, const std::string& topic)
{
    if (m_atomApp) ::GlobalDeleteAtom(m_atomApp);
    if (m_atomSystemTopic) ::GlobalDeleteAtom(m_atomSystemTopic);
    m_strService = service;
    m_strTopic = topic;
    m_atomApp = ::GlobalAddAtomA(service.c_str());
    m_atomSystemTopic = ::GlobalAddAtomA(topic.c_str());
}

BOOL CDdeServer::OnInitiate(HWND hWndServer, WPARAM wParam, LPARAM lParam) const
{
    if (!m_atomApp) return FALSE;
    // Atoms compare without regard to letter case; a zero atom is a wildcard.
    const ATOM app = LOWORD(lParam);
    const ATOM topic = HIWORD(lParam);
    if ((app != 0 && app != m_atomApp) || (topic != 0 && topic != m_atomSystemTopic)) return FALSE;
    // The client deletes the atoms of the answer, so they are added anew.
    const ATOM ackApp = ::GlobalAddAtomA(m_strService.c_str());
    const ATOM ackTopic = ::GlobalAddAtomA(m_strTopic.c_str());
    ::SendMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(hWndServer),
                   MAKELPARAM(ackApp, ackTopic));
    return TRUE;
}

BOOL CDdeServer::OnExecute(HWND hWndServer, WPARAM wParam, LPARAM lParam, std::vector<CDdeCommand>& commands) const
{
    commands.clear();
    UINT_PTR unused = 0;
    UINT_PTR hData = 0;
    if (!::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &hData)) return FALSE;
    // Unlocked again before the acknowledgement lets the client free it.
    const std::string text = ReadCommandText(reinterpret_cast<HGLOBAL>(hData),
                                             ::IsWindowUnicode(reinterpret_cast<HWND>(wParam)) != FALSE);
    const bool understood = ParseDdeCommands(text, commands);
    if (!understood) commands.clear();
    // Acknowledged before the work, so the shell is not held up by a message
    // box the command may show. The client frees the command's memory.
    const UINT_PTR status = understood ? 0x8000 : 0;  // DDEACK's fAck bit
    const LPARAM reply = ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, status, hData);
    if (!::PostMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(hWndServer), reply))
        ::FreeDDElParam(WM_DDE_ACK, reply);
    return TRUE;
}

BOOL CDdeServer::OnTerminate(HWND hWndServer, WPARAM wParam) const
{
    ::PostMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hWndServer), 0);
    return TRUE;
}
