// Numbers must read and print the same under a locale whose decimal mark is
// a comma, which is what a Qt application runs under for many users.
//
// Such a locale is used when installed; otherwise one is compiled with
// localedef into a temporary folder (LOCPATH) when the locale sources are
// there.  Only when neither works is the test skipped; the reader's
// agreement with strtod in the "C" locale is tested apart from this.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "FakeLines.h"
#include "MachiningInfo.h"
#include "NcInterpreter.h"
#include "NcNumber.h"
#include "TempDir.h"

namespace {

bool CommaDecimalIsActive()
{
    const lconv* conventions = std::localeconv();
    return conventions && std::string(conventions->decimal_point) == ",";
}

bool SetCommaLocale(const char* name)
{
    return std::setlocale(LC_ALL, name) && CommaDecimalIsActive();
}

// Switches the process to a comma-decimal locale for its lifetime.
class CommaLocale
{
public:
    CommaLocale()
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "nl_NL.UTF-8"})
            if (SetCommaLocale(name)) {
                m_active = true;
                return;
            }
        m_folder = std::make_unique<TempDir>();
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + m_folder->File("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return;
        ::setenv("LOCPATH", m_folder->Path().c_str(), 1);
        m_active = SetCommaLocale("de_DE.UTF-8");
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }

    bool Active() const { return m_active; }

private:
    std::unique_ptr<TempDir> m_folder;
    bool m_active = false;
};

}  // namespace

TEST(Locale, NumbersReadAndPrintWithAPointUnderACommaDecimalLocale)
{
    const CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no comma-decimal locale is installed and localedef could not make one";
    // The locale really is in force: the C library now stops at the '.'.
    ASSERT_EQ(std::atof("1.5"), 1.0);

    EXPECT_EQ(NcReadDouble("1.5", 3), 1.5);
    const std::string longRun = "0." + std::string(30, '0') + "15";
    EXPECT_EQ(NcReadDouble(longRun.data(), longRun.size()), 1.5e-31);
    const std::string overflow = "1" + std::string(400, '0') + ".5";
    EXPECT_EQ(NcReadDouble(overflow.data(), overflow.size()), HUGE_VAL);

    NcInterpreter nc;
    nc.Run(FakeLines{"G1 X1.5 Y-2.25 F0.5"});
    ASSERT_EQ(nc.Moves().size(), 1u);
    EXPECT_EQ(nc.Moves()[0].endX, 1.5f);
    EXPECT_EQ(nc.Moves()[0].endY, 2.25f);
    EXPECT_EQ(nc.Moves()[0].feed, 0.5f);

    const std::string text = FormatMachiningInfo(90.5, 1.25, 2.5, "\n");
    EXPECT_NE(text.find("快速进给距离为：1.250000mm\n进给距离为：2.500000mm\n"), std::string::npos) << text;
}
