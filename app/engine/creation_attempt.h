#pragma once

#include "app/core/error_trap.h"
#include "platform/store/write_scope.h"
#include "platform/ui/do_events.h"

#include <string>

// An item that already exists in the destination is deleted and created again
// by one nested call. The nested call is the replacement: when it meets an
// existing item once more, the old item could not be removed, and the item
// counts as failed instead of being replaced again and again.
enum class CreationAttempt { First, Replacement };

// Removes the destination item that a replacement takes the place of: opens it
// as an object of its own kind, deletes it and gives the message loop a turn.
template <class Item>
void DeleteExistingItem(ErrorTrap& trap, const std::string& url)
{
    Item existing;
    existing.setPreOpenFlag(false);
    trap.step([&] { existing.DataSource().Open(url, 0, -1); });
    trap.step([&] { existing.Delete(); });
    trap.step([] { ui::DoEvents(); });
}

// Makes what the scope wrote durable; false when that failed (the failure
// went to the trap).
inline bool Committed(ErrorTrap& trap, store::WriteScope& scope)
{
    bool committed = false;
    trap.step([&] {
        scope.commit();
        committed = true;
    });
    return committed;
}
