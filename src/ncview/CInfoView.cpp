#include "CInfoView.h"

#include <QTextBlock>
#include <QTextCursor>

#include "CDocument.h"
#include "MachiningInfo.h"
#include "NcDocument.h"

const QColor CInfoView::kBackground(255, 255, 235);

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

CInfoView::CInfoView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kBackground);
    setPalette(colours);
}

void CInfoView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    setReadOnly(true);
}

void CInfoView::OnUpdate(CView*, long hint, CObject*)
{
    // The statistics do not depend on the tools.
    if (hint == HINT_TOOLS_CHANGED)
        return;
    const auto* doc = dynamic_cast<const CNcDocument*>(GetDocument());
    const double time = doc ? doc->MachiningTime() : 0.0;
    const double rapid = doc ? doc->RapidDistance() : 0.0;
    const double feed = doc ? doc->FeedDistance() : 0.0;
    const NcWarnings warnings = doc ? doc->Warnings() : NcWarnings();
    const std::string text = FormatMachiningInfo(time, rapid, feed, "\n") + FormatWarningLine(warnings, "\n");
    // A new text would put the selection back at the start; the user's
    // selection (say, a figure being copied) stays where it was.
    const QTextCursor before = textCursor();
    const int anchor = before.anchor(), position = before.position();
    // Through the document: the widget would give the new text the format
    // at its cursor, a label's.
    document()->setPlainText(FromUtf8(text));
    ColourLabels();
    QTextCursor after(document());
    const int last = after.document()->characterCount() - 1;
    after.setPosition(std::min(anchor, last));
    after.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    setTextCursor(after);
}

void CInfoView::ApplyFormat(int start, int end, const QColor& colour)
{
    if (start >= end)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QTextCharFormat current = cursor.charFormat();
    if (current.foreground().color() == colour && current.fontWeight() == QFont::Bold)
        return;
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(format);
}

void CInfoView::ColourLabels()
{
    const QString text = toPlainText();
    int from = 0;
    const QString header = FromUtf8(kInfoHeaderLabel);
    if (const int at = text.indexOf(header); at >= 0) {
        ApplyFormat(at, at + int(header.size()), QColor(0, 0, 255));
        from = at + int(header.size());
    }
    // In order: the feed label is also the tail of the rapid label, so each
    // search starts after the label before it.
    for (const std::string_view label : {kInfoTimeLabel, kInfoRapidLabel, kInfoFeedLabel}) {
        const QString name = FromUtf8(label);
        if (const int at = text.indexOf(name, from); at >= 0) {
            ApplyFormat(at, at + int(name.size()), QColor(255, 0, 0));
            from = at + int(name.size());
        }
    }
    // The warning line is red from end to end: it is no label with a value
    // but a caution about all the figures above it.
    const QString warning = FromUtf8(kInfoWarningLabel);
    if (const int at = text.indexOf(warning, from); at >= 0) {
        const int end = text.indexOf(QLatin1Char('\n'), at);
        ApplyFormat(at, end >= 0 ? end : int(text.size()), QColor(255, 0, 0));
    }
}
