// The skinned button handles its own painting, mouse and space bar while
// its skin is loaded, and hands every other event to the QPushButton.  The
// mouse is tracked against the button's shape (its mask), not its
// rectangle, so the rounded corners belong to the dialog behind it.
//
// A click is made with QAbstractButton::click(), so it comes out as the
// button's pressed(), released() and clicked() signals, exactly once, and
// does nothing on a button that is disabled.
#include "CSkinButton.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>

#include "CButtonSkin.h"
#include "CSkinBitmap.h"

namespace {

// The button's dynamic property that points back at its CSkinButton.
constexpr char kSkinProperty[] = "tornelSkinButton";

const QColor kDisabledText(100, 100, 100);

}  // namespace

CSkinButton::~CSkinButton()
{
    Unskin();
}

void CSkinButton::SubclassButton(QPushButton* button, CButtonSkin* skin)
{
    Unskin();
    m_pSkin = skin;
    m_bHover = m_bPressed = false;
    if (button == nullptr)
        return;
    HookWindow(button);
    button->setProperty(kSkinProperty, QVariant::fromValue(static_cast<void*>(this)));
    // Hover is followed by the moves over the button, pressed or not.
    m_bTracking = button->hasMouseTracking();
    button->setMouseTracking(true);
    UpdateShape();
    button->update();
}

void CSkinButton::SetSkin(CButtonSkin* skin)
{
    m_pSkin = skin;
    if (QPushButton* button = Button()) {
        UpdateShape();
        button->update();
    }
}

void CSkinButton::Unskin()
{
    QPushButton* button = Button();
    if (button != nullptr) {
        if (m_bMasked)
            button->clearMask();
        button->setProperty(kSkinProperty, QVariant());
        button->setMouseTracking(m_bTracking);
        button->update();
    }
    m_bMasked = false;
    HookWindow(nullptr);
}

QPushButton* CSkinButton::Button() const
{
    // Null once the button is gone: its hooks are detached with it.
    return static_cast<QPushButton*>(HookedWindow());
}

CSkinButton* CSkinButton::FromButton(const QWidget* button)
{
    if (button == nullptr)
        return nullptr;
    return static_cast<CSkinButton*>(button->property(kSkinProperty).value<void*>());
}

bool CSkinButton::IsSkinned() const
{
    return Button() != nullptr && m_pSkin != nullptr && m_pSkin->IsLoaded();
}

int CSkinButton::ImageIndex() const
{
    const QPushButton* button = Button();
    if (button == nullptr || !button->isEnabled())
        return CButtonSkin::Disabled;
    // A button pushed by its shortcut or by the dialog's Return key shows
    // pressed too, while QAbstractButton holds it down.
    if ((m_bHover && m_bPressed) || button->isDown())
        return CButtonSkin::Pressed;
    if (m_bHover)
        return CButtonSkin::Hover;
    if (button->hasFocus())
        return CButtonSkin::Focused;
    return CButtonSkin::Normal;
}

QImage CSkinButton::Render() const
{
    const QPushButton* button = Button();
    if (!IsSkinned() || button->width() <= 0 || button->height() <= 0)
        return QImage();
    QImage image(button->size(), QImage::Format_RGB32);
    image.fill(CButtonSkin::kTransparent);
    QPainter painter(&image);
    m_pSkin->Draw(painter, ImageIndex(), image.rect());

    // The caption in the dialog's font, on one line in the middle.
    painter.setFont(button->window()->font());
    painter.setPen(button->isEnabled() ? button->palette().color(QPalette::Active, QPalette::ButtonText)
                                       : kDisabledText);
    int flags = Qt::AlignCenter | Qt::TextSingleLine;
    flags |= button->style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, button) ? Qt::TextShowMnemonic
                                                                                       : Qt::TextHideMnemonic;
    painter.drawText(image.rect(), flags, button->text());
    return image;
}

void CSkinButton::UpdateShape()
{
    QPushButton* button = Button();
    if (button == nullptr)
        return;
    if (!IsSkinned()) {
        if (m_bMasked)
            button->clearMask();
        m_bMasked = false;
        return;
    }
    // Every image has the same corners; the shape follows the one shown.
    QImage image(button->size(), QImage::Format_RGB32);
    image.fill(CButtonSkin::kTransparent);
    {
        QPainter painter(&image);
        m_pSkin->Draw(painter, ImageIndex(), image.rect());
    }
    const QRegion shape = CSkinBitmap::RegionFromColour(image, QColor::fromRgb(CButtonSkin::kTransparent));
    if (!m_bMasked || button->mask() != shape)
        button->setMask(shape);
    m_bMasked = true;
}

