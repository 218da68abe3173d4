#pragma once

#include "app/AppSettings.h"
#include "app/FrameClock.h"
#include "app/JobThread.h"
#include "edits/Document.h"

#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class COwnerDrawCombo;
class ObjectListModel;
class PieceQueue;
class ProgressMailbox;
class QMessageBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class RecoveryWriter;
class SpriteListModel;

// The editor window: a column of 19 command buttons, the path field, the Objects and
// Sprites lists, the texture preview in its frame and the Info pane. It owns the document
// for as long as it exists; the program ends when it closes.
class CMainDlg : public QDialog {
    Q_OBJECT
public:
    // The buttons, top to bottom; also the order in which jobs disable and enable them.
    enum Button {
        kOpenSwd,
        kAddObject,
        kDeleteObject,
        kEditObject,
        kExportObject,
        kImportObject,
        kExportTexture,
        kImportTexture,
        kAddTexture,
        kAddSplitTexture,
        kDeleteTexture,
        kCopyTexture,
        kPasteTexture,
        kPasteAsNew,
        kResizeTexture,
        kResizeRange,
        kSaveAsSwd,
        kCloseSwd,
        kExit,
        kButtonCount
    };

    // The system-menu command of the About entry.
    static constexpr unsigned kIdmAboutBox = 16;
    // Side of the preview frame, in pixels.
    static constexpr int kFrameSide = kPageSide;

    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Set by a job before its worker starts, cleared by the worker when it ends and by the
    // window when the user confirms a cancel. Workers only poll them.
    std::atomic<int> m_bSaving{0};
    std::atomic<int> m_bSplitting{0};

    const SpriteWad& Wad() const { return m_document.Wad(); }
    QPushButton* ButtonAt(Button button) const { return m_buttons[button]; }
    // The top-left corner of the preview frame in window coordinates.
    QPoint PreviewOrigin() const;
    // The 256 x 256 pixel square of the preview, in window coordinates.
    QRect PreviewFrame() const { return {PreviewOrigin(), QSize(kFrameSide, kFrameSide)}; }

    // Reads an SWD file into the document (the Open SWD command after its file dialog).
    // On failure the user is told why and the document, the lists and the path field stay
    // as they were. Returns whether the file was loaded.
    bool OpenSwdFile(const QString& path);

    void OnSelchangeObjects();
    void OnSelchangeSprites();
    void UpdateInfoPane();

    // Enables or disables every button, then both lists, for a running job. Window thread
    // only: a worker asks for it through a queued call.
    void SetJobControlsEnabled(bool enable);
    // Shows the wait cursor over the whole window while m_bSaving is set, the normal
    // cursors otherwise. Runs on the window thread whenever that flag changes.
    void OnSetCursor();

    // Puts fitted textures behind the current object's last texture as one step named
    // `action` and selects the last one added. When the object or the wad fills up, the ones
    // that fit stay and a message says why the rest did not go in.
    void AddTextures(std::vector<SpriteTexture> textures, const QString& action);
    // The image open dialog shared by Import Texture, Add Texture and Add Split Texture: opens
    // on the image filter last chosen and remembers the filter left selected on OK. Returns the
    // chosen files (one at most unless `mode` is ExistingFiles), none when cancelled.
    QStringList ChooseImageFiles(QFileDialog::FileMode mode);
    // The one chosen file, or an empty text.
    QString ChooseImageFile();
    // Whether the name has the extension of an image the open dialog offers.
    static bool IsImageFileName(const QString& path);
    // Loads an image file as 24 bits; false when it cannot be read.
    static bool ReadImageFile(const QString& path, BTCImageData& image);
    // ReadImageFile, saying "Failed To Load Image..." when it fails.
    bool LoadImageFile(const QString& path, BTCImageData& image);
    // Add Texture after its file dialog: each image in turn is loaded, fitted and added to the
    // current object; as one step of the history.
    void AddTextureFiles(const QStringList& paths);
    // Import Object after its file dialog; a refused file is reported and changes nothing.
    void ImportObjectFile(const QString& path);
    // Opens files as a drop of them does, in order: a sprite wad (.swd) opens, objects (.swo)
    // and images go into the wad before them. A file of another kind refuses them all.
    void OpenFiles(const QStringList& files);

    // What the dialogs offer again (filters, export options, split and resize choices, the
    // preview's magenta), loaded from the user's settings when the window is made. Every
    // handler that changes one keeps them at once (KeepChoices).
    RememberedChoices m_choices;

