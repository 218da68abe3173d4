#pragma once

#include "app/AppSettings.h"

#include <QStringList>

class QFileDialog;
class QWidget;

// Every file dialog of the window opens in the folder where its kind of file was last opened
// or saved, and a save dialog takes only a name in a folder that exists.
//
//     QFileDialog dialog(this, QStringLiteral("Save As"), QString(), filter);
//     dialog.setAcceptMode(QFileDialog::AcceptSave);
//     const QString path = ExecSaveDialog(dialog, FileKind::Objects, proposedName);
//     if (path.isEmpty()) return; // cancelled

// Runs the dialog in the kind's folder. On OK that folder becomes the one of the first chosen
// file. Returns the chosen files, none when the dialog was cancelled.
QStringList ExecFileDialog(QFileDialog& dialog, FileKind kind);

// The "Open" dialog for one existing file matching `filter`, in the kind's folder; the chosen
// path, or an empty text when cancelled.
QString ChooseFileToOpen(QWidget* parent, const QString& filter, FileKind kind);

// Runs a save dialog on `proposed`, a bare name (offered in the kind's folder) or a whole path.
// A name in a folder that does not exist is refused with "<folder>\nThe folder does not
// exist." and the dialog opens again on that name. Returns the chosen path, or an empty text
// when the dialog was cancelled.
QString ExecSaveDialog(QFileDialog& dialog, FileKind kind, const QString& proposed);
