// The application framework: an application object, command targets with message maps,
// windows and modal dialogs, written over the platform's user calls so that one program
// source serves the simulated machine and real Windows alike.
#pragma once

#include "platform.h"

class CCmdTarget;
class CWnd;
class CWinApp;

// ---------------------------------------------------------------------------------------
// Message maps. A class declares its map with DECLARE_MESSAGE_MAP() and defines it between
// BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(); a message that the map
// does not hold is looked up in the base class's map, and so on up to CCmdTarget.

// One entry: the message (and for WM_COMMAND the command id) and the handler, called
// through a small function that turns the message's parameters into the handler's own.
struct MessageMapEntry {
    UINT message;
    UINT id;
    LRESULT (*call)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;  // ends with an entry whose `call` is null
};

namespace framework {

// The calls through which map entries reach handlers of each form.
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)>
LRESULT call_message(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T*>(target)->*F)(wParam, lParam);
}

template <class T, auto F>
LRESULT call_command(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<T*>(target)->*F)();
    return 0;
}

}  // namespace framework

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const MessageMap* GetThisMessageMap();      \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
    const MessageMap* theClass::GetThisMessageMap() {                                       \
        typedef theClass ThisClass [[maybe_unused]];                                        \
        typedef baseClass TheBaseClass;                                                     \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, nullptr}};                                               \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

// A user message to a handler `LRESULT Handler(WPARAM, LPARAM)`.
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, &framework::call_message<ThisClass, &ThisClass::memberFxn>},

// A command (WM_COMMAND with this id) to a handler `void Handler()`; the handler may be
// a member of a base class, named with its class: ON_COMMAND(ID_HELP, CWinApp::OnHelp).
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(id), &framework::call_command<ThisClass, &ThisClass::memberFxn>},

// ---------------------------------------------------------------------------------------
// Command targets: objects that messages and commands are routed to through their maps.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // The entry of this object's map, or of a base class's map, for the message (and for
    // WM_COMMAND, the command id); null when none holds it.
    const MessageMapEntry* FindMessageEntry(UINT message, UINT id) const;
    // Routes a command to this object's handler; FALSE when it has none.
    virtual BOOL OnCmdMsg(UINT id);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
};

// ---------------------------------------------------------------------------------------
// The application: one static object of a class derived from CWinApp. The framework's
// entry point runs its InitInstance; when that returns FALSE the framework calls
// ExitInstance and ends the process with its result, without a message loop.
#define ID_HELP 0xE146

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Asks the platform's help viewer for the program's help file (the program's file
    // name with the extension ".HLP").
    void OnHelp();
    // Commands that no window handles come to the application.
    BOOL OnCmdMsg(UINT id) override;

    LPCSTR m_pszAppName;
    CWnd* m_pMainWnd;

protected:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override;
};

// The one application object.
CWinApp* AfxGetApp();