    void Undo();
    void Redo();
    // "Undo <action>" / "Redo <action>", or an empty text when there is nothing to undo or redo.
    QString UndoText() const;
    QString RedoText() const;
    // Whether the document holds edits that no save has written.
    bool IsModified() const;
    // The state the document stands in, and the one that undoing every step kept gives back:
    // numbers never reused while the window lives.
    std::uint64_t DocumentState() const { return m_document.State(); }
    std::uint64_t OldestKeptState() const { return m_document.OldestState(); }
    // Whether a save or split job works on the document (also when a cancel has cleared its
    // flag and its worker has not ended yet).
    bool JobRuns() const { return !m_document.MayChange(); }

    // Moves the selected texture one line up or down as the step "Move Texture", the selection
    // following it; nothing at the object's first or last line or while a job runs
    // (CMainDlgSequence.cpp).
    void OnMoveTextureUp();
    void OnMoveTextureDown();

    // The preview's zoom (1, 2, 4, 8 or kZoomToFit), kept with the other choices.
    void SetPreviewZoom(int choice);
    // Shows the selected object's textures in turn from the selected line at the remembered
    // frames per second, looping, without
    // changing the selection or the document. Any command, a selection change, Escape or
    // StopSequence stops it and shows the selected texture again.
    void PlaySequence();
    void StopSequence();
    bool SequencePlays() const { return m_frameClock->Runs(); }
    // Asks for the frames per second, 1 to kMaxFramesPerSecond.
    void OnFramesPerSecond();
    // Puts another clock in place of the window's timer (tests turn it by hand).
    void SetFrameClock(std::unique_ptr<FrameClock> clock);

    // At start, before any file is opened: asks about the newest recovery copy that an
    // instance no longer running left behind (Recover, Discard, Later).
    void OfferRecovery();
    // The recovery copy this window keeps of its unsaved edits, or an empty text.
    QString RecoveryCopyPath() const;

    void OnOpenSwd();
    void OnCloseSwd();
    void OnAboutBox();

    // Objects (CMainDlgObjects.cpp).
    void OnAddObject();
    void OnDeleteObject();
    void OnEditObject();
    void OnExportObject();
    void OnImportObject();

    // Textures in and out (CMainDlgTextures.cpp).
    void OnExportTexture();
    void OnImportTexture();
    void OnAddTexture();
    void OnDeleteTexture();
    void OnCopyTexture();
    void OnPasteTexture();
    void OnPasteAsNew();

    // Splitting and resizing (CMainDlgSplit.cpp, CMainDlgResize.cpp).
    void OnAddSplitTexture();
    void OnResizeTexture();
    void OnResizeRange();

    // The save job (CMainDlgSave.cpp).
    void OnSaveAsSwd();
    // The dialog's accept and cancel commands: both run the closing check.
    void OnOK();
    void OnCancel();

    void accept() override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void BuildControls();
    void KeepChoices() const;
#ifdef Q_OS_WIN
    void AddSystemMenuEntry();
#endif
    // Asks about a running job instead of closing. Returns true when no job runs, also none
    // that was told to stop and has not ended yet.
    bool NoJobBlocksClosing();
    // Before unsaved edits would be lost, asks whether to save them. Returns true when the
    // caller may go on now (nothing unsaved, or Discard). On Save it starts Save As SWD and
    // returns false; `goOn` then runs once that save has written the file.
    bool NoEditsLost(std::function<void()> goOn);
    // Puts a loaded wad in place with a fresh history and shows it, its file in the path field.
    void ShowLoaded(SpriteWad wad, bool modified, const QString& path);
    // Keeps recovery copies of the document's unsaved edits (CMainDlgRecovery.cpp).
    void StartRecoveryWriter();
    // Puts the texture in place of the current one and records it as `action`.
    void ReplaceCurrentTexture(SpriteTexture texture, const QString& action);
    // Shows what an edit did: the objects' lines, and the edit's object with `line` selected
    // (-1: its first line). A refused edit is reported instead.
    bool ShowEdit(const edits::EditResult& done, int line);
    // Runs `work` on the job worker. From now until `done` has run on the window thread, the
    // document takes no change but the job's own edits, which make one step named `action`;
    // `running` is the job's flag, set now and cleared to stop it.
    void StartJob(const std::string& action, std::atomic<int>& running, std::function<void()> work,
                  std::function<void()> done);
    // Asks whether to cancel the running job; the question closes itself as No when the job
    // ends first.
    bool AskToCancel(const QString& question);
    int CurrentObject() const;
    // The selected line of the Sprites list, or -1.
    int CurrentLine() const;
    // Replaces line i of the Objects list with the object's line and selects it.
    void ReplaceObjectLine(int object);
    // Shows the current texture in the preview, leaving the Info pane alone.
    void RefreshPreview();
    // Shows line `line` of the object in the preview as the preview draws a texture.
    void ShowTexture(int object, int line);
    // Whether the selected texture may move `step` lines and stay in its object: what Move
    // Texture Up and Down do, and what their menu entries show.
    bool CanMoveCurrentTexture(int step) const;
    void MoveCurrentTexture(int step);
    void ShowNextFrame();
    // Draws the preview again after a choice of how it looks: the frame a sequence plays, or
    // the current texture.
    void RedrawPreview();
    void SetPreview(const QPixmap& pixmap);
    void ClearPreview();
    void ShowMessage(const QString& text);

