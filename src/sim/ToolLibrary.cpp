// Reading and writing the tool library's file.
#include "ToolLibrary.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "ToolSlotText.h"

namespace {

constexpr int kFieldCount = 12;

// The numbers after T, name and type, in file order (that of ToolSlot): TD
// is a double, the others are floats.
struct NumberField
{
    const char* name;
    float ToolSlot::*single;
    double ToolSlot::*wide;
};
constexpr NumberField kNumberFields[] = {
    {"SD", &ToolSlot::SD, nullptr}, {"TD", nullptr, &ToolSlot::TD}, {"R", &ToolSlot::R, nullptr},
    {"L", &ToolSlot::L, nullptr},   {"F", &ToolSlot::F, nullptr},   {"D", &ToolSlot::D, nullptr},
    {"CL", &ToolSlot::CL, nullptr}, {"CD", &ToolSlot::CD, nullptr}, {"A", &ToolSlot::A, nullptr},
};
static_assert(3 + std::size(kNumberFields) == kFieldCount);

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

QString Shown(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString BadNumber(const char* field, std::string_view text)
{
    return QStringLiteral("%1 的值“%2”不是数字或超出范围").arg(QLatin1String(field), Shown(text));
}

// One tool from the fields of a line; the reason when they are bad.
bool ParseTool(const std::vector<std::string_view>& fields, ToolSlot& tool, QString& reason)
{
    if (fields.size() != kFieldCount) {
        reason = QStringLiteral("应有 %1 项（以制表符分隔），实有 %2 项").arg(kFieldCount).arg(fields.size());
        return false;
    }
    const auto field = [&fields](int index) { return fields[size_t(index)]; };
    tool = ToolSlot();
    const std::string_view number = TrimSpaces(field(0));
    if (!ParseToolNumber(number, tool.number)) {
        reason = QStringLiteral("T 号“%1”不是整数").arg(Shown(number));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = utf8.decode(QByteArrayView(fields[1].data(), qsizetype(fields[1].size())));
    if (utf8.hasError()) {
        reason = QStringLiteral("刀具名称不是 UTF-8 文字");
        return false;
    }
    if (!SetToolSlotName(tool, name)) {
        reason = QStringLiteral("刀具名称“%1”超过 %2 个字节（一个汉字占 2 个字节）或含有 GBK 无法表示的字符")
                     .arg(name)
                     .arg(kToolNameBytes);
        return false;
    }
    const std::string_view type = TrimSpaces(field(2));
    if (!ParseToolType(type, tool.type)) {
        reason = QStringLiteral("“%1”不是刀具类型（FL、BU、SP、CO 或 DR）").arg(Shown(type));
        return false;
    }
    int index = 3;
    for (const NumberField& f : kNumberFields) {
        const std::string_view text = TrimSpaces(field(index++));
        if (!(f.single ? ParseToolNumber(text, tool.*f.single) : ParseToolNumber(text, tool.*f.wide))) {
            reason = BadNumber(f.name, text);
            return false;
        }
    }
    return true;
}

// A name for a bad file beside it that no file has yet: path.bad, or
// path.bad-<time>, numbered if need be.
QString SetAsidePath(const QString& path)
{
    QString candidate = path + QStringLiteral(".bad");
    const QString stamped =
        path + QStringLiteral(".bad-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = n == 1 ? stamped : stamped + QStringLiteral("-%1").arg(n);
    return candidate;
}

}  // namespace

const ToolSlot* ToolLibrary::Find(int32_t number) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [number](const ToolSlot& entry) { return entry.number == number; });
    return it == m_entries.end() ? nullptr : &*it;
}

void ToolLibrary::Put(const ToolSlot& tool)
{
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), tool.number,
                                     [](const ToolSlot& entry, int32_t number) { return entry.number < number; });
    if (it != m_entries.end() && it->number == tool.number)
        *it = tool;
    else
        m_entries.insert(it, tool);
}

QByteArray ToolLibrary::ToText() const
{
    QByteArray text =
        "# Tornel 刀库：每行一把刀，各项以制表符分隔\n"
        "# T\t名称\t类型\tSD\tTD\tR\tL\tF\tD\tCL\tCD\tA\n";
    for (const ToolSlot& tool : m_entries) {
        std::string line = std::to_string(tool.number);
        line += '\t';
        line += ToolSlotName(tool).toStdString();
        line += '\t';
        // A type outside the five cannot be read back; it is drawn as FL.
        const char* type = ToolTypeName(tool.type);
        line += type ? type : ToolTypeName(ToolType::FL);
        for (const NumberField& f : kNumberFields)
            line += '\t' + (f.single ? FormatToolNumber(tool.*f.single) : FormatToolNumber(tool.*f.wide));
        line += '\n';
        text += QByteArray::fromStdString(line);
    }
    return text;
}

bool ToolLibrary::FromText(QByteArrayView bytes, TextError* error)
{
    std::string_view text(bytes.data(), size_t(bytes.size()));
    if (text.starts_with("\xEF\xBB\xBF"))  // a byte order mark from an editor
        text.remove_prefix(3);
    std::vector<ToolSlot> entries;
    std::vector<std::string_view> fields;
    for (int lineNumber = 1; !text.empty(); ++lineNumber) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('#'))
            continue;
        fields.clear();
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
            if (tab == std::string_view::npos)
                break;
            start = tab + 1;
        }
        ToolSlot tool;
        QString reason;
        if (!ParseTool(fields, tool, reason)) {
            if (error)
                *error = {lineNumber, reason};
            return false;
        }
        if (std::any_of(entries.begin(), entries.end(),
                        [&tool](const ToolSlot& entry) { return entry.number == tool.number; })) {
            if (error)
                *error = {lineNumber, QStringLiteral("T%1 已在前面出现过").arg(tool.number)};
            return false;
        }
        entries.push_back(tool);
    }
    std::sort(entries.begin(), entries.end(),
              [](const ToolSlot& a, const ToolSlot& b) { return a.number < b.number; });
    m_entries = std::move(entries);
    return true;
}

ToolLibrary::LoadResult ToolLibrary::Load(const QString& path)
{
    m_entries.clear();
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {LoadStatus::Unreadable, QStringLiteral("无法读取刀库文件 %1：%2").arg(path, file.errorString()), {}};
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {LoadStatus::Unreadable, QStringLiteral("无法读取刀库文件 %1：%2").arg(path, file.errorString()), {}};
    file.close();
    TextError error;
    if (FromText(text, &error))
        return {};
    const QString what = QStringLiteral("刀库文件 %1 第 %2 行有误：%3。").arg(path).arg(error.line).arg(error.reason);
    const QString aside = SetAsidePath(path);
    if (!file.rename(aside)) {
        // Starting empty now would write over the user's tools.
        return {LoadStatus::Unreadable,
                what + QStringLiteral("\n无法将它改名保存（%1），请修正或移走这个文件。").arg(file.errorString()),
                {}};
    }
    return {LoadStatus::Corrupt, what + QStringLiteral("\n原文件已改名为 %1，刀库从空开始。").arg(aside), aside};
}

bool ToolLibrary::Save(const QString& path, QString* message) const
{
    QSaveFile file(path);
    const QByteArray text = ToText();
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    if (message)
        *message = QStringLiteral("无法保存刀库文件 %1：%2").arg(path, file.errorString());
    return false;
}
