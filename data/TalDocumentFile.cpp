// Reading and writing document files: the leading version word, the data sets, the display
// kind, the numbering, the application's texts and the first display's state.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "data/ApplicationData.h"
#include "data/DataSetSerialize.h"
#include "data/DisplayStateArchive.h"
#include "data/TalDocument.h"
#include "data/archive/Archive.h"

namespace {

constexpr uint32_t kCurrentVersion = 1004;
constexpr uint32_t kLastOldestFormatVersion = 1000;  // 0..1000: the word counts the data sets
constexpr uint32_t kFirstNyquistFlagVersion = 1002;

constexpr char kUnexpectedFormat[] = "Unexpected file format.";
constexpr char kFailedToOpen[] = "Failed to open document.";
constexpr char kFailedToSave[] = "Failed to save document.";

constexpr DisplayKind kFlagOrder[] = {DisplayKind::Gain, DisplayKind::Imp, DisplayKind::Volt,
                                      DisplayKind::Text, DisplayKind::Nyq};

// Everything a file holds, read completely before the document changes, so that a file that
// fails half-way leaves the document and the application as they were.
struct FileContents {
    uint32_t version = 0;
    std::vector<std::unique_ptr<CDataSet>> sets;
    bool flags[5] = {};  // in kFlagOrder
    int32_t nextNumber = 1;
    bool oldFormat = false;
    std::string block880, blockSynthesis;
    int32_t voltageFormat = 0;
    bool displayStatePresent = false;
    DisplayState displayState;
};

FileContents ReadContents(CArchive& ar)
{
    FileContents file;
    file.version = ar.ReadCount();
    if (file.version > kCurrentVersion)
        throw ArchiveError("unknown document version");
    file.oldFormat = file.version <= kLastOldestFormatVersion;
    const uint32_t setCount =
        file.oldFormat ? file.version : ar.ReadCount(kMinDataSetObjectBytes);
    ar.RequireItems(setCount, kMinDataSetObjectBytes);
    file.sets.reserve(setCount);
    for (uint32_t i = 0; i < setCount; ++i)
        file.sets.push_back(ReadDataSetObject(ar));

    file.flags[0] = ar.ReadInt() != 0;
    file.flags[1] = ar.ReadInt() != 0;
    file.flags[2] = ar.ReadInt() != 0;
    const bool fourth = ar.ReadInt() != 0;
    if (file.oldFormat)
        file.flags[2] = file.flags[2] || fourth;  // the oldest files had two voltage flags
    else
        file.flags[3] = fourth;
    if (file.version >= kFirstNyquistFlagVersion)
        file.flags[4] = ar.ReadInt() != 0;
    file.nextNumber = ar.ReadInt();
    if (file.oldFormat) {
        file.block880 = ar.ReadString();
        file.blockSynthesis = ar.ReadString();
        file.voltageFormat = ar.ReadInt();
    } else {
        ar.ReadString();  // the writer's parameter text, informational only
    }
    file.displayStatePresent = ar.ReadInt() != 0;
    if (file.displayStatePresent)
        ReadDisplayState(ar, file.displayState, static_cast<int>(file.version));
    return file;
}

// The display a file asks for when the first display view is of another kind, or "OK".
std::string RequestedDisplayType(const FileContents& file, const CDocumentView* view)
{
    static const char* const kNames[] = {"Gain", "Imp", "Volt", "Text", "Nyq"};
    for (int i = 0; i < 5; ++i)
        if (file.flags[i] && (view == nullptr || view->GetDisplayKind() != kFlagOrder[i]))
            return kNames[i];
    return "OK";
}

void ApplyContents(CTalDocument& doc, FileContents& file)
{
    CDocumentView* first = doc.GetFirstDisplayView();
    appData().lastLoadedFileVersion = static_cast<int>(file.version);
    appData().requestedDisplayType = RequestedDisplayType(file, first);
    if (file.oldFormat) {
        appData().preferenceBlock880 = file.block880;
        appData().preferenceBlockSynthesis = file.blockSynthesis;
        appData().voltageFormat = file.voltageFormat != 0;
    }

    // Displays drop the attributes of the sets being replaced, last first.
    for (int i = doc.GetDataSetCount() - 1; i >= 0; --i)
        for (CDocumentView* view : doc.GetViews())
            if (view->IsDisplayView())
                view->RemoveDataSetAttributes(i);
    doc.m_dataSets = std::move(file.sets);
    doc.m_acquisitionSet = nullptr;
    doc.m_lastAddedIndex = -1;
    doc.m_nextNumber = file.nextNumber;

    doc.m_fileDisplayKind.reset();
    for (int i = 0; i < 5 && !doc.m_fileDisplayKind; ++i)
        if (file.flags[i])
            doc.m_fileDisplayKind = kFlagOrder[i];

    // One selected flag per data set, whatever the file held.
    file.displayState.selected.resize(doc.m_dataSets.size(), 0);
    doc.m_displayState = file.displayStatePresent ? file.displayState : DisplayState{};
    doc.m_displayStatePresent = file.displayStatePresent;
    for (CDocumentView* view : doc.GetViews()) {
        if (!view->IsDisplayView())
            continue;
        if (view == first && file.displayStatePresent) {
            view->LoadDisplayState(doc.m_displayState);
        } else {
            for (int i = 0; i < doc.GetDataSetCount(); ++i)
                view->AddDataSetAttributes(i);
        }
    }

    doc.RecalcAllLimits();
    doc.UpdateAllViews(HINT_ALL);
    doc.SetModifiedFlag(false);
}

void StoreContents(CTalDocument& doc, CArchive& ar)
{
    ar.WriteCount(kCurrentVersion);
    ar.WriteCount(static_cast<uint32_t>(doc.m_dataSets.size()));
    for (const auto& set : doc.m_dataSets)
        WriteDataSetObject(ar, *set);

    const CDocumentView* first = doc.GetFirstDisplayView();
    const std::optional<DisplayKind> kind =
        first ? std::optional<DisplayKind>(first->GetDisplayKind()) : doc.m_fileDisplayKind;
    for (DisplayKind flag : kFlagOrder)
        ar.WriteInt(kind == flag ? 1 : 0);
    ar.WriteInt(doc.m_nextNumber);
    ar.WriteString(appData().parameterText);
    ar.WriteInt(1);

    DisplayState state;
    if (first) {
        first->StoreDisplayState(state);
    } else {
        state = doc.m_displayState;
        state.selected.resize(doc.m_dataSets.size(), 0);
    }
    WriteDisplayState(ar, state);
}

// Bytes a save will take, to size the buffer once.
size_t StoredSizeHint(const CTalDocument& doc)
{
    size_t bytes = 4096;
    for (const auto& set : doc.m_dataSets) {
        bytes += 256 + set->m_description.size() + set->m_name.size();
        for (const auto& point : set->m_points)
            bytes += 2 + 8 + 4 + 8 + 4 + 20 * point->m_nodes.size();
    }
    return bytes;
}

// A read that fails, or a file that ends before the size it had when it was opened.
class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A regular file opened for reading, delivered to the archive in pieces.
class InputFile {
public:
    explicit InputFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat info {};
        if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        m_size = m_fd >= 0 ? static_cast<uint64_t>(info.st_size) : 0;
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool IsOpen() const { return m_fd >= 0; }
    uint64_t Size() const { return m_size; }

