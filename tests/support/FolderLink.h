#pragma once
#include <string>

namespace testing_support {

// A folder `link` that leads to the existing folder `target` (absolute Windows paths), removed
// again when the object dies, before the folder that holds it. On Windows it is a junction.
// Wine makes neither junctions nor symbolic links (CreateSymbolicLinkW reports success and
// makes nothing), so there it is a Linux symbolic link, which Wine shows as a reparse-point
// folder: Wine starts /bin/ln, and the object waits until the link is there.
class FolderLink {
public:
    FolderLink(const std::wstring& link, const std::wstring& target);
    ~FolderLink();
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;

    bool made() const { return m_made; }

private:
    std::wstring m_link;
    std::string m_unixLink;   // under Wine
    bool m_made = false;
};

}  // namespace testing_support
