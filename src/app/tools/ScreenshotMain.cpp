// Renders the editor window with an SWD file loaded into a PNG, for the documentation.
// Usage: vornix-screenshot <file.swd> <out.png>
#include "app/AppResources.h"
#include "app/CMainDlg.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(appres::kAppTitle);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vornix-screenshot <file.swd> <out.png>\n");
        return 2;
    }
    CMainDlg dialog;
    if (!dialog.OpenSwdFile(QString::fromLocal8Bit(argv[1]))) {
        return 1;
    }
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
