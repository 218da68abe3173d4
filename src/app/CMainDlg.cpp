#include "app/CMainDlg.h"

#include "VornixVersion.h"
#include "app/AppResources.h"
#include "app/CAboutDlg.h"
#include "app/COwnerDrawCombo.h"
#include "app/DialogUnits.h"
#include "app/PieceQueue.h"
#include "app/PlainMessageBox.h"
#include "app/QtImage.h"
#include "app/RecoveryWriter.h"
#include "app/WadListModels.h"
#include "document/SpriteDescriptions.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

struct ButtonSpec {
    const char* text;
    const char* tooltip;
    int group;
    void (CMainDlg::*handler)();
};

constexpr std::array<ButtonSpec, CMainDlg::kButtonCount> kButtonSpecs{{
    {"Open SWD", "Opens a Tomb Raider Sprite Wad", 0, &CMainDlg::OnOpenSwd},
    {"Add Object", "Add new object to store textures into", 1, &CMainDlg::OnAddObject},
    {"Delete Object", "Deletes the current object and its textures", 1, &CMainDlg::OnDeleteObject},
    {"Edit Object", "Edits the current objects ID", 1, &CMainDlg::OnEditObject},
    {"Export Object", "Exports an object and its\ntextures to a SWO file", 1,
     &CMainDlg::OnExportObject},
    {"Import Object", "Imports an object and its\ntextures from a SWO file", 1,
     &CMainDlg::OnImportObject},
    {"Export Texture", "Exports current texture to an image file", 2, &CMainDlg::OnExportTexture},
    {"Import Texture", "Imports an image file and replaces current texture", 2,
     &CMainDlg::OnImportTexture},
    {"Add Texture", "Adds a new texture from file", 2, &CMainDlg::OnAddTexture},
    {"Add Split Texture", "Adds new textures from one image\nby spliting it into many pieces", 2,
     &CMainDlg::OnAddSplitTexture},
    {"Delete Texture", "Deletes the current texture", 2, &CMainDlg::OnDeleteTexture},
    {"Copy Texture", "Copys current texture to the clipboard", 3, &CMainDlg::OnCopyTexture},
    {"Paste Texture", "Pastes an image from the clipboard\nand replaces current texture", 3,
     &CMainDlg::OnPasteTexture},
    {"Paste As New", "Pastes an image from the clipboard\nas a new texture", 3,
     &CMainDlg::OnPasteAsNew},
    {"Resize Texture", "Resizes the current texture", 4, &CMainDlg::OnResizeTexture},
    {"Resize Range", "Resizes a range of textures", 4, &CMainDlg::OnResizeRange},
    {"Save As SWD", "Saves as a Tomb Raider Sprite Wad file", 5, &CMainDlg::OnSaveAsSwd},
    {"Close SWD", "Closes the Tomb Raider Sprite Wad", 5, &CMainDlg::OnCloseSwd},
    {"Exit", "Exits the program", 6, &CMainDlg::OnCancel},
}};

// Layout in dialog units.
constexpr int kWindowWidth = 312;
constexpr int kWindowHeight = 326;
constexpr int kMargin = 7;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 14;
constexpr int kButtonStep = 15;
constexpr int kGroupGap = 5;
constexpr int kColumnX = 84;
constexpr int kColumnWidth = 215;
constexpr int kListX = 123;
constexpr int kListWidth = 176;
constexpr int kPreviewX = 127;
constexpr int kPreviewY = 67;

constexpr QRgb kPathText = qRgb(128, 255, 128);
constexpr QRgb kPathBack = qRgb(0, 128, 0);
constexpr QRgb kInfoText = qRgb(255, 255, 0);
constexpr QRgb kInfoBack = qRgb(128, 0, 0);

// The button face made darker by 0x101010 taken off its packed 0x00BBGGRR value.
QColor DarkerField(const QColor& face) {
    const std::uint32_t packed = static_cast<std::uint32_t>(face.red()) |
                                 static_cast<std::uint32_t>(face.green()) << 8 |
                                 static_cast<std::uint32_t>(face.blue()) << 16;
    const std::uint32_t dark = (packed - 0x101010u) & 0xFFFFFFu;
    return QColor(static_cast<int>(dark & 0xFF), static_cast<int>((dark >> 8) & 0xFF),
                  static_cast<int>((dark >> 16) & 0xFF));
}

// One-pixel bevel on the edge of r: top and left in one colour, bottom and right in another.
void DrawBevel(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
    painter.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    painter.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
}

void SetColours(QWidget* widget, QRgb text, QRgb back) {
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, QColor(text));
        palette.setColor(group, QPalette::Base, QColor(back));
    }
    widget->setPalette(palette);
}

} // namespace

