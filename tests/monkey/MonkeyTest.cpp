// A seeded monkey: random user actions on the real window, offscreen, and after each one the
// checks of what must always hold. MONKEY_SEED, MONKEY_ACTIONS, MONKEY_SECONDS and MONKEY_REPLAY
// (a list printed by a failed run) choose the run. A failure prints the seed and the shortest
// list of actions found that still fails, found by dropping actions and replaying from scratch.
#include "app/AppSettings.h"
#include "app/CMainDlg.h"
#include "app/COwnerDrawCombo.h"
#include "app/DropFiles.h"
#include "app/QtImage.h"
#include "document/ListLines.h"
#include "formats/SwdFile.h"
#include "formats/SwoFile.h"
#include "images/TextureExport.h"
#include "packing/PackTextures.h"
#include "support/Fixtures.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>

namespace {

namespace fs = std::filesystem;
using Rng = std::mt19937;
using Clock = std::chrono::steady_clock;

int Pick(Rng& rng, qsizetype n) {
    return static_cast<int>(rng() % static_cast<std::uint32_t>(n));
}
bool Chance(Rng& rng, int percent) {
    return Pick(rng, 100) < percent;
}

// Mostly values the dialogs take, sometimes one they must refuse.
QString NumberText(Rng& rng) {
    static const char* const kWrong[] = {"", "x", "-3", "0", "257", "99999999999"};
    const int roll = Pick(rng, 10);
    if (roll == 0) {
        return QString::fromLatin1(kWrong[Pick(rng, std::size(kWrong))]);
    }
    // A small side, a line of a short object, or a usual side.
    return QString::number(roll == 1   ? 1 + Pick(rng, 15)
                           : roll == 2 ? Pick(rng, 8)
                                       : 16 + Pick(rng, 241));
}

struct Content {
    std::vector<ObjectSequence> sequences;
    std::vector<SpriteTexture> textures;
};
Content ContentOf(const SpriteWad& wad) {
    return {wad.m_sequences, wad.m_textures};
}
bool Same(const Content& content, const SpriteWad& wad) {
    return content.sequences == wad.m_sequences && content.textures == wad.m_textures;
}

// Answers every modal dialog and popup menu, from inside its event loop, with random input the
// dialog is meant to take; a window it does not know is closed and reported.
class Answerer : public QObject {
public:
    explicit Answerer(fs::path folder) : m_folder(std::move(folder)) {
        connect(&m_timer, &QTimer::timeout, this, &Answerer::Tick);
        m_timer.start(2);
    }
    void Reseed(std::uint32_t seed) { m_rng.seed(seed), m_tries.clear(); }
    std::string failure;

private:
    void Tick() {
        QWidget* open = QApplication::activePopupWidget();
        open = open != nullptr ? open : QApplication::activeModalWidget();
        if (open == nullptr || m_busy) {
            return;
        }
        // Answered outside the timer, so that a dialog the answer opens is answered in turn.
        m_busy = true;
        QTimer::singleShot(0, this, [this, open = QPointer<QWidget>(open)] {
            m_busy = false;
            if (open && open->isVisible()) {
                Answer(open);
            }
        });
    }

    void Answer(QWidget* open) {
        static const QStringList kKnownDialogs{
            "Add Object",       "Edit Object", "Resize Image", "Resize Image Range",
            "Split Options",    "Options",     "About Vornix", "JPEG Compression Options...",
            "Frames per Second"};
        const int tries = ++m_tries[open];
        auto* dialog = qobject_cast<QDialog*>(open);
        if (auto* menu = qobject_cast<QMenu*>(open)) {
            QList<QAction*> enabled;
            for (QAction* action : menu->actions()) {
                if (action->isEnabled() && !action->isSeparator()) {
                    enabled.append(action);
                }
            }
            if (enabled.isEmpty() || Chance(m_rng, 20)) {
                QTest::keyClick(menu, Qt::Key_Escape);
                return;
            }
            menu->setActiveAction(enabled[Pick(m_rng, enabled.size())]);
            QTest::keyClick(menu, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(open)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            buttons[Pick(m_rng, buttons.size())]->click();
        } else if (auto* files = qobject_cast<QFileDialog*>(open)) {
            AnswerFileDialog(files, tries);
        } else if (dialog != nullptr && kKnownDialogs.contains(open->windowTitle())) {
            // A dialog that keeps refusing what it is given is given up.
            if (tries > 3 || Chance(m_rng, 15)) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            Fiddle(dialog);
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text().remove('&') == "OK") {
                    return button->click();
                }
            }
        } else {
            failure = "window: nobody knows the window \"" + open->windowTitle().toStdString() +
                      "\" (" + open->metaObject()->className() + ")";
            dialog != nullptr ? dialog->reject() : void(open->close());
        }
    }

