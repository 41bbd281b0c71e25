#pragma once
// Checks that each command's tool-bar button and menu item are in the state
// expected, together.

#include "platform/ui/tool_bar.h"

#include <QAction>

#include <gtest/gtest.h>

#include <initializer_list>

struct CommandState {
    ui::ToolBar* bar;
    int button;
    QAction* item; // nullptr for a button without a menu item
    bool enabled;
};

inline void ExpectCommandStates(std::initializer_list<CommandState> commands)
{
    for (const CommandState& c : commands) {
        EXPECT_EQ(c.bar->Buttons(c.button).Enabled(), c.enabled) << c.bar->objectName().toStdString() << " " << c.button;
        if (c.item) {
            EXPECT_EQ(c.item->isEnabled(), c.enabled) << c.item->objectName().toStdString();
        }
    }
}
