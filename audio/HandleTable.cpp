#include "audio/HandleTable.h"

namespace larkaudio {

DWORD HandleTable::Add(const HandleEntry& entry) {
    std::lock_guard<std::mutex> guard(m_lock);
    const DWORD handle = m_next++;
    auto it = m_entries.emplace(handle, entry).first;
    it->second.handle = handle;
    return handle;
}

bool HandleTable::Find(DWORD handle, HandleEntry* entry) const {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(handle);
    if (it == m_entries.end()) return false;
    *entry = it->second;
    return true;
}

bool HandleTable::Contains(DWORD handle, HandleKind kind) const {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(handle);
    return it != m_entries.end() && it->second.kind == kind;
}

bool HandleTable::Take(DWORD handle, HandleEntry* entry) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_entries.find(handle);
    if (it == m_entries.end()) return false;
    *entry = std::move(it->second);
    m_entries.erase(it);
    return true;
}

void HandleTable::Remove(const std::vector<DWORD>& handles) {
    std::lock_guard<std::mutex> guard(m_lock);
    for (DWORD h : handles) m_entries.erase(h);
}

std::vector<std::shared_ptr<Channel>> HandleTable::Channels() const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::shared_ptr<Channel>> out;
    for (const auto& e : m_entries) {
        if (e.second.kind == HandleKind::Stream) out.push_back(e.second.channel);
    }
    return out;
}

std::vector<std::shared_ptr<Channel>> HandleTable::TakeAllStreams() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::shared_ptr<Channel>> out;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const HandleKind k = it->second.kind;
        if (k == HandleKind::Stream || k == HandleKind::Sync || k == HandleKind::Fx) {
            if (k == HandleKind::Stream) out.push_back(it->second.channel);
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
    return out;
}

std::vector<HandleEntry> HandleTable::Plugins() const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<HandleEntry> out;
    for (const auto& e : m_entries) {
        if (e.second.kind == HandleKind::Plugin) out.push_back(e.second);
    }
    return out;
}

}  // namespace larkaudio
