#include "DataTransfer.h"

#include <QDrag>
#include <QMimeData>
#include <QStringDecoder>
#include <QStringEncoder>
#include <memory>

namespace {

DragDropHook& Hook()
{
    static DragDropHook hook;
    return hook;
}

}  // namespace

QString GbkToUnicode(std::string_view bytes)
{
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

bool UnicodeToGbk(QStringView text, std::string& out, char32_t* unrepresentable)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return false;
    const QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError()) {
        out.assign(bytes.constData(), size_t(bytes.size()));
        return true;
    }
    // Only now look for the culprit, one character at a time.
    if (unrepresentable) {
        for (const char32_t c : text.toUcs4()) {
            QStringEncoder single("GBK");
            const char32_t one[] = {c};
            // The conversion happens when the result is taken.
            const QByteArray bytes = single.encode(QString::fromUcs4(one, 1));
            if (single.hasError()) {
                *unrepresentable = c;
                break;
            }
        }
    }
    return false;
}

QMimeData* NewTextMimeData(std::string_view bytes)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kGbkTextMimeType), QByteArray(bytes.data(), qsizetype(bytes.size())));
    data->setText(GbkToUnicode(bytes));
    return data;
}

bool MimeDataHasText(const QMimeData* data)
{
    return data && (data->hasFormat(QString::fromLatin1(kGbkTextMimeType)) || data->hasText());
}

bool TextFromMimeData(const QMimeData* data, std::string& out, char32_t* unrepresentable)
{
    if (!data)
        return false;
    const QString own = QString::fromLatin1(kGbkTextMimeType);
    if (data->hasFormat(own)) {
        const QByteArray bytes = data->data(own);
        out.assign(bytes.constData(), size_t(bytes.size()));
        return true;
    }
    if (!data->hasText())
        return false;
    return UnicodeToGbk(data->text(), out, unrepresentable);
}

Qt::DropAction AfxDoDragDrop(QObject* source, QMimeData* data, Qt::DropActions allowed)
{
    if (Hook()) {
        const std::unique_ptr<QMimeData> owned(data);
        return Hook()(source, data, allowed);
    }
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    return drag->exec(allowed, Qt::CopyAction);
}

void SetDragDropHook(DragDropHook hook)
{
    Hook() = std::move(hook);
}
