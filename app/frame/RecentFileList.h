#pragma once
// The recent-file list of the File menu: at most four paths, newest first, kept in
// "Recent File List" as "File1" to "File4".
#include <string>
#include <vector>

class SettingsStore;

class CRecentFileList {
public:
    static constexpr int kMaxEntries = 4;

    void Read(const SettingsStore& store);
    void Write(SettingsStore& store) const;

    // Puts the path first, removing an older entry of it.
    void Add(const std::string& path);
    void Remove(int index);
    const std::vector<std::string>& Entries() const { return m_entries; }
    // "&1 name" for the menu: the file name, with its folder while short enough.
    static std::string MenuText(int index, const std::string& path);

private:
    std::vector<std::string> m_entries;
};
