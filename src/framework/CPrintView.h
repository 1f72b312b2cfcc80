// Printing a view: the loop that runs a print job through the standard
// print dialog, straight to the chosen printer, or into a print preview.
//
// A job is: OnBeginPrinting, then for each page OnPrepareDC (which may end
// the job: a view finds its page count while printing) and OnPrint, then
// OnEndPrinting.  Logical units are the printer's device pixels, the origin
// the top left of the printable area.
#pragma once

#include "CPrintInfo.h"

class QPainter;
class QPrinter;
class QWidget;

class CPrintView
{
public:
    virtual ~CPrintView() = default;

    // Before the job: shows the print dialog (DoPreparePrinting); false
    // cancels the job.
    virtual bool OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
    virtual void OnBeginPrinting(QPainter& dc, CPrintInfo* info) = 0;
    // Before each page; clearing m_bContinuePrinting ends the job.
    virtual void OnPrepareDC(QPainter& dc, CPrintInfo* info) = 0;
    virtual void OnPrint(QPainter& dc, CPrintInfo* info) = 0;
    virtual void OnEndPrinting(QPainter& dc, CPrintInfo* info) = 0;

    // The print dialog over info's printer, unless the job is direct or a
    // preview; false when the user cancels.  Sets the page range.
    bool DoPreparePrinting(CPrintInfo* info);
    // Runs a job on printer; false when the printer could not be started.
    bool PrintJob(QPrinter& printer, CPrintInfo& info);

    // The commands ID_FILE_PRINT (with the dialog), ID_FILE_PRINT_DIRECT
    // and ID_FILE_PRINT_PREVIEW, for a view's command map to call.
    void OnFilePrint(int id);

protected:
    // The window the print dialogs belong to.
    virtual QWidget* PrintDialogParent() = 0;
};
