#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include <cwchar>

bool CLarkspur2006Doc::WriteRating(int64_t rowid, int rating) {
    wchar_t sql[128];
    swprintf(sql, 128, L"UPDATE list SET rating=%d WHERE rowid = %lld;", rating, static_cast<long long>(rowid));
    const int rc = m_db.exec(sql);
    if (rc == 0) return true;
    if (!ReportWriteFailure(rc)) ShowDBError(m_db.errmsg());
    return false;
}

bool CLarkspur2006Doc::WriteRating(const std::vector<int64_t>& rowids, int rating) {
    if (rowids.empty()) return true;
    wchar_t part[64];
    swprintf(part, 64, L"UPDATE list SET rating=%d WHERE rowid IN (", rating);
    std::wstring sql = part;
    for (size_t i = 0; i < rowids.size(); ++i) {
        swprintf(part, 64, i ? L",%lld" : L"%lld", static_cast<long long>(rowids[i]));
        sql += part;
    }
    sql += L");";
    const int rc = m_db.exec(sql);
    if (rc == 0) return true;
    if (!ReportWriteFailure(rc)) ShowDBError(m_db.errmsg());
    return false;
}
