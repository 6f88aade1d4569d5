#include "dialogs/frm_About.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, ShowsItsTextsExactlyAsLaidOut)
{
    TfrmAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(298, 213));
    EXPECT_EQ(about.minimumSize(), about.maximumSize()) << "the box cannot be resized";

    const struct { const char* name; const char* text; } labels[] = {
        {"ProductName", "Vuzuzidazerezeda"},
        {"Version", "0.01"},
        {"Copyright", "© 2026 the Vuzuzidazerezeda developers"},
        {"Comments", "Ein Umzug als Eimerkette."},
    };
    for (const auto& label : labels) {
        const auto* widget = about.findChild<QLabel*>(label.name);
        ASSERT_NE(widget, nullptr) << label.name;
        EXPECT_EQ(widget->text(), QString::fromUtf8(label.text)) << label.name;
    }
    const auto* ok = about.findChild<QPushButton*>("OKButton");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
}

TEST(AboutBox, EnterClosesItThroughOk)
{
    TfrmAbout about(nullptr);
    about.open();
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// The main window takes its icon from the same resource.
TEST(AboutBox, TheProgramPictureIsA32By32SixteenColourResource)
{
    const QImage picture(":/zemba/ProgramIcon.png");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_LE(picture.colorCount(), 16);
    EXPECT_GT(picture.colorCount(), 0) << "a palette picture";
    EXPECT_FALSE(QIcon(":/zemba/ProgramIcon.png").isNull());

    TfrmAbout about(nullptr);
    const auto* icon = about.findChild<QLabel*>("ProgramIcon");
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32)) << "the about box shows the picture too";
}

} // namespace
