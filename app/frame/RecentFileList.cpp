#include "app/frame/RecentFileList.h"

#include <algorithm>

#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"

void CRecentFileList::Read(const SettingsStore& store)
{
    m_entries.clear();
    for (int i = 1; i <= kMaxEntries; ++i) {
        const std::string path =
            store.GetString(settings_names::kRecentFileList, "File" + std::to_string(i), "");
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
}

void CRecentFileList::Write(SettingsStore& store) const
{
    for (int i = 0; i < kMaxEntries; ++i)
        store.WriteString(settings_names::kRecentFileList, "File" + std::to_string(i + 1),
                          i < static_cast<int>(m_entries.size()) ? m_entries[static_cast<size_t>(i)] : "");
}

void CRecentFileList::Add(const std::string& path)
{
    std::erase(m_entries, path);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kMaxEntries)
        m_entries.resize(kMaxEntries);
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < static_cast<int>(m_entries.size()))
        m_entries.erase(m_entries.begin() + index);
}

std::string CRecentFileList::MenuText(int index, const std::string& path)
{
    constexpr size_t kMaxShown = 40;
    std::string shown = path;
    if (shown.size() > kMaxShown) {
        const size_t slash = path.find_last_of('/');
        shown = slash == std::string::npos ? path : "..." + path.substr(slash);
    }
    // A "&" in a file name is shown as itself.
    std::string escaped;
    for (char c : shown) {
        if (c == '&')
            escaped += '&';
        escaped += c;
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}
