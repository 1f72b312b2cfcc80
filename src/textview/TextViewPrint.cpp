// Text view: printing and page setup.
//
// The printer font is the view's font at half its size on paper.  A job
// splits the text into pages once, on its first page, and keeps the first
// line of each page, so printing a range of pages lays out only what it
// prints after that.  Each line is word-wrapped inside the margins; most
// lines of a program are short, and with a fixed-pitch font a line of ASCII
// bytes that fits the width is one row without laying it out, which makes
// paginating millions of lines a pass over their bytes.
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <cmath>

#include "CTextBuffer.h"
#include "CTextView.h"
#include "CWinApp.h"
#include "DataTransfer.h"

namespace {

const QString kPageSetupSection = QStringLiteral("TextEdit\\PageSetup");
constexpr int kDefaultMargin = 1000;  // hundredths of a millimetre
constexpr int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Hundredths of a millimetre in device pixels at dpi.
int HimetricToPixels(int value, int dpi)
{
    return int(std::lround(double(value) * dpi / 2540.0));
}

}  // namespace

QRect CTextView::PrintMargins()
{
    const auto read = [](const char* name) {
        CWinApp* app = AfxGetApp();
        return app ? app->GetProfileInt(kPageSetupSection, QString::fromLatin1(name), kDefaultMargin)
                   : kDefaultMargin;
    };
    QRect margins;
    margins.setCoords(read("LeftMargin"), read("TopMargin"), read("RightMargin"), read("BottomMargin"));
    return margins;
}

QString CTextView::PrintLineText(int line) const
{
    const char* chars = GetLineChars(line);
    const int length = GetLineLength(line);
    std::string expanded;
    expanded.reserve(size_t(length));
    for (int i = 0; i < length; ++i) {
        if (chars[i] == '\t')
            expanded.append(size_t(m_nTabWidth - int(expanded.size()) % m_nTabWidth), ' ');
        else
            expanded.push_back(chars[i]);
    }
    return GbkToUnicode(expanded);
}

void CTextView::OnBeginPrinting(QPainter& dc, CPrintInfo*)
{
    // Half the screen size on paper: the screen's pixels per inch against
    // twice the printer's.
    QFont font = GetViewFont(false, false);
    const int screenDpi = std::max(1, logicalDpiY());
    const int pixels = QFontInfo(font).pixelSize();
    font.setPixelSize(std::max(1, int(std::lround(double(pixels) * dc.device()->logicalDpiY() / (2.0 * screenDpi)))));
    m_pPrinterFont = font;
    dc.setFont(font);
}

void CTextView::OnPrepareDC(QPainter& dc, CPrintInfo* info)
{
    // The page count is known once the text is paginated, before the first
    // page prints; a page past it ends the job.
    if (m_pageFirstLine.empty())
        PaginateDocument(dc, info);
    info->m_bContinuePrinting = info->m_nCurPage <= m_nPageCount;
}

void CTextView::PaginateDocument(QPainter& dc, CPrintInfo* info)
{
    m_rcPage = info->m_rectDraw.normalized();
    const QFontMetrics metrics(dc.font(), dc.device());
    m_nPrintRowHeight = metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), kWrapFlags, QStringLiteral("X")).height();
    // Only a fixed-pitch font lets columns stand for widths.
    const int cell = metrics.horizontalAdvance(QLatin1Char('X'));
    m_nPrintCellWidth = metrics.horizontalAdvance(QLatin1Char('i')) == cell &&
                                metrics.horizontalAdvance(QLatin1Char('W')) == cell &&
                                metrics.horizontalAdvance(QLatin1Char(' ')) == cell
                            ? cell
                            : 0;

    const QRect margins = PrintMargins();
    const int dpiX = dc.device()->logicalDpiX(), dpiY = dc.device()->logicalDpiY();
    m_rcPrintText = m_rcPage.adjusted(HimetricToPixels(margins.left(), dpiX), HimetricToPixels(margins.top(), dpiY),
                                      -HimetricToPixels(margins.right(), dpiX),
                                      -HimetricToPixels(margins.bottom(), dpiY));
    const int band = m_nPrintRowHeight + m_nPrintRowHeight / 2;
    if (m_bPageFooter)
        m_rcPrintText.setBottom(m_rcPrintText.bottom() - band);
    if (m_bPageHeader)
        m_rcPrintText.setTop(m_rcPrintText.top() + band);

    m_pageFirstLine.clear();
    m_pageFirstLine.reserve(32);
    m_pageFirstLine.push_back(0);
    m_nPageCount = 1;
    // QRect's bottom is its last row: the text may reach bottom + 1.
    const int top = m_rcPrintText.top(), end = m_rcPrintText.bottom() + 1;
    int y = top + MeasurePrintLine(dc, 0);
    const int lineCount = GetLineCount();
    for (int line = 1; line < lineCount; ++line) {
        const int height = MeasurePrintLine(dc, line);
        if (y + height <= end) {
            y += height;
            continue;
        }
        if (m_pageFirstLine.size() == m_pageFirstLine.capacity())
            m_pageFirstLine.reserve(m_pageFirstLine.size() + 32);
        m_pageFirstLine.push_back(line);
        ++m_nPageCount;
        y = top + height;
    }
}

