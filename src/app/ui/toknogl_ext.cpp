#include "app/ui/assistcontroller.h"
#include "app/ui/toknogl.h"

#include "ext/ui/pluginsbar.h"
#include "ext/ui/usertoolbar.h"

#include <QSettings>
#include <QToolBar>

void TOknoGl::setupPlugins()
{
    m_pluginBar = CreatePluginToolBar(this);
    addToolBar(m_pluginBar);
    // The plug-in store is read once: plug-ins registered later appear after a restart.
    LoadPlugins(m_pluginBar, *PluginSettings());

    m_userBar = new UserToolBar(this);
    addToolBar(m_userBar);
    m_userBar->loadSlots(m_settings);
    // Any tool-tab button can be copied to the user toolbar with a right click.
    m_userBar->attachToolTabs(m_assist->insertToolTabs());
}

void TOknoGl::attachToolTabs(InsertToolTabs *tabs) { m_userBar->attachToolTabs(tabs); }

void TOknoGl::saveUserButtons() { m_userBar->saveSlots(m_settings); }
