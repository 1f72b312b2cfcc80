// The five-line program whose records and totals are known exactly (rapid
// distance 11, feed distance 6 + 50 + 15 pi = 103.1238898038469, time
// 0.06 + 0.25 + 15 pi / 200 = 0.5456194490192345: its arc turns three
// quarters clockwise), with CR LF line ends and no final separator.
#pragma once

inline constexpr char kWorkedExample[] =
    "N10 G90 G00 X0 Y0 Z5\r\n"
    "N20 G01 Z-1 F100\r\n"
    "N30 X50 F200\r\n"
    "N40 G02 X60 Y10 I0 J10\r\n"
    "N50 G00 Z5";
