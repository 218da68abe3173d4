// Save As SWD through the real window (offscreen) against the same work done directly, on a
// set of 20 000 textures with sides 1..64:
//  (a) the whole save, from accepting the file dialog until the window's controls are enabled
//      again, against PackTextures plus WriteSwdFile alone (median of five runs each);
//  (b) during the window's saves, the longest gap between two turns of the window thread's
//      event loop, seen by a 10 ms timer: while the job runs (its start and ending included),
//      and also counting from the file dialog's accept, whose closing takes a gap of its own.
// Both ways must write the same bytes; the bench says so and fails otherwise.
#include "app/CMainDlg.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"

#include "WindowBench.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr int kTextures = 20000;
constexpr int kRuns = 5;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double DirectSave(const SpriteWad& original, const std::string& path) {
    SpriteWad wad = original;
    QElapsedTimer clock;
    clock.start();
    if (!PackTextures(wad).ok() || !swd::WriteSwdFile(path, wad).ok()) {
        std::fprintf(stderr, "direct save failed\n");
        std::exit(1);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

struct WindowRun {
    double seconds = 0;
    // From the first turn with the job running to the first turn after it has ended.
    double longestJobGapMs = 0;
    // From the accept of the file dialog on, so the dialog's closing is in it as well.
    double longestGapMs = 0;
};

// Clicks Save As SWD, types `path` into the file dialog and accepts it the moment it shows;
// the clock starts there and stops when the job has ended.
WindowRun WindowSave(CMainDlg& dlg, const QString& path) {
    WindowRun run;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setInterval(10);
    bool jobSeen = false;
    int turns = 0;
    QObject::connect(&tick, &QTimer::timeout, [&]() {
        const double gap = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6;
        run.longestGapMs = std::max(run.longestGapMs, gap);
        if (jobSeen) {
            run.longestJobGapMs = std::max(run.longestJobGapMs, gap);
        }
        jobSeen = jobSeen || dlg.m_bSaving.load() != 0;
        sinceTick.start();
        ++turns;
    });
    // A message box would mean that the save went wrong.
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&]() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "unexpected message: %s\n", qPrintable(box->text()));
            std::exit(1);
        }
    });
    watch.start();
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&]() {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || clock.isValid()) {
            return;
        }
        dialog->selectFile(path);
        clock.start();
        sinceTick.start();
        tick.start();
        static_cast<QDialog*>(dialog)->accept();
    });
    answer.start();
    dlg.ButtonAt(CMainDlg::kSaveAsSwd)->click();
    while (dlg.m_bSaving.load() != 0 || !dlg.ButtonAt(CMainDlg::kSaveAsSwd)->isEnabled()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    // One more turn, so that the gap holding the job's ending is counted too.
    for (const int seen = turns; turns == seen;) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return run;
}

} // namespace

int main(int argc, char** argv) {
    const WindowBench bench(argc, argv);
    fixtures::TempDir dir;
    const SpriteWad set = fixtures::GeneratedSet(kTextures, 64, 2026);

    // Load the window from a file the direct save wrote, then alternate the two ways so that
    // both meet the same disk and machine load.
    const std::filesystem::path reference = dir / "reference.swd";
    DirectSave(set, reference.string());
    CMainDlg dlg;
    dlg.show();
    if (!dlg.OpenSwdFile(QString::fromStdString(reference.string()))) {
        return 1;
    }
    const std::vector<std::uint8_t> expected = fixtures::ReadFileBytes(reference);
    std::vector<double> direct;
    std::vector<double> window;
    double longestJobGapMs = 0;
    double longestGapMs = 0;
    for (int i = 0; i < kRuns; ++i) {
        const std::filesystem::path target = dir / "run.swd";
        direct.push_back(DirectSave(set, target.string()));
        const bool directSame = fixtures::ReadFileBytes(target) == expected;
        std::filesystem::remove(target);
        const WindowRun run = WindowSave(dlg, QString::fromStdString(target.string()));
        window.push_back(run.seconds);
        longestJobGapMs = std::max(longestJobGapMs, run.longestJobGapMs);
        longestGapMs = std::max(longestGapMs, run.longestGapMs);
        if (!directSame || fixtures::ReadFileBytes(target) != expected) {
            std::fprintf(stderr, "the two ways wrote different bytes\n");
            return 1;
        }
        std::filesystem::remove(target);
    }

    const double directS = Median(direct);
    const double windowS = Median(window);
    std::printf("%d textures, sides 1..64, %zu pages\n", kTextures, dlg.Wad().m_pages.size());
    std::printf("PackTextures + WriteSwdFile:  %.3f s (median of %d)\n", directS, kRuns);
    std::printf("Save As SWD through window:   %.3f s (median of %d)\n", windowS, kRuns);
    std::printf("ratio window / direct:        %.3f (limit 1.2)\n", windowS / directS);
    std::printf("longest event-loop gap while the job runs:   %.1f ms (limit 50)\n",
                longestJobGapMs);
    std::printf("same, from the file dialog's accept on:      %.1f ms\n", longestGapMs);
    return 0;
}