CMainDlg::CMainDlg(QWidget* parent) : QDialog(parent) {
    m_descriptions = appres::LoadStrings(10, 46);
    dlgunits::SetUpDialog(this, QStringLiteral("Vornix v") + QLatin1String(kVornixVersion),
                          kWindowWidth, kWindowHeight,
                          dlgunits::kDialogFlags | Qt::CustomizeWindowHint |
                              Qt::WindowMinimizeButtonHint);
    setWindowIcon(appres::AppIcon());
    m_choices = AppSettings().Choices();
    BuildControls();
    StartRecoveryWriter();
    setAcceptDrops(true);
#ifdef Q_OS_WIN
    AddSystemMenuEntry();
#endif
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &CMainDlg::OnAboutBox);
    // Keys for the commonest buttons; a disabled button ignores its key as it ignores a click.
    const std::pair<QKeySequence, Button> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_O), kOpenSwd},
        {QKeySequence(Qt::CTRL | Qt::Key_S), kSaveAsSwd},
        {QKeySequence(Qt::CTRL | Qt::Key_C), kCopyTexture},
        {QKeySequence(Qt::CTRL | Qt::Key_V), kPasteTexture},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), kPasteAsNew},
        {QKeySequence(Qt::Key_Delete), kDeleteTexture},
    };
    for (const auto& [sequence, button] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        QPushButton* target = m_buttons[button];
        connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
    }
    const std::pair<QKeySequence, void (CMainDlg::*)()> commands[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &CMainDlg::Undo},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &CMainDlg::Redo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CMainDlg::Redo},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), &CMainDlg::OnMoveTextureUp},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), &CMainDlg::OnMoveTextureDown},
    };
    for (const auto& [sequence, handler] : commands) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, handler);
    }
}

CMainDlg::~CMainDlg() {
    // A worker waiting for room for its next piece would never be joined.
    if (m_splitPieces) {
        m_splitPieces->Close();
    }
}

void CMainDlg::BuildControls() {
    using dlgunits::Rect;
    int y = kMargin;
    int group = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonSpec& layout = kButtonSpecs[i];
        if (layout.group != group) {
            y += kButtonHeight - kButtonStep + kGroupGap;
            group = layout.group;
        }
        // Exit stands alone at the bottom edge.
        const int top = i == kExit ? kWindowHeight - kMargin - kButtonHeight : y;
        auto* button = new QPushButton(QString::fromLatin1(layout.text), this);
        button->setObjectName(QString::fromLatin1(layout.text));
        button->setToolTip(QString::fromLatin1(layout.tooltip));
        button->setGeometry(Rect(kMargin, top, kButtonWidth, kButtonHeight));
        m_buttons[i] = button;
        y += kButtonStep;
    }
    m_buttons[kOpenSwd]->setDefault(true);
    for (int i = 0; i < kButtonCount; ++i) {
        // Every command stops a playing sequence before it runs.
        connect(m_buttons[i], &QPushButton::clicked, this, &CMainDlg::StopSequence);
        connect(m_buttons[i], &QPushButton::clicked, this, kButtonSpecs[i].handler);
    }

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("path"));
    m_path->setReadOnly(true);
    m_path->setGeometry(Rect(kColumnX, kMargin, kColumnWidth, 14));
    SetColours(m_path, kPathText, kPathBack);
    m_path->installEventFilter(this);

    m_objectsLabel = new QLabel(QStringLiteral("Objects:"), this);
    m_objectsLabel->setGeometry(Rect(kColumnX, 26, kListX - kColumnX, 14));
    m_objects = new COwnerDrawCombo(this);
    m_objects->setObjectName(QStringLiteral("objects"));
    m_objects->setGeometry(Rect(kListX, 26, kListWidth, 14));
    m_objectLines = new ObjectListModel(Wad(), m_objects);
    m_objects->setModel(m_objectLines);
    m_spritesLabel = new QLabel(QStringLiteral("Sprites:"), this);
    m_spritesLabel->setGeometry(Rect(kColumnX, 44, kListX - kColumnX, 14));
    m_sprites = new COwnerDrawCombo(this);
    m_sprites->setObjectName(QStringLiteral("sprites"));
    m_sprites->setGeometry(Rect(kListX, 44, kListWidth, 14));
    m_spriteLines = new SpriteListModel(Wad(), m_sprites);
    m_sprites->setModel(m_spriteLines);
    // The drop-down parts open to 225 and 205 dialog units.
    m_objects->setMaxVisibleItems(std::max(1, dlgunits::Y(225 - 14) / m_objects->ItemHeight()));
    m_sprites->setMaxVisibleItems(std::max(1, dlgunits::Y(205 - 14) / m_sprites->ItemHeight()));
    for (COwnerDrawCombo* list : {m_objects, m_sprites}) {
        connect(list, &QComboBox::activated, this, &CMainDlg::StopSequence);
    }
    connect(m_objects, &QComboBox::activated, this, &CMainDlg::OnSelchangeObjects);
    connect(m_sprites, &QComboBox::activated, this, &CMainDlg::OnSelchangeSprites);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setGeometry(QRect(PreviewOrigin(), QSize(0, 0)));

    m_infoLabel = new QLabel(QStringLiteral("Info:"), this);
    m_infoLabel->setGeometry(Rect(kColumnX, 215, kPreviewX - kColumnX - 4, 14));
    m_info = new QPlainTextEdit(this);
    m_info->setObjectName(QStringLiteral("info"));
    m_info->setReadOnly(true);
    m_info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_info->setGeometry(Rect(kColumnX, 229, kColumnWidth, 90));
    SetColours(m_info, kInfoText, kInfoBack);
    m_info->installEventFilter(this);

    m_labelFont = m_objectsLabel->font();
    m_labelFont.setPixelSize(14);
    m_labelFont.setWeight(QFont::Black);
    for (QLabel* label : {m_objectsLabel, m_spritesLabel, m_infoLabel}) {
        label->setFont(m_labelFont);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // A heavy font wider than the one the layout was drawn for pushes the lists right,
    // keeping their right edge in line with the path field.
    const QFontMetrics labelMetrics(m_labelFont);
    const int labelWidth = std::max(labelMetrics.horizontalAdvance(m_objectsLabel->text()),
                                    labelMetrics.horizontalAdvance(m_spritesLabel->text()));
    const int listLeft = std::max(dlgunits::X(kListX), dlgunits::X(kColumnX) + labelWidth + 4);
    const int listRight = dlgunits::X(kListX + kListWidth);
    for (auto [label, list] : {std::pair{m_objectsLabel, m_objects}, {m_spritesLabel, m_sprites}}) {
        label->setGeometry(QRect(label->x(), label->y(), listLeft - label->x(), label->height()));
        list->setGeometry(QRect(listLeft, list->y(), listRight - listLeft, list->height()));
    }
}

