#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// Access to what res/vornix.qrc holds. The resources live in a static library, so they are
// registered explicitly before first use rather than by a static initialiser the linker
// may drop.
namespace appres {

// The application title, used as the caption of the window's message boxes.
inline const QString kAppTitle = QStringLiteral("Vornix");

void Init();

// The application icon with all its sizes.
QIcon AppIcon();

// The strings of the description table with ids first..last, in id order. A "\r\n" in the
// table is a real line break. Returns an empty list when the table lacks any of the ids.
QStringList LoadStrings(int first, int last);

} // namespace appres
