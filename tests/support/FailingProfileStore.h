#pragma once
#include "framework/ProfileFileWrite.h"
#include <string>
#include <vector>

namespace testing_support {

// Stands in for the store of profile files while it lives. Each new file gets the first half
// of its bytes and then the write fails, as on a disk that fills up; with `failReplace` the new
// file is written whole and putting it in place of the old one fails instead.
class FailingProfileStore : public IProfileFileStore {
public:
    explicit FailingProfileStore(bool failReplace = false)
        : m_real(GetProfileFileStore()), m_failReplace(failReplace) {
        m_previous = SetProfileFileStore(this);
    }
    ~FailingProfileStore() override { SetProfileFileStore(m_previous); }
    FailingProfileStore(const FailingProfileStore&) = delete;
    FailingProfileStore& operator=(const FailingProfileStore&) = delete;

    bool WriteNewFile(const std::wstring& path, const std::vector<BYTE>& bytes) override {
        ++writes;
        if (m_failReplace) return m_real.WriteNewFile(path, bytes);
        m_real.WriteNewFile(path, std::vector<BYTE>(bytes.begin(), bytes.begin() + bytes.size() / 2));
        return false;
    }
    bool ReplaceFile(const std::wstring&, const std::wstring&) override { return false; }

    int writes = 0;

private:
    IProfileFileStore& m_real;
    IProfileFileStore* m_previous = nullptr;
    bool m_failReplace;
};

}  // namespace testing_support
