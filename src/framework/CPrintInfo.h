// The state of one print job of a view (CPrintView.h).
#pragma once

#include <QRect>
#include <climits>

class QPrinter;

struct CPrintInfo
{
    QPrinter* m_pPrinter = nullptr;
    bool m_bPreview = false;
    bool m_bDirect = false;
    bool m_bContinuePrinting = true;
    int m_nCurPage = 1;
    // The pages asked for, from 1; the last one is open until the view knows.
    int m_nFromPage = 1;
    int m_nToPage = INT_MAX;
    QRect m_rectDraw;  // the printable area of the page
};
