// The Objects and Sprites lists as views of the wad, on their own.
#include "app/WadListModels.h"
#include "app/COwnerDrawCombo.h"
#include "document/ListLines.h"
#include "edits/Edits.h"
#include "support/Fixtures.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Each edit reaches the lists as the least that shows it: lines appended are one insertion,
// lines changed one change, anything else all lines afresh; and every line reads as the wad has
// it, an object line in parts that make the whole line.
TEST(WadListModels, AnEditReachesTheListsAsTheLeastThatShowsIt) {
    SpriteWad wad;
    for (const std::uint32_t slot : {463u, 464u}) {
        const std::size_t object = *wad.AppendObject(slot);
        for (int k = 0; k < 3; ++k) {
            wad.AddTexture(object, fixtures::MakeTexture(2 + k, 2, k));
        }
    }
    SpriteListModel sprites(wad, nullptr);
    ObjectListModel objects(wad, nullptr);
    const QAbstractItemModelTester checkSprites(&sprites);
    const QAbstractItemModelTester checkObjects(&objects);
    sprites.ShowObject(1);
    objects.Reset();
    QStringList heard;
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(&sprites), static_cast<QAbstractItemModel*>(&objects)}) {
        const QString list = model == &sprites ? "sprites" : "objects";
        QObject::connect(model, &QAbstractItemModel::modelReset,
                         [&heard, list] { heard << list + " afresh"; });
        QObject::connect(model, &QAbstractItemModel::rowsInserted,
                         [&heard, list](const QModelIndex&, int first, int last) {
                             heard << QString("%1 +%2-%3").arg(list).arg(first).arg(last);
                         });
        QObject::connect(model, &QAbstractItemModel::dataChanged,
                         [&heard, list](const QModelIndex& first, const QModelIndex& last) {
                             heard
                                 << QString("%1 ~%2-%3").arg(list).arg(first.row()).arg(last.row());
                         });
    }
    const auto texture = [](int side) { return fixtures::MakeTexture(side, side, 9); };
    const struct {
        const char* name;
        std::function<edits::EditResult()> edit;
        const char* heard;
    } cases[] = {
        {"append two",
         [&] {
             return edits::AddTextures(wad, 1, {texture(4), texture(5)});
         },
         "sprites +3-4, objects ~1-1"},
        {"replace one", [&] { return edits::ReplaceTexture(wad, 1, 1, texture(6)); },
         "sprites ~1-1, objects ~1-1"},
        {"resize three",
         [&] { return edits::ResizeTextures(wad, 1, 2, 4, {.boxWidth = 7, .boxHeight = 7}); },
         "sprites ~2-4, objects ~1-1"},
        {"delete one", [&] { return edits::DeleteTexture(wad, 1, 0); },
         "sprites afresh, objects ~1-1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        heard.clear();
        const edits::EditResult done = c.edit();
        ASSERT_TRUE(done);
        sprites.Refresh(done->firstLine, done->lastLine);
        objects.Refresh(1, 1);
        EXPECT_EQ(heard.join(", ").toStdString(), c.heard);
        ASSERT_EQ(sprites.rowCount(), wad.ObjectTextureCount(1));
        for (int k = 0; k < sprites.rowCount(); ++k) {
            const SpriteTexture& t = wad.ObjectTexture(1, k);
            EXPECT_EQ(sprites.index(k).data().toString().toStdString(),
                      FormatTextureLine(k, t.GetWidth(), t.GetHeight()));
        }
        const QModelIndex line = objects.index(1);
        EXPECT_EQ(line.data().toString().toStdString(), FormatObjectLine(wad.m_sequences[1]));
        EXPECT_EQ(line.data(COwnerDrawCombo::kPartsRole).toStringList().join("").toStdString(),
                  line.data().toString().toStdString());
    }
}

} // namespace