#ifdef Q_OS_WIN
void CMainDlg::AddSystemMenuEntry() {
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu != nullptr) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kIdmAboutBox, L"&About Vornix...");
    }
}

bool CMainDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kIdmAboutBox) {
        OnAboutBox();
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif

QPoint CMainDlg::PreviewOrigin() const {
    return QPoint(dlgunits::X(kPreviewX), dlgunits::Y(kPreviewY));
}

void CMainDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    painter.fillRect(rect(), face);
    QRect square = PreviewFrame();
    square.adjust(-2, -2, 2, 2);
    painter.fillRect(square, DarkerField(face));
    DrawBevel(painter, square, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    square.adjust(1, 1, -1, -1);
    DrawBevel(painter, square, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
    // Text selected in the Info pane or the path field is what the copy key copies there; with
    // nothing selected the key copies the texture.
    if ((watched == m_info || watched == m_path) && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->setAccepted(watched == m_info ? m_info->textCursor().hasSelection()
                                             : m_path->hasSelectedText());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    // What each entry does, run once the menu's own event loop has ended, so that a dialog it
    // opens does not run inside that loop.
    std::vector<std::pair<const QAction*, std::function<void()>>> commands;
    const auto add = [&commands](QMenu& to, const QString& text, bool enabled,
                                 std::function<void()> run, const QKeySequence& key = {}) {
        QAction* action = to.addAction(text);
        action->setEnabled(enabled);
        action->setShortcut(key);
        commands.emplace_back(action, std::move(run));
        return action;
    };
    const bool mayChange = !JobRuns();
    const QString undoText = UndoText();
    const QString redoText = RedoText();
    add(
        menu, undoText.isEmpty() ? QStringLiteral("Undo") : undoText,
        !undoText.isEmpty() && mayChange, [this] { Undo(); }, QKeySequence(Qt::CTRL | Qt::Key_Z));
    add(
        menu, redoText.isEmpty() ? QStringLiteral("Redo") : redoText,
        !redoText.isEmpty() && mayChange, [this] { Redo(); }, QKeySequence(Qt::CTRL | Qt::Key_Y));
    menu.addSeparator();
    add(
        menu, QStringLiteral("Move Texture Up"), CanMoveCurrentTexture(-1),
        [this] { OnMoveTextureUp(); }, QKeySequence(Qt::CTRL | Qt::Key_Up));
    add(
        menu, QStringLiteral("Move Texture Down"), CanMoveCurrentTexture(1),
        [this] { OnMoveTextureDown(); }, QKeySequence(Qt::CTRL | Qt::Key_Down));
    menu.addSeparator();
    // The preview's own entries show over the preview, and for the menu key, which points at
    // no place. Its choices leave a playing sequence playing; every command stops it.
    if (event->reason() == QContextMenuEvent::Keyboard || PreviewFrame().contains(event->pos())) {
        QAction* magenta = add(menu, QStringLiteral("Show magenta as transparent"), true, [this] {
            m_choices.magentaTransparent = !m_choices.magentaTransparent;
            KeepChoices();
            RedrawPreview();
        });
        magenta->setCheckable(true);
        magenta->setChecked(m_choices.magentaTransparent);
        QMenu* zoom = menu.addMenu(QStringLiteral("Zoom"));
        for (const int choice : kZoomChoices) {
            QAction* factor = add(*zoom,
                                  choice == kZoomToFit ? QStringLiteral("Fit")
                                                       : QStringLiteral("%1\u00D7").arg(choice),
                                  true, [this, choice] { SetPreviewZoom(choice); });
            factor->setCheckable(true);
            factor->setChecked(choice == m_choices.previewZoom);
        }
        menu.addSeparator();
        add(menu, QStringLiteral("Play Sequence"),
            mayChange && CurrentLine() >= 0 && !SequencePlays(), [this] { PlaySequence(); });
        add(menu, QStringLiteral("Stop Sequence"), SequencePlays(), [this] { StopSequence(); });
        add(menu, QStringLiteral("Frames per Second..."), true, [this] { OnFramesPerSecond(); });
        menu.addSeparator();
    }
    add(menu, QStringLiteral("&About Vornix..."), true, [this] { OnAboutBox(); });
    const QAction* chosen = menu.exec(event->globalPos());
    for (const auto& [action, run] : commands) {
        if (action == chosen) {
            run();
        }
    }
}

void CMainDlg::OnAboutBox() {
    StopSequence();
    CAboutDlg about(this);
    about.exec();
}

void CMainDlg::KeepChoices() const {
    AppSettings().SetChoices(m_choices);
}

void CMainDlg::ShowMessage(const QString& text) {
    PlainMessageBox box(QMessageBox::Warning, appres::kAppTitle, text, QMessageBox::Ok, this);
    box.exec();
}

int CMainDlg::CurrentObject() const {
    const int index = m_objects->currentIndex();
    return index >= 0 && static_cast<std::size_t>(index) < Wad().ObjectCount() ? index : -1;
}

void CMainDlg::OnSelchangeObjects() {
    if (m_objects->count() == 0) {
        return;
    }
    m_spriteLines->ShowObject(CurrentObject());
    if (m_sprites->count() > 0) {
        m_sprites->setCurrentIndex(0);
    }
    OnSelchangeSprites();
}

void CMainDlg::OnSelchangeSprites() {
    if (m_sprites->count() == 0) {
        return;
    }
    const int object = CurrentObject();
    const int line = m_sprites->currentIndex();
    if (object < 0 || line < 0) {
        return;
    }
    RefreshPreview();
    UpdateInfoPane();
}

void CMainDlg::RefreshPreview() {
    const int object = CurrentObject();
    const int line = CurrentLine();
    if (object < 0 || line < 0) {
        return;
    }
    if (line < Wad().ObjectTextureCount(static_cast<std::size_t>(object))) {
        ShowTexture(object, line);
    }
}

void CMainDlg::ShowTexture(int object, int line) {
    const SpriteTexture& texture = Wad().ObjectTexture(static_cast<std::size_t>(object), line);
    const int zoom =
        PreviewZoomFactor(m_choices.previewZoom, texture.GetWidth(), texture.GetHeight());
    SetPreview(QPixmap::fromImage(ToPreviewImage(texture, m_choices.magentaTransparent, zoom)));
}

void CMainDlg::UpdateInfoPane() {
    const int object = CurrentObject();
    const int k = m_sprites->currentIndex();
    QString text;
    if (object >= 0 && m_descriptions.size() == kSpriteDescriptionCount) {
        const std::uint32_t slot = Wad().ObjectSlot(static_cast<std::size_t>(object));
        if (const std::optional<int> description = SpriteDescriptionIndex(slot, k)) {
            text = m_descriptions[*description];
        }
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_info->setPlainText(text);
}

void CMainDlg::SetPreview(const QPixmap& pixmap) {
    m_preview->setPixmap(pixmap);
    // The preview takes the size of its bitmap and keeps its top-left corner.
    m_preview->setGeometry(QRect(PreviewOrigin(), pixmap.size()));
}

void CMainDlg::ClearPreview() {
    m_preview->clear();
    m_preview->setGeometry(QRect(PreviewOrigin(), QSize(0, 0)));
}
