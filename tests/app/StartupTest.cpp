// Start-up: the order of its steps as far as they can be seen, the splash
// and its pause, the profile, and the failure of the main frame.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "CRecentFileList.h"
#include "CSplashWnd.h"
#include "CStatusBar.h"
#include "Resources.h"
#include "ShellFixture.h"
#include "TempDir.h"

namespace {

QSettings Profile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvane"), QStringLiteral("Tornel"));
}

TEST_F(ShellTest, StartupShowsTheSplashDuringThePauseAndTheFrameOnlyAfterIt)
{
    // From before the splash's timer starts, so that a slow start-up on a
    // busy machine does not shorten what is measured.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(Start({}));
    ASSERT_EQ(app->pauses.size(), 1u);
    EXPECT_EQ(app->pauses[0].ms, 2000);
    EXPECT_TRUE(app->pauses[0].splashUp);
    EXPECT_FALSE(app->pauses[0].mainFrameVisible);
    EXPECT_TRUE(mainFrame->isVisible());

    // The splash is centred on the frame, owned by it, the size of its bitmap.
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->parentWidget(), mainFrame.data());
    EXPECT_EQ(splash->size(), LoadBitmapResource(IDB_SPLASH).size());
    EXPECT_LE((splash->geometry().center() - mainFrame->geometry().center()).manhattanLength(), 40);

    // Its timer takes it away once the event loop runs.
    EXPECT_TRUE(WaitFor([] { return CSplashWnd::Current() == nullptr; }));
    EXPECT_GE(clock.elapsed(), CSplashWnd::kTimerPeriodMs - 50);
}

TEST_F(ShellTest, ThePauseReallyBlocksTheThread)
{
    app = std::make_unique<TestApp>();
    app->realPause = true;
    app->SetArguments({QStringLiteral("--no-splash")});
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(app->InitInstance());
    mainFrame = dynamic_cast<TestMainFrame*>(app->m_pMainWnd);
    EXPECT_GE(clock.elapsed(), 2000);
    // Nothing was handled meanwhile.
    EXPECT_FALSE(timerRan);
    EXPECT_TRUE(WaitFor([&] { return timerRan; }));
}

TEST_F(ShellTest, NoSplashWhenTheCommandLineSaysSo)
{
    ASSERT_TRUE(Start({QStringLiteral("--no-splash")}));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    ASSERT_EQ(app->pauses.size(), 1u);
    EXPECT_FALSE(app->pauses[0].splashUp);
}

TEST_F(ShellTest, AKeyOrAClickDismissesTheSplashAndIsSwallowed)
{
    ASSERT_TRUE(Start({}));
    app->AddDocTemplate(MakeTestTemplate());
    UseCatchAllView() = true;
    app->OnFileNew();
    mainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainFrame));
    auto* view = dynamic_cast<TestView*>(mainFrame->MDIGetActive()->GetActiveView());
    ASSERT_NE(view, nullptr);
    view->setFocus();
    RouteLog().clear();

    ASSERT_NE(CSplashWnd::Current(), nullptr);
    // Ctrl+N would be a command: while the splash is up it only dismisses.
    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_TRUE(RouteLog().empty());
    // The frame the splash stood over is active again for the next key.
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == mainFrame; }));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"any 57600"}));

    // A click does the same.
    CSplashWnd::ShowSplashScreen(mainFrame);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    QWidget* clicked = nullptr;
    struct ClickSpy : QObject
    {
        QWidget** seen;
        bool eventFilter(QObject* object, QEvent* event) override
        {
            if (event->type() == QEvent::MouseButtonPress)
                *seen = static_cast<QWidget*>(object);
            return false;
        }
    } spy;
    spy.seen = &clicked;
    view->installEventFilter(&spy);
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(clicked, nullptr);
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(clicked, view);
    view->removeEventFilter(&spy);
}

