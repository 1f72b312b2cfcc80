// The document of one NC program: its text, the code view's font, the
// interpreter with the toolpath and tool list, and the machining statistics
// and warnings of the last interpretation.  It also owns the tool
// configuration dialog while one is open for it.
#pragma once

#include <QPointer>

#include "CDocument.h"
#include "CTextBuffer.h"
#include "CToolConfigDlg.h"
#include "NcDocument.h"
#include "LogFont.h"
#include "NcInterpreter.h"
#include "ToolDocument.h"

class CTornelDoc : public CDocument, public CNcDocument, public CToolDocument
{
public:
    CTornelDoc();
    ~CTornelDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    void DeleteContents() override;
    QString LastSaveError() const override;

    // Relayed from the simulation: mark line in the code view.
    void ShowLine(int line) override;
    // Relayed from the code view: select line's record in the simulation.
    void ShowLineInSimulation(int line) override;

    CTextBuffer* CodeBuffer() override { return &m_xTextBuffer; }
    const LogFont& CodeFont() const override { return m_lf; }
    const MoveList& Moves() const override { return m_interpreter.Moves(); }
    const std::vector<ToolSlot>& Tools() const override { return m_interpreter.Tools(); }
    std::vector<ToolSlot>& ToolSlots() override { return m_interpreter.Tools(); }
    // The views repaint the tools, and rebuild nothing.
    void OnToolDefinitionsChanged() override;
    double MachiningTime() const override { return m_machiningTime; }
    double RapidDistance() const override { return m_rapidDistance; }
    double FeedDistance() const override { return m_feedDistance; }
    NcWarnings Warnings() const override { return m_warnings; }

    CTextBuffer& TextBuffer() { return m_xTextBuffer; }
    const CTextBuffer& TextBuffer() const { return m_xTextBuffer; }
    NcInterpreter& Interpreter() { return m_interpreter; }
    const NcInterpreter& Interpreter() const { return m_interpreter; }
    const LogFont& Font() const { return m_lf; }
    // The open tool configuration dialog, or null.
    CToolConfigDlg* ToolDialog() const { return m_toolDialog; }

    // Statistics and warnings of the last interpretation, as the information
    // view prints them.
    double m_feedDistance = 0.0;
    double m_rapidDistance = 0.0;
    double m_machiningTime = 0.0;
    NcWarnings m_warnings;

    void OnToggleReadOnly();
    void OnUpdateToggleReadOnly(CCmdUI* ui);
    void OnReinterpret();
    void OnCalculator();
    // Opens the tool configuration dialog, or brings up the one already
    // open for this document.
    void OnConfigureTools();
    // Send this document's text to the machine tool; receive a program
    // from it into "Temp.txt".  Both dialogs are modal.
    void OnSendToMachine();
    void OnReceiveFromMachine();

    DECLARE_COMMAND_MAP()

private:
    // The document's buffer keeps its modified flag in the document, so that
    // the prompt to save on close follows the text.
    class CDocTextBuffer : public CTextBuffer
    {
    public:
        explicit CDocTextBuffer(CTornelDoc* document) : m_pDocument(document) {}
        void SetModified(bool modified) override { m_pDocument->SetModifiedFlag(modified); }

    private:
        CTornelDoc* m_pDocument;
    };

    void CopyStatistics();

    CDocTextBuffer m_xTextBuffer{this};
    LogFont m_lf;
    NcInterpreter m_interpreter;
    // Deleted with the document, so that it never edits a list that is gone.
    QPointer<CToolConfigDlg> m_toolDialog;
};
