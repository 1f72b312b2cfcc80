// The skinned frame as the user meets it: where the mouse is on the frame
// (hit-testing at both sides of every boundary), the caption buttons, moving
// and maximizing, the frame's pixels against its bitmaps in both the active
// and the inactive copy, and a skin that fails to load.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <optional>

#include "AfxMessageBox.h"
#include "CSkinDialog.h"
#include "QtTestHelpers.h"
#include "Resources.h"
#include "ids.h"

namespace {

using F = CSkinFrame;

constexpr int kT = 33, kL = 10, kR = 12, kB = 13;

enum Boxes
{
    kNoBoxes = 0,
    kMinMax = 1,
};

// A dialog with a button placed by hand at (20, 20) of its client area.
std::unique_ptr<CSkinDialog> MakeDialog(bool sizable, Boxes boxes, QSize client = QSize(400, 300))
{
    Qt::WindowFlags flags = Qt::Dialog;
    if (boxes == kMinMax)
        flags |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    auto dialog = std::make_unique<CSkinDialog>(nullptr, flags);
    dialog->setWindowTitle(QStringLiteral("刀具"));
    auto* button = new QPushButton(QStringLiteral("确定"), dialog.get());
    button->setObjectName(QStringLiteral("ok"));
    button->setGeometry(20, 20, 80, 24);
    if (sizable)
        dialog->resize(client);
    else
        dialog->setFixedSize(client);
    dialog->move(50, 40);
    return dialog;
}

void ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QApplication::processEvents();
}

