// The print loop of a view, on the application's printer.
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>

#include "AfxMessageBox.h"
#include "CPrintView.h"
#include "CWinApp.h"
#include "FrameworkIds.h"

bool CPrintView::DoPreparePrinting(CPrintInfo* info)
{
    if (!info->m_bDirect && !info->m_bPreview) {
        QPrintDialog dialog(info->m_pPrinter, PrintDialogParent());
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    const QPrinter& printer = *info->m_pPrinter;
    const bool range = printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0;
    info->m_nFromPage = range ? printer.fromPage() : 1;
    info->m_nToPage = range && printer.toPage() > 0 ? printer.toPage() : INT_MAX;
    return true;
}

bool CPrintView::PrintJob(QPrinter& printer, CPrintInfo& info)
{
    info.m_pPrinter = &printer;
    QPainter dc;
    if (!dc.begin(&printer))
        return false;
    info.m_rectDraw = QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    OnBeginPrinting(dc, &info);
    bool first = true;
    for (info.m_nCurPage = info.m_nFromPage; info.m_nCurPage <= info.m_nToPage; ++info.m_nCurPage) {
        info.m_bContinuePrinting = true;
        OnPrepareDC(dc, &info);
        if (!info.m_bContinuePrinting || (!first && !printer.newPage()))
            break;
        first = false;
        OnPrint(dc, &info);
    }
    OnEndPrinting(dc, &info);
    dc.end();
    return true;
}

void CPrintView::OnFilePrint(int id)
{
    // The printer Print Setup chose; without an application, the default.
    std::unique_ptr<QPrinter> own;
    if (!AfxGetApp())
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
    CPrintInfo info;
    info.m_pPrinter = own ? own.get() : &AfxGetApp()->Printer();
    info.m_bDirect = id == ID_FILE_PRINT_DIRECT;
    info.m_bPreview = id == ID_FILE_PRINT_PREVIEW;
    if (!OnPreparePrinting(&info))
        return;
    if (!info.m_bPreview) {
        if (!PrintJob(*info.m_pPrinter, info))
            AfxMessageBox(QStringLiteral("无法开始打印: 打印机 \"%1\" 不能使用")
                              .arg(info.m_pPrinter->outputFormat() == QPrinter::PdfFormat
                                       ? info.m_pPrinter->outputFileName()
                                       : info.m_pPrinter->printerName()),
                          MB_OK | MB_ICONWARNING);
        return;
    }
    QPrintPreviewDialog preview(info.m_pPrinter, PrintDialogParent());
    preview.setWindowTitle(QStringLiteral("打印预览"));
    // The preview lays the pages out again whenever it needs them.
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [this, &info](QPrinter* printer) {
        CPrintInfo job = info;
        PrintJob(*printer, job);
    });
    preview.exec();
}