    void Fiddle(QDialog* dialog) {
        const auto radios = dialog->findChildren<QRadioButton*>();
        if (!radios.isEmpty() && Chance(m_rng, 50)) {
            radios[Pick(m_rng, radios.size())]->click();
        }
        for (QComboBox* list : dialog->findChildren<QComboBox*>()) {
            if (list->count() > 0 && Chance(m_rng, 40)) {
                const int line = Pick(m_rng, list->count());
                list->setCurrentIndex(line);
                emit list->activated(line);
            }
        }
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
            if (Chance(m_rng, 30)) {
                box->click();
            }
        }
        for (QSlider* slider : dialog->findChildren<QSlider*>()) {
            if (Chance(m_rng, 30)) {
                QTest::keyClick(slider, Chance(m_rng, 50) ? Qt::Key_PageUp : Qt::Key_PageDown);
            }
        }
        for (QLineEdit* field : dialog->findChildren<QLineEdit*>()) {
            if (field->isEnabled() && !field->isReadOnly() && Chance(m_rng, 50)) {
                field->setFocus();
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Delete);
                QTest::keyClicks(field, NumberText(m_rng));
            }
        }
    }

    void AnswerFileDialog(QFileDialog* dialog, int tries) {
        if (tries > 3 || Chance(m_rng, 10)) {
            return dialog->reject();
        }
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        if (types != nullptr && types->count() > 1 && Chance(m_rng, 40)) {
            const int type = Pick(m_rng, types->count());
            types->setCurrentIndex(type);
            emit types->activated(type);
            emit types->textActivated(types->itemText(type));
        }
        QStringList names;
        if (dialog->acceptMode() == QFileDialog::AcceptSave) {
            static const char* const kSaveNames[] = {
                "saved.swd", "saved2.swd", "out.png", "out.bmp", "out.tga",    "out.jpg",
                "out.tif",   "out.pcx",    "out.raw", "obj.swo", "none/x.swd", "set.swd"};
            names.append(QString::fromLatin1(kSaveNames[Pick(m_rng, std::size(kSaveNames))]));
        } else {
            const QStringList present = QDir(m_folder).entryList(QDir::Files, QDir::Name);
            const int count =
                dialog->fileMode() == QFileDialog::ExistingFiles ? 1 + Pick(m_rng, 3) : 1;
            for (int i = 0; i < count; ++i) {
                names.append(Chance(m_rng, 5) ? QStringLiteral("missing.png")
                                              : present[Pick(m_rng, present.size())]);
            }
        }
        dialog->setDirectory(QString::fromStdString(m_folder.string()));
        // The typed name is the one taken, not one the dialog selected in its list.
        dialog->findChild<QListView*>("listView")->clearSelection();
        dialog->findChild<QLineEdit*>("fileNameEdit")
            ->setText(names.size() == 1 ? names.first() : '"' + names.join("\" \"") + '"');
        static_cast<QDialog*>(dialog)->accept();
    }

    fs::path m_folder;
    QTimer m_timer;
    Rng m_rng;
    bool m_busy = false;
    std::map<QWidget*, int> m_tries;
};

