// The font of the program's dialogs, skinned or not.
#pragma once

#include <QFont>

// "仿宋_GB2312" at 10 points, or the nearest face this machine has.
QFont DialogFont();