void SendMouse(QWidget* window, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons,
               std::optional<QPoint> global = std::nullopt)
{
    QMouseEvent event(type, QPointF(local), QPointF(global.value_or(window->mapToGlobal(local))), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

void Click(QWidget* window, QPoint press, QPoint release)
{
    SendMouse(window, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    SendMouse(window, QEvent::MouseMove, release, Qt::NoButton, Qt::LeftButton);
    SendMouse(window, QEvent::MouseButtonRelease, release, Qt::LeftButton, Qt::NoButton);
}

// The hit code a frame without sizing gives: caption or client.
int CaptionOrClient(int W, QPoint p)
{
    return p.x() >= kL && p.x() < W - kR && p.y() >= 5 && p.y() < kT ? F::HTCAPTION : F::HTCLIENT;
}

TEST(SkinFrame, TakesTheDialogOverWithItsBordersAroundTheClientArea)
{
    auto dialog = MakeDialog(false, kNoBoxes);
    ShowActive(dialog.get());
    ASSERT_TRUE(dialog->IsSkinned());
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog->windowType(), Qt::Dialog);
    EXPECT_EQ(dialog->size(), QSize(400 + kL + kR, 300 + kT + kB));
    EXPECT_EQ(dialog->ClientRect(), QRect(kL, kT, 400, 300));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ok"));
    EXPECT_EQ(ok->geometry(), QRect(20, 20, 80, 24).translated(kL, kT));
    EXPECT_FALSE(dialog->Frame().IsSizable());

    // A layout keeps to the client area, and a fixed-size layout grows the
    // window by the frame.
    CSkinDialog laidOut;
    auto* label = new QLabel(QStringLiteral("Tornel"), &laidOut);
    auto* layout = new QVBoxLayout(&laidOut);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowActive(&laidOut);
    ASSERT_TRUE(laidOut.IsSkinned());
    EXPECT_EQ(label->geometry(), laidOut.ClientRect());
    EXPECT_EQ(laidOut.size(), label->sizeHint() + QSize(kL + kR, kT + kB));
}

TEST(SkinFrame, HitTestingAnswersEachBandInItsOrderAtBothSidesOfEveryEdge)
{
    auto dialog = MakeDialog(true, kMinMax);
    ShowActive(dialog.get());
    const CSkinFrame& frame = dialog->Frame();
    ASSERT_TRUE(frame.IsSizable());
    const int W = dialog->width(), H = dialog->height();
    const struct
    {
        QPoint point;
        int code;
    } sizable[] = {
        // The caption buttons, 19 x 20 from y = 4, close at W - 23.
        {{W - 23, 4}, F::HTCLOSE},
        {{W - 5, 23}, F::HTCLOSE},
        {{W - 24, 4}, F::HTMAXBUTTON},
        {{W - 42, 23}, F::HTMAXBUTTON},
        {{W - 43, 10}, F::HTMINBUTTON},
        {{W - 61, 23}, F::HTMINBUTTON},
        {{W - 62, 20}, F::HTCAPTION},
        {{W - 62, 10}, F::HTTOP},
        {{W - 20, 24}, F::HTCAPTION},
        {{W - 20, 3}, F::HTTOP},
        // The buttons come before the top-right corner.
        {{W - 5, 4}, F::HTCLOSE},
        {{W - 4, 4}, F::HTTOPRIGHT},
        // The icon at (l, 5), 16 x 16, before the sizing bands.
        {{kL, 5}, F::HTSYSMENU},
        {{kL + 15, 20}, F::HTSYSMENU},
        {{kL + 16, 5}, F::HTTOP},
        {{kL, 4}, F::HTTOP},
        {{kL + 15, 21}, F::HTCAPTION},
        // Corners.
        {{0, 0}, F::HTTOPLEFT},
        {{kL - 1, kT - 1}, F::HTTOPLEFT},
        {{kL, 0}, F::HTTOP},
        {{kL - 1, kT}, F::HTLEFT},
        // The top-right corner is as wide as the left border, not the right.
        {{W - kL, kT - 1}, F::HTTOPRIGHT},
        {{W - kL - 1, kT - 1}, F::HTCLIENT},
        {{W - kL - 1, 0}, F::HTCLIENT},
        {{W - kR - 1, 0}, F::HTTOP},
        {{W - 1, 0}, F::HTTOPRIGHT},
        {{W - kL, kT}, F::HTRIGHT},
        {{0, H - kB}, F::HTBOTTOMLEFT},
        {{kL - 1, H - 1}, F::HTBOTTOMLEFT},
        {{0, H - kB - 1}, F::HTLEFT},
        {{kL, H - 1}, F::HTBOTTOM},
        {{W - kR, H - kB}, F::HTBOTTOMRIGHT},
        {{W - 1, H - 1}, F::HTBOTTOMRIGHT},
        {{W - kR - 1, H - 1}, F::HTBOTTOM},
        {{W - kR, H - kB - 1}, F::HTRIGHT},
        // Side bands and their inner edges.
        {{0, kT}, F::HTLEFT},
        {{kL - 1, H / 2}, F::HTLEFT},
        {{kL, H / 2}, F::HTCLIENT},
        {{W - kR, kT}, F::HTRIGHT},
        {{W - kR - 1, H / 2}, F::HTCLIENT},
        {{W / 2, H - kB}, F::HTBOTTOM},
        {{W / 2, H - kB - 1}, F::HTCLIENT},
        // The top band is as high as the bottom border; the caption below.
        {{W / 2, kB - 1}, F::HTTOP},
        {{W / 2, kB}, F::HTCAPTION},
        {{W / 2, kT - 1}, F::HTCAPTION},
        {{W / 2, kT}, F::HTCLIENT},
        {{kL, kT}, F::HTCLIENT},
    };
    for (const auto& c : sizable)
        EXPECT_EQ(frame.HitTest(c.point), c.code) << c.point.x() << "," << c.point.y();

    // A window of fixed size has no sizing bands: there the caption or the
    // client answers.
    auto fixed = MakeDialog(false, kMinMax);
    ShowActive(fixed.get());
    const int fW = fixed->width();
    ASSERT_EQ(fW, W);
    for (const auto& c : sizable) {
        const bool sizing = c.code >= F::HTLEFT && c.code <= F::HTBOTTOMRIGHT;
        const int expected = sizing ? CaptionOrClient(fW, c.point) : c.code;
        EXPECT_EQ(fixed->Frame().HitTest(c.point), expected) << "fixed " << c.point.x() << "," << c.point.y();
    }

    // Maximized, no point of the window sizes it.
    dialog->Frame().Maximize();
    ASSERT_EQ(frame.State(), F::STATE_MAXIMIZED);
    const int mW = dialog->width(), mH = dialog->height();
    for (int y = 0; y < mH; y += (y < kT || y >= mH - kB - 1) ? 1 : 7) {
        for (int x = 0; x < mW; x += (x < kL || x >= mW - kR - 1) ? 1 : 5) {
            const int code = frame.HitTest({x, y});
            ASSERT_FALSE(code >= F::HTLEFT && code <= F::HTBOTTOMRIGHT) << x << "," << y;
        }
    }
}

TEST(SkinFrame, WithoutBoxesOnlyTheCloseButtonIsShownAndAnswered)
{
    auto dialog = MakeDialog(false, kNoBoxes);
    ShowActive(dialog.get());
    const CSkinFrame& frame = dialog->Frame();
    EXPECT_FALSE(frame.HasMaximizeBox());
    EXPECT_FALSE(frame.HasMinimizeBox());
    const QImage shot = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto shows = [&](int id, const QRect& rect) {
        const QImage bitmap = LoadBitmapResource(id).convertToFormat(QImage::Format_RGB32);
        for (int image = 0; image < 3; ++image) {
            if (shot.copy(rect) == bitmap.copy(QRect(19 * image, 0, 19, 20)))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(shows(IDB_SKIN_CLOSE, frame.CloseRect()));
    EXPECT_FALSE(shows(IDB_SKIN_MAXIMIZE, frame.MaximizeRect()));
    EXPECT_FALSE(shows(IDB_SKIN_MINIMIZE, frame.MinimizeRect()));
    for (const QRect& rect : {frame.MaximizeRect(), frame.MinimizeRect()}) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const int code = frame.HitTest({x, y});
                ASSERT_NE(code, F::HTMAXBUTTON);
                ASSERT_NE(code, F::HTMINBUTTON);
            }
        }
    }
    // Clicking where they would be neither maximizes nor minimizes.
    const QRect before = dialog->geometry();
    Click(dialog.get(), frame.MaximizeRect().center(), frame.MaximizeRect().center());
    Click(dialog.get(), frame.MinimizeRect().center(), frame.MinimizeRect().center());
    EXPECT_EQ(frame.State(), F::STATE_NORMAL);
    EXPECT_EQ(dialog->geometry(), before);
    EXPECT_FALSE(dialog->isMinimized());
}

TEST(SkinFrame, TheCloseButtonClosesOnlyWhenReleasedOnIt)
{
    auto dialog = MakeDialog(false, kMinMax);
    ShowActive(dialog.get());
    const CSkinFrame& frame = dialog->Frame();
    const QPoint close = frame.CloseRect().center();
    Click(dialog.get(), close, QPoint(200, 15));  // off, onto the caption
    EXPECT_TRUE(dialog->isVisible());
    Click(dialog.get(), close, frame.MaximizeRect().center());  // onto another button
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(frame.State(), F::STATE_NORMAL);
    Click(dialog.get(), close, close);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST(SkinFrame, TheCaptionMovesANormalWindowButNotAMaximizedOne)
{
    auto dialog = MakeDialog(true, kMinMax);
    ShowActive(dialog.get());
    CSkinFrame& frame = dialog->Frame();
    // No window manager here: the frame moves the window by hand.
    const QPoint start = dialog->pos();
    const QPoint press(200, 20), pressGlobal = dialog->mapToGlobal(press);
    SendMouse(dialog.get(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton, pressGlobal);
    SendMouse(dialog.get(), QEvent::MouseMove, press, Qt::NoButton, Qt::LeftButton, pressGlobal + QPoint(30, 25));
    SendMouse(dialog.get(), QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton,
              pressGlobal + QPoint(30, 25));
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 25));

    // The bottom-right corner sizes it, never below its least size.
    const QSize size = dialog->size();
    const QPoint corner(dialog->width() - 2, dialog->height() - 2), cornerGlobal = dialog->mapToGlobal(corner);
    SendMouse(dialog.get(), QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton, cornerGlobal);
    SendMouse(dialog.get(), QEvent::MouseMove, corner, Qt::NoButton, Qt::LeftButton, cornerGlobal + QPoint(40, 20));
    SendMouse(dialog.get(), QEvent::MouseButtonRelease, corner, Qt::LeftButton, Qt::NoButton,
              cornerGlobal + QPoint(40, 20));
    EXPECT_EQ(dialog->size(), size + QSize(40, 20));
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 25));

    // A double click on the caption maximizes to the work area and back.
    const QRect normal = dialog->geometry();
    SendMouse(dialog.get(), QEvent::MouseButtonDblClick, press, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(frame.State(), F::STATE_MAXIMIZED);
    EXPECT_EQ(dialog->geometry(), dialog->screen()->availableGeometry());
    const QRect maximized = dialog->geometry();
    Click(dialog.get(), press, press + QPoint(60, 60));
    EXPECT_EQ(dialog->geometry(), maximized);
    SendMouse(dialog.get(), QEvent::MouseButtonDblClick, press, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(frame.State(), F::STATE_NORMAL);
    EXPECT_EQ(dialog->geometry(), normal);

    // The maximize button too, and the minimize button comes back to the
    // state before it.
    Click(dialog.get(), frame.MaximizeRect().center(), frame.MaximizeRect().center());
    EXPECT_EQ(frame.State(), F::STATE_MAXIMIZED);
    frame.Minimize();
    EXPECT_EQ(frame.State(), F::STATE_MINIMIZED);
    frame.Restore();
    EXPECT_EQ(frame.State(), F::STATE_MAXIMIZED);
    Click(dialog.get(), frame.MaximizeRect().center(), frame.MaximizeRect().center());
    EXPECT_EQ(dialog->geometry(), normal);
}

TEST(SkinFrame, ASizableWindowIsHeldToTheTrackingSizeButNeverBlownUp)
{
    // Smaller than 800 x 600: it keeps its own size as the least.
    auto small = MakeDialog(true, kMinMax, QSize(300, 200));
    ShowActive(small.get());
    EXPECT_EQ(small->size(), QSize(300 + kL + kR, 200 + kT + kB));
    EXPECT_EQ(small->minimumSize(), small->size());
    // Larger: it may shrink down to the frame plus 800 x 600.
    auto large = MakeDialog(true, kMinMax, QSize(900, 700));
    ShowActive(large.get());
    EXPECT_EQ(large->minimumSize(), QSize(800 + kL + kR, 600 + kT + kB));
    // A fixed dialog is left alone.
    auto fixed = MakeDialog(false, kNoBoxes, QSize(300, 200));
    ShowActive(fixed.get());
    EXPECT_EQ(fixed->minimumSize(), QSize(300 + kL + kR, 200 + kT + kB));
}

TEST(SkinFrame, TheSystemMenuOffersWhatTheStateAllows)
{
    auto dialog = MakeDialog(false, kNoBoxes);
    ShowActive(dialog.get());
    SendMouse(dialog.get(), QEvent::MouseButtonPress, QPoint(200, 20), Qt::RightButton, Qt::RightButton);
    QMenu* menu = dialog->Frame().SystemMenu();
    ASSERT_NE(menu, nullptr);
    QStringList enabled;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled())
            enabled << action->text();
    }
    EXPECT_EQ(enabled, (QStringList{QStringLiteral("移动(&M)"), QStringLiteral("关闭(&C)")}));
    menu->actions().last()->trigger();
    EXPECT_FALSE(dialog->isVisible());
}