// The files the monkey opens and drops: wads good and damaged, objects, images, other files.
void WriteFiles(const fs::path& dir) {
    SpriteWad set = fixtures::GeneratedSet(40, 48, 7);
    EXPECT_TRUE(PackTextures(set).ok());
    EXPECT_TRUE(swd::WriteSwdFile((dir / "set.swd").string(), set).ok());
    EXPECT_TRUE(swo::WriteSwoFile((dir / "obj.swo").string(), set, 1).ok());
    fixtures::WriteFileBytes(dir / "small.swd", fixtures::SmallWad().Build());
    fixtures::WriteFileBytes(dir / "zero.swd", fixtures::SmallWad().StatedEntryCount(0).Build());
    for (const char* name : {"set.swd", "obj.swo"}) {
        std::vector<std::uint8_t> bytes = fixtures::ReadFileBytes(dir / name);
        bytes.resize(bytes.size() / 2);
        fixtures::WriteFileBytes(dir / (std::string("cut_") + name), bytes);
    }
    Rng rng(1);
    std::vector<std::uint8_t> junk(600);
    for (std::uint8_t& byte : junk) {
        byte = static_cast<std::uint8_t>(rng());
    }
    fixtures::WriteFileBytes(dir / "junk.swd", junk);
    fixtures::WriteFileBytes(dir / "junk.png", junk);
    fixtures::WriteFileBytes(dir / "notes.txt", {'h', 'i', '\n'});
    const struct {
        const char* name;
        int width, height;
        ImageFormat format;
    } images[] = {{"a.png", 40, 30, ImageFormat::Png},
                  {"b.bmp", 300, 20, ImageFormat::Bmp},
                  {"c.tga", 1, 1, ImageFormat::Tga},
                  {"d.jpg", 64, 64, ImageFormat::Jpeg},
                  {"big.png", 160, 96, ImageFormat::Png}};
    for (const auto& image : images) {
        EXPECT_TRUE(ExportImage(fixtures::MakeTexture(image.width, image.height, image.width),
                                (dir / image.name).string(), image.format));
    }
    if (const fs::path real = fixtures::RealSwdDir(); !real.empty()) {
        for (const char* name : {"ten_coastal.swd", "empty16.swd"}) {
            std::error_code ignored; // a real wad that is absent is left out
            fs::copy_file(real / name, dir / name, ignored);
        }
    }
}

// One run: a fresh folder of files, a fresh window and what the checks remember of it.
class World {
public:
    World() {
        // Closing ends the program: never while a job works on the document.
        QObject::connect(&dlg, &QDialog::finished, &dlg, [this] { closedInJob |= dlg.JobRuns(); });
        Show();
    }
    ~World() { QGuiApplication::clipboard()->clear(); }

    void Show() {
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    QStringList Files() const {
        QStringList files;
        for (const QFileInfo& file : QDir(Folder()).entryInfoList(QDir::Files, QDir::Name)) {
            files.append(file.absoluteFilePath());
        }
        return files;
    }
    QString Folder() const { return QString::fromStdString(dir.path().string()); }
    COwnerDrawCombo* List(const char* name) const { return dlg.findChild<COwnerDrawCombo*>(name); }
    QString Text(const char* name) const {
        const QWidget* widget = dlg.findChild<QWidget*>(name);
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            return edit->text();
        }
        return qobject_cast<const QPlainTextEdit*>(widget)->toPlainText();
    }

    // Everything that must hold after every action; the first thing that does not, or nothing.
    std::string Check() {
        if (!answerer.failure.empty()) {
            return answerer.failure;
        }
        const SpriteWad& wad = dlg.Wad();
        const bool job = dlg.JobRuns();
        if (closedInJob) {
            return "window: closed while a job runs";
        }
        if (!dlg.isVisible()) {
            Show(); // the program started again, on the same document
        }
        if (!wad.RunsAreValid(true)) {
            return "runs: the objects' runs are not valid";
        }
        for (std::size_t i = 0; i < wad.ObjectCount(); ++i) {
            if (wad.ObjectTextureCount(i) != wad.m_sequences[i].TextureCount()) {
                return "runs: object " + std::to_string(i) + " lacks textures";
            }
        }
        for (const SpriteTexture& texture : wad.m_textures) {
            if (!texture.IsLoaded() || texture.GetWidth() > kPageSide ||
                texture.GetHeight() > kPageSide) {
                return "runs: a texture of " + std::to_string(texture.GetWidth()) + "x" +
                       std::to_string(texture.GetHeight());
            }
        }
        if (std::string lists = CheckLists(wad); !lists.empty()) {
            return lists;
        }
        if (std::string controls = CheckControls(job); !controls.empty()) {
            return controls;
        }
        return CheckHistory(wad, job);
    }

