#pragma once
// Every handle the engine has given out: streams, their syncs and effects, and add-ons.
// Handle numbers count up and are never reused within a run.

#include <windows.h>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace larkaudio {

class Channel;

enum class HandleKind { Stream, Sync, Fx, Plugin };

struct HandleEntry {
    HandleKind kind = HandleKind::Stream;
    std::shared_ptr<Channel> channel;  // the stream, or the stream a sync or effect belongs to
    DWORD owner = 0;                   // for a sync or effect: the stream's handle
    HMODULE module = nullptr;          // for an add-on
    DWORD families = 0;                // for an add-on
    DWORD handle = 0;                  // the entry's own handle
};

class HandleTable {
public:
    DWORD Add(const HandleEntry& entry);
    bool Find(DWORD handle, HandleEntry* entry) const;
    bool Contains(DWORD handle, HandleKind kind) const;
    // Removes and returns the entry.
    bool Take(DWORD handle, HandleEntry* entry);
    void Remove(const std::vector<DWORD>& handles);

    std::vector<std::shared_ptr<Channel>> Channels() const;
    // Removes every stream with its syncs and effects; returns the streams.
    std::vector<std::shared_ptr<Channel>> TakeAllStreams();
    std::vector<HandleEntry> Plugins() const;

private:
    mutable std::mutex m_lock;
    std::unordered_map<DWORD, HandleEntry> m_entries;
    DWORD m_next = 0x10000;
};

}  // namespace larkaudio
