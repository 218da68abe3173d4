// Opening a wad whose header says it holds no sprites although a whole wad follows.
#include "ModalDriver.h"
#include "WindowProbe.h"
#include "support/Fixtures.h"

#include <QMessageBox>
#include <gtest/gtest.h>

using apptest::WhenModal;
using apptest::WindowProbe;

namespace {

TEST(RecoverSwd, YesLoadsTheSpritesWithoutAPathAndNoKeepsTheDocument) {
    fixtures::TempDir dir;
    auto bytes = fixtures::SmallWad().Build();
    std::fill(bytes.begin() + 4, bytes.begin() + 8, 0);
    fixtures::WriteFileBytes(dir / "zero.swd", bytes);
    const QString zero = QString::fromStdString((dir / "zero.swd").string());
    fixtures::WriteFileBytes(dir / "other.swd", fixtures::SwdBuilder()
                                                    .Entry(0, 0, 0, 8, 8)
                                                    .Page(fixtures::MakeTexture(256, 256, 3))
                                                    .Sequence(464, -1, 0)
                                                    .Build());
    const QString other = QString::fromStdString((dir / "other.swd").string());

    CMainDlg dlg;
    WindowProbe w(dlg);
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        SCOPED_TRACE(button == QMessageBox::Yes ? "Yes" : "No");
        ASSERT_TRUE(dlg.OpenSwdFile(other));
        QString question;
        WhenModal<QMessageBox>([&question, button](QMessageBox* box) {
            question = box->text();
            box->button(button)->click();
        });
        const bool opened = dlg.OpenSwdFile(zero);
        EXPECT_EQ(question,
                  "This sprite wad says it holds no sprites, but 5 sprites follow. Recover them?");
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        if (button == QMessageBox::No) {
            EXPECT_FALSE(opened);
            EXPECT_EQ(w.path->text(), other);
            EXPECT_EQ(w.ObjectLines(), QStringList{"464: MISC_SPRITES  Textures=1"});
            continue;
        }
        EXPECT_TRUE(opened);
        EXPECT_EQ(w.path->text(), "");
        EXPECT_EQ(w.ObjectLines(),
                  (QStringList{"463: DEFAULT_SPRITES  Textures=3", "460: SKY_GRAPHICS  Textures=2",
                               "494: CUSTOM_SPRITES  Textures=0"}));
        EXPECT_EQ(dlg.Document().TextureCount(), 5u);
    }
}

} // namespace
