// The skinned push button: its artwork, the image it shows in each state
// read back from the screen, its shape, and its clicks by mouse and keys.
#include <QCommandLinkButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <set>

#include "CButtonSkin.h"
#include "CSkinButton.h"
#include "Resources.h"
#include "ids.h"

namespace {

const QRgb kMagenta = qRgb(255, 0, 255);
const QRect kButtonRect(20, 20, 100, 30);

// A dialog that counts the presses that reach it.
class Dialog : public QDialog
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        QDialog::mousePressEvent(event);
    }
};

// A dialog with an edit box, the button under test (the default one) and a
// second button, shown, with the focus in the edit box.
struct Fixture
{
    explicit Fixture(CButtonSkin* skin)
    {
        dialog.resize(240, 120);
        edit = new QLineEdit(&dialog);
        edit->setGeometry(20, 70, 100, 24);
        button = new QPushButton(QStringLiteral("确定"), &dialog);
        button->setGeometry(kButtonRect);
        button->setDefault(true);
        other = new QPushButton(QStringLiteral("Cancel"), &dialog);
        other->setGeometry(130, 20, 100, 30);
        hook.SubclassButton(button, skin);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        edit->setFocus();
        QCoreApplication::processEvents();
    }

    QWindow* Window() { return dialog.windowHandle(); }
    // A point of the button, in the dialog.
    QPoint At(QPoint inButton) const { return button->mapTo(&dialog, inButton); }
    QPoint Centre() const { return At(button->rect().center()); }
    static QPoint Outside() { return {200, 100}; }

    Dialog dialog;
    QLineEdit* edit;
    QPushButton* button;
    QPushButton* other;
    CSkinButton hook;
};

// Where the caption may draw: its bounding box in the middle of the button,
// with a pixel to spare.
QRect CaptionArea(const QPushButton* button)
{
    const QFontMetrics metrics(button->window()->font());
    QRect text = metrics.boundingRect(button->rect(), Qt::AlignCenter, button->text());
    return text.adjusted(-2, -2, 2, 2);
}

// The skin's image index drawn directly at size.
QImage Expected(const CButtonSkin& skin, int index, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter painter(&image);
    skin.Draw(painter, index, image.rect());
    return image;
}

// The index of the one image that the grabbed button matches pixel for
// pixel inside its shape, the caption aside; -1 for none.
int ShownImage(const CButtonSkin& skin, QPushButton* button)
{
    const QImage grabbed = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect caption = CaptionArea(button);
    const QRegion shape = button->mask();
    int shown = -1;
    for (int index = 0; index < CButtonSkin::kImageCount; ++index) {
        const QImage expected = Expected(skin, index, button->size());
        bool same = true;
        for (int y = 0; y < expected.height() && same; ++y) {
            for (int x = 0; x < expected.width() && same; ++x) {
                if (shape.contains(QPoint(x, y)) && !caption.contains(x, y))
                    same = grabbed.pixel(x, y) == expected.pixel(x, y);
            }
        }
        if (same) {
            if (shown != -1)
                return -1;  // two images alike: the test could not tell them apart
            shown = index;
        }
    }
    return shown;
}

// The darkest channel of any pixel of the caption.
int DarkestCaptionChannel(QPushButton* button)
{
    const QImage grabbed = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int darkest = 255;
    const QRect caption = CaptionArea(button) & button->rect();
    for (int y = caption.top(); y <= caption.bottom(); ++y) {
        for (int x = caption.left(); x <= caption.right(); ++x) {
            const QRgb pixel = grabbed.pixel(x, y);
            darkest = std::min({darkest, qRed(pixel), qGreen(pixel), qBlue(pixel)});
        }
    }
    return darkest;
}

CButtonSkin& LoadedSkin()
{
    static CButtonSkin skin;
    if (!skin.IsLoaded()) {
        EXPECT_TRUE(skin.Load());
    }
    return skin;
}

TEST(SkinButton, TheArtworkHasFiveImagesWithRoundCornersCutCleanlyFromMagenta)
{
    const QImage art = LoadBitmapResource(IDB_SKIN_BUTTON).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(art.size(), QSize(360, 24));
    for (int i = 0; i < 5; ++i) {
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 72; ++x) {
                const QRgb pixel = art.pixel(72 * i + x, y);
                const bool inCorner = (x < 4 || x >= 68) && (y < 4 || y >= 20);
                if (pixel == kMagenta) {
                    EXPECT_TRUE(inCorner) << "image " << i << " at " << x << ", " << y;
                    continue;
                }
                // Nothing smoothed into the magenta.
                const int distance = std::abs(qRed(pixel) - 255) + qGreen(pixel) + std::abs(qBlue(pixel) - 255);
                EXPECT_GT(distance, 120) << "image " << i << " at " << x << ", " << y;
            }
        }
        for (auto [x, y] : {std::pair{0, 0}, {71, 0}, {0, 23}, {71, 23}})
            EXPECT_EQ(art.pixel(72 * i + x, y), kMagenta) << "image " << i << " corner " << x << ", " << y;
    }
    CButtonSkin skin;
    ASSERT_TRUE(skin.Load());
    EXPECT_EQ(skin.Margins(), QMargins(12, 11, 12, 11));

    // Smaller than its margins, a button keeps its corners and its middle.
    const QImage small = Expected(skin, CButtonSkin::Normal, QSize(17, 9));
    EXPECT_EQ(small.pixel(0, 0), kMagenta);
    EXPECT_EQ(small.pixel(16, 8), kMagenta);
    EXPECT_EQ(small.pixel(8, 0), art.pixel(36, 0));
    for (int x = 1; x < 16; ++x)
        EXPECT_NE(small.pixel(x, 4), kMagenta) << x;
}

