#pragma once
// Values read from a store at one generation (see host_store.h): all of them
// are valid as long as that generation is the current one, and they are
// dropped when a value of another generation is kept. A cache with a capacity
// keeps that many values at most, dropping the one used least recently.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>

namespace store {

template <class Value>
class GenerationCache {
public:
    // capacity 0: no limit.
    explicit GenerationCache(std::size_t capacity = 0) : capacity_(capacity) {}

    Value* find(const std::string& key, std::uint64_t at)
    {
        if (at != generation_) return nullptr;
        const auto found = entries_.find(key);
        if (found == entries_.end()) return nullptr;
        if (capacity_ > 0) recency_.splice(recency_.begin(), recency_, found->second.used);
        return &found->second.value;
    }

    Value& keep(const std::string& key, std::uint64_t at, Value value)
    {
        if (at != generation_) {
            entries_.clear();
            recency_.clear();
            generation_ = at;
        }
        const auto [kept, added] = entries_.try_emplace(key);
        Entry& entry = kept->second;
        entry.value = std::move(value);
        if (capacity_ == 0) return entry.value;
        if (!added) {
            recency_.splice(recency_.begin(), recency_, entry.used);
            return entry.value;
        }
        if (entries_.size() > capacity_) {
            entries_.erase(recency_.back());
            recency_.pop_back();
        }
        entry.used = recency_.insert(recency_.begin(), key);
        return entry.value;
    }

    // A write from `from` to `to` that left these values as they were.
    void carryOver(std::uint64_t from, std::uint64_t to)
    {
        if (generation_ == from) generation_ = to;
    }

    // Drops the values that a write may have changed.
    template <class Predicate>
    void eraseIf(Predicate changed)
    {
        for (auto entry = entries_.begin(); entry != entries_.end();) {
            if (!changed(entry->second.value)) {
                ++entry;
                continue;
            }
            if (capacity_ > 0) recency_.erase(entry->second.used);
            entry = entries_.erase(entry);
        }
    }

private:
    struct Entry {
        Value value;
        std::list<std::string>::iterator used;
    };

    std::size_t capacity_;
    std::uint64_t generation_ = 0;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> recency_; // most recently used first
};

} // namespace store
