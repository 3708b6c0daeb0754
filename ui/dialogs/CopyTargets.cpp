#include "ui/dialogs/CopyTargets.h"
#include "app/FileNameRules.h"
#include "app/Formatters.h"
#include "ui/dialogs/LibraryMaintenance.h"
#include <cwchar>

bool IsValidCopyDestination(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // The drive's root, or the share's for a network path.
    const std::wstring root = PathRoot(path);
    if (root.empty()) return false;
    switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_REMOTE:
    case DRIVE_RAMDISK:
        return true;
    default:
        return false;
    }
}

std::wstring MakeCopyName(const std::wstring& expanded) {
    static const struct {
        wchar_t from;
        wchar_t to;
    } kReplacements[] = {{L'*', L'＊'}, {L'?', L'？'}, {L'"', L'”'}, {L'<', L'＜'},
                         {L'>', L'＞'}, {L'|', L'｜'}, {L'/', L'／'}, {L':', L'：'}};
    std::wstring text = expanded;
    for (const auto& r : kReplacements)
        for (wchar_t& c : text)
            if (c == r.from) c = r.to;
    // A NUL would end the name inside the shell's NUL-separated target list.
    for (wchar_t& c : text)
        if (c < 0x20) c = L'_';

    std::wstring name;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\\', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring part = text.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        // Windows drops a name's trailing dots and blanks itself (and Wine refuses the whole
        // copy); a name left empty, "." and ".." among them, would name the folder above.
        part.erase(part.find_last_not_of(L". ") + 1);
        if (part.empty()) part = L"_";
        // "CON", "nul.mp3", "COM1": a name Windows would open as a device.
        if (const size_t device = ReservedDeviceNameLength(part)) part.insert(device, 1, L'_');
        if (!name.empty()) name += L'\\';
        name += part;
    }
    return name;
}

namespace {

// A file name holding a NUL would split the source list and pair every later file with the
// wrong target.
bool CanBeCopySource(const TrackRecord& track) {
    return !track.file_name.empty() && track.file_name.find(L'\0') == std::wstring::npos;
}

}  // namespace

bool BuildCopyLists(const std::vector<const TrackRecord*>& tracks, const std::wstring& destination,
                    const std::wstring& nameTemplate, const PlaceholderContext& context, CopyLists& lists) {
    lists = CopyLists();
    std::wstring folder = destination;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    for (const TrackRecord* track : tracks) {
        if (!CanBeCopySource(*track)) continue;
        lists.sources += track->file_name;
        lists.sources += L'\0';
    }
    lists.sources += L'\0';
    for (const TrackRecord* track : tracks) {
        if (!CanBeCopySource(*track)) continue;
        std::wstring name = nameTemplate;
        ExpandTrackPlaceholders(*track, name, false, true, context);
        const std::wstring target = folder + MakeCopyName(name);
        if (target.size() >= MAX_PATH) {
            lists.tooLong = target;
            lists.targets.clear();
            return false;
        }
        lists.targets += target;
        lists.targets += L'\0';
    }
    lists.targets += L'\0';
    return true;
}

DriveBarState ComputeDriveBar(ULONGLONG total, ULONGLONG freeToCaller, long long selection, int files,
                              int left, int width) {
    DriveBarState state;
    if (total == 0) {
        state.text = L"N/A";
        return state;
    }
    const ULONGLONG used = freeToCaller <= total ? total - freeToCaller : 0;
    std::wstring usedText, selectionText, totalText;
    FormatByteSizeShell(usedText, static_cast<long long>(used));
    FormatByteSizeShell(selectionText, selection);
    FormatByteSizeShell(totalText, static_cast<long long>(total));
    wchar_t buffer[256];
    swprintf(buffer, 256, L"%ls (使用中) + %ls (%d ファイル) / %ls (全容量)", usedText.c_str(), selectionText.c_str(),
             files, totalText.c_str());
    state.text = buffer;
    state.available = true;
    const float usedShare = static_cast<float>(used) / static_cast<float>(total);
    // Past the bar's end the selection only has to reach the edge; the cap keeps the
    // conversion to pixels defined.
    float selectionShare = static_cast<float>(selection) / static_cast<float>(total);
    if (selectionShare > 1000.0f) selectionShare = 1000.0f;
    state.usedRight = left + static_cast<int>(usedShare * static_cast<float>(width));
    state.selectionRight = state.usedRight + static_cast<int>(selectionShare * static_cast<float>(width));
    return state;
}
