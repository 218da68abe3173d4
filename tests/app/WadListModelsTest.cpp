// The Sprites list as a view of the wad, on its own.
#include "app/WadListModels.h"
#include "document/ListLines.h"
#include "edits/Edits.h"
#include "support/Fixtures.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

// An edit reaches the list as the least that shows it: lines appended are one insertion, lines
// changed one change, anything else all lines afresh; a line reads as the wad has it.
TEST(WadListModels, AnEditReachesTheListAsTheLeastThatShowsIt) {
    SpriteWad wad;
    wad.AppendObject(463);
    const auto texture = [](int side) { return fixtures::MakeTexture(side, side, 9); };
    ASSERT_TRUE(edits::AddTextures(wad, 0, {texture(1), texture(2), texture(3)}));
    SpriteListModel lines(wad, nullptr);
    const QAbstractItemModelTester consistent(&lines);
    lines.ShowObject(0);
    QStringList heard;
    QObject::connect(&lines, &QAbstractItemModel::modelReset, [&] { heard << "afresh"; });
    QObject::connect(
        &lines, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int a, int b) { heard << QString("+%1-%2").arg(a).arg(b); });
    QObject::connect(&lines, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& a, const QModelIndex& b) {
                         heard << QString("~%1-%2").arg(a.row()).arg(b.row());
                     });
    const std::pair<const char*, std::function<edits::EditResult()>> cases[] = {
        {"+3-4",
         [&] {
             return edits::AddTextures(wad, 0, {texture(4), texture(5)});
         }},
        {"~0-0", [&] { return edits::ReplaceTexture(wad, 0, 0, texture(6)); }},
        {"~2-4",
         [&] { return edits::ResizeTextures(wad, 0, 2, 4, {.boxWidth = 7, .boxHeight = 7}); }},
        {"afresh", [&] { return edits::DeleteTexture(wad, 0, 0); }},
    };
    for (const auto& [expected, edit] : cases) {
        SCOPED_TRACE(expected);
        heard.clear();
        const edits::EditResult done = edit();
        ASSERT_TRUE(done);
        lines.Refresh(done->firstLine, done->lastLine);
        EXPECT_EQ(heard.join(" ").toStdString(), expected);
        ASSERT_EQ(lines.rowCount(), wad.ObjectTextureCount(0));
        const SpriteTexture& last = wad.ObjectTexture(0, lines.rowCount() - 1);
        EXPECT_EQ(lines.index(lines.rowCount() - 1).data().toString().toStdString(),
                  FormatTextureLine(lines.rowCount() - 1, last.GetWidth(), last.GetHeight()));
    }
    EXPECT_FALSE(lines.index(0).data(Qt::ToolTipRole).isValid()) << "the line is its only text";
}
