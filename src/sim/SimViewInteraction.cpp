// CSimView: what a frame draws while the camera moves - the interaction
// state and its settle timer, the exact arrays and the reduced levels, and
// the worker thread that builds the levels.
#include <QFocusEvent>
#include <QHideEvent>

#include "CSimView.h"
#include "MoveList.h"

// ---- Interaction.

void CSimView::BeginInteraction(bool dragging)
{
    m_interacting = true;
    m_dragging = m_dragging || dragging;
    // The button is still down: the release settles.
    if (dragging)
        m_settleTimer.stop();
}

void CSimView::EndDrag()
{
    m_dragging = false;
    if (m_interacting)
        SettleSoon();
}

void CSimView::SettleSoon()
{
    m_settleTimer.start();
}

void CSimView::EndInteraction()
{
    m_settleTimer.stop();
    m_interacting = false;
    m_dragging = false;
}

void CSimView::OnSettleTimer()
{
    // A wheel step during a drag: the drag's release settles.
    if (m_dragging)
        return;
    EndInteraction();
    update();
}

// Without its release a drag would leave the frames reduced (a window that
// takes the mouse away, the pane hidden half-way); losing the focus or the
// screen ends the drag as the release would.
void CSimView::focusOutEvent(QFocusEvent* event)
{
    QOpenGLWidget::focusOutEvent(event);
    if (m_dragging)
        EndDrag();
}

void CSimView::hideEvent(QHideEvent* event)
{
    QOpenGLWidget::hideEvent(event);
    if (m_dragging)
        EndDrag();
}

// ---- Drawing data.

void CSimView::PrepareBatch(const MoveList& moves)
{
    if (m_batch && m_batch->IsBuiltFor(moves))
        return;
    // A list of the same size at the same address may still be a new one;
    // ComputeExtents releases the old arrays whenever the list changes.
    StopReduction();
    auto batch = std::make_shared<ToolpathBatch>();
    batch->Build(moves, m_arcTolerance);
    m_batch = std::move(batch);
}

bool CSimView::eventFilter(QObject* watched, QEvent* event)
{
    // The window's repaint is under way: what waited for it comes after.
    if (watched == m_buildAfterRepaintOf && event->type() == QEvent::UpdateRequest) {
        m_buildAfterRepaintOf->removeEventFilter(this);
        m_buildAfterRepaintOf = nullptr;
        QTimer::singleShot(0, this, [this] {
            PrepareBatch(Moves());
            update();
        });
    }
    return QOpenGLWidget::eventFilter(watched, event);
}

void CSimView::ReleaseDrawingData()
{
    StopReduction();
    m_batch.reset();
    // New arrays may come at the old ones' address.
    DiscardPicture();
}

void CSimView::StartReduction()
{
    if (m_reduction || m_reductionWorker.joinable() || !m_batch || m_batch->RecordCount() == 0)
        return;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_reductionCancel = cancel;
    m_reductionWorker = std::thread([this, batch = m_batch, cancel] {
        std::shared_ptr<const ToolpathReduction> reduction = ToolpathReduction::Build(*batch, cancel.get());
        if (!reduction)
            return;
        // Handed over on the view's own thread.  The view waits for this
        // thread before it goes, so it is still there to post to; a result
        // for arrays that were replaced meanwhile is dropped there.
        QMetaObject::invokeMethod(
            this,
            [this, reduction, cancel] {
                if (cancel->load())
                    return;
                m_reductionWorker.join();
                m_reduction = reduction;
                // Nothing changes on a still picture; during an interaction
                // the frames get lighter from the next one on.
                if (m_interacting)
                    update();
            },
            Qt::QueuedConnection);
    });
}

void CSimView::StopReduction()
{
    if (m_reductionCancel)
        m_reductionCancel->store(true);
    // The worker looks at the flag often enough to leave within some tens
    // of milliseconds.
    if (m_reductionWorker.joinable())
        m_reductionWorker.join();
    m_reductionCancel.reset();
    m_reduction.reset();
}
