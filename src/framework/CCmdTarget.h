// Command targets and their command maps.
//
// Every class that handles commands lists them in a static table: the command
// id (or an id range) with its handler, and the update handler that decides
// whether the item is enabled, checked or what it says.  A class's table is
// chained to its base class's table, so a derived class sees the handlers of
// all its bases and may replace any of them.  Routing from view to document to
// frame to application is done by the callers of OnCmdMsg.
//
//     class CMyDoc : public CDocument {
//         void OnFoo();
//         void OnUpdateFoo(CCmdUI* ui);
//         DECLARE_COMMAND_MAP()
//     };
//     BEGIN_COMMAND_MAP(CMyDoc, CDocument)
//         ON_COMMAND(ID_FOO, OnFoo)
//         ON_UPDATE_COMMAND_UI(ID_FOO, OnUpdateFoo)
//     END_COMMAND_MAP()
#pragma once

#include <initializer_list>
#include <vector>

#include "CCmdUI.h"
#include "CObject.h"

class CCmdTarget;

struct CommandEntry
{
    int first;
    int last;
    void (*command)(CCmdTarget*, int id) = nullptr;
    void (*update)(CCmdTarget*, CCmdUI*) = nullptr;

    template <class T, void (T::*Handler)()>
    static CommandEntry Command(int id)
    {
        return {id, id, [](CCmdTarget* target, int) { (static_cast<T*>(target)->*Handler)(); }, nullptr};
    }
    template <class T, void (T::*Handler)(int)>
    static CommandEntry CommandRange(int first, int last)
    {
        return {first, last, [](CCmdTarget* target, int id) { (static_cast<T*>(target)->*Handler)(id); },
                nullptr};
    }
    template <class T, void (T::*Handler)(CCmdUI*)>
    static CommandEntry Update(int id)
    {
        return {id, id, nullptr, [](CCmdTarget* target, CCmdUI* ui) { (static_cast<T*>(target)->*Handler)(ui); }};
    }
    template <class T, void (T::*Handler)(CCmdUI*)>
    static CommandEntry UpdateRange(int first, int last)
    {
        return {first, last, nullptr,
                [](CCmdTarget* target, CCmdUI* ui) { (static_cast<T*>(target)->*Handler)(ui); }};
    }
};

struct CommandMap
{
    const CommandMap* base;
    std::vector<CommandEntry> entries;
};

class CCmdTarget : public CObject
{
public:
    // With ui null: runs the command's handler.  With ui: runs its update
    // handler, or enables the item when there is a command handler but no
    // update handler.  Returns false when this target has neither, so that
    // the caller can try the next target (and finally show the item
    // disabled).  With a probe (CCmdUI::Probe): true when there is a
    // command handler, and nothing runs.
    virtual bool OnCmdMsg(int id, CCmdUI* ui);

    static const CommandMap& ThisCommandMap();
    virtual const CommandMap& GetCommandMap() const { return ThisCommandMap(); }
};

#define DECLARE_COMMAND_MAP()                                                                                  \
public:                                                                                                        \
    static const CommandMap& ThisCommandMap();                                                                 \
    const CommandMap& GetCommandMap() const override { return ThisCommandMap(); }

#define BEGIN_COMMAND_MAP(Class, Base)                                                                         \
    const CommandMap& Class::ThisCommandMap()                                                                  \
    {                                                                                                          \
        using ThisClass = Class;                                                                               \
        static const CommandMap map{&Base::ThisCommandMap(), {

#define ON_COMMAND(id, handler) CommandEntry::Command<ThisClass, &ThisClass::handler>(id),
#define ON_COMMAND_RANGE(first, last, handler) \
    CommandEntry::CommandRange<ThisClass, &ThisClass::handler>(first, last),
#define ON_UPDATE_COMMAND_UI(id, handler) CommandEntry::Update<ThisClass, &ThisClass::handler>(id),
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, handler) \
    CommandEntry::UpdateRange<ThisClass, &ThisClass::handler>(first, last),

#define END_COMMAND_MAP()                                                                                      \
        }};                                                                                                    \
        return map;                                                                                            \
    }
