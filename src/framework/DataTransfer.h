// Text that leaves the program or comes into it: the clipboard and drag and
// drop.
//
// Inside the program text is GBK bytes.  What the program offers carries the
// bytes unchanged in a private format, so that copy and paste between its own
// windows is byte-exact, and also as Unicode text decoded from GBK for other
// programs.  Text from other programs is encoded to GBK.
#pragma once

#include <QString>
#include <Qt>
#include <functional>
#include <string>
#include <string_view>

class QMimeData;
class QObject;

// The private format of the program's own text.
inline constexpr const char* kGbkTextMimeType = "application/x-tornel-gbk-text";

QString GbkToUnicode(std::string_view bytes);
// Encodes text to GBK into out.  False when a character has no GBK form;
// out is then unchanged and *unrepresentable (when given) is that character.
bool UnicodeToGbk(QStringView text, std::string& out, char32_t* unrepresentable = nullptr);

// Both forms of bytes, ready for the clipboard or a drag.
QMimeData* NewTextMimeData(std::string_view bytes);
bool MimeDataHasText(const QMimeData* data);
// The bytes of data: the private format as it is, else the Unicode text
// encoded (false when there is no text or it cannot be encoded).
bool TextFromMimeData(const QMimeData* data, std::string& out, char32_t* unrepresentable = nullptr);

// Runs a drag of data (which it takes over) from source, allowing the given
// actions, and returns the action the drop target chose (Qt::IgnoreAction
// when nothing was dropped).  Tests replace the platform's drag loop with a
// hook of their own; an empty hook restores it.
using DragDropHook = std::function<Qt::DropAction(QObject* source, QMimeData* data, Qt::DropActions allowed)>;
Qt::DropAction AfxDoDragDrop(QObject* source, QMimeData* data, Qt::DropActions allowed);
void SetDragDropHook(DragDropHook hook);
