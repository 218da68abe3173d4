#pragma once

#include "support/Fixtures.h"

#include <QApplication>

// What a benchmark of the real window needs before its first widget: settings of its own, so
// that it neither reads nor changes the user's, and the offscreen platform unless one is chosen.
class WindowBench {
public:
    WindowBench(int& argc, char** argv) : m_application(argc, argv) {}

private:
    static bool ChoosePlatform() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return true;
    }

    fixtures::PrivateSettingsHome m_settingsHome;
    bool m_platformChosen = ChoosePlatform();
    QApplication m_application;
};