// The frame's pixels, read back from a grab, against the bitmaps: every
// edge pixel outside the icon, the title and the caption buttons.
class FramePixels
{
public:
    explicit FramePixels(bool active)
        : m_copy(active ? 0 : 1), m_top(Load(IDB_SKIN_TOP)), m_left(Load(IDB_SKIN_LEFT)),
          m_right(Load(IDB_SKIN_RIGHT)), m_bottom(Load(IDB_SKIN_BOTTOM))
    {
    }

    // The bitmap's pixel at (x, y) of a W x H window.
    QRgb Expected(int x, int y, int W, int H) const
    {
        const auto along = [](int at, int length, int size, int head, int tail) {
            if (at < head)
                return at;
            if (at >= length - tail)
                return size - (length - at);
            return head + (at - head) % (size - head - tail);
        };
        if (x < kL)
            return m_left.pixel(m_copy * kL + x, along(y, H, m_left.height(), 33, 13));
        if (x >= W - kR)
            return m_right.pixel(m_copy * kR + x - (W - kR), along(y, H, m_right.height(), 33, 13));
        if (y < kT)
            return m_top.pixel(along(x - kL, W - kL - kR, m_top.width(), 76, 84), m_copy * kT + y);
        return m_bottom.pixel((x - kL) % m_bottom.width(), m_copy * kB + y - (H - kB));
    }

private:
    static QImage Load(int id) { return LoadBitmapResource(id).convertToFormat(QImage::Format_RGB32); }