TEST(SkinButton, EachStateShowsItsImageAndItsShapeLeavesTheCornersToTheDialog)
{
    CButtonSkin& skin = LoadedSkin();
    Fixture f(&skin);
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Normal);

    // The shape: the magenta corners are not the button's.
    const QRegion shape = f.button->mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(f.button->width() - 1, f.button->height() - 1)));
    EXPECT_TRUE(shape.contains(QPoint(5, 0)));
    EXPECT_TRUE(shape.contains(f.button->rect().center()));

    QTest::mouseMove(f.Window(), f.Centre());
    EXPECT_TRUE(f.hook.IsHover());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Hover);
    // Onto a corner: off the shape, so no longer hovering.
    QTest::mouseMove(f.Window(), f.At({0, 0}));
    EXPECT_FALSE(f.hook.IsHover());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Normal);

    QTest::mouseMove(f.Window(), f.Centre());
    QTest::mousePress(f.Window(), Qt::LeftButton, {}, f.Centre());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Pressed);
    QTest::mouseMove(f.Window(), Fixture::Outside());
    // Pressed, so focused, but off the shape.
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Focused);
    QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, Fixture::Outside());
    EXPECT_TRUE(f.button->hasFocus());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Focused);

    f.other->setFocus();
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Normal);
    f.button->setEnabled(false);
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Disabled);
}

TEST(SkinButton, AClickInACornerReachesTheDialogAndOneInsideClicksOnce)
{
    Fixture f(&LoadedSkin());
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.At({0, 0}));
    QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.At({f.button->width() - 1, f.button->height() - 1}));
    EXPECT_EQ(f.dialog.presses, 2);
    EXPECT_EQ(clicked.count(), 0);

    QTest::mouseMove(f.Window(), f.Centre());
    QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.Centre());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(f.dialog.presses, 2);
    EXPECT_TRUE(f.button->hasFocus());

    // A quick double click is two clicks, as on a plain button.
    QTest::mouseDClick(f.Window(), Qt::LeftButton, {}, f.Centre());
    EXPECT_EQ(clicked.count(), 3);

    // A right click is not a click.
    QTest::mouseClick(f.Window(), Qt::RightButton, {}, f.Centre());
    EXPECT_EQ(clicked.count(), 3);
}

TEST(SkinButton, ReleasingOffTheButtonDoesNotClickUnlessTheMouseCameBack)
{
    Fixture f(&LoadedSkin());
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    QTest::mouseMove(f.Window(), f.Centre());
    QTest::mousePress(f.Window(), Qt::LeftButton, {}, f.Centre());
    QTest::mouseMove(f.Window(), Fixture::Outside());
    QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, Fixture::Outside());
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(f.hook.IsPressed());

    // Off through a corner of the button itself, then back.
    QTest::mouseMove(f.Window(), f.Centre());
    QTest::mousePress(f.Window(), Qt::LeftButton, {}, f.Centre());
    QTest::mouseMove(f.Window(), f.At({0, 0}));
    EXPECT_FALSE(f.hook.IsHover());
    QTest::mouseMove(f.Window(), f.At({30, 15}));
    QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, f.At({30, 15}));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SkinButton, TheSpaceBarAndTheDialogsReturnKeyClickOnce)
{
    CButtonSkin& skin = LoadedSkin();
    Fixture f(&skin);
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    f.button->setFocus();
    QTest::keyPress(f.button, Qt::Key_Space);
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Pressed);
    EXPECT_EQ(clicked.count(), 0);
    // Holding the bar repeats it: still one click, on the last release.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QCoreApplication::sendEvent(f.button, &release);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QCoreApplication::sendEvent(f.button, &press);
    }
    EXPECT_EQ(clicked.count(), 0);
    QTest::keyRelease(f.button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Focused);

    // A press of the bar is dropped when the focus goes before its release.
    QTest::keyPress(f.button, Qt::Key_Space);
    f.other->setFocus();
    EXPECT_FALSE(f.hook.IsPressed());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Normal);
    f.button->setFocus();
    QTest::keyRelease(f.button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);

    // Return in the edit box goes to the dialog's default button.
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 2);
}

