#pragma once

// An item that already exists in the destination is deleted and created again
// by one nested call. The nested call is the replacement: when it meets an
// existing item once more, the old item could not be removed, and the item
// counts as failed instead of being replaced again and again.
enum class CreationAttempt { First, Replacement };
