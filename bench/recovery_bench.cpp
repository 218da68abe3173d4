// Recovery copies of a 20 000-texture wad (sides 1..64) in the real window (offscreen):
//  (a) the snapshot the window thread takes, against copying the textures' pixels (median and
//      longest of 20 runs each);
//  (b) the longest gap between two turns of the window thread's event loop, seen by a 5 ms
//      timer, from an edit until the copy it causes is on disk (snapshot, packing and writing
//      on the worker, and the window hearing that it is done), over five such copies; and the
//      same with nothing written for as long, which is what the machine's load alone gives.
#include "BenchCheck.h"
#include "app/CMainDlg.h"
#include "formats/SwdFile.h"
#include "packing/PackTextures.h"
#include "packing/RecoveryCopy.h"

#include "WindowBench.h"
#include "support/Fixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr int kTextures = 20000;
constexpr int kSnapshotRuns = 20;
constexpr int kCopies = 5;

struct Spread {
    double medianMs;
    double longestMs;
};

template <class F> Spread Time(F&& take) {
    std::vector<double> ms;
    for (int i = 0; i < kSnapshotRuns; ++i) {
        QElapsedTimer clock;
        clock.start();
        const SpriteWad taken = take();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        Check(taken.TextureCount() == kTextures, "a snapshot lost textures");
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char** argv) {
    // Copies follow one another as fast as they are written.
    qputenv("VORNIX_RECOVERY_INTERVAL_MS", "1");
    const WindowBench bench(argc, argv);
    fixtures::TempDir dir;
    const SpriteWad set = fixtures::GeneratedSet(kTextures, 64, 2026);

    const Spread shared = Time([&] { return RecoverySnapshot(set); });
    const Spread copied = Time([&] { return set; });
    std::printf("snapshot of %d textures: median %.2f ms, longest %.2f ms "
                "(copying the pixels: median %.2f ms, longest %.2f ms)\n",
                kTextures, shared.medianMs, shared.longestMs, copied.medianMs, copied.longestMs);
    std::fflush(stdout);

    const std::string file = (dir / "set.swd").string();
    {
        SpriteWad packed = set;
        Check(PackTextures(packed).ok() && swd::WriteSwdFile(file, packed).ok(),
              "cannot write the wad");
    }
    CMainDlg dlg;
    dlg.show();
    Check(dlg.OpenSwdFile(QString::fromStdString(file)), "cannot open the wad");
    double longestGapMs = 0;
    double longestCopyS = 0;
    double totalMs = 0;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.start();
    });
    // A copy is on disk once its file is a new one (it is renamed into place); looking at it
    // must cost the window thread next to nothing.
    const auto copyInode = [&]() -> ino_t {
        struct stat seen {};
        const QString copy = dlg.RecoveryCopyPath();
        return !copy.isEmpty() && ::stat(QFile::encodeName(copy).constData(), &seen) == 0
                   ? seen.st_ino
                   : 0;
    };
    for (int i = 0; i < kCopies; ++i) {
        const ino_t before = copyInode();
        // Each edit adds a texture to the selected object.
        std::vector<SpriteTexture> added;
        added.push_back(fixtures::MakeTexture(9, 7, static_cast<std::uint32_t>(i)));
        dlg.AddTextures(std::move(added), QStringLiteral("Add Texture"));
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        tick.start();
        // Looked at every 20 ms, so that the window thread is left to the event loop.
        QTimer look;
        look.start(20);
        while (copyInode() == before || copyInode() == 0) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        // One more turn, so that the gap holding the write's ending is counted too.
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        tick.stop();
        longestCopyS = std::max(longestCopyS, static_cast<double>(clock.nsecsElapsed()) / 1e9);
        totalMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    // The last copy holds the last edit.
    SpriteWad read;
    Check(swd::ReadSwdFile(dlg.RecoveryCopyPath().toStdString(), read).ok() &&
              read.m_textures == dlg.Wad().m_textures,
          "the copy does not hold the document");
    // The same window and loop with nothing written, as long again: what the machine's load
    // alone makes of the gaps.
    const double writingGapMs = longestGapMs;
    longestGapMs = 0;
    {
        QElapsedTimer clock;
        clock.start();
        sinceTick.start();
        tick.start();
        while (clock.elapsed() < static_cast<qint64>(totalMs)) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        tick.stop();
    }
    const double idleGapMs = longestGapMs;
    std::printf("event-loop gap while %d copies of %d textures were taken and written: longest "
                "%.2f ms (target 20 ms); longest edit-to-copy time %.2f s\n",
                kCopies, kTextures, writingGapMs, longestCopyS);
    std::printf("event-loop gap with no copy written, over as long: longest %.2f ms\n", idleGapMs);
    return 0;
}
