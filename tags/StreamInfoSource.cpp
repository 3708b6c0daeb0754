#include "tags/StreamInfoSource.h"
#include <atomic>

namespace tagReader {

namespace {
std::atomic<IStreamInfoSource*> g_source{nullptr};
}

void SetStreamInfoSource(IStreamInfoSource* source) { g_source.store(source); }

IStreamInfoSource* GetStreamInfoSource() { return g_source.load(); }

}  // namespace tagReader
