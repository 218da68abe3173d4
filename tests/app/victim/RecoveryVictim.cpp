// The editor window as a process of its own, for a test that kills it at the worst moment.
//   recovery_victim edit ORIGINAL.swd STATE
//     opens ORIGINAL, makes state 1 and writes it to STATE1.swd; once its recovery copy exists
//     makes state 2, writes it to STATE2.swd and prints "state 2"; then runs until killed.
//   recovery_victim recover OUT.swd
//     answers the question at start with Recover, prints the path field and whether the
//     document is modified, writes the document to OUT.swd and ends cleanly.
#include "app/CMainDlg.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

bool WriteState(const SpriteWad& wad, const QString& path) {
    SpriteWad packed = wad;
    return PackTextures(packed).ok() && swd::WriteSwdFile(path.toStdString(), packed).ok();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        return 2;
    }
    CMainDlg dlg;
    if (args[1] == QLatin1String("recover")) {
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == QLatin1String("Recover")) {
                        button->click();
                    }
                }
            }
        });
        answer.start(10);
        dlg.OfferRecovery();
        std::printf("%s\n%d\n", qPrintable(dlg.findChild<QLineEdit*>("path")->text()),
                    dlg.IsModified() ? 1 : 0);
        return WriteState(dlg.Wad(), args[2]) ? 0 : 1;
    }
    if (args.size() < 4 || !dlg.OpenSwdFile(args[2])) {
        return 2;
    }
    dlg.OnDeleteTexture();
    std::vector<SpriteTexture> added;
    added.push_back(fixtures::MakeTexture(5, 7, 99));
    dlg.AddTextures(std::move(added), QStringLiteral("Add Texture"));
    if (!WriteState(dlg.Wad(), args[3] + QLatin1String("1.swd"))) {
        return 1;
    }
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!dlg.RecoveryCopyPath().isEmpty()) {
            watch.stop();
            dlg.OnDeleteTexture();
            if (!WriteState(dlg.Wad(), args[3] + QLatin1String("2.swd"))) {
                std::exit(1);
            }
            std::printf("state 2\n");
            std::fflush(stdout);
        }
    });
    watch.start(5);
    return application.exec();
}
