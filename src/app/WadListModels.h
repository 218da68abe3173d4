#pragma once

#include <QAbstractListModel>

class SpriteWad;

// The Objects and Sprites lists as views of the wad. A line is formatted only when a list
// shows it, so a list of 16 384 lines costs no more to fill than the lines on screen, and an
// edit tells the list only what it did: lines appended are one insertion, lines changed in
// place one change. A list keeps its number of lines until it is told, as a view must; a line
// the wad no longer has reads as empty until then.
class WadLineModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    // Every line afresh.
    void Reset();
    // Lines `first` to `last` changed; the lines the wad has behind those shown are appended.
    // When lines before those were added or removed, every line is shown afresh.
    void Refresh(int first, int last);

protected:
    WadLineModel(const SpriteWad& wad, QObject* parent);
    // The number of lines the wad has now.
    virtual int Lines() const = 0;
    bool Shows(const QModelIndex& index) const;

    const SpriteWad& m_wad;

private:
    int m_shown = 0;
};

// "460: SKY_GRAPHICS  Textures=4" for each object, with its three parts under
// COwnerDrawCombo::kPartsRole, so that a narrow list shortens the name alone.
class ObjectListModel final : public WadLineModel {
public:
    ObjectListModel(const SpriteWad& wad, QObject* parent) : WadLineModel(wad, parent) {}
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int Lines() const override;
};

// "Texture 0 :  (64 x 64)" for each texture of one object.
class SpriteListModel final : public WadLineModel {
public:
    SpriteListModel(const SpriteWad& wad, QObject* parent) : WadLineModel(wad, parent) {}
    // Shows the textures of `object` afresh; none for -1.
    void ShowObject(int object);
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int Lines() const override;
    int m_object = -1;
};
