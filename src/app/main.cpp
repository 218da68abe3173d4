#include "VornixVersion.h"
#include "app/AppResources.h"
#include "app/CMainApp.h"
#include "app/EditorCommandLine.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const EditorCommandLine command = ParseEditorCommandLine(arguments);
    if (command.exitStatus) {
        std::fputs(command.text.toLocal8Bit().constData(),
                   *command.exitStatus == 0 ? stdout : stderr);
        return *command.exitStatus;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(appres::kAppTitle);
    QApplication::setApplicationVersion(QLatin1String(kVornixVersion));
    QApplication::setDesktopFileName(QStringLiteral("vornix"));
    QApplication::setWindowIcon(appres::AppIcon());
    CMainApp app;
    return app.InitInstance(command.files);
}
