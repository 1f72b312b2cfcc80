// The settings dialogs as the user works them: the sorted lists, a stored
// value that is not in a list, the start-mode pair that always opens on
// "从机床开始", a time-out that is no number, and OK writing the file.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "CPortSettingsDlg.h"
#include "DncFixture.h"

namespace {

QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

template <class Control>
Control* Find(QWidget& dialog, const char* kind, int id)
{
    return dialog.findChild<Control*>(QString::fromLatin1(kind) + QString::number(id));
}

using SettingsDialogTest = DncTest;

TEST_F(SettingsDialogTest, ListsAreSortedAndAStoredValueOutsideThemIsAddedInPlaceAndChosen)
{
    PortSettings stored;
    stored.baud = QStringLiteral("57600");
    stored.parity = QStringLiteral("even");
    QString error;
    ASSERT_TRUE(SaveSettingsFile(stored, TransferKind::Receive, error));
    CReceiveSettingsDlg dialog(nullptr);
    auto* baud = Find<QComboBox>(dialog, "combo", 1014);
    EXPECT_EQ(Entries(baud), (QStringList{"110", "1200", "128000", "14400", "19200", "2400", "256000", "300",
                                          "38400", "4800", "56000", "57600", "600", "9600"}));
    EXPECT_EQ(baud->currentText(), QStringLiteral("57600"));
    // Case does not matter in finding an entry.
    EXPECT_EQ(Find<QComboBox>(dialog, "combo", 1015)->currentText(), QStringLiteral("EVEN"));
    EXPECT_EQ(Entries(Find<QComboBox>(dialog, "combo", 1016)), (QStringList{"1", "1.5", "2"}));
    EXPECT_EQ(Entries(Find<QComboBox>(dialog, "combo", 1012)).mid(0, 4), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_TRUE(Find<QCheckBox>(dialog, "check", 1021)->isChecked());
    EXPECT_EQ(Find<QLineEdit>(dialog, "edit", 1026)->text(), QStringLiteral("2000"));

    // OK keeps what is shown: the added rate, not the entry after it.
    dialog.accept();
    PortSettings read;
    QString problem;
    LoadSettingsFile(read, TransferKind::Receive, problem);
    EXPECT_EQ(read.baud, QStringLiteral("57600"));
    EXPECT_EQ(read.parity, QStringLiteral("EVEN"));
}

TEST_F(SettingsDialogTest, TheSendDialogAlwaysOpensStartingFromTheMachine)
{
    {
        CSendSettingsDlg dialog(nullptr);
        auto* computer = Find<QCheckBox>(dialog, "check", 1019);
        auto* machineStart = Find<QCheckBox>(dialog, "check", 1020);
        EXPECT_TRUE(machineStart->isChecked());
        computer->click();
        EXPECT_TRUE(computer->isChecked());
        EXPECT_FALSE(machineStart->isChecked());
        EXPECT_EQ(dialog.Settings().startFromMachine, 0);
        computer->click();  // the ticked one stays ticked
        EXPECT_TRUE(computer->isChecked());
        Find<QCheckBox>(dialog, "check", 1023)->click();
        dialog.accept();
        EXPECT_EQ(dialog.Settings().startFromMachine, 0);
        EXPECT_EQ(dialog.Settings().rtsCts, 1);
    }
    CSendSettingsDlg again(nullptr);
    EXPECT_TRUE(Find<QCheckBox>(again, "check", 1020)->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(again, "check", 1019)->isChecked());
    EXPECT_EQ(again.Settings().startFromMachine, 1);
    EXPECT_TRUE(Find<QCheckBox>(again, "check", 1023)->isChecked());
}

TEST_F(SettingsDialogTest, ATimeOutThatIsNoNumberKeepsTheDialogOpen)
{
    CReceiveSettingsDlg dialog(nullptr);
    dialog.show();
    auto* timeout = Find<QLineEdit>(dialog, "edit", 1026);
    for (const char* bad : {"abc", "-5", "99999999999"}) {
        timeout->setText(QString::fromLatin1(bad));
        messages.clear();
        dialog.accept();
        EXPECT_EQ(messages.size(), 1u) << bad;
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_EQ(dialog.Settings().timeoutMs, 2000) << bad;
    }
    timeout->setText(QStringLiteral(" 500 "));
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Settings().timeoutMs, 500);
}

}  // namespace
