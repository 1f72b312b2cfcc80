// CSkinButton: makes a QPushButton of a skinned dialog paint itself from
// the dialog's button images (CButtonSkin) and take their rounded shape.
// It hooks the button rather than replacing it, so the button keeps its
// text, shortcut, default-button role, focus and accessibility, and a click
// is the button's own clicked() signal.  Without a loaded skin the button
// paints and behaves as it always does.
#pragma once

#include <QPointF>

#include <memory>
#include <vector>

#include "CWindowHook.h"

class CButtonSkin;
class QImage;
class QPushButton;
class QWidget;

class CSkinButton : public CWindowHook
{
public:
    explicit CSkinButton(CButtonSkin* skin = nullptr) : m_pSkin(skin) {}
    ~CSkinButton() override;

    // Hooks button and skins it with skin (not owned; it must outlive the
    // hook or be set to null first).  A null button only unhooks.
    void SubclassButton(QPushButton* button, CButtonSkin* skin);
    void SetSkin(CButtonSkin* skin);
    QPushButton* Button() const;
    // The CSkinButton that skins button, or null.
    static CSkinButton* FromButton(const QWidget* button);

    bool IsHover() const { return m_bHover; }
    bool IsPressed() const { return m_bPressed; }
    // The image shown now: CButtonSkin::Normal to CButtonSkin::Disabled.
    int ImageIndex() const;
    // The button drawn in its current state at its current size, magenta
    // outside its shape: what it paints, text and all.
    QImage Render() const;

protected:
    bool WindowProc(QEvent* event) override;

private:
    bool IsSkinned() const;
    void UpdateShape();
    void Repaint();
    void Press();
    void Release();
    void OnMouseMove(QPointF point);
    void Unskin();

    CButtonSkin* m_pSkin = nullptr;
    bool m_bHover = false;    // the mouse is over the button's shape
    bool m_bPressed = false;  // the left button or the space bar is down on it
    bool m_bMasked = false;   // the button's mask is ours
    bool m_bTracking = false; // the button's mouse tracking before it was hooked
};

// Gives every push button of dialog a CSkinButton with skin, appended to
// out; buttons skinned already are left alone.  A dialog's push buttons are
// the widgets of class QPushButton exactly (not a subclass, not a tool
// button) that belong to the dialog's own layout: their parents up to the
// dialog are plain containers (QWidget, QFrame, QGroupBox, QDialogButtonBox,
// QTabWidget, QStackedWidget, QSplitter, QScrollArea).  Buttons inside a
// widget of any other class, such as a combo box, a spin box or a nested
// window, belong to that widget and keep their look.
void SkinPushButtons(QWidget* dialog, CButtonSkin* skin, std::vector<std::unique_ptr<CSkinButton>>& out);