int CTextView::MeasurePrintLine(QPainter& dc, int line)
{
    const int length = line < GetLineCount() ? GetLineLength(line) : 0;
    if (length == 0)
        return m_nPrintRowHeight;
    if (m_nPrintCellWidth > 0) {
        const char* chars = GetLineChars(line);
        int columns = 0;
        bool ascii = true;
        for (int i = 0; i < length && ascii; ++i) {
            const auto b = static_cast<unsigned char>(chars[i]);
            ascii = b >= 0x20 && b < 0x7F ? true : b == '\t';
            columns = b == '\t' ? columns + m_nTabWidth - columns % m_nTabWidth : columns + 1;
        }
        if (ascii && columns * m_nPrintCellWidth <= m_rcPrintText.width())
            return m_nPrintRowHeight;
    }
    const QFontMetrics metrics(dc.font(), dc.device());
    const QRect room(0, 0, m_rcPrintText.width(), 1 << 30);
    return metrics.boundingRect(room, kWrapFlags, PrintLineText(line)).height();
}

void CTextView::OnPrint(QPainter& dc, CPrintInfo* info)
{
    if (m_pageFirstLine.empty())
        PaginateDocument(dc, info);
    const int page = info->m_nCurPage;
    if (page < 1 || page > m_nPageCount)
        return;
    // The job's font, whatever a page before this one left selected.
    if (m_pPrinterFont)
        dc.setFont(*m_pPrinterFont);
    const int first = m_pageFirstLine[size_t(page - 1)];
    const int last = page < m_nPageCount ? m_pageFirstLine[size_t(page)] : GetLineCount();
    if (m_bPageHeader)
        DrawPageHeader(dc, page);
    if (m_bPageFooter)
        DrawPageFooter(dc, page);
    dc.setPen(Qt::black);
    int y = m_rcPrintText.top();
    for (int line = first; line < last; ++line) {
        if (GetLineLength(line) == 0) {
            y += m_nPrintRowHeight;
            continue;
        }
        QRect used;
        dc.drawText(QRect(m_rcPrintText.left(), y, m_rcPrintText.width(), m_rcPrintText.bottom() + 1 - y),
                    kWrapFlags, PrintLineText(line), &used);
        y += std::max(used.height(), m_nPrintRowHeight);
    }
}

void CTextView::OnEndPrinting(QPainter&, CPrintInfo*)
{
    m_pPrinterFont.reset();
    m_pageFirstLine.clear();
    m_pageFirstLine.shrink_to_fit();
    m_nPageCount = 0;
    m_nPrintRowHeight = 0;
}

void CTextView::GetPageHeaderText(int, QString& text)
{
    text.clear();
}

void CTextView::GetPageFooterText(int page, QString& text)
{
    text = QStringLiteral("Page %1/%2").arg(page).arg(m_nPageCount);
}

void CTextView::DrawPageHeader(QPainter& dc, int page)
{
    QString text;
    GetPageHeaderText(page, text);
    const int band = m_nPrintRowHeight + m_nPrintRowHeight / 2;
    if (!text.isEmpty())
        dc.drawText(QRect(m_rcPrintText.left(), m_rcPrintText.top() - band, m_rcPrintText.width(), band),
                    Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
}

void CTextView::DrawPageFooter(QPainter& dc, int page)
{
    QString text;
    GetPageFooterText(page, text);
    const int band = m_nPrintRowHeight + m_nPrintRowHeight / 2;
    if (!text.isEmpty())
        dc.drawText(QRect(m_rcPrintText.left(), m_rcPrintText.bottom() + 1, m_rcPrintText.width(), band),
                    Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, text);
}

void CTextView::OnFilePageSetup()
{
    // The margins are the program's, kept apart from the printer's own: the
    // dialog edits a copy of the printer's page, on which only they change.
    QPrinter printer(QPrinter::HighResolution);
    QPageLayout layout = AfxGetApp() ? AfxGetApp()->Printer().pageLayout() : printer.pageLayout();
    const QRect margins = PrintMargins();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF(margins.left() / 100.0, margins.top() / 100.0, margins.right() / 100.0,
                                margins.bottom() / 100.0));
    printer.setPageLayout(layout);
    QPageSetupDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("页面设置"));
    // Paper and orientation come from the printer settings (Print Setup).
    for (const char* name : {"pageSizeCombo", "pageWidth", "pageHeight", "paperSource", "portrait", "landscape",
                             "reverseLandscape", "reversePortrait"})
        if (QWidget* control = dialog.findChild<QWidget*>(QString::fromLatin1(name)))
            control->setEnabled(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileInt(kPageSetupSection, QStringLiteral("LeftMargin"), int(std::lround(chosen.left() * 100)));
        app->WriteProfileInt(kPageSetupSection, QStringLiteral("TopMargin"), int(std::lround(chosen.top() * 100)));
        app->WriteProfileInt(kPageSetupSection, QStringLiteral("RightMargin"), int(std::lround(chosen.right() * 100)));
        app->WriteProfileInt(kPageSetupSection, QStringLiteral("BottomMargin"),
                             int(std::lround(chosen.bottom() * 100)));
    }
}