    // Undoes every step kept, which must give back the document as it was before the oldest,
    // and redoes them all, which must give back the document as it is.
    std::string UndoEverything() {
        const std::uint64_t start = dlg.DocumentState();
        int undone = 0;
        while (dlg.DocumentState() != dlg.OldestKeptState()) {
            if (dlg.UndoText().isEmpty() || undone > 100) {
                return "undo: stops " + std::to_string(undone) + " steps back, short of the oldest";
            }
            dlg.Undo();
            ++undone;
            const auto known = states.find(dlg.DocumentState());
            if (known != states.end() && !Same(known->second, dlg.Wad())) {
                return "undo: " + std::to_string(undone) + " steps back is not the document it was";
            }
        }
        for (int i = 0; i < undone; ++i) {
            dlg.Redo();
        }
        if (dlg.DocumentState() != start || !Same(states.at(start), dlg.Wad())) {
            return "redo: redoing " + std::to_string(undone) +
                   " steps does not give the document back";
        }
        return Check();
    }

    // Before the window: no settings of an earlier run, an empty clipboard, the files.
    static bool Fresh(const fs::path& folder) {
        QFile::remove(AppSettings().FileName());
        QGuiApplication::clipboard()->clear();
        WriteFiles(folder);
        return true;
    }
    fixtures::TempDir dir;
    bool fresh = Fresh(dir.path());
    Answerer answerer{dir.path()};
    CMainDlg dlg;

private:
    std::string CheckLists(const SpriteWad& wad) const {
        QStringList objects, sprites;
        for (const ObjectSequence& sequence : wad.m_sequences) {
            objects.append(QString::fromStdString(FormatObjectLine(sequence)));
        }
        const int object = List("objects")->currentIndex();
        if (object >= 0 && static_cast<std::size_t>(object) < wad.ObjectCount()) {
            for (int k = 0; k < wad.ObjectTextureCount(static_cast<std::size_t>(object)); ++k) {
                const SpriteTexture& texture =
                    wad.ObjectTexture(static_cast<std::size_t>(object), k);
                sprites.append(QString::fromStdString(
                    FormatTextureLine(k, texture.GetWidth(), texture.GetHeight())));
            }
        }
        for (const auto& [name, lines] : {std::pair{"objects", objects}, {"sprites", sprites}}) {
            QStringList shown;
            for (int i = 0; i < List(name)->count(); ++i) {
                shown.append(List(name)->itemText(i));
            }
            if (shown != lines) {
                return std::string("lists: the ") + name + " list shows\n  " +
                       shown.join(" | ").toStdString() + "\nfor\n  " +
                       lines.join(" | ").toStdString();
            }
        }
        return {};
    }

    // Idle, every control is enabled; a save disables them all; a split all but its Stop button.
    std::string CheckControls(bool job) const {
        QPushButton* split = dlg.ButtonAt(CMainDlg::kAddSplitTexture);
        const bool splitting = job && split->text() == "Stop";
        if (!job && split->text() != "Add Split Texture") {
            return "controls: the split button reads " + split->text().toStdString() +
                   " with no job";
        }
        std::vector<QWidget*> controls{List("objects"), List("sprites")};
        for (int b = 0; b < CMainDlg::kButtonCount; ++b) {
            controls.push_back(dlg.ButtonAt(static_cast<CMainDlg::Button>(b)));
        }
        for (QWidget* control : controls) {
            const bool expected = !job || (splitting && control == split);
            if (control->isEnabled() != expected) {
                return "controls: " + control->objectName().toStdString() +
                       (expected ? " is disabled" : " is enabled") +
                       (job ? " while a job runs" : " with no job");
            }
        }
        return {};
    }