    size_t Read(uint8_t* out, size_t max)
    {
        while (true) {
            const ssize_t n = ::read(m_fd, out, max);
            if (n > 0)
                return static_cast<size_t>(n);
            if (n < 0 && errno == EINTR)
                continue;
            throw FileReadError(n == 0 ? "file shrank while being read" : "read failed");
        }
    }

private:
    int m_fd;
    uint64_t m_size = 0;
};

// A new file beside the target that replaces the target when committed; until then, and on
// any failure, the target is left as it was and the new file is removed.
class ReplacementFile {
public:
    explicit ReplacementFile(const std::string& path)
    {
        m_target = path;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
            // Replace the file the link points to, not the link.
            if (char* resolved = ::realpath(path.c_str(), nullptr)) {
                m_target = resolved;
                std::free(resolved);
            }
        }
        const bool targetExists = ::stat(m_target.c_str(), &info) == 0;
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_temp = m_target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                return;
        }
        // Keep the permissions of the file being replaced.
        if (m_fd >= 0 && targetExists && !S_ISDIR(info.st_mode) &&
            ::fchmod(m_fd, info.st_mode & 07777) != 0)
            Discard();
    }
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile() { Discard(); }

    bool IsOpen() const { return m_fd >= 0; }

    void Write(std::span<const uint8_t> bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw std::runtime_error("write failed");
            done += static_cast<size_t>(n);
        }
    }

    bool Commit()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 || ::rename(m_temp.c_str(), m_target.c_str()) != 0) {
            ::unlink(m_temp.c_str());
            return false;
        }
        return true;
    }

private:
    void Discard()
    {
        if (m_fd < 0)
            return;
        ::close(m_fd);
        ::unlink(m_temp.c_str());
        m_fd = -1;
    }

    std::string m_target, m_temp;
    int m_fd = -1;
};

}  // namespace

void CTalDocument::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreContents(*this, ar);
        return;
    }
    FileContents file = ReadContents(ar);
    ApplyContents(*this, file);
}

namespace {

// Loads the document from `ar`; a failure leaves the document as it was.
bool Load(CTalDocument& doc, CArchive& ar, std::string& error)
{
    try {
        doc.Serialize(ar);
        return true;
    } catch (const ArchiveError&) {
        error = kUnexpectedFormat;
    } catch (const FileReadError&) {
        error = kFailedToOpen;
    } catch (const std::bad_alloc&) {
        error = kFailedToOpen;
    }
    return false;
}

}  // namespace

bool CTalDocument::LoadFromBytes(std::span<const uint8_t> bytes, std::string& error)
{
    CArchive ar(bytes);
    return Load(*this, ar, error);
}

bool CTalDocument::LoadFromFile(const std::string& path, std::string& error)
{
    // Decoded as it is read, through a small window rather than a copy of the whole file.
    InputFile file(path);
    if (!file.IsOpen()) {
        error = kFailedToOpen;
        return false;
    }
    CArchive ar([&file](uint8_t* out, size_t max) { return file.Read(out, max); }, file.Size());
    return Load(*this, ar, error);
}

bool CTalDocument::SaveToBytes(std::vector<uint8_t>& bytes, std::string& error)
{
    try {
        CArchive ar;
        ar.Reserve(StoredSizeHint(*this));
        Serialize(ar);
        const std::span<const uint8_t> stored = ar.StoredBytes();
        bytes.assign(stored.begin(), stored.end());
        return true;
    } catch (const std::exception&) {
        error = kFailedToSave;
    }
    return false;
}

bool CTalDocument::SaveToFile(const std::string& path, std::string& error)
{
    bool saved = false;
    try {
        ReplacementFile file(path);
        if (file.IsOpen()) {
            CArchive ar([&file](std::span<const uint8_t> bytes) { file.Write(bytes); });
            Serialize(ar);
            ar.Flush();
            saved = file.Commit();
        }
    } catch (const std::exception&) {
        saved = false;
    }
    if (!saved) {
        error = kFailedToSave;
        return false;
    }
    SetModifiedFlag(false);
    return true;
}
