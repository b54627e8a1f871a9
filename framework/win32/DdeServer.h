#pragma once
// The shell's DDE conversation with the running program, served by hand
// from a window: WM_DDE_INITIATE for the program's service and the
// "system" topic, WM_DDE_EXECUTE with commands like [open("path")].

#include <windows.h>

#include <string>
#include <vector>

struct CDdeCommand {
    std::string m_strName;               // "open", "print", ...
    std::vector<std::string> m_arrArgs;  // quotes removed
};

// Splits "[open(\"a\")][print(\"b\")]" into its commands; false when the
// text is not a list of such commands.
bool ParseDdeCommands(const std::string& text, std::vector<CDdeCommand>& commands);

class CDdeServer {
public:
    CDdeServer() = default;
    ~CDdeServer();
    CDdeServer(const CDdeServer&) = delete;
    CDdeServer& operator=(const CDdeServer&) = delete;

    // Takes on the service (application) name and the topic.
    void Enable(const std::string& service, const std::string& topic = "system");
    bool IsEnabled() const { return m_atomApp != 0; }

    // The server window's handlers; each returns TRUE when it took the message.
    BOOL OnInitiate(HWND hWndServer, WPARAM wParam, LPARAM lParam) const;
    // Acknowledges (negatively when the command text is not understood) and
    // then returns the commands to carry out.
    BOOL OnExecute(HWND hWndServer, WPARAM wParam, LPARAM lParam, std::vector<CDdeCommand>& commands) const;
    BOOL OnTerminate(HWND hWndServer, WPARAM wParam) const;

private:
    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;
    std::string m_strService;
    std::string m_strTopic;
};
