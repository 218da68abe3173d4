#include "app/AppSettings.h"

#include "app/FileDialogFilters.h"
#include "app/FrameClock.h"
#include "app/QtImage.h"
#include "pixels/PageSide.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

// The four fixed piece sizes and "Custom".
constexpr int kSizeChoiceCount = 5;
// "Stretch" and "Bilinear", as the resize dialogs list them.
constexpr int kResizeFilterCount = 2;

QString FolderKey(FileKind kind) {
    static constexpr std::array<const char*, 4> kKeys = {"folders/wads", "folders/images",
                                                         "folders/exports", "folders/objects"};
    return QLatin1String(kKeys[static_cast<std::size_t>(kind)]);
}

} // namespace

// A text file on every platform, which a damaged line spoils for that line only.
AppSettings::AppSettings()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vornix"),
                 QStringLiteral("vornix")) {}

int AppSettings::Number(const char* key, int min, int max, int fallback) const {
    bool ok = false;
    const int value = m_settings.value(QLatin1String(key)).toString().toInt(&ok);
    return ok && value >= min && value <= max ? value : fallback;
}

RememberedChoices AppSettings::Choices() const {
    const RememberedChoices defaults;
    RememberedChoices choices;
    choices.imageFilterIndex = Number(
        "images/filter", 1, static_cast<int>(ImageOpenFilters().size()), defaults.imageFilterIndex);
    choices.exportFilterIndex = Number("export/filter", 1, static_cast<int>(ExportFilters().size()),
                                       defaults.exportFilterIndex);
    choices.jpegQuality =
        static_cast<std::uint8_t>(Number("export/jpegQuality", 0, 100, defaults.jpegQuality));
    choices.tgaRle = Number("export/tgaRle", 0, 1, defaults.tgaRle);
    choices.splitWidth = Number("split/width", 1, kPageSide, defaults.splitWidth);
    choices.splitHeight = Number("split/height", 1, kPageSide, defaults.splitHeight);
    choices.splitSizeChoice =
        Number("split/sizeChoice", 0, kSizeChoiceCount - 1, defaults.splitSizeChoice);
    choices.splitPiecePolicy = Number("split/piecePolicy", 0, 1, defaults.splitPiecePolicy);
    choices.resizeFilter =
        Number("resize/filter", 0, kResizeFilterCount - 1, defaults.resizeFilter);
    choices.resizeKeepAspect = Number("resize/keepAspect", 0, 1, defaults.resizeKeepAspect);
    choices.magentaTransparent =
        Number("preview/magentaTransparent", 0, 1, defaults.magentaTransparent ? 1 : 0) != 0;
    const int zoom = Number("preview/zoom", 0, kPageSide, defaults.previewZoom);
    choices.previewZoom =
        std::find(kZoomChoices.begin(), kZoomChoices.end(), zoom) != kZoomChoices.end()
            ? zoom
            : defaults.previewZoom;
    choices.framesPerSecond =
        Number("preview/framesPerSecond", 1, kMaxFramesPerSecond, defaults.framesPerSecond);
    return choices;
}

void AppSettings::SetChoices(const RememberedChoices& choices) {
    m_settings.setValue(QStringLiteral("images/filter"), choices.imageFilterIndex);
    m_settings.setValue(QStringLiteral("export/filter"), choices.exportFilterIndex);
    m_settings.setValue(QStringLiteral("export/jpegQuality"), int{choices.jpegQuality});
    m_settings.setValue(QStringLiteral("export/tgaRle"), choices.tgaRle);
    m_settings.setValue(QStringLiteral("split/width"), choices.splitWidth);
    m_settings.setValue(QStringLiteral("split/height"), choices.splitHeight);
    m_settings.setValue(QStringLiteral("split/sizeChoice"), choices.splitSizeChoice);
    m_settings.setValue(QStringLiteral("split/piecePolicy"), choices.splitPiecePolicy);
    m_settings.setValue(QStringLiteral("resize/filter"), choices.resizeFilter);
    m_settings.setValue(QStringLiteral("resize/keepAspect"), choices.resizeKeepAspect);
    m_settings.setValue(QStringLiteral("preview/magentaTransparent"),
                        choices.magentaTransparent ? 1 : 0);
    m_settings.setValue(QStringLiteral("preview/zoom"), choices.previewZoom);
    m_settings.setValue(QStringLiteral("preview/framesPerSecond"), choices.framesPerSecond);
}

QString AppSettings::Folder(FileKind kind) const {
    const QString folder = m_settings.value(FolderKey(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void AppSettings::SetFolderOf(FileKind kind, const QString& file) {
    m_settings.setValue(FolderKey(kind), QFileInfo(file).absolutePath());
}
