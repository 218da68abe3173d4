#pragma once

#include <QStringList>

// The application object: runs the editor window modally; the program ends when it closes.
class CMainApp {
public:
    // Opens `files` in the window once it shows, as a drop of them would. Returns the process
    // exit code; the window's own result is not looked at.
    int InitInstance(const QStringList& files = {});
};
