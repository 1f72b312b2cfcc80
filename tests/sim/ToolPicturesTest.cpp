// The tool dialog's pictures: each at its size, each different from the
// others, and the highlighted dimension drawn only where one is meant to be.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <vector>

#include "Resources.h"
#include "ids.h"

namespace {

// Pixels of the red that highlights a dimension.
int Highlighted(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 150 && c.green() < 110 && c.blue() < 110;
        }
    return count;
}

struct Group
{
    const char* what;
    QSize size;
    std::vector<int> ids;
    bool highlighted;  // a dimension in red
};

TEST(ToolPictures, EveryPictureHasItsSizeAndDiffersFromTheOthers)
{
    const Group groups[] = {
        {"shapes", {28, 40}, {IDB_TOOL_FL, IDB_TOOL_FL_SELECTED, IDB_TOOL_BU, IDB_TOOL_BU_SELECTED, IDB_TOOL_SP,
                              IDB_TOOL_SP_SELECTED, IDB_TOOL_CO, IDB_TOOL_CO_SELECTED}, false},
        {"drill", {21, 40}, {IDB_TOOL_DR, IDB_TOOL_DR_SELECTED}, false},
        {"compensation", {28, 36}, {IDB_TOOL_COMP_TIP, IDB_TOOL_COMP_TIP_SELECTED, IDB_TOOL_COMP_CENTRE,
                                    IDB_TOOL_COMP_CENTRE_SELECTED}, false},
        {"plain holder", {144, 90}, {IDB_TOOL_HOLDER}, false},
        {"holder dimensions", {144, 90}, {IDB_TOOL_HOLDER_SD, IDB_TOOL_HOLDER_CD, IDB_TOOL_HOLDER_CL}, true},
        {"plain cutter", {144, 125}, {IDB_TOOL_CUTTER}, false},
        {"cutter dimensions", {144, 125},
         {IDB_TOOL_FL_D, IDB_TOOL_FL_F, IDB_TOOL_FL_L, IDB_TOOL_BU_D, IDB_TOOL_BU_F, IDB_TOOL_BU_L, IDB_TOOL_BU_R,
          IDB_TOOL_SP_D, IDB_TOOL_SP_F, IDB_TOOL_SP_L, IDB_TOOL_SP_R, IDB_TOOL_CO_D, IDB_TOOL_CO_F, IDB_TOOL_CO_L,
          IDB_TOOL_CO_R, IDB_TOOL_CO_A, IDB_TOOL_CO_TD, IDB_TOOL_DR_D, IDB_TOOL_DR_F, IDB_TOOL_DR_L, IDB_TOOL_DR_A},
         true},
    };
    std::vector<QImage> seen;
    for (const Group& group : groups) {
        for (const int id : group.ids) {
            const QImage image = LoadBitmapResource(id).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(image.isNull()) << id;
            EXPECT_EQ(image.size(), group.size) << group.what << " " << id;
            // The highlight is the dimension's line, arrows and letter: a
            // few dozen pixels at least; the plain drawings have none.
            if (group.highlighted) {
                EXPECT_GT(Highlighted(image), 40) << group.what << " " << id;
            } else if (group.size.width() > 40) {
                EXPECT_EQ(Highlighted(image), 0) << group.what << " " << id;
            }
            for (const QImage& other : seen)
                EXPECT_NE(image, other) << group.what << " " << id << " repeats another picture";
            seen.push_back(image);
        }
    }
    EXPECT_TRUE(LoadBitmapResource(IDB_TOOL_TIP_TEXTURE - 1).isNull());
}

}  // namespace
