// The print commands of the code view: page setup, whose margins the
// profile keeps in hundredths of a millimetre with paper and orientation
// left to the printer settings, and printing straight to the chosen printer.
#include <QDoubleSpinBox>
#include <QPrinter>
#include <QRadioButton>

#include "DialogFixture.h"
#include "TempDir.h"

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

TEST_F(DialogTest, PrintingStraightAwayUsesTheChosenPrinterAndSaysWhenItCannot)
{
    Load("N10 G01 X5\r\nM30");
    TempDir dir;
    const QString pdf = QString::fromStdString(dir.File("direct.pdf"));
    app->Printer().setOutputFormat(QPrinter::PdfFormat);
    app->Printer().setOutputFileName(pdf);
    Run(ID_FILE_PRINT_DIRECT);
    EXPECT_TRUE(messages.empty());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    app->Printer().setOutputFileName(QString::fromStdString(dir.File("no such folder/direct.pdf")));
    Run(ID_FILE_PRINT_DIRECT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("无法开始打印"))) << messages[0].toStdString();
}
