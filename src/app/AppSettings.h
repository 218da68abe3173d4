#pragma once

#include <QSettings>
#include <QString>

#include <cstdint>

// The kinds of file whose dialogs each open where that kind was last opened or saved.
enum class FileKind { Wads, Images, Exports, Objects };

// The choices the window's dialogs offer again at their next use, as a fresh user finds them.
struct RememberedChoices {
    int imageFilterIndex = 1;
    int exportFilterIndex = 1;
    std::uint8_t jpegQuality = 100;
    int tgaRle = 0;
    int splitWidth = 128;
    int splitHeight = 128;
    int splitSizeChoice = 2;
    int splitPiecePolicy = 0;
    int resizeFilter = 0;
    int resizeKeepAspect = 1;
    bool magentaTransparent = false;
    // 1, 2, 4, 8, or kZoomToFit.
    int previewZoom = 1;
    int framesPerSecond = 15;

    bool operator==(const RememberedChoices&) const = default;
};

// The user's settings file, which keeps the remembered choices and folders from one run to the
// next. A missing or unreadable file, lines that are not settings, and any value that is
// missing, not a whole number or out of its range all read as the fresh user's value; a
// folder that is gone reads as none.
class AppSettings {
public:
    AppSettings();

    // Where the settings are kept.
    QString FileName() const { return m_settings.fileName(); }

    RememberedChoices Choices() const;
    void SetChoices(const RememberedChoices& choices);

    // The folder last used for this kind of file, or an empty text when none is kept or the
    // folder no longer exists.
    QString Folder(FileKind kind) const;
    // Keeps the folder that holds `file`.
    void SetFolderOf(FileKind kind, const QString& file);

private:
    // A whole number within min..max, or `fallback`.
    int Number(const char* key, int min, int max, int fallback) const;

    QSettings m_settings;
};
