// Times Add Split Texture through the real window offscreen: the button, the image dialog, the
// options dialog (Custom 16 x 16) and the job on its worker thread, which hands the pieces to
// the window in batches. The clock runs from the moment the job starts cutting until it has
// ended. A 2048 x 2048 image gives 16 384 pieces, a 1024 x 1024 one 4 096: time linear in the
// pieces gives a ratio near 4, time quadratic in them 16. The same 16 384 pieces cut and
// appended by the core alone, with no window, are the yardstick for the window's whole split
// (at most 1.5 times). Also measured: the longest gap between two turns of the window's event
// loop during the split (at most 50 ms), and how long after Stop the window is usable again
// (at most 50 ms).
#include "app/CMainDlg.h"
#include "app/CSplitOptionsDlg.h"
#include "edits/Edits.h"
#include "images/BTCImageObject.h"
#include "pixels/SplitImage.h"

#include "support/Fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
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
            // The name typed wins only over no file selected in the dialog's list.
            fd->findChild<QListView*>("listView")->clearSelection();
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
    // The longest the event loop went without a turn, and from Stop to the window enabled.
    double longestGap = 0;
    double stopSeconds = 0;
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

Run SplitOnce(const fixtures::TempDir& dir, int side, bool stop = false) {
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
    Run run;
    // A timer that fires at every turn of the event loop tells how long the loop was held.
    auto last = std::chrono::steady_clock::now();
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        run.longestGap = std::max(run.longestGap, Since(last));
        last = std::chrono::steady_clock::now();
    });
    std::chrono::steady_clock::time_point stopped;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (dlg.JobRuns() && dlg.Wad().TextureCount() > before) {
            stopper.stop();
            stopped = std::chrono::steady_clock::now();
            dlg.ButtonAt(CMainDlg::kAddSplitTexture)->click();
        }
    });
    // The click returns once the dialogs are answered, the image is loaded and the job runs.
    dlg.ButtonAt(CMainDlg::kAddSplitTexture)->click();
    const auto start = std::chrono::steady_clock::now();
    last = start;
    turns.start(0);
    if (stop) {
        stopper.start(0);
    }
    while (dlg.JobRuns() || !dlg.ButtonAt(CMainDlg::kExit)->isEnabled()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    run.seconds = Since(start);
    // A split that ended before its first batch showed had nothing left to stop.
    run.stopSeconds = stopped != std::chrono::steady_clock::time_point{} ? Since(stopped) : 0;
    run.pieces = dlg.Wad().TextureCount() - before;
    return run;
}

// The core alone: the same image cut into the same pieces and appended to the same object.
double CoreSplitSeconds(int side) {
    const BTCImageData image = fixtures::MakeTexture(side, side, 7);
    SpriteWad wad;
    wad.AddObject(463);
    const auto start = std::chrono::steady_clock::now();
    std::vector<BTCImageData> pieces;
    SplitImage(
        image, 16, 16, PiecePolicy::AllowSmaller, [] { return true; },
        [&pieces](BTCImageData piece) {
            pieces.push_back(std::move(piece));
            return true;
        });
    const edits::EditResult done = edits::AddTextures(wad, 0, std::move(pieces));
    const double seconds = Since(start);
    return done ? seconds : 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MedianSeconds(const fixtures::TempDir& dir, int side, int runs, std::size_t& pieces,
                     double* longestGap = nullptr) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Run run = SplitOnce(dir, side);
        times.push_back(run.seconds);
        pieces = run.pieces;
        if (longestGap != nullptr) {
            *longestGap = std::max(*longestGap, run.longestGap);
        }
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv) {
    const fixtures::PrivateSettingsHome settingsHome;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    fixtures::TempDir dir;
    std::size_t smallPieces = 0;
    std::size_t largePieces = 0;
    const double small = MedianSeconds(dir, 1024, 3, smallPieces);
    double gap = 0;
    const double large = MedianSeconds(dir, 2048, 3, largePieces, &gap);
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

    std::vector<double> core;
    for (int i = 0; i < 3; ++i) {
        core.push_back(CoreSplitSeconds(2048));
    }
    const double coreSeconds = Median(core);
    const double overCore = large / coreSeconds;
    std::printf("the core alone cuts and appends the 16384 pieces in %.3f s: the window takes "
                "%.2f times that: %s\n",
                coreSeconds, overCore, overCore <= 1.5 ? "at most 1.5" : "NOT at most 1.5");
    std::printf("longest event-loop gap during the 16384-piece splits: %.1f ms: %s\n", gap * 1e3,
                gap <= 0.050 ? "at most 50 ms" : "NOT at most 50 ms");
    std::vector<double> stops;
    for (int i = 0; i < 3; ++i) {
        stops.push_back(SplitOnce(dir, 2048, true).stopSeconds);
    }
    const double stopSeconds = Median(stops);
    std::printf("Stop pressed at the first batch: the window is usable %.1f ms later: %s\n",
                stopSeconds * 1e3, stopSeconds <= 0.050 ? "at most 50 ms" : "NOT at most 50 ms");
    return ratio < 5.0 && overCore <= 1.5 && gap <= 0.050 && stopSeconds <= 0.050 ? 0 : 1;
}
