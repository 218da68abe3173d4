#pragma once

// The application object: runs the editor window modally; the program ends when it closes.
class CMainApp {
public:
    // Returns the process exit code. The window's own result is not looked at.
    int InitInstance();
};
