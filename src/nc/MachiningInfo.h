// The machining information text: machining time in hours and minutes,
// rapid-traverse distance and feed distance, as the information pane and
// tornel-info show them, and the line under them that warns of what the
// interpretation passed over.  UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "NcWarnings.h"

// The labels, exported so that the information pane can colour them.
inline constexpr std::string_view kInfoHeaderLabel = "[加工信息]：";
inline constexpr std::string_view kInfoTimeLabel = "加工工时为：";
inline constexpr std::string_view kInfoRapidLabel = "快速进给距离为：";
inline constexpr std::string_view kInfoFeedLabel = "进给距离为：";
inline constexpr std::string_view kInfoWarningLabel = "注意：";

// Four lines, each ended by lineEnd:
//   [加工信息]：
//   加工工时为：<hours>小时<minutes>分
//   快速进给距离为：<rapid, six decimals>mm
//   进给距离为：<feed, six decimals>mm
// The time is truncated toward zero to whole minutes (a time beyond the int64
// range saturates, NaN counts as 0), split with truncating division, so a
// negative time gives negative hours and minutes.  Numbers are written with
// '.' whatever the process locale; inf and nan as printf writes them.
std::string FormatMachiningInfo(double machiningTime, double rapidDistance, double feedDistance,
                                std::string_view lineEnd);

// The line under the four when the interpretation passed over anything,
// ended by lineEnd; empty when it passed over nothing:
//   注意：<lines> 行含有未解释的指令（首次出现于第 <first line> 行）
// The first line is counted from one, as the status bar counts lines.
std::string FormatWarningLine(const NcWarnings& warnings, std::string_view lineEnd);
