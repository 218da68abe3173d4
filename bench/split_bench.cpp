// Times Add Split Texture through the real window offscreen: the button, the image dialog, the
// options dialog (Custom 16 x 16) and the job on its worker thread, which hands every piece to
// the window. The clock runs from the moment the job starts cutting until it has ended. A
// 2048 x 2048 image gives 16 384 pieces, a 1024 x 1024 one 4 096: time linear in the pieces
// gives a ratio near 4, time quadratic in them 16.
#include "app/CMainDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "images/BTCImageObject.h"

#include "support/Fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Answers the two dialogs of a split as a user would: the file, then Custom 16 x 16 and OK.
void AnswerDialogs(const QString& file) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, file] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* fd = qobject_cast<QFileDialog*>(modal)) {
            fd->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(fd)->accept();
        } else if (auto* options = qobject_cast<CSplitOptionsDlg*>(modal)) {
            for (QRadioButton* button : options->findChildren<QRadioButton*>()) {
                if (button->text() == "Custom") {
                    button->click();
                }
            }
            options->findChild<QLineEdit*>("width")->setText("16");
            options->findChild<QLineEdit*>("height")->setText("16");
            options->accept();
            timer->deleteLater();
        }
    });
    timer->start(5);
}

struct Run {
    double seconds = 0;
    std::size_t pieces = 0;
};

Run SplitOnce(const fixtures::TempDir& dir, int side) {
    BTCImageObject png;
    png.Attach(fixtures::MakeTexture(side, side, 7));
    const std::string image = (dir / ("split" + std::to_string(side) + ".png")).string();
    if (!png.Save(image, ImageFormat::Png)) {
        std::fprintf(stderr, "cannot write %s\n", image.c_str());
        return {};
    }
    const auto swd = dir / "small.swd";
    fixtures::WriteFileBytes(swd, fixtures::SmallWad().Build());

    CMainDlg dlg;
    dlg.show();
    if (!dlg.OpenSwdFile(QString::fromStdString(swd.string()))) {
        return {};
    }
    const std::size_t before = dlg.Wad().TextureCount();
    AnswerDialogs(QString::fromStdString(image));
    // The click returns once the dialogs are answered, the image is loaded and the job runs.
    dlg.ButtonAt(CMainDlg::kAddSplitTexture)->click();
    QElapsedTimer clock;
    clock.start();
    while (dlg.m_bSplitting.load() != 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return {static_cast<double>(clock.nsecsElapsed()) / 1e9, dlg.Wad().TextureCount() - before};
}

double MedianSeconds(const fixtures::TempDir& dir, int side, int runs, std::size_t& pieces) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Run run = SplitOnce(dir, side);
        times.push_back(run.seconds);
        pieces = run.pieces;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    fixtures::TempDir dir;
    std::size_t smallPieces = 0;
    std::size_t largePieces = 0;
    const double small = MedianSeconds(dir, 1024, 3, smallPieces);
    const double large = MedianSeconds(dir, 2048, 3, largePieces);
    if (smallPieces != 4096 || largePieces != 16384) {
        std::fprintf(stderr, "the splits gave %zu and %zu pieces instead of 4096 and 16384\n",
                     smallPieces, largePieces);
        return 1;
    }
    const double ratio = large / small;
    std::printf("1024 x 1024 at 16 x 16: %zu pieces in %.3f s (%.1f us a piece)\n", smallPieces,
                small, small * 1e6 / static_cast<double>(smallPieces));
    std::printf("2048 x 2048 at 16 x 16: %zu pieces in %.3f s (%.1f us a piece)\n", largePieces,
                large, large * 1e6 / static_cast<double>(largePieces));
    std::printf("ratio %.2f for 4 times the pieces (linear 4, quadratic 16): %s\n", ratio,
                ratio < 5.0 ? "under 5" : "NOT under 5");
    return ratio < 5.0 ? 0 : 1;
}