    // A state the document comes back to holds what it held; a document that changes gets a
    // new state, but for the step that a running split grows.
    std::string CheckHistory(const SpriteWad& wad, bool job) {
        const std::uint64_t state = dlg.DocumentState();
        const auto known = states.find(state);
        if (job || m_jobBefore || known == states.end()) {
            states.insert_or_assign(state, ContentOf(wad));
        } else if (!Same(known->second, wad)) {
            return "history: the document changed without a step, or a step did not undo fully";
        }
        m_jobBefore = job;
        states.erase(states.begin(), states.lower_bound(dlg.OldestKeptState()));
        const QString path = Text("path");
        if (job || Text("info") != "Done! Saved..." || dlg.IsModified() || path.isEmpty() ||
            m_savedChecked == std::pair{state, path}) {
            return {};
        }
        m_savedChecked = {state, path};
        SpriteWad read;
        const Status status = swd::ReadSwdFile(QFile::encodeName(path).toStdString(), read);
        if (!status.ok()) {
            return "save: the saved file cannot be read: " + status.message();
        }
        return Same(ContentOf(read), wad) ? ""
                                          : "save: the saved file reads back as another document";
    }

    std::map<std::uint64_t, Content> states;
    bool m_jobBefore = false;
    bool closedInJob = false;
    std::pair<std::uint64_t, QString> m_savedChecked;
};

// What a user can do to the window, with how often the monkey does it. Each tells what it did.
const struct ActionKind {
    const char* name;
    int weight;
    QString (*act)(World&, Rng&);
} kActions[] = {
    {"button", 30,
     [](World& w, Rng& rng) {
         QPushButton* button =
             w.dlg.ButtonAt(static_cast<CMainDlg::Button>(Pick(rng, CMainDlg::kButtonCount)));
         const QString text = button->text();
         QTest::mouseClick(button, Qt::LeftButton);
         return text;
     }},
    {"key", 12,
     [](World& w, Rng& rng) {
         static const char* const kKeys[] = {
             "Ctrl+O", "Ctrl+S", "Ctrl+C",       "Ctrl+V", "Ctrl+Shift+V", "Del",      "F1",
             "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z", "Esc",    "Ctrl+Up",      "Ctrl+Down"};
         const QString key = QString::fromLatin1(kKeys[Pick(rng, std::size(kKeys))]);
         QTest::keySequence(&w.dlg, QKeySequence(key));
         return key;
     }},
    {"select", 12,
     [](World& w, Rng& rng) {
         static const Qt::Key kKeys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End};
         COwnerDrawCombo* list = w.List(Chance(rng, 30) ? "objects" : "sprites");
         const Qt::Key key = kKeys[Pick(rng, std::size(kKeys))];
         QTest::keyClick(list, key);
         return list->objectName() + ' ' + QKeySequence(key).toString();
     }},
    {"menu", 5,
     [](World& w, Rng& rng) {
         const QPoint at = Chance(rng, 50) ? w.dlg.PreviewFrame().center() : QPoint(5, 5);
         QContextMenuEvent event(QContextMenuEvent::Mouse, at, w.dlg.mapToGlobal(at));
         QApplication::sendEvent(&w.dlg, &event);
         return QStringLiteral("context menu");
     }},
    {"drop", 8,
     [](World& w, Rng& rng) {
         const QStringList pool = w.Files();
         QStringList files;
         for (int n = 1 + Pick(rng, 3); n > 0; --n) {
             files.append(pool[Pick(rng, pool.size())]);
         }
         apptest::DropFiles(&w.dlg, files);
         return "drop " + files.replaceInStrings(w.Folder() + '/', "").join(' ');
     }},
    {"clipboard", 4,
     [](World&, Rng& rng) {
         QClipboard* clipboard = QGuiApplication::clipboard();
         if (Chance(rng, 20)) {
             clipboard->setText(QStringLiteral("text"));
             return QStringLiteral("copy text");
         }
         const int width = 1 + Pick(rng, 300), height = 1 + Pick(rng, 300);
         clipboard->setImage(
             ToQImage(fixtures::MakeTexture(width, height, static_cast<std::uint32_t>(rng()))));
         return QString("copy image %1x%2").arg(width).arg(height);
     }},
    {"close", 3, [](World& w, Rng&) { return w.dlg.close(), QStringLiteral("close box"); }},
    {"undo", 5, [](World& w, Rng&) { return w.dlg.Undo(), QStringLiteral("undo"); }},
    {"redo", 3, [](World& w, Rng&) { return w.dlg.Redo(), QStringLiteral("redo"); }},
    {"wait", 6,
     [](World&, Rng& rng) {
         const int ms = Pick(rng, 60);
         QTest::qWait(ms);
         return QString("wait %1 ms").arg(ms);
     }},
};

