// Command dispatch through the chained command maps.
#include "CCmdTarget.h"

const CommandMap& CCmdTarget::ThisCommandMap()
{
    static const CommandMap map{nullptr, {}};
    return map;
}

bool CCmdTarget::OnCmdMsg(int id, CCmdUI* ui)
{
    // The most derived class's entries come first, so an override wins.
    bool hasCommand = false;
    for (const CommandMap* map = &GetCommandMap(); map; map = map->base) {
        for (const CommandEntry& entry : map->entries) {
            if (id < entry.first || id > entry.last)
                continue;
            if (ui && ui->m_bProbe) {
                if (entry.command)
                    return true;
                continue;
            }
            if (!ui && entry.command) {
                entry.command(this, id);
                return true;
            }
            if (ui && entry.update) {
                ui->Enable(true);  // an update handler that says nothing leaves it enabled
                entry.update(this, ui);
                return true;
            }
            if (entry.command)
                hasCommand = true;
        }
    }
    if (ui && hasCommand) {
        ui->Enable(true);
        return true;
    }
    return false;
}