void CSkinButton::Repaint()
{
    if (QPushButton* button = Button())
        button->repaint();
}

void CSkinButton::Press()
{
    m_bPressed = m_bHover = true;
    Repaint();
    QPushButton* button = Button();
    if (button != nullptr && (button->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus)
        button->setFocus(Qt::MouseFocusReason);
}

void CSkinButton::Release()
{
    QPushButton* button = Button();
    // Only a press made on this button clicks it: a release alone, say after
    // a press that a popup took, does not.
    const bool click = m_bPressed && m_bHover;
    m_bPressed = m_bHover = false;
    Repaint();
    if (click && button != nullptr)
        button->click();
}

void CSkinButton::OnMouseMove(QPointF point)
{
    QPushButton* button = Button();
    const bool inside = button->mask().contains(point.toPoint());
    if (inside != m_bHover) {
        m_bHover = inside;
        Repaint();
    }
}

bool CSkinButton::WindowProc(QEvent* event)
{
    QPushButton* button = Button();
    if (!IsSkinned()) {
        // The skin went away after the button was hooked: give the button
        // its rectangle back and let it be an ordinary one.
        if (m_bMasked)
            UpdateShape();
        return Default();
    }
    switch (event->type()) {
    case QEvent::Paint: {
        UpdateShape();
        QPainter painter(button);
        painter.setClipRegion(button->mask());
        painter.drawImage(0, 0, Render());
        return true;
    }
    case QEvent::Resize:
        UpdateShape();
        return Default();
    case QEvent::EnabledChange:
        // A disabled button shows image 4 whatever the mouse did before.
        if (!button->isEnabled())
            m_bHover = m_bPressed = false;
        Repaint();
        return Default();
    default:
        break;
    }
    // A disabled button gets no mouse or keys; Qt's own handler drops them.
    if (!button->isEnabled())
        return Default();

    switch (event->type()) {
    case QEvent::MouseMove:
        OnMouseMove(static_cast<QMouseEvent*>(event)->position());
        event->accept();
        return true;
    case QEvent::Leave:
        // The pointer left the shape with no button down: nothing tracks it
        // here any longer.  While pressed, the moves decide.
        if (!m_bPressed && m_bHover) {
            m_bHover = false;
            Repaint();
        }
        return Default();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is a press like the first, so
        // a quick double click gives two clicks, as on a plain button.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return Default();
        Press();
        event->accept();
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return Default();
        Release();
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier)
            return Default();
        // Holding the bar down repeats the key; only the first press and
        // the last release count.
        if (!key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                Press();
            else
                Release();
        }
        event->accept();
        return true;
    }
    case QEvent::FocusOut:
        // A press of the space bar whose release went to another widget.
        if (m_bPressed && QApplication::mouseButtons() == Qt::NoButton) {
            m_bPressed = m_bHover = false;
            Repaint();
        }
        return Default();
    default:
        return Default();
    }
}

namespace {

bool IsPlainContainer(const QWidget* widget)
{
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject
           || type == &QGroupBox::staticMetaObject || type == &QDialogButtonBox::staticMetaObject
           || type == &QTabWidget::staticMetaObject || type == &QStackedWidget::staticMetaObject
           || type == &QSplitter::staticMetaObject || type == &QScrollArea::staticMetaObject;
}

bool BelongsToDialog(const QPushButton* button, const QWidget* dialog)
{
    for (const QWidget* parent = button->parentWidget(); parent != dialog; parent = parent->parentWidget()) {
        if (parent == nullptr || parent->isWindow() || !IsPlainContainer(parent))
            return false;
    }
    return true;
}

}  // namespace

void SkinPushButtons(QWidget* dialog, CButtonSkin* skin, std::vector<std::unique_ptr<CSkinButton>>& out)
{
    if (dialog == nullptr)
        return;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->metaObject() != &QPushButton::staticMetaObject || !BelongsToDialog(button, dialog)
            || CSkinButton::FromButton(button) != nullptr)
            continue;
        auto hook = std::make_unique<CSkinButton>();
        hook->SubclassButton(button, skin);
        out.push_back(std::move(hook));
    }
}
