// Command maps: handlers found through the class chain, overrides, ranges,
// and the update state of ids with and without handlers.
#include <gtest/gtest.h>

#include "CCmdTarget.h"

namespace {

class Base : public CCmdTarget
{
public:
    void OnA() { log += "Base::A "; }
    void OnB() { log += "Base::B "; }
    void OnUpdateB(CCmdUI* ui) { ui->SetCheck(checked); }
    std::string log;
    int checked = 0;
    DECLARE_COMMAND_MAP()
};

BEGIN_COMMAND_MAP(Base, CCmdTarget)
    ON_COMMAND(1, OnA)
    ON_COMMAND(2, OnB)
    ON_UPDATE_COMMAND_UI(2, OnUpdateB)
END_COMMAND_MAP()

class Derived : public Base
{
public:
    void OnA2() { log += "Derived::A "; }
    void OnRange(int id) { log += "range" + std::to_string(id) + " "; }
    void OnUpdateRange(CCmdUI* ui) { ui->Enable(ui->m_nID != 12); }
    DECLARE_COMMAND_MAP()
};

BEGIN_COMMAND_MAP(Derived, Base)
    ON_COMMAND(1, OnA2)
    ON_COMMAND_RANGE(10, 13, OnRange)
    ON_UPDATE_COMMAND_UI_RANGE(10, 13, OnUpdateRange)
END_COMMAND_MAP()

TEST(CommandMap, DerivedEntriesOverrideAndBaseEntriesAreInherited)
{
    Derived d;
    EXPECT_TRUE(d.OnCmdMsg(1, nullptr));
    EXPECT_TRUE(d.OnCmdMsg(2, nullptr));
    EXPECT_TRUE(d.OnCmdMsg(11, nullptr));
    EXPECT_FALSE(d.OnCmdMsg(14, nullptr));
    EXPECT_EQ(d.log, "Derived::A Base::B range11 ");

    Base b;
    EXPECT_TRUE(b.OnCmdMsg(1, nullptr));
    EXPECT_FALSE(b.OnCmdMsg(11, nullptr));
    EXPECT_EQ(b.log, "Base::A ");
}

TEST(CommandMap, UpdateStateFollowsTheHandlers)
{
    Derived d;
    d.checked = 1;
    CCmdUI withUpdate(2), commandOnly(1), ranged(12), rangedOk(10), none(99);
    EXPECT_TRUE(d.OnCmdMsg(2, &withUpdate));
    EXPECT_TRUE(withUpdate.m_enabled);
    EXPECT_EQ(withUpdate.m_check, 1);
    EXPECT_TRUE(d.OnCmdMsg(1, &commandOnly));
    EXPECT_TRUE(commandOnly.m_enabled);
    EXPECT_TRUE(d.OnCmdMsg(12, &ranged));
    EXPECT_FALSE(ranged.m_enabled);
    EXPECT_TRUE(d.OnCmdMsg(10, &rangedOk));
    EXPECT_TRUE(rangedOk.m_enabled);
    EXPECT_FALSE(d.OnCmdMsg(99, &none));  // left to the next target, or disabled
    EXPECT_FALSE(none.m_enabled);
    EXPECT_TRUE(d.log.empty());  // updating runs no command
}

}  // namespace
