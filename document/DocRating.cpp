#include "document/DBError.h"
#include "document/Larkspur2006Doc.h"
#include <cwchar>

bool CLarkspur2006Doc::WriteRating(int64_t rowid, int rating) {
    wchar_t sql[128];
    swprintf(sql, 128, L"UPDATE list SET rating=%d WHERE rowid = %lld;", rating, static_cast<long long>(rowid));
    if (m_db.exec(sql) == 0) return true;
    ShowDBError(m_db.errmsg());
    return false;
}
