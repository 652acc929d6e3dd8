#pragma once

class wxEvent;
class wxEvtHandler;

// Menu, toolbar and accelerator commands, and the update events of their items, reach the main
// frame. The frame hands each to the active view, then to the document; when neither takes it, the
// frame's own handlers and then the application's follow in the toolkit's order. This is the one
// router of commands.

// A command, or the update event of one.
bool IsRoutedCommand(const wxEvent& event);

// The view's handlers, then the document's (either may be null); true when one took the event.
bool RouteCommandToViewAndDocument(wxEvent& event, wxEvtHandler* view, wxEvtHandler* document);

// Marks a command as running for its lifetime. Modal loops run idle events; the idle step must not
// advance animation or paint in the middle of a command unless a loop of ours asks for it.
class CommandScope
{
public:
    CommandScope();
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

bool IsCommandRunning();
