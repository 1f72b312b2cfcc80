// The five-line program whose records and totals are known exactly (rapid
// distance 11, feed distance 70.14213562373095, time 0.3807106781186548),
// with CR LF line ends and no final separator.
#pragma once

inline constexpr char kWorkedExample[] =
    "N10 G90 G00 X0 Y0 Z5\r\n"
    "N20 G01 Z-1 F100\r\n"
    "N30 X50 F200\r\n"
    "N40 G02 X60 Y10 I0 J10\r\n"
    "N50 G00 Z5";