    QStringList m_descriptions;
    QFont m_labelFont;

    std::array<QPushButton*, kButtonCount> m_buttons{};
    QLineEdit* m_path = nullptr;
    QLabel* m_objectsLabel = nullptr;
    COwnerDrawCombo* m_objects = nullptr;
    QLabel* m_spritesLabel = nullptr;
    COwnerDrawCombo* m_sprites = nullptr;
    // What the two lists show: the wad's objects, and the textures of the current one.
    ObjectListModel* m_objectLines = nullptr;
    SpriteListModel* m_spriteLines = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_infoLabel = nullptr;
    QPlainTextEdit* m_info = nullptr;

    // Cursors that widgets had of their own before the wait cursor replaced them.
    QHash<QWidget*, QCursor> m_ownCursors;
    bool m_waitCursorShown = false;
    // What the window showed: the selected object and texture lines and the Info pane (which
    // not every edit refreshes); with no texture line selected, the preview, which then keeps
    // what was shown before.
    struct ListView {
        int object = -1;
        int line = -1;
        QPixmap preview;
        QString info;
    };
    ListView CurrentView() const;
    // Rebuilds both lists from the document and selects what `view` selected.
    void ShowView(const ListView& view);
    // Rebuilds the Objects list from the document, selecting `object`.
    void ShowObjects(int object);

    // The wad and its history; every change to it goes through here.
    Document<ListView> m_document{[this] { return CurrentView(); }};
    // The open cancel question of a running job, closed as No when the job ends.
    QPointer<QMessageBox> m_cancelQuestion;
    // What waits for the save that the unsaved-edits question started.
    std::function<void()> m_afterSave;

    // Turns the frames of a playing sequence; the line shown now.
    std::unique_ptr<FrameClock> m_frameClock = MakeTimerClock();
    int m_playLine = -1;

    // Split Texture and the resize commands (CMainDlgSplit.cpp, CMainDlgResize.cpp).
public:
    // The most bytes of pixels the split's worker cuts ahead of the window; it waits for the
    // window to take them beyond that. 16 MB hold a whole split into 16 384 pieces of 16 x 16,
    // which thus never waits. Tests lower it to hold the worker a few pieces ahead: the one sure
    // way to stop a split of small pieces before its end.
    std::size_t m_splitQueueBytes = std::size_t{16} << 20;

    // Switches between the normal state and the splitting state, in which every control but
    // the split button is disabled and that button reads "Stop".
    void EnableSplitControls(bool enable);

private:
    // Adds the pieces the split's worker has cut so far to the document and the lists.
    void TakeSplitPieces();
    void FinishSplit();
    std::shared_ptr<PieceQueue> m_splitPieces;
    std::size_t m_splitObject = 0;
    // Takes the pieces about as often as the screen is redrawn.
    QTimer* m_splitRefresh = nullptr;

    // The save job (CMainDlgSave.cpp).
    bool ReportEmptyObject();
    QString ChooseSwdSaveFile();
    void CreateSaveControls();
    void ShowSaveProgress();
    void FinishSave(const Status& outcome, const QString& path);
    void OnInfoTimer();
    // Whether the Info pane shows how the last save ended.
    bool ShowsSaveResult() const;
    std::uint32_t m_saveStartTick = 0;
    std::shared_ptr<ProgressMailbox> m_saveMailbox;
    TexturePage m_shownPage;
    // Looks at the job's progress at the paint rate.
    QTimer* m_saveRefresh = nullptr;
    // Timer 1001: puts the description back 5 s after the job's result.
    QTimer* m_infoTimer = nullptr;
    // The page being packed, shown over the preview while the job runs.
    QLabel* m_packingPage = nullptr;
    // The one worker of the save and split jobs. Last, so that a job still running when the
    // window goes away is stopped and awaited before anything it uses is destroyed.
    JobThread m_jobThread;
    // Goes first when the window goes: its worker is stopped and its copy removed.
    std::unique_ptr<RecoveryWriter> m_recovery;
};
