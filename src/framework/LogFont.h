// A font as the views ask for it: the fields of a logical font that matter on
// this platform.  Zero height means the face's default size.
#pragma once

#include <QString>
#include <cstdint>

struct LogFont
{
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = 0;  // 0 default, 400 normal, 700 bold, 900 heavy
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    uint8_t lfCharSet = 0;  // 0: ANSI
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName;
};