struct Action {
    int kind;
    std::uint32_t seed;
};

// Action i of the run with this seed, the same whatever the actions before it.
Action ActionAt(std::uint32_t seed, std::uint64_t i) {
    std::seed_seq sequence{seed, static_cast<std::uint32_t>(i),
                           static_cast<std::uint32_t>(i >> 32)};
    Rng rng(sequence);
    int total = 0;
    for (const ActionKind& kind : kActions) {
        total += kind.weight;
    }
    int roll = Pick(rng, total), kind = 0;
    while (roll >= kActions[kind].weight) {
        roll -= kActions[kind++].weight;
    }
    return {kind, static_cast<std::uint32_t>(rng())};
}

struct Outcome {
    std::string failure;
    std::size_t ran = 0;
};

// Runs the actions on a fresh window until the first failure, the last action or the deadline;
// every 25 actions and at the end it also undoes and redoes every step kept.
Outcome RunActions(const std::function<Action(std::size_t)>& actionAt, std::size_t count,
                   Clock::time_point deadline, QStringList* log = nullptr) {
    World world;
    Outcome outcome;
    for (; outcome.ran < count && Clock::now() < deadline; ++outcome.ran) {
        const Action action = actionAt(outcome.ran);
        Rng rng(action.seed);
        world.answerer.Reseed(action.seed ^ 0x9E3779B9u);
        const QString what = kActions[action.kind].act(world, rng);
        if (log != nullptr) {
            log->append(QString("%1 %2:%3  %4")
                            .arg(outcome.ran)
                            .arg(action.kind)
                            .arg(action.seed)
                            .arg(what));
        }
        outcome.failure = world.Check();
        if (outcome.failure.empty() && outcome.ran % 25 == 24 && !world.dlg.JobRuns()) {
            outcome.failure = world.UndoEverything();
        }
        if (!outcome.failure.empty()) {
            ++outcome.ran;
            return outcome;
        }
    }
    // A split still cutting is stopped; then every job has its time to end.
    if (world.dlg.JobRuns() && world.dlg.ButtonAt(CMainDlg::kAddSplitTexture)->text() == "Stop") {
        world.dlg.ButtonAt(CMainDlg::kAddSplitTexture)->click();
    }
    if (!QTest::qWaitFor([&world] { return !world.dlg.JobRuns(); }, 60000)) {
        outcome.failure = "job: still running a minute after the last action";
    }
    outcome.failure = outcome.failure.empty() ? world.Check() : outcome.failure;
    outcome.failure = outcome.failure.empty() ? world.UndoEverything() : outcome.failure;
    return outcome;
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    bool ok = false;
    const qulonglong value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

std::string Category(const std::string& failure) {
    return failure.substr(0, failure.find(':'));
}

// Drops ever smaller chunks of actions, keeping each drop after which the run still fails the
// same way, until single actions no longer go or the time is spent.
std::vector<Action> Shrink(std::vector<Action> actions, const std::string& category,
                           Clock::duration budget) {
    const Clock::time_point end = Clock::now() + budget;
    for (std::size_t chunk = actions.size() / 2; chunk >= 1 && Clock::now() < end; chunk /= 2) {
        for (std::size_t at = 0; at < actions.size() && Clock::now() < end;) {
            std::vector<Action> fewer = actions;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                        fewer.begin() +
                            static_cast<std::ptrdiff_t>(std::min(at + chunk, fewer.size())));
            const Outcome outcome = RunActions([&fewer](std::size_t i) { return fewer[i]; },
                                               fewer.size(), Clock::time_point::max());
            if (!outcome.failure.empty() && Category(outcome.failure) == category) {
                actions = std::move(fewer);
            } else {
                at += chunk;
            }
        }
    }
    return actions;
}