TEST_F(ShellTest, AFailingMainFrameEndsStartupWithoutAMessage)
{
    app = std::make_unique<TestApp>();
    app->failMainFrame = true;
    app->SetArguments({});
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(app->pauses.empty());
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    // Run ends the process at once with a failure status.
    TestApp again;
    again.failMainFrame = true;
    EXPECT_EQ(again.Run({}), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ShellTest, FilesOnTheCommandLineOpenOnceTheWindowIsUp)
{
    WriteBytes("part.nc", "G01 X10\r\n");
    WriteBytes("-odd.nc", "G00 Z5\r\n");
    WriteBytes("shaft", "G01 Z-1\r\n");
    app = std::make_unique<TestApp>();
    app->AddDocTemplate(MakeTestTemplate());
    app->SetArguments({QStringLiteral("part.nc"), QStringLiteral("--no-splash"), QStringLiteral("missing.nc"),
                       QStringLiteral("shaft"), QStringLiteral("--"), QStringLiteral("-odd.nc")});
    ASSERT_TRUE(app->InitInstance());
    mainFrame = dynamic_cast<TestMainFrame*>(app->m_pMainWnd);
    // Nothing yet: the files open from the event loop, after the frame is
    // shown, and without the splash, which the option turned off.
    EXPECT_TRUE(mainFrame->isVisible());
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_TRUE(app->DocTemplates().front()->Documents().empty());

    ASSERT_TRUE(WaitFor([&] { return app->DocTemplates().front()->Documents().size() == 3; }));
    QStringList titles;
    for (const auto& document : app->DocTemplates().front()->Documents())
        titles << document->GetTitle();
    EXPECT_EQ(titles, QStringList({QStringLiteral("part.nc"), QStringLiteral("shaft"), QStringLiteral("-odd.nc")}));
    // The missing file is reported as File > Open reports it, and the
    // others open all the same.
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.nc"))) << messages[0].toStdString();
    EXPECT_EQ(mainFrame->CurrentMenuId(), IDR_TORNELTYPE);
    EXPECT_EQ((*app->RecentFileList())[0], QFileInfo(QStringLiteral("-odd.nc")).absoluteFilePath());
}

TEST_F(ShellTest, TheRecentFilesAreReadFromTheProfileAtStart)
{
    {
        QSettings profile = Profile();
        profile.setValue("Recent File List/File1", "/data/b.nc");
        profile.setValue("Recent File List/File2", "/data/a.nc");
    }
    ASSERT_TRUE(Start());
    CRecentFileList* list = app->RecentFileList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetSize(), 4);
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ((*list)[0], QStringLiteral("/data/b.nc"));
    EXPECT_EQ((*list)[1], QStringLiteral("/data/a.nc"));
}

TEST_F(ShellTest, TheProfileLivesInTheUsersConfigFolder)
{
    ASSERT_TRUE(Start());
    const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Halvane/Tornel.conf");
    EXPECT_EQ(app->ProfileFileName(), expected);

    EXPECT_TRUE(app->WriteProfileInt(QStringLiteral("TextEdit\\Find"), QStringLiteral("MatchCase"), 1));
    EXPECT_TRUE(app->WriteProfileString(QStringLiteral("TextEdit\\Find"), QStringLiteral("FindWhat"),
                                        QStringLiteral("G01 X")));
    ASSERT_TRUE(QFileInfo::exists(expected));
    QSettings file(expected, QSettings::IniFormat);
    EXPECT_EQ(file.value("TextEdit/Find/MatchCase").toInt(), 1);
    EXPECT_EQ(file.value("TextEdit/Find/FindWhat").toString(), QStringLiteral("G01 X"));
    EXPECT_EQ(app->GetProfileInt(QStringLiteral("TextEdit\\Find"), QStringLiteral("MatchCase"), 0), 1);
    EXPECT_EQ(app->GetProfileInt(QStringLiteral("TextEdit\\Find"), QStringLiteral("Missing"), 7), 7);
    EXPECT_EQ(app->GetProfileString(QStringLiteral("TextEdit\\Find"), QStringLiteral("FindWhat")),
              QStringLiteral("G01 X"));

    // A value that is not a number reads as the default.
    file.setValue("TextEdit/Find/WholeWord", "yes");
    file.sync();
    app->SetRegistryKey(QStringLiteral("Halvane"));
    EXPECT_EQ(app->GetProfileInt(QStringLiteral("TextEdit\\Find"), QStringLiteral("WholeWord"), 0), 0);
}

}  // namespace
