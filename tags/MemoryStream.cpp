#include "tags/MemoryStream.h"
#include <cstring>
#include <new>

namespace tagReader {

MemoryStream::MemoryStream(const BYTE* begin, const BYTE* end)
    : m_begin(begin), m_end(end), m_position(begin), m_refs(1) {}

MemoryStream* MemoryStream::Create(const BYTE* begin, const BYTE* end) {
    return new (std::nothrow) MemoryStream(begin, end);
}

HRESULT MemoryStream::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IStream) || IsEqualIID(riid, IID_ISequentialStream) || IsEqualIID(riid, IID_IUnknown)) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG MemoryStream::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG MemoryStream::Release() {
    LONG count = InterlockedDecrement(&m_refs);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT MemoryStream::Read(void* buffer, ULONG count, ULONG* read) {
    size_t left = static_cast<size_t>(m_end - m_position);
    size_t n = count < left ? count : left;
    if (n) std::memcpy(buffer, m_position, n);
    m_position += n;
    if (read) *read = static_cast<ULONG>(n);
    return n ? S_OK : S_FALSE;
}

HRESULT MemoryStream::Write(const void*, ULONG, ULONG*) { return STG_E_ACCESSDENIED; }

HRESULT MemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
    const LONGLONG size = m_end - m_begin;
    LONGLONG base;
    switch (origin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = m_position - m_begin; break;
    case STREAM_SEEK_END: base = size; break;
    default: return E_INVALIDARG;
    }
    // Compared before adding, so that no offset can overflow.
    if (move.QuadPart < -base || move.QuadPart > size - base) return STG_E_INVALIDPOINTER;
    const LONGLONG target = base + move.QuadPart;
    m_position = m_begin + target;
    if (position) position->QuadPart = static_cast<ULONGLONG>(target);
    return S_OK;
}

HRESULT MemoryStream::SetSize(ULARGE_INTEGER) { return STG_E_ACCESSDENIED; }

HRESULT MemoryStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) { return E_NOTIMPL; }

HRESULT MemoryStream::Commit(DWORD) { return E_NOTIMPL; }

HRESULT MemoryStream::Revert() { return STG_E_ACCESSDENIED; }

HRESULT MemoryStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT MemoryStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }

HRESULT MemoryStream::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    stat->pwcsName = nullptr;
    stat->type = STGTY_LOCKBYTES;   // 3
    stat->cbSize.QuadPart = static_cast<ULONGLONG>(m_end - m_begin);
    stat->grfMode = STGM_SHARE_DENY_WRITE;   // 0x20
    stat->grfLocksSupported = 0;
    stat->clsid = CLSID_NULL;
    stat->grfStateBits = 0;
    return S_OK;
}

HRESULT MemoryStream::Clone(IStream** stream) {
    if (!stream) return STG_E_INVALIDPOINTER;
    MemoryStream* copy = Create(m_begin, m_end);
    *stream = copy;
    return copy ? S_OK : E_OUTOFMEMORY;
}

}  // namespace tagReader