    int m_copy;
    QImage m_top, m_left, m_right, m_bottom;
};

void ExpectFrame(CSkinDialog* dialog, bool active)
{
    const QImage shot = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const CSkinFrame& frame = dialog->Frame();
    const int W = shot.width(), H = shot.height();
    const FramePixels pixels(active);
    const QRect client = frame.ClientRect();
    const QRect skip[] = {frame.IconRect(), frame.TitleRect(), frame.CloseRect(), frame.MaximizeRect(),
                          frame.MinimizeRect()};
    int compared = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const QPoint p(x, y);
            if (client.contains(p) || std::any_of(std::begin(skip), std::end(skip),
                                                  [&](const QRect& r) { return r.contains(p); }))
                continue;
            ASSERT_EQ(shot.pixel(p), pixels.Expected(x, y, W, H)) << (active ? "active " : "inactive ") << x << ","
                                                                  << y;
            ++compared;
        }
    }
    // At least the side and bottom edges: the caption is partly covered.
    EXPECT_GE(compared, (kL + kR) * H + kB * (W - kL - kR));
}

QImage ButtonImage(const QImage& shot, const QRect& rect)
{
    return shot.copy(rect);
}

QImage BitmapImage(int id, int index)
{
    return LoadBitmapResource(id).convertToFormat(QImage::Format_RGB32).copy(19 * index, 0, 19, 20);
}