TEST(SkinButton, ADisabledButtonShowsImageFourInGreyWhateverTheMouseDoes)
{
    CButtonSkin& skin = LoadedSkin();
    Fixture f(&skin);
    QSignalSpy clicked(f.button, &QPushButton::clicked);
    // Enabled, the caption is in the button text colour.
    EXPECT_LT(DarkestCaptionChannel(f.button), 90);

    QTest::mouseMove(f.Window(), f.Centre());
    QTest::mousePress(f.Window(), Qt::LeftButton, {}, f.Centre());
    f.button->setEnabled(false);
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Disabled);
    QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, f.Centre());
    QTest::mouseMove(f.Window(), f.At({40, 10}));
    QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.Centre());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Disabled);
    EXPECT_EQ(clicked.count(), 0);
    // Grey (100, 100, 100) over a lighter face: nothing darker than the
    // grey, and the caption is there.
    const int darkest = DarkestCaptionChannel(f.button);
    EXPECT_GE(darkest, 99);
    EXPECT_LT(darkest, 170);

    // Enabled again, it forgot the mouse of its disabled time.
    f.button->setEnabled(true);
    EXPECT_FALSE(f.hook.IsHover());
    EXPECT_FALSE(f.hook.IsPressed());
    EXPECT_EQ(ShownImage(skin, f.button), CButtonSkin::Normal);
}

TEST(SkinButton, WithoutALoadedSkinTheButtonIsAPlainPushButton)
{
    CButtonSkin unloaded;
    for (CButtonSkin* skin : {static_cast<CButtonSkin*>(nullptr), &unloaded}) {
        Fixture f(skin);
        QPushButton plain(QStringLiteral("确定"), &f.dialog);
        plain.setGeometry(20, 60, 100, 30);
        plain.show();
        f.button->setDefault(false);
        EXPECT_TRUE(f.button->mask().isEmpty());
        EXPECT_EQ(f.button->grab().toImage(), plain.grab().toImage());

        QSignalSpy clicked(f.button, &QPushButton::clicked);
        QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.At({2, 2}));
        QTest::mouseClick(f.Window(), Qt::LeftButton, {}, f.Centre());
        QTest::mousePress(f.Window(), Qt::LeftButton, {}, f.Centre());
        QTest::mouseMove(f.Window(), Fixture::Outside());
        QTest::mouseRelease(f.Window(), Qt::LeftButton, {}, Fixture::Outside());
        EXPECT_EQ(clicked.count(), 2);
        EXPECT_EQ(f.dialog.presses, 0);
    }
}

TEST(SkinButton, TheDialogsOwnPushButtonsAreSkinnedOnce)
{
    CButtonSkin& skin = LoadedSkin();
    QDialog dialog;
    auto* direct = new QPushButton(QStringLiteral("Send"), &dialog);
    auto* group = new QGroupBox(&dialog);
    auto* grouped = new QPushButton(QStringLiteral("Browse"), group);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* tool = new QToolButton(&dialog);
    auto* link = new QCommandLinkButton(QStringLiteral("Link"), &dialog);
    auto* label = new QLabel(&dialog);
    auto* inLabel = new QPushButton(QStringLiteral("Inner"), label);
    auto* nested = new QDialog(&dialog);
    auto* inNested = new QPushButton(QStringLiteral("Nested"), nested);

    std::vector<std::unique_ptr<CSkinButton>> hooks;
    SkinPushButtons(&dialog, &skin, hooks);
    std::set<const QWidget*> skinned;
    for (const auto& hook : hooks)
        skinned.insert(hook->Button());
    const std::set<const QWidget*> expected{direct, grouped, box->button(QDialogButtonBox::Ok),
                                            box->button(QDialogButtonBox::Cancel)};
    EXPECT_EQ(skinned, expected);
    for (const QWidget* widget : {static_cast<QWidget*>(tool), static_cast<QWidget*>(link),
                                  static_cast<QWidget*>(inLabel), static_cast<QWidget*>(inNested)})
        EXPECT_EQ(CSkinButton::FromButton(widget), nullptr);
    EXPECT_EQ(CSkinButton::FromButton(direct), hooks.front().get());

    SkinPushButtons(&dialog, &skin, hooks);
    EXPECT_EQ(hooks.size(), 4u);

    // A button that goes before its hook leaves the hook harmless; one that
    // outlives its hook is a plain button again.
    EXPECT_FALSE(grouped->mask().isEmpty());
    delete direct;
    hooks.clear();
    EXPECT_TRUE(grouped->mask().isEmpty());
    EXPECT_FALSE(grouped->hasMouseTracking());
    EXPECT_EQ(CSkinButton::FromButton(grouped), nullptr);
}

}  // namespace
