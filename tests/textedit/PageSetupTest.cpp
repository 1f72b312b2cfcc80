// Page setup: the margins of printed pages kept in the profile, in
// hundredths of a millimetre, with paper and orientation left to the
// printer settings.
#include <QDoubleSpinBox>
#include <QRadioButton>

#include "DialogFixture.h"

TEST_F(DialogTest, PageSetupShowsAndKeepsTheMarginsAndLeavesThePaperAlone)
{
    Load("G01 X1");
    const auto spin = [this](const char* name) { return dialog->findChild<QDoubleSpinBox*>(QString::fromLatin1(name)); };
    WithDialog(ID_FILE_PAGE_SETUP, [&](QDialog* d) {
        ASSERT_TRUE(spin("leftMargin"));
        EXPECT_DOUBLE_EQ(spin("leftMargin")->value(), 10.0);
        EXPECT_DOUBLE_EQ(spin("bottomMargin")->value(), 10.0);
        for (const char* name : {"pageSizeCombo", "paperSource", "portrait", "landscape"}) {
            QWidget* control = d->findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_TRUE(control) << name;
            EXPECT_FALSE(control->isEnabled()) << name;
        }
        spin("leftMargin")->setValue(25.5);
        spin("topMargin")->setValue(5);
        d->accept();
    });
    EXPECT_EQ(Profile("TextEdit/PageSetup/LeftMargin").toInt(), 2550);
    EXPECT_EQ(Profile("TextEdit/PageSetup/TopMargin").toInt(), 500);
    EXPECT_EQ(Profile("TextEdit/PageSetup/RightMargin").toInt(), 1000);
    EXPECT_EQ(CTextView::PrintMargins().left(), 2550);

    // Shown again from the profile; cancelling changes nothing.
    WithDialog(ID_FILE_PAGE_SETUP, [&](QDialog* d) {
        EXPECT_DOUBLE_EQ(spin("leftMargin")->value(), 25.5);
        spin("leftMargin")->setValue(40);
        d->reject();
    });
    EXPECT_EQ(Profile("TextEdit/PageSetup/LeftMargin").toInt(), 2550);
}