TEST(SkinFrame, TheFrameIsDrawnFromItsBitmapsInTheActiveAndTheInactiveCopy)
{
    // Long enough that every middle section is tiled more than once, with
    // a cut copy at the end.
    auto dialog = MakeDialog(false, kMinMax, QSize(517, 203));
    ShowActive(dialog.get());
    ASSERT_TRUE(dialog->Frame().IsActive());
    ExpectFrame(dialog.get(), true);

    auto other = MakeDialog(false, kNoBoxes);
    ShowActive(other.get());
    ASSERT_TRUE(WaitFor([&] { return !dialog->Frame().IsActive(); }));
    ExpectFrame(dialog.get(), false);
    // The two copies differ where it shows: the caption.
    const QImage top = LoadBitmapResource(IDB_SKIN_TOP);
    EXPECT_NE(top.copy(0, 0, top.width(), kT), top.copy(0, kT, top.width(), kT));
}

TEST(SkinFrame, CaptionButtonsShowNormalHoverAndPressedImages)
{
    auto dialog = MakeDialog(false, kMinMax);
    ShowActive(dialog.get());
    const CSkinFrame& frame = dialog->Frame();
    const auto shot = [&] { return dialog->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    QImage picture = shot();
    EXPECT_EQ(ButtonImage(picture, frame.CloseRect()), BitmapImage(IDB_SKIN_CLOSE, 0));
    EXPECT_EQ(ButtonImage(picture, frame.MaximizeRect()), BitmapImage(IDB_SKIN_MAXIMIZE, 0));
    EXPECT_EQ(ButtonImage(picture, frame.MinimizeRect()), BitmapImage(IDB_SKIN_MINIMIZE, 0));

    SendMouse(dialog.get(), QEvent::MouseMove, frame.MinimizeRect().center(), Qt::NoButton, Qt::NoButton);
    picture = shot();
    EXPECT_EQ(ButtonImage(picture, frame.MinimizeRect()), BitmapImage(IDB_SKIN_MINIMIZE, 2));
    EXPECT_EQ(ButtonImage(picture, frame.CloseRect()), BitmapImage(IDB_SKIN_CLOSE, 0));

    SendMouse(dialog.get(), QEvent::MouseButtonPress, frame.CloseRect().center(), Qt::LeftButton, Qt::LeftButton);
    picture = shot();
    EXPECT_EQ(ButtonImage(picture, frame.CloseRect()), BitmapImage(IDB_SKIN_CLOSE, 1));
    EXPECT_EQ(ButtonImage(picture, frame.MinimizeRect()), BitmapImage(IDB_SKIN_MINIMIZE, 0));
    // Off the button while pressed: normal again, pressed once more on it.
    SendMouse(dialog.get(), QEvent::MouseMove, QPoint(150, 60), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(ButtonImage(shot(), frame.CloseRect()), BitmapImage(IDB_SKIN_CLOSE, 0));
    SendMouse(dialog.get(), QEvent::MouseMove, frame.CloseRect().center(), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(ButtonImage(shot(), frame.CloseRect()), BitmapImage(IDB_SKIN_CLOSE, 1));
    SendMouse(dialog.get(), QEvent::MouseMove, QPoint(150, 60), Qt::NoButton, Qt::LeftButton);
    SendMouse(dialog.get(), QEvent::MouseButtonRelease, QPoint(150, 60), Qt::LeftButton, Qt::NoButton);

    // Maximized, the maximize button shows the restore image.
    dialog->Frame().Maximize();
    EXPECT_EQ(ButtonImage(shot(), frame.MaximizeRect()), BitmapImage(IDB_SKIN_RESTORE, 0));
}

TEST(SkinFrame, TheTitleFollowsTheWindowTitle)
{
    auto dialog = MakeDialog(false, kNoBoxes);
    ShowActive(dialog.get());
    EXPECT_EQ(dialog->Frame().Title(), QStringLiteral("刀具"));
    const QImage before = dialog->grab().toImage().copy(dialog->Frame().TitleRect());
    dialog->setWindowTitle(QStringLiteral("发送"));
    EXPECT_EQ(dialog->Frame().Title(), QStringLiteral("发送"));
    EXPECT_NE(dialog->grab().toImage().copy(dialog->Frame().TitleRect()), before);
}

TEST(SkinFrame, AMissingBitmapLeavesTheSystemFrameAndNamesAMissingEdge)
{
    const struct
    {
        int id;
        const char* message;  // null: no message
    } cases[] = {
        {IDB_SKIN_TOP, "top"},       {IDB_SKIN_LEFT, "Left"},  {IDB_SKIN_RIGHT, "Right"},
        {IDB_SKIN_BOTTOM, "Bottom"}, {IDB_SKIN_CLOSE, nullptr}, {IDB_SKIN_MINIMIZE, nullptr},
    };
    for (const auto& c : cases) {
        QStringList messages;
        SetMessageBoxHook([&](const QString& text, unsigned) {
            messages << text;
            return IDOK;
        });
        CSkinBitmap::SetLoader([&](int id) { return id == c.id ? QImage() : LoadBitmapResource(id); });
        auto dialog = MakeDialog(false, kNoBoxes);
        dialog->show();
        CSkinBitmap::SetLoader({});
        SetMessageBoxHook({});
        EXPECT_EQ(messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList()) << c.id;
        EXPECT_FALSE(dialog->IsSkinned()) << c.id;
        EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint)) << c.id;
        EXPECT_EQ(dialog->size(), QSize(400, 300)) << c.id;
        EXPECT_EQ(dialog->ClientRect(), dialog->rect()) << c.id;
        EXPECT_EQ(dialog->findChild<QPushButton*>(QStringLiteral("ok"))->pos(), QPoint(20, 20)) << c.id;
    }
}

TEST(SkinFrame, WithTheSkinTurnedOffDialogsArePlain)
{
    CSkinDialog::SetSkinEnabled(false);
    auto dialog = MakeDialog(false, kNoBoxes);
    dialog->show();
    CSkinDialog::SetSkinEnabled(true);
    EXPECT_FALSE(dialog->IsSkinned());
    EXPECT_EQ(dialog->ClientRect(), dialog->rect());
}

TEST(SkinFrame, EscAndAltF4StillCloseTheDialog)
{
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ALT | Qt::Key_F4)}) {
        auto dialog = MakeDialog(false, kNoBoxes);
        ShowActive(dialog.get());
        QTest::keyClick(dialog->findChild<QPushButton*>(QStringLiteral("ok")), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
}

}  // namespace
