#include "app/WadListModels.h"

#include "app/COwnerDrawCombo.h"
#include "document/ListLines.h"
#include "document/SpriteWad.h"

#include <algorithm>

WadLineModel::WadLineModel(const SpriteWad& wad, QObject* parent)
    : QAbstractListModel(parent), m_wad(wad) {}

int WadLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shown;
}

void WadLineModel::Reset() {
    beginResetModel();
    m_shown = Lines();
    endResetModel();
}

void WadLineModel::Refresh(int first, int last) {
    const int lines = Lines();
    if (lines != m_shown && !(lines > m_shown && first == m_shown)) {
        Reset();
        return;
    }
    first = std::max(first, 0);
    last = std::min(last, m_shown - 1);
    if (first <= last) {
        emit dataChanged(index(first), index(last), {Qt::DisplayRole});
    }
    if (lines > m_shown) {
        beginInsertRows({}, m_shown, lines - 1);
        m_shown = lines;
        endInsertRows();
    }
}

bool WadLineModel::Shows(const QModelIndex& index) const {
    return index.isValid() && index.row() < std::min(m_shown, Lines());
}

int ObjectListModel::Lines() const {
    return static_cast<int>(m_wad.ObjectCount());
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const {
    if (!Shows(index) || (role != Qt::DisplayRole && role != COwnerDrawCombo::kPartsRole)) {
        return {};
    }
    const auto object = static_cast<std::size_t>(index.row());
    const ObjectLineParts parts =
        SplitObjectLine(m_wad.ObjectSlot(object), m_wad.ObjectTextureCount(object));
    if (role == COwnerDrawCombo::kPartsRole) {
        return QStringList{QString::fromStdString(parts.head), QString::fromStdString(parts.name),
                           QString::fromStdString(parts.tail)};
    }
    return QString::fromStdString(parts.head + parts.name + parts.tail);
}

void SpriteListModel::ShowObject(int object) {
    m_object = object;
    Reset();
}

int SpriteListModel::Lines() const {
    return m_object >= 0 && static_cast<std::size_t>(m_object) < m_wad.ObjectCount()
               ? m_wad.ObjectTextureCount(static_cast<std::size_t>(m_object))
               : 0;
}

QVariant SpriteListModel::data(const QModelIndex& index, int role) const {
    if (!Shows(index) || role != Qt::DisplayRole) {
        return {};
    }
    const SpriteTexture& texture =
        m_wad.ObjectTexture(static_cast<std::size_t>(m_object), index.row());
    return QString::fromStdString(
        FormatTextureLine(index.row(), texture.GetWidth(), texture.GetHeight()));
}
