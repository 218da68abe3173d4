#include "app/AppResources.h"
#include "app/CMainApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(appres::kAppTitle);
    QApplication::setApplicationVersion(QStringLiteral("1.03"));
    QApplication::setDesktopFileName(QStringLiteral("vornix"));
    QApplication::setWindowIcon(appres::AppIcon());
    CMainApp app;
    return app.InitInstance();
}
