// CGradientProgress: a progress bar that reveals a colour gradient from its
// left end as it fills, and can print the percentage over it.  The colours
// belong to fixed places along the bar; the bar is drawn empty before the
// start and again at completion.
#pragma once

#include <QColor>
#include <QProgressBar>

class CGradientProgress : public QProgressBar
{
public:
    explicit CGradientProgress(QWidget* parent = nullptr);

    // Stores the position and moves the bar to it.
    void SetPos(int position);
    int GetPos() const { return m_nPos; }

    // Set by the owner before use.
    QColor m_clrStart{255, 0, 0};
    QColor m_clrEnd{0, 0, 255};
    QColor m_clrBkGround;  // the button face
    QColor m_clrText{255, 255, 255};
    bool m_bShowPercent = false;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