TEST(Monkey, RandomActionsKeepWindowDocumentAndHistoryInStep) {
    const auto seed = static_cast<std::uint32_t>(EnvNumber("MONKEY_SEED", 20261207));
    const std::uint64_t seconds = EnvNumber("MONKEY_SECONDS", 0);
    std::vector<Action> replay;
    for (const QString& item :
         qEnvironmentVariable("MONKEY_REPLAY").split(' ', Qt::SkipEmptyParts)) {
        replay.push_back({item.section(':', 0, 0).toInt(), item.section(':', 1).toUInt()});
    }
    const std::size_t count = !replay.empty() ? replay.size()
                              : seconds > 0   ? SIZE_MAX
                                              : EnvNumber("MONKEY_ACTIONS", 2000);
    std::printf("monkey seed %u\n", seed);
    const auto actionAt = [&](std::size_t i) {
        return replay.empty() ? ActionAt(seed, i) : replay[i];
    };
    QStringList log;
    const Outcome outcome = RunActions(actionAt, count,
                                       seconds > 0 ? Clock::now() + std::chrono::seconds(seconds)
                                                   : Clock::time_point::max(),
                                       qEnvironmentVariableIsSet("MONKEY_LOG") ? &log : nullptr);
    std::puts(log.join('\n').toUtf8().constData());
    std::printf("monkey ran %zu actions\n", outcome.ran);
    if (outcome.failure.empty()) {
        return;
    }
    std::vector<Action> failing;
    for (std::size_t i = 0; i < outcome.ran; ++i) {
        failing.push_back(actionAt(i));
    }
    failing = Shrink(failing, Category(outcome.failure),
                     std::chrono::seconds(EnvNumber("MONKEY_SHRINK_SECONDS", 90)));
    if (failing.size() == outcome.ran) {
        ADD_FAILURE() << "seed " << seed << ", action " << outcome.ran - 1 << ": "
                      << outcome.failure << "\nnot shortened; again with MONKEY_SEED=" << seed
                      << " MONKEY_ACTIONS=" << outcome.ran;
        return;
    }
    QStringList list;
    log.clear();
    const Outcome shortest = RunActions([&failing](std::size_t i) { return failing[i]; },
                                        failing.size(), Clock::time_point::max(), &log);
    for (const Action& action : failing) {
        list.append(QString("%1:%2").arg(action.kind).arg(action.seed));
    }
    ADD_FAILURE() << "seed " << seed << ", action " << outcome.ran - 1 << ": " << outcome.failure
                  << "\nshortest list found (" << failing.size() << " actions, now failing with \""
                  << shortest.failure << "\"):\nMONKEY_REPLAY=\"" << list.join(' ').toStdString()
                  << "\"\n"
                  << log.join('\n').toStdString();
}

} // namespace

int main(int argc, char** argv) {
    const fixtures::PrivateSettingsHome settingsHome;
    // The seed is out before a crash can take it with it.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // test discovery runs without the environment
    }
    // The offscreen platform says at every window what it cannot do; the rest is printed.
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith("This plugin does not support")) {
                std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
            }
        });
    QApplication application(argc, argv);
    // The window closes now and then (Exit, Escape); the monkey shows it again.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
